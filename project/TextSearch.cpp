#include "project/TextSearch.h"

#include "project/TextForms.h"

#include <algorithm>
#include <clocale>
#include <locale.h>
#include <wctype.h>

namespace qln {

namespace {

// The C.UTF-8 character classes, opened once.
class Utf8Classes {
public:
    Utf8Classes() : locale_(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr))) {}
    ~Utf8Classes()
    {
        if (locale_)
            freelocale(locale_);
    }
    Utf8Classes(const Utf8Classes&) = delete;
    Utf8Classes& operator=(const Utf8Classes&) = delete;
    locale_t get() const { return locale_; }

private:
    locale_t locale_;
};

locale_t Classes()
{
    static const Utf8Classes classes;
    return classes.get();
}

// Decodes one character at `i`, moving `i` past it; a byte that does not
// start a valid sequence is one character of its own.
char32_t Decode(std::string_view s, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = byte(i);
    int extra = 0;
    char32_t c = b;
    if (b >= 0xC2 && b <= 0xDF) {
        extra = 1;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        extra = 2;
        c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        extra = 3;
        c = b & 0x07;
    }
    if (extra > 0 && i + static_cast<std::size_t>(extra) < s.size()) {
        bool valid = true;
        for (int k = 1; valid && k <= extra; ++k) {
            const unsigned char next = byte(i + static_cast<std::size_t>(k));
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (valid) {
            i += static_cast<std::size_t>(extra) + 1;
            return c;
        }
    }
    ++i;
    return b < 0x80 ? char32_t{b} : char32_t{0xFFFD};
}

// The character that ends just before byte `end`.
char32_t DecodeBefore(std::string_view s, std::size_t end)
{
    std::size_t start = end - 1;
    for (int k = 0; k < 3 && start > 0 && (static_cast<unsigned char>(s[start]) & 0xC0) == 0x80; ++k)
        --start;
    std::size_t i = start;
    const char32_t c = Decode(s, i);
    const auto last = static_cast<unsigned char>(s[end - 1]);
    return i == end ? c : (last < 0x80 ? char32_t{last} : char32_t{0xFFFD});
}

bool IsAscii(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

char32_t UpperCase(char32_t c)
{
    if (c < 0x80)
        return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
    const locale_t classes = Classes();
    return classes ? static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), classes)) : c;
}

bool IsLetterOrDigit(char32_t c)
{
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    const locale_t classes = Classes();
    // Without the character classes every other character counts as a letter.
    return classes ? iswalnum_l(static_cast<wint_t>(c), classes) != 0 : true;
}

TextMatcher::TextMatcher(std::string_view pattern, FindOptions options) : pattern_(pattern), options_(options)
{
    for (std::size_t i = 0; i < pattern_.size();)
        foldedPattern_.push_back(UpperCase(Decode(pattern_, i)));
}

TextHit TextMatcher::match(std::string_view text, int start)
{
    if (pattern_.empty() || start < 0 || static_cast<std::size_t>(start) >= text.size())
        return {};
    if (options_.matchCase)
        return matchExact(text, static_cast<std::size_t>(start));
    return matchFolded(text, static_cast<std::size_t>(start));
}

TextHit TextMatcher::matchExact(std::string_view text, std::size_t start) const
{
    for (std::size_t at = text.find(pattern_, start); at != std::string_view::npos;
         at = text.find(pattern_, at + 1)) {
        const std::size_t end = at + pattern_.size();
        if (!options_.wholeWord ||
            ((at == 0 || !IsLetterOrDigit(DecodeBefore(text, at))) &&
             (end == text.size() || [&] {
                 std::size_t i = end;
                 return !IsLetterOrDigit(Decode(text, i));
             }())))
            return {static_cast<int>(at), static_cast<int>(pattern_.size())};
    }
    return {};
}

