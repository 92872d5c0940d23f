#include "project/IncludeCodePages.h"

#include "project/ScriptReader.h"
#include "projectdb/FileStamp.h"
#include "rcscript/AsciiText.h"
#include "rcscript/ScriptDecoder.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>

namespace qln {
namespace {

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// The value of the escape whose digits start at `i` (behind the backslash and
// an 'x' for hexadecimal ones); `i` moves past them.
unsigned EscapeValue(std::string_view bytes, std::size_t& i, bool hex)
{
    unsigned value = 0;
    const std::size_t limit = i + (hex ? 4 : 3);
    for (; i < bytes.size() && i < limit; ++i) {
        const char c = bytes[i];
        unsigned digit;
        if (hex && std::isxdigit(static_cast<unsigned char>(c)))
            digit = static_cast<unsigned>(c <= '9' ? c - '0' : AsciiLower(c) - 'a' + 10);
        else if (!hex && IsOctal(c))
            digit = static_cast<unsigned>(c - '0');
        else
            break;
        value = value * (hex ? 16 : 8) + digit;
    }
    return value;
}

bool ContainsNoCase(std::string_view text, std::string_view word)
{
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i)
        if (EqualsNoCase(text.substr(i, word.size()), word))
            return true;
    return false;
}

}  // namespace

bool ReadsAlikeInEveryCodePage(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x80)
            return false;
        if (c != '\\' || i + 1 >= bytes.size())
            continue;
        const char next = bytes[i + 1];
        if (next == '\\') {
            ++i;
            continue;
        }
        const bool hex = next == 'x' || next == 'X';
        if (!hex && !IsOctal(next))
            continue;
        std::size_t digits = i + (hex ? 2 : 1);
        if (EscapeValue(bytes, digits, hex) >= 0x80)
            return false;
        i = digits - 1;
    }
    return true;
}

std::optional<int> PragmaCodePage(std::string_view line)
{
    const std::size_t open = line.find('(');
    if (open == std::string_view::npos)
        return std::nullopt;
    const std::size_t start = line.find_first_not_of(" \t", open + 1);
    if (start == std::string_view::npos)
        return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(line.data() + start, line.data() + line.size(), value);
    if (ec != std::errc{} || end == line.data() + start)
        return std::nullopt;
    return value;
}

const IncludeCodePages::IncludedFile& IncludeCodePages::Inspect(std::string_view name)
{
    const std::string key(name);
    auto known = files_.find(key);
    if (known != files_.end())
        return known->second;
    IncludedFile& file = files_[key];
    const auto path = ResolveScriptReference(sourceDir_, CollapseBackslashes(name));
    std::error_code ec;
    if (!path || !std::filesystem::is_regular_file(*path, ec))
        return file;
    std::ifstream in(*path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return file;
    const DecodedScript decoded = DecodeScript(bytes);
    file.readable = true;
    file.codePage = decoded.codePage;
    file.codePageAssumed = decoded.codePageAssumed;
    file.meaningDependsOnCodePage = !ReadsAlikeInEveryCodePage(bytes);
    file.setsCodePage = ContainsNoCase(bytes, "code_page");
    return file;
}

std::optional<int> IncludeCodePages::CodePageToSet(std::string_view name, int current,
                                                   std::optional<int> sourceCodePage)
{
    const IncludedFile& file = Inspect(name);
    if (!file.readable || file.codePage == 1200 || file.codePage == 1201)
        return std::nullopt;
    const int own = file.codePageAssumed && sourceCodePage ? *sourceCodePage : file.codePage;
    if (file.setsCodePage)
        return own;  // the script's own code page must be set again behind it
    if (!file.meaningDependsOnCodePage || own == current)
        return std::nullopt;
    return own;
}

}  // namespace qln
