#pragma once
// Pseudo-translation: fills the empty translations of a language with the
// source text made foreign-looking (accented letters), longer and bracketed,
// so that a written script shows at once where layouts break and which texts
// are not translatable. Placeholders, escapes, doubled quotes and hotkey
// markers stay as they are, and only characters the language's code page
// holds are used.

#include <cstddef>
#include <string>
#include <string_view>

namespace qln {
class CProjectDatabase;
}

namespace qln::checks {

struct PseudoOptions {
    int expandPercent = 30;      // how much longer the text gets
    bool asTranslated = false;   // false: flag every filled text as needing review
};

// The pseudo-translation of one text in script notation.
std::string PseudoText(std::string_view source, int codePage, int expandPercent);

struct PseudoResult {
    std::size_t filled = 0;  // translations written
    std::size_t kept = 0;    // texts that already had a translation, or are names or excluded
};

// Fills the empty translations of the language (display name) in one
// transaction; existing translations are never touched. Throws
// std::invalid_argument when the project has no such translation and
// sql::Error on a database failure (nothing is changed then).
PseudoResult PseudoTranslate(CProjectDatabase& project, std::string_view language, const PseudoOptions& options = {});

}  // namespace qln::checks