TextHit TextMatcher::matchFolded(std::string_view text, std::size_t start)
{
    folded_.clear();
    offsets_.clear();
    const bool ascii = IsAscii(text);
    std::size_t first = 0;  // the character at `start`
    for (std::size_t i = 0; i < text.size();) {
        if (i < start)
            first = folded_.size() + 1;
        offsets_.push_back(static_cast<std::uint32_t>(i));
        if (ascii) {
            const char c = text[i++];
            folded_.push_back(c >= 'a' && c <= 'z' ? static_cast<char32_t>(c - 'a' + 'A') : static_cast<char32_t>(c));
        } else {
            folded_.push_back(UpperCase(Decode(text, i)));
        }
    }
    offsets_.push_back(static_cast<std::uint32_t>(text.size()));
    if (first >= folded_.size())
        return {};
    const std::u32string_view haystack(folded_);
    for (std::size_t at = haystack.find(foldedPattern_, first); at != std::u32string_view::npos;
         at = haystack.find(foldedPattern_, at + 1)) {
        const std::size_t end = at + foldedPattern_.size();
        const bool whole = !options_.wholeWord || ((at == 0 || !IsLetterOrDigit(folded_[at - 1])) &&
                                                   (end == folded_.size() || !IsLetterOrDigit(folded_[end])));
        if (whole)
            return {static_cast<int>(offsets_[at]), static_cast<int>(offsets_[end] - offsets_[at])};
    }
    return {};
}

TextHit MatchCell(std::string_view text, std::string_view pattern, bool wholeWord, bool matchCase, int start)
{
    TextMatcher matcher(pattern, {wholeWord, matchCase});
    return matcher.match(text, start);
}

std::string CellDisplayText(const TextTableRow& row, int column)
{
    const std::string* text = nullptr;
    if (column == kSearchSourceColumn) {
        text = &row.sourceText;
    } else {
        const int m = column - kSearchFirstLangColumn;
        if (m >= 0 && m < static_cast<int>(row.translations.size()))
            text = &row.translations[static_cast<std::size_t>(m)];
    }
    if (!text)
        return {};
    // Only a quote makes the two forms differ.
    return text->find('"') == std::string::npos ? *text : ToDisplayForm(*text);
}

std::vector<int> SearchColumns(bool sourceChosen, const std::vector<int>& languageIndices, bool changedItems)
{
    std::vector<int> columns;
    if (sourceChosen && !changedItems)
        columns.push_back(kSearchSourceColumn);
    for (int m : languageIndices)
        if (m >= 0)
            columns.push_back(kSearchFirstLangColumn + m);
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    return columns;
}

bool CellChanged(const TextTableRow& row, int column)
{
    const int m = column - kSearchFirstLangColumn;
    return m >= 0 && m < static_cast<int>(row.modified.size()) && row.modified[static_cast<std::size_t>(m)];
}

namespace {

// Where a "Find Next" walk starts: the cell after the last hit when the walk
// goes on in the hit's row, else the start of `fromRow`.
CellPos WalkStart(CellPos after, int fromRow)
{
    if (after.row >= 0 && (fromRow < 0 || fromRow == after.row))
        return {after.row, after.column + 1};
    return {fromRow < 0 ? 0 : fromRow, 0};
}

// Matching a cell without making its display form when it has no quote.
bool CellMatches(const TextTableRow& row, int column, TextMatcher& matcher)
{
    const std::string* text = nullptr;
    if (column == kSearchSourceColumn) {
        text = &row.sourceText;
    } else {
        const int m = column - kSearchFirstLangColumn;
        if (m < 0 || m >= static_cast<int>(row.translations.size()))
            return false;
        text = &row.translations[static_cast<std::size_t>(m)];
    }
    if (text->empty())
        return false;
    if (text->find('"') == std::string::npos)
        return static_cast<bool>(matcher.match(*text, 0));
    return static_cast<bool>(matcher.match(ToDisplayForm(*text), 0));
}

}  // namespace

