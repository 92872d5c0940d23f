#pragma once
// The code pages of the files a translated script still includes. A compiler
// reads an included file in the code page in effect at its include line, so a
// script written in another code page than its source would make it read the
// included files (a version.rc2 in 1252 with a "©") in the wrong one. The
// writer sets the included file's own code page around such an include line
// and its own after it.
//
// The build does not read these files, so they are read here, once each, and
// decoded as the build decodes every script (byte-order mark, UTF-8, the
// file's own pragma or LANGUAGE statement); a file that names no code page is
// taken to be in the code page its source script had in effect at the line.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace qln {

class IncludeCodePages {
public:
    // Include names are resolved against `sourceDir` (the source script's directory).
    explicit IncludeCodePages(std::filesystem::path sourceDir) : sourceDir_(std::move(sourceDir)) {}

    // The code page to set before the include line of `name`, when the file
    // would otherwise be read in another code page than its own, or sets a
    // code page itself; nothing when it reads the same either way (ASCII
    // without byte escapes), cannot be found, or is UTF-16 (its byte-order
    // mark decides). `current` is the code page in effect in the written
    // script, `sourceCodePage` the one the source script had at the line.
    std::optional<int> CodePageToSet(std::string_view name, int current, std::optional<int> sourceCodePage);

private:
    struct IncludedFile {
        bool readable = false;
        int codePage = 0;
        bool codePageAssumed = false;
        bool meaningDependsOnCodePage = false;  // non-ASCII bytes or byte escapes above 127
        bool setsCodePage = false;              // holds a #pragma code_page of its own
    };
    const IncludedFile& Inspect(std::string_view name);

    std::filesystem::path sourceDir_;
    std::map<std::string, IncludedFile> files_;
};

// Whether script bytes mean the same in every 8-bit code page: ASCII only, and
// no octal or hexadecimal escape of a byte above 127.
bool ReadsAlikeInEveryCodePage(std::string_view bytes);

// The code page a stored #pragma code_page line names; nothing for DEFAULT or
// a line that names none.
std::optional<int> PragmaCodePage(std::string_view line);

}  // namespace qln
