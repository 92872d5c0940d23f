#pragma once
// What the translator sees of a stored text and how a typed text is stored:
// quotes in display form and in script form, version block headers shown as
// a language and a code page, and the characters a code page offers above
// the ASCII range.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

// Script form to display form: a backslash directly before a double quote is
// dropped, and two double quotes in a row become one.
std::string ToDisplayForm(std::string_view scriptText);
// Display form to script form: every double quote not preceded by a
// backslash is doubled.
std::string ToScriptForm(std::string_view displayText);

// A version block name ("040904E4") as "English US,   Code page:  1252";
// empty when the value is not a language and a code page.
std::string BlockHeaderDisplay(std::string_view blockName);

// The language and code page a block name stands for.
struct BlockHeaderParts {
    int primary = 0;
    int sub = 0;
    int codePage = 0;
};
std::optional<BlockHeaderParts> SplitBlockHeader(std::string_view blockName);
// The 8-character block name of a language and a code page.
std::string BlockHeaderName(int primary, int sub, int codePage);

// The characters 161 to 255 of a code page as UTF-8, one entry each (95
// entries; a byte the code page leaves undefined gives U+FFFD). A code page
// that cannot be converted, or a Unicode one, gives those of 1252.
std::vector<std::string> CodePageCharacters(int codePage);

}  // namespace qln
