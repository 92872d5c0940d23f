#include "projectdb/DefaultCodePage.h"

#include "rcscript/CodePages.h"
#include "rcscript/ScriptDecoder.h"

#include <string>

namespace qln {

std::optional<int> UnicodeCodePage(int codePage)
{
    if (codePage == 65001)
        return 65001;
    if (codePage == 1200 || codePage == 1201)
        return 1200;  // translations are written little-endian
    return std::nullopt;
}

int DefaultTranslationCodePage(const std::filesystem::path& sourceScript, int primary, int sub)
{
    DecodedScript decoded;
    std::string error;
    if (LoadScriptFile(sourceScript, decoded, error) && UnicodeCodePage(decoded.codePage))
        return 65001;
    return CodePageNumber(primary, sub);
}

}  // namespace qln
