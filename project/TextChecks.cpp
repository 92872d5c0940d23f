#include "project/TextChecks.h"

#include "rcscript/Messages.h"

#include <algorithm>
#include <cctype>

namespace qln::checks {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length modifiers of printf specifiers, longest first.
constexpr std::string_view kLengths[] = {"I64", "I32", "hh", "ll", "h", "l", "L", "I", "w", "z", "j", "t", "q"};
constexpr std::string_view kConversions = "diouxXeEfFgGaAcCsSpnZ";

// The kind that must match: signed and unsigned integers, floats and the
// rest each form one class, so "%i" may replace "%d" but "%s" may not.
std::string ConversionClass(char c)
{
    switch (c) {
    case 'i': return "d";
    case 'o': case 'X': return "x";
    case 'E': case 'f': case 'F': case 'g': case 'G': case 'a': case 'A': return "e";
    default: return std::string(1, c);
    }
}

// Past a width or precision: '*' or digits.
std::size_t SkipCount(std::string_view text, std::size_t i)
{
    if (i < text.size() && text[i] == '*')
        return i + 1;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i;
}

// A printf specifier starting at text[at] == '%'; length 0 when there is none.
Placeholder ReadPrintf(std::string_view text, std::size_t at)
{
    std::size_t i = at + 1;
    while (i < text.size() && std::string_view("-+#0").find(text[i]) != std::string_view::npos)
        ++i;
    i = SkipCount(text, i);  // width
    if (i < text.size() && text[i] == '.')
        i = SkipCount(text, i + 1);  // precision
    std::string length;
    for (std::string_view l : kLengths)
        if (text.substr(i, l.size()) == l) {
            length = l;
            i += l.size();
            break;
        }
    if (i >= text.size() || kConversions.find(text[i]) == std::string_view::npos)
        return {};
    return {at, i + 1 - at, 0, length + ConversionClass(text[i]), std::string(text.substr(at, i + 1 - at))};
}

// %1 .. %99, optionally with a printf format between '!' marks (%1!d!).
Placeholder ReadPositional(std::string_view text, std::size_t at)
{
    std::size_t i = at + 1;
    int number = 0;
    while (i < text.size() && IsDigit(text[i]) && i < at + 3)
        number = number * 10 + (text[i++] - '0');
    if (number < 1 || number > 99)
        return {};
    std::string kind = std::to_string(number);
    if (i < text.size() && text[i] == '!') {
        const std::size_t close = text.find('!', i + 1);
        if (close != std::string_view::npos) {
            kind += text.substr(i, close + 1 - i);
            i = close + 1;
        }
    }
    return {at, i - at, number, kind, std::string(text.substr(at, i - at))};
}

std::string ListKinds(const std::vector<Placeholder>& list)
{
    if (list.empty())
        return std::string(msg::CheckPlaceholderNone);
    std::string out;
    for (const Placeholder& p : list) {
        if (!out.empty())
            out += ' ';
        out += p.text;
    }
    return out;
}

std::vector<std::string> SortedKinds(const std::vector<Placeholder>& list)
{
    std::vector<std::string> kinds;
    for (const Placeholder& p : list)
        kinds.push_back((p.position ? "p" : "f") + p.kind);
    std::sort(kinds.begin(), kinds.end());
    return kinds;
}

std::size_t CountOf(std::string_view text, std::string_view what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

std::size_t LeadingBlanks(std::string_view text)
{
    std::size_t n = 0;
    while (n < text.size() && text[n] == ' ')
        ++n;
    return n;
}

std::size_t TrailingBlanks(std::string_view text)
{
    std::size_t n = 0;
    while (n < text.size() && text[text.size() - 1 - n] == ' ')
        ++n;
    return n;
}

std::string_view TrimEnd(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    // A line break or tab at the end is not the final punctuation.
    while (text.size() >= 2 && text[text.size() - 2] == '\\' && (text.back() == 'n' || text.back() == 't'))
        text.remove_suffix(2);
    return text;
}

bool EndsWithEllipsis(std::string_view text)
{
    text = TrimEnd(text);
    return text.ends_with("...") || text.ends_with("\xE2\x80\xA6");
}

// The final punctuation mark of a text as its ASCII form, or "" when it ends otherwise.
std::string FinalMark(std::string_view text)
{
    text = TrimEnd(text);
    if (EndsWithEllipsis(text))
        return "...";
    static constexpr std::pair<std::string_view, std::string_view> kWide[] = {
        {"\xE3\x80\x82", "."}, {"\xEF\xBC\x8E", "."}, {"\xEF\xBC\x9A", ":"},
        {"\xEF\xBC\x81", "!"}, {"\xEF\xBC\x9F", "?"}, {"\xC2\xBF", "?"}, {"\xC2\xA1", "!"}};
    for (auto [wide, ascii] : kWide)
        if (text.ends_with(wide))
            return std::string(ascii);
    if (!text.empty() && std::string_view(".:!?").find(text.back()) != std::string_view::npos)
        return std::string(1, text.back());
    return {};
}

}  // namespace

std::vector<Placeholder> FindPlaceholders(std::string_view text)
{
    std::vector<Placeholder> found;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 >= text.size())
            continue;
        if (text[i + 1] == '%') {
            ++i;
            continue;
        }
        Placeholder p{};
        if (text[i + 1] >= '1' && text[i + 1] <= '9') {
            // "%10d" is a printf width; "%1", "%12 files" and "%1!d!" are positional.
            const Placeholder printf = ReadPrintf(text, i);
            const Placeholder positional = ReadPositional(text, i);
            const bool formatted = positional.kind.find('!') != std::string::npos;
            p = (printf.length > positional.length && !formatted) ? printf : positional;
        } else {
            p = ReadPrintf(text, i);
        }
        if (p.length == 0)
            continue;
        found.push_back(p);
        i += p.length - 1;
    }
    return found;
}

