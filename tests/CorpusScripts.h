#pragma once
// The resource scripts (*.rc, any letter case) below a folder, sorted, for the
// tests that run over the real scripts of the corpus.

#include "rcscript/AsciiText.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace qln::test {

inline std::vector<std::filesystem::path> ScriptsUnder(const std::filesystem::path& root)
{
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        if (e.is_regular_file() && ToLowerAscii(e.path().extension().string()) == ".rc")
            files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace qln::test
