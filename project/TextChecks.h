#pragma once
// Checks of one translated text against its source text, on the stored
// script notation (escapes such as \n and doubled quotes stay as written).
// Plain functions: the project-wide checks and the pseudo-translation use them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qln::checks {

// Bytes of the UTF-8 sequence that starts with `lead` (1 for ASCII and for a
// byte that cannot start one).
constexpr std::size_t Utf8SequenceLength(unsigned char lead)
{
    return lead < 0xC0 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
}

// A format placeholder found in a text.
struct Placeholder {
    std::size_t offset = 0;  // byte offset of the '%'
    std::size_t length = 0;  // bytes, '%' included
    int position = 0;        // 1..99 for %1 and %1!d!; 0 for a printf specifier
    std::string kind;        // what must match: "s", "ls", "I64d", "d", "1", "1!d!", ...
    std::string text;        // as written: "%-10.3f"
};

// Printf specifiers (%s, %-10.3f, %ls, %I64d) and positional ones (%1 .. %99,
// %1!d!). "%%" is a literal percent sign and is not listed.
std::vector<Placeholder> FindPlaceholders(std::string_view text);

// Why the translation's placeholders cannot replace the source's: count or
// kind differ, or (for printf specifiers, which are not positional) their
// order. Empty when they agree.
std::string ComparePlaceholders(std::string_view source, std::string_view translation);

// The hotkey letters of a text: the character after each single '&' ("&&" is
// a literal ampersand), folded to lower case for ASCII letters. "(&X)" counts
// like any other marker.
std::vector<std::string> FindHotkeys(std::string_view text);

// Differences in blanks, line breaks, tabs and ellipsis between the two
// texts, one message each. Line breaks of dialog labels only wrap the text and
// may differ, so a caller can leave them out.
std::vector<std::string> CompareSpacing(std::string_view source, std::string_view translation,
                                        bool countLineBreaks = true);

// The final punctuation of the translation differs from the source's
// (full-width forms count as their ASCII counterparts). Empty when they agree.
std::string CompareFinalPunctuation(std::string_view source, std::string_view translation);

}  // namespace qln::checks