std::optional<CellPos> FindNextText(const TextTable& table, const std::vector<int>& columns, TextMatcher& matcher,
                                    CellPos after, int fromRow)
{
    if (matcher.empty())
        return std::nullopt;
    return WalkCells(table, columns, WalkStart(after, fromRow),
                     [&](const TextTableRow& row, int column) { return CellMatches(row, column, matcher); });
}

std::optional<CellPos> FindNextChanged(const TextTable& table, const std::vector<int>& columns, CellPos after,
                                       int fromRow)
{
    return WalkCells(table, columns, WalkStart(after, fromRow), CellChanged);
}

std::vector<CellPos> MarkAllText(const TextTable& table, const std::vector<int>& columns, TextMatcher& matcher)
{
    std::vector<CellPos> cells;
    if (matcher.empty())
        return cells;
    for (std::size_t r = 0; r < table.rows.size(); ++r)
        for (int column : columns)
            if (CellMatches(table.rows[r], column, matcher))
                cells.push_back({static_cast<int>(r), column});
    return cells;
}

std::vector<CellPos> MarkAllChanged(const TextTable& table, const std::vector<int>& columns)
{
    std::vector<CellPos> cells;
    for (std::size_t r = 0; r < table.rows.size(); ++r)
        for (int column : columns)
            if (CellChanged(table.rows[r], column))
                cells.push_back({static_cast<int>(r), column});
    return cells;
}

bool CellReplaceable(const TextTableRow& row, int column)
{
    const int m = column - kSearchFirstLangColumn;
    return m >= 0 && m < static_cast<int>(row.translations.size()) && !row.excluded && !row.sourceText.empty() &&
           row.category != category::BlockHeader;
}

std::optional<ReplaceHit> FindNextReplaceHit(const TextTable& table, const std::vector<int>& columns,
                                             TextMatcher& matcher, CellPos cell, int offset)
{
    if (matcher.empty() || table.rows.empty() || columns.empty())
        return std::nullopt;
    if (cell.row < 0 || cell.row >= static_cast<int>(table.rows.size()))
        cell = {0, columns.front()};
    // The rest of the start cell first.
    if (std::find(columns.begin(), columns.end(), cell.column) != columns.end() &&
        CellReplaceable(table.rows[static_cast<std::size_t>(cell.row)], cell.column)) {
        const std::string text = CellDisplayText(table.rows[static_cast<std::size_t>(cell.row)], cell.column);
        if (const TextHit hit = matcher.match(text, std::max(offset, 0)))
            return ReplaceHit{cell, hit};
    }
    std::optional<ReplaceHit> found;
    WalkCells(table, columns, {cell.row, cell.column + 1}, [&](const TextTableRow& row, int column) {
        if (!CellReplaceable(row, column))
            return false;
        const std::string text = CellDisplayText(row, column);
        const TextHit hit = matcher.match(text, 0);
        if (!hit)
            return false;
        const int r = static_cast<int>(&row - table.rows.data());
        found = ReplaceHit{{r, column}, hit};
        return true;
    });
    return found;
}

std::string ReplaceAllInText(std::string_view text, TextMatcher& matcher, std::string_view replacement, int& count)
{
    count = 0;
    std::string out;
    std::size_t copied = 0;
    for (TextHit hit = matcher.match(text, 0); hit; hit = matcher.match(text, hit.offset + std::max(hit.length, 1))) {
        out.append(text.substr(copied, static_cast<std::size_t>(hit.offset) - copied));
        out.append(replacement);
        copied = static_cast<std::size_t>(hit.offset + hit.length);
        ++count;
        if (copied >= text.size())
            break;
    }
    out.append(text.substr(std::min(copied, text.size())));
    return out;
}

void PushRecent(std::vector<std::string>& list, const std::string& text, std::size_t limit)
{
    if (text.empty())
        return;
    list.erase(std::remove(list.begin(), list.end(), text), list.end());
    list.insert(list.begin(), text);
    if (list.size() > limit)
        list.resize(limit);
}

}  // namespace qln
