#pragma once
// Fixed tables of the symbolic names a resource script uses for styles and
// languages. The parser does not read header files, so these are its only way to
// evaluate such names; names outside the tables evaluate to 0.

#include <cstdint>
#include <span>
#include <string_view>

namespace qln {

struct SymbolEntry {
    std::string_view name;
    std::uint32_t value;
};

// Window, control, dialog and version-resource style names (116 entries, values of
// the Windows SDK headers, DUMMY = 3), the LANG_ names and the SUBLANG_ names.
std::span<const SymbolEntry> StyleTable();
std::span<const SymbolEntry> LangTable();
std::span<const SymbolEntry> SubLangTable();

// Value of the first entry whose name equals `name` exactly (case-sensitive), else 0.
std::uint32_t StyleValue(std::string_view name);
int LangValue(std::string_view name);
int SubLangValue(std::string_view name);

}  // namespace qln
