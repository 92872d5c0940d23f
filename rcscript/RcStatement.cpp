#include "rcscript/RcStatement.h"

namespace qln {

std::string_view CRcStatement::BeforeStr() const
{
    std::string_view t = text;
    return HasText() ? t.substr(0, textPos) : t;
}

std::string_view CRcStatement::SourceText() const
{
    std::string_view t = text;
    return HasText() ? t.substr(textPos, textLen) : std::string_view{};
}

std::string_view CRcStatement::BehindStr() const
{
    std::string_view t = text;
    return HasText() ? t.substr(textPos + textLen) : std::string_view{};
}

std::string_view CRcStatement::NameId() const
{
    std::string_view t = text;
    if (nameLen <= 0 || namePos < 0 || static_cast<size_t>(namePos) >= t.size())
        return {};
    return t.substr(namePos, nameLen);
}

}  // namespace qln
