#include "project/TextForms.h"

#include "projectdb/Languages.h"
#include "rcscript/CodePages.h"
#include "rcscript/Messages.h"

#include <cstdio>
#include <cstdlib>

namespace qln {

std::string ToDisplayForm(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool nextQuote = i + 1 < text.size() && text[i + 1] == '"';
        if ((text[i] == '\\' || text[i] == '"') && nextQuote) {
            out += '"';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string ToScriptForm(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '"' && (i == 0 || text[i - 1] != '\\'))
            out += '"';
    }
    return out;
}

std::optional<BlockHeaderParts> SplitBlockHeader(std::string_view name)
{
    if (!IsLanguageBlockName(name))
        return std::nullopt;
    const std::string language(name.substr(0, 4)), codePage(name.substr(4, 4));
    const long langId = std::strtol(language.c_str(), nullptr, 16);
    return BlockHeaderParts{static_cast<int>(langId & 0x3FF), static_cast<int>(langId >> 10),
                            static_cast<int>(std::strtol(codePage.c_str(), nullptr, 16))};
}

std::string BlockHeaderDisplay(std::string_view name)
{
    const auto parts = SplitBlockHeader(name);
    if (!parts)
        return {};
    const auto language = LanguageDisplayName(parts->primary, parts->sub);
    const std::string languageText = language ? std::string(*language) : std::string(name.substr(0, 4));
    return msg::Format(msg::BlockHeaderDisplay, {languageText, std::to_string(parts->codePage)});
}

std::string BlockHeaderName(int primary, int sub, int codePage)
{
    char half[8];
    std::snprintf(half, sizeof half, "%04X", static_cast<unsigned>(codePage) & 0xFFFFu);
    return LanguageIdentString(primary, sub) + half;
}

std::vector<std::string> CodePageCharacters(int codePage)
{
    if (codePage == 1200 || codePage == 1201 || codePage == 65001 || !IsSupportedCodePage(codePage))
        codePage = 1252;
    std::vector<std::string> chars;
    chars.reserve(95);
    for (int byte = 161; byte <= 255; ++byte) {
        const char b = static_cast<char>(byte);
        std::string ch;
        if (!DecodeToUtf8(std::string_view(&b, 1), codePage, ch) || ch.empty())
            ch = "\xEF\xBF\xBD";
        chars.push_back(std::move(ch));
    }
    return chars;
}

}  // namespace qln
