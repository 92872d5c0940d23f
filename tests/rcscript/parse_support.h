#pragma once
// Helpers shared by the parser tests.

#include "rcscript/RcStatement.h"

#include <filesystem>
#include <string>
#include <vector>

namespace qln::test {

// Parses a whole script: every statement up to and including the one that ends
// the reading (end of input, an error or an unknown character). Fails the test
// when the parser needs more statements than the input has bytes (no progress).
std::vector<CRcStatement> ParseAll(const std::string& script);

// Statements of `all` without the final end-of-input statement.
std::vector<CRcStatement> WithoutEnd(std::vector<CRcStatement> all);

// Checks what must hold for every statement read from `script`: the three parts
// of a text line rebuild its text, the text sits between quotes (include names
// between their delimiters) exactly as written in the script, and the line fits
// its length limit.
void ExpectSoundStatement(const CRcStatement& st, std::string_view script, const std::string& where);

std::string ReadFileBytes(const std::filesystem::path& path);

}  // namespace qln::test
