#pragma once
// Version resources in a translated script. The language block of a
// StringFileInfo is named by a language and a code page ("041504E2"), and the
// VarFileInfo's Translation value names the same pair: programs and the shell
// find the block through it. The writer gives each block the name of the
// translation, with the code-page half of the code page the script is written
// in, and changes the Translation value to match.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qln {

class CProjectDatabase;

// One language block: its name in the source and in the written script.
struct BlockRename {
    std::string source;
    std::string written;
};

struct VersionBlocks {
    std::unordered_map<std::int32_t, std::string> written;                  // by the BLOCK line's LineIndex
    std::unordered_map<std::int32_t, std::vector<BlockRename>> byResource;  // by the VERSIONINFO line's LineIndex
};

// The language a script is written for and the code page it is written in.
struct WrittenLanguage {
    std::string_view column;  // its translation column
    int primary;
    int sub;
    int codePage;
};

// The name a block is written with: its translation (empty when there is none
// or the text is excluded) with the code-page half set for the language and
// code page; the source name as it is when there is no translation.
std::string WrittenBlockName(std::string_view source, std::string_view translation, const WrittenLanguage& language);

// The written names of every language block of the project.
VersionBlocks LoadVersionBlocks(CProjectDatabase& project, const WrittenLanguage& language);

// A `VALUE "Translation", language, code page, ...` line whose pairs name the
// blocks by their written names: a pair that names a source block gets that
// block's written name; a single pair in a resource with a single block names
// that block. Numbers keep their notation (0x0409 stays four hexadecimal
// digits); any other line, or one with other than plain numbers, is returned
// as it is.
std::string RewriteTranslationValue(std::string_view line, const std::vector<BlockRename>& blocks);

}  // namespace qln
