#pragma once
// Every message the core shows to a user, in one place. %1 and %2 are
// placeholders filled with Format().

#include <string>
#include <string_view>
#include <initializer_list>

namespace qln::msg {

// --- Reading resource scripts -------------------------------------------------
// Parser error texts; the file name follows after one blank.
inline constexpr std::string_view ParserErrorResourceFile = "Parser Error: Resource File ";
inline constexpr std::string_view ParserErrorUserResource =
    "Parser Error: Can't find name of file from user resource. Build file failed at";
inline constexpr std::string_view ParserErrorPopup = "Parser Error: Menu Popup, build file failed at";
inline constexpr std::string_view ParserErrorMenuItem = "Parser Error: Menu Menuitem, build file failed at";
inline constexpr std::string_view ParserErrorLanguage = "Parser Error: LANGUAGE statement at file";
inline constexpr std::string_view ParserErrorOutput = "Parser Error: Write to output stream (internal error).";
inline constexpr std::string_view ErrorNoMemory = "Error: Not enough memory !";
inline constexpr std::string_view ErrorCantRead = "Error: Can't read";
inline constexpr std::string_view ErrorCantChangeDir = "Error: Can't change directory to";
inline constexpr std::string_view ErrorCantOpenFile = "Error: Can't open file '%1'.";
inline constexpr std::string_view ErrorUnknown = "Error: Unknown error accrued at file  ";

// Replaces %1, %2, ... in `pattern` by the given arguments.
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace qln::msg
