#include "project/VersionBlocks.h"

#include "projectdb/Languages.h"
#include "projectdb/ProjectDatabase.h"
#include "rcscript/AsciiText.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <optional>

namespace qln {
namespace {

// One number of a Translation value and where it stands in the line.
struct NumberToken {
    std::size_t pos;
    std::size_t len;
    std::uint32_t value;
};

bool IsHexNotation(std::string_view word)
{
    return word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
}

// The digits of a number without its 0x prefix and L suffix.
std::string_view DigitsOf(std::string_view word)
{
    if (!word.empty() && (word.back() == 'L' || word.back() == 'l'))
        word.remove_suffix(1);
    return IsHexNotation(word) ? word.substr(2) : word;
}

std::optional<std::uint32_t> ParseNumber(std::string_view word)
{
    const std::string_view digits = DigitsOf(word);
    std::uint32_t value = 0;
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, IsHexNotation(word) ? 16 : 10);
    if (digits.empty() || ec != std::errc{} || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

// `value` in the notation of `original`: hexadecimal with the same prefix,
// at least as many digits and the same letter case, or decimal; the L suffix kept.
std::string FormatLike(std::string_view original, std::uint32_t value)
{
    const bool suffix = !original.empty() && (original.back() == 'L' || original.back() == 'l');
    std::string out;
    if (IsHexNotation(original)) {
        const std::string_view digits = DigitsOf(original);
        bool lower = false;
        for (char c : digits)
            lower = lower || (c >= 'a' && c <= 'f');
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, lower ? "%0*x" : "%0*X", static_cast<int>(digits.size()), value);
        out = std::string(original.substr(0, 2)) + buffer;
    } else {
        out = std::to_string(value);
    }
    if (suffix)
        out += original.back();
    return out;
}

// The numbers behind `VALUE "Translation",`; nothing for another statement or
// for a value that holds anything but numbers in pairs.
std::optional<std::vector<NumberToken>> TranslationNumbers(std::string_view line)
{
    constexpr std::string_view kBlanks = " \t\r\n";
    constexpr std::string_view kName = "\"Translation\"";
    std::size_t i = line.find_first_not_of(kBlanks);
    if (i == std::string_view::npos || !EqualsNoCase(line.substr(i, 5), "VALUE"))
        return std::nullopt;
    i = line.find_first_not_of(kBlanks, i + 5);
    if (i == std::string_view::npos || !EqualsNoCase(line.substr(i, kName.size()), kName))
        return std::nullopt;
    std::vector<NumberToken> numbers;
    for (i += kName.size();;) {
        i = line.find_first_not_of(" \t\r\n,", i);
        if (i == std::string_view::npos || line.substr(i, 2) == "//")
            break;
        std::size_t end = i;
        while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_'))
            ++end;
        const auto value = ParseNumber(line.substr(i, end - i));
        if (!value)
            return std::nullopt;
        numbers.push_back({i, end - i, *value});
        i = end;
    }
    if (numbers.empty() || numbers.size() % 2 != 0)
        return std::nullopt;
    return numbers;
}

std::optional<std::uint32_t> BlockValue(std::string_view name)
{
    if (!IsLanguageBlockName(name))
        return std::nullopt;
    std::uint32_t value = 0;
    std::from_chars(name.data(), name.data() + name.size(), value, 16);
    return value;
}

const BlockRename* BlockNamedBy(std::uint32_t pair, const std::vector<BlockRename>& blocks)
{
    for (const BlockRename& block : blocks)
        if (BlockValue(block.source) == pair)
            return &block;
    return nullptr;
}

}  // namespace

std::string WrittenBlockName(std::string_view source, std::string_view translation, const WrittenLanguage& language)
{
    if (translation.empty())
        return std::string(source);
    if (!IsLanguageBlockName(translation))
        return std::string(translation);
    std::string written = std::string(translation.substr(0, 4)) +
                          TranslatedBlockCodePage(source, language.primary, language.sub, language.codePage);
    // A name that only the letter case would change keeps the source's spelling.
    return EqualsNoCase(written, source) ? std::string(source) : written;
}

VersionBlocks LoadVersionBlocks(CProjectDatabase& project, const WrittenLanguage& language)
{
    VersionBlocks blocks;
    sql::Statement st = project.db().prepare(
        "SELECT VersionBlockHeader.LineIndex, VersionBlockHeader.VersResLine, ResourceText.Exclude, "
        "ResourceText.SourceText, ResourceText." +
        sql::QuoteIdentifier(language.column) +
        " FROM VersionBlockHeader JOIN ResFileLine ON ResFileLine.LineIndex = VersionBlockHeader.LineIndex "
        "JOIN ResourceText ON ResourceText.LineIndex = VersionBlockHeader.LineIndex ORDER BY ResFileLine.Line");
    while (st.step()) {
        const std::string source = st.columnText(3);
        const std::string translation = st.columnInt(2) != 0 ? std::string() : st.columnText(4);
        std::string written = WrittenBlockName(source, translation, language);
        blocks.byResource[static_cast<std::int32_t>(st.columnInt64(1))].push_back({source, written});
        blocks.written[static_cast<std::int32_t>(st.columnInt64(0))] = std::move(written);
    }
    return blocks;
}

std::string RewriteTranslationValue(std::string_view line, const std::vector<BlockRename>& blocks)
{
    std::string out(line);
    const auto numbers = TranslationNumbers(line);
    if (!numbers || blocks.empty())
        return out;
    // From the last pair back, so that the places of earlier numbers stay valid.
    for (std::size_t pair = numbers->size() / 2; pair-- > 0;) {
        const NumberToken& language = (*numbers)[2 * pair];
        const NumberToken& codePage = (*numbers)[2 * pair + 1];
        const std::uint32_t named = ((language.value & 0xFFFFu) << 16) | (codePage.value & 0xFFFFu);
        const BlockRename* block = BlockNamedBy(named, blocks);
        if (!block && numbers->size() == 2 && blocks.size() == 1)
            block = &blocks.front();
        const auto written = block ? BlockValue(block->written) : std::nullopt;
        if (!written)
            continue;
        const std::pair<NumberToken, std::uint32_t> changes[] = {{codePage, *written & 0xFFFFu},
                                                                 {language, *written >> 16}};
        for (const auto& [token, value] : changes)
            if (token.value != value)
                out.replace(token.pos, token.len, FormatLike(line.substr(token.pos, token.len), value));
    }
    return out;
}

}  // namespace qln