std::string ComparePlaceholders(std::string_view source, std::string_view translation)
{
    const std::vector<Placeholder> from = FindPlaceholders(source);
    const std::vector<Placeholder> to = FindPlaceholders(translation);
    if (SortedKinds(from) != SortedKinds(to))
        return msg::Format(msg::CheckPlaceholderCount, {ListKinds(from), ListKinds(to)});
    std::vector<std::string> fromOrder, toOrder;
    for (const Placeholder& p : from)
        if (!p.position)
            fromOrder.push_back(p.kind);
    for (const Placeholder& p : to)
        if (!p.position)
            toOrder.push_back(p.kind);
    if (fromOrder != toOrder)
        return msg::Format(msg::CheckPlaceholderOrder, {ListKinds(from), ListKinds(to)});
    return {};
}

std::vector<std::string> FindHotkeys(std::string_view text)
{
    std::vector<std::string> keys;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        const unsigned char lead = static_cast<unsigned char>(text[i + 1]);
        const std::size_t length = Utf8SequenceLength(lead);
        std::string key(text.substr(i + 1, length));
        if (length == 1)
            key[0] = static_cast<char>(std::tolower(lead));
        keys.push_back(key);
        i += length;
    }
    return keys;
}

std::vector<std::string> CompareSpacing(std::string_view source, std::string_view translation, bool countLineBreaks)
{
    std::vector<std::string> found;
    if ((LeadingBlanks(source) > 0) != (LeadingBlanks(translation) > 0))
        found.emplace_back(msg::CheckLeadingBlanks);
    if ((TrailingBlanks(source) > 0) != (TrailingBlanks(translation) > 0))
        found.emplace_back(msg::CheckTrailingBlanks);
    const std::size_t breaksFrom = CountOf(source, "\\n"), breaksTo = CountOf(translation, "\\n");
    if (countLineBreaks && breaksFrom != breaksTo)
        found.push_back(msg::Format(msg::CheckLineBreaks, {std::to_string(breaksFrom), std::to_string(breaksTo)}));
    const std::size_t tabsFrom = CountOf(source, "\\t"), tabsTo = CountOf(translation, "\\t");
    if (tabsFrom != tabsTo)
        found.push_back(msg::Format(msg::CheckTabs, {std::to_string(tabsFrom), std::to_string(tabsTo)}));
    const bool ellipsisFrom = EndsWithEllipsis(source), ellipsisTo = EndsWithEllipsis(translation);
    if (ellipsisFrom && !ellipsisTo)
        found.emplace_back(msg::CheckEllipsisLost);
    else if (!ellipsisFrom && ellipsisTo)
        found.emplace_back(msg::CheckEllipsisAdded);
    return found;
}

std::string CompareFinalPunctuation(std::string_view source, std::string_view translation)
{
    const std::string from = FinalMark(source), to = FinalMark(translation);
    // Ellipses are the spacing check's business.
    if (from == to || from == "..." || to == "...")
        return {};
    const std::string none(msg::CheckPunctuationNone);
    return msg::Format(msg::CheckPunctuation, {from.empty() ? none : "'" + from + "'", to.empty() ? none : "'" + to + "'"});
}

}  // namespace qln::checks
