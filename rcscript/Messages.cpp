#include "rcscript/Messages.h"

#include <vector>

namespace qln::msg {

std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args)
{
    std::vector<std::string_view> values(args);
    std::string out;
    out.reserve(pattern.size() + 32);
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            size_t n = static_cast<size_t>(pattern[i + 1] - '1');
            if (n < values.size()) {
                out += values[n];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::string JoinLines(const std::vector<std::string>& items, std::string_view separator)
{
    std::string out;
    for (const std::string& item : items) {
        if (!out.empty())
            out += separator;
        out += item;
    }
    return out;
}

}  // namespace qln::msg
