#pragma once
// The code page a new translation gets when nobody chose one. A translation
// keeps every text it has not translated in the source's wording, so it must
// be written in a code page that holds the source's characters as well as its
// own: a source script in UTF-8 or UTF-16 may hold any character, and its new
// translations are written in UTF-8; an 8-bit source's translations take the
// code page of their language.

#include <filesystem>
#include <optional>

namespace qln {

// The code page a script decoded in `codePage` is written in when that is a
// Unicode encoding: 65001 for UTF-8, 1200 for UTF-16 of either byte order;
// nothing for an 8-bit code page.
std::optional<int> UnicodeCodePage(int codePage);

// 65001 when the source script is UTF-8 or UTF-16 (as the build decodes it),
// else the language's code page from the language table. A source script that
// cannot be read counts as 8-bit.
int DefaultTranslationCodePage(const std::filesystem::path& sourceScript, int primary, int sub);

}  // namespace qln
