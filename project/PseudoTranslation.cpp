#include "project/PseudoTranslation.h"

#include "project/TextChecks.h"
#include "project/TextTable.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Sql.h"
#include "projectdb/Translations.h"
#include "rcscript/CodePages.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <stdexcept>

namespace qln::checks {
namespace {

// Accented forms of ASCII letters that most Latin code pages hold.
constexpr std::pair<char, std::string_view> kAccents[] = {
    {'a', "\xC3\xA1"}, {'c', "\xC3\xA7"}, {'e', "\xC3\xA9"}, {'i', "\xC3\xAD"}, {'n', "\xC3\xB1"},
    {'o', "\xC3\xB6"}, {'u', "\xC3\xBC"}, {'y', "\xC3\xBD"}, {'A', "\xC3\x85"}, {'C', "\xC3\x87"},
    {'E', "\xC3\x89"}, {'I', "\xC3\x8E"}, {'N', "\xC3\x91"}, {'O', "\xC3\x96"}, {'U', "\xC3\x9C"},
    {'Y', "\xC3\x9D"}};

constexpr char kFiller = '~';

// The accented letters one code page can hold.
class AccentTable {
public:
    explicit AccentTable(int codePage)
    {
        for (auto [letter, accented] : kAccents)
            if (EncodeFromUtf8(accented, codePage))
                map_[static_cast<unsigned char>(letter)] = accented;
    }
    void append(char c, std::string& out) const
    {
        const std::string_view accented = map_[static_cast<unsigned char>(c)];
        if (accented.empty())
            out += c;
        else
            out += accented;
    }

private:
    std::array<std::string_view, 128> map_{};
};

bool IsOctal(char c) { return c >= '0' && c <= '7'; }
bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// Length of the escape sequence at text[at] == '\\'.
std::size_t EscapeLength(std::string_view text, std::size_t at)
{
    std::size_t i = at + 1;
    if (i >= text.size())
        return 1;
    if (text[i] == 'x' || text[i] == 'X') {
        ++i;
        while (i < text.size() && i < at + 6 && IsHex(text[i]))
            ++i;
        return i - at;
    }
    if (IsOctal(text[i])) {
        while (i < text.size() && i < at + 4 && IsOctal(text[i]))
            ++i;
        return i - at;
    }
    return 2;
}

std::string Transform(std::string_view source, const AccentTable& accents, int expandPercent)
{
    const std::vector<Placeholder> placeholders = FindPlaceholders(source);
    std::size_t next = 0;  // next placeholder to copy
    std::size_t visible = 0;
    std::string out = "[";
    for (std::size_t i = 0; i < source.size();) {
        std::size_t keep = 0;  // bytes copied as they are
        if (next < placeholders.size() && placeholders[next].offset == i)
            keep = placeholders[next++].length;
        else if (source[i] == '\\')
            keep = EscapeLength(source, i);
        else if (source[i] == '"' && i + 1 < source.size() && source[i + 1] == '"')
            keep = 2;
        else if (source[i] == '%' && i + 1 < source.size() && source[i + 1] == '%')
            keep = 2;
        else if (source[i] == '&' && i + 1 < source.size())
            keep = source[i + 1] == '&' ? 2 : 1 + Utf8SequenceLength(static_cast<unsigned char>(source[i + 1]));
        if (keep) {
            out.append(source.substr(i, keep));
            ++visible;
            i += keep;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(source[i]);
        if (c < 0x80) {
            accents.append(source[i], out);
            ++i;
        } else {
            const std::size_t n = std::min(Utf8SequenceLength(c), source.size() - i);
            out.append(source.substr(i, n));
            i += n;
        }
        ++visible;
    }
    const std::size_t pad = (visible * static_cast<std::size_t>(std::max(0, expandPercent)) + 99) / 100;
    out.append(pad, kFiller);
    out += ']';
    return out;
}

}  // namespace

std::string PseudoText(std::string_view source, int codePage, int expandPercent)
{
    return Transform(source, AccentTable(codePage), expandPercent);
}

PseudoResult PseudoTranslate(CProjectDatabase& project, std::string_view language, const PseudoOptions& options)
{
    const TextTable table = LoadTextTable(project, TextTableFilter{});
    const int column = table.languageIndex(language);
    if (column < 0)
        throw std::invalid_argument(std::string(language));
    const TextTableLanguage& lang = table.languages[static_cast<std::size_t>(column)];
    const AccentTable accents(GetCodePage(project, lang.primary, lang.sub).value_or(65001));
    PseudoResult result;
    sql::Transaction transaction(project.db());
    for (const TextTableRow& row : table.rows) {
        if (row.sourceText.empty())
            continue;
        if (row.excluded || IsNameCategory(row.category) || !row.translations[static_cast<std::size_t>(column)].empty()) {
            ++result.kept;
            continue;
        }
        project.SetTranslation(row.lineIndex, lang.primary, lang.sub,
                               Transform(row.sourceText, accents, options.expandPercent), !options.asTranslated);
        ++result.filled;
    }
    RecomputeProjectStatus(project);
    transaction.commit();
    return result;
}

}  // namespace qln::checks
