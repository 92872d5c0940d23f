#pragma once
// Test support for proving written scripts with a real resource compiler: the
// tools beside the corpus (rcc.py, resdump.py, rc2dump.sh) compile a script
// with windres and print its resources. Tests skip when they are absent.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace qln::test {

inline std::filesystem::path CompilerToolsDir()
{
    return std::filesystem::weakly_canonical(std::filesystem::path(QLN_CORPUS_DIR) / ".." / "tools");
}

// The tools, python3 and windres are all there.
inline bool ResourceCompilerAvailable()
{
    const std::filesystem::path tools = CompilerToolsDir();
    return std::filesystem::exists(tools / "rcc.py") && std::filesystem::exists(tools / "resdump.py") &&
           std::filesystem::exists(tools / "rc2dump.sh") &&
           std::system("command -v python3 >/dev/null 2>&1 && command -v x86_64-w64-mingw32-windres >/dev/null "
                       "2>&1") == 0;
}

// Every resource a script compiles to, language identifiers left out
// (rc2dump.sh -L); nothing when it does not compile.
inline std::optional<std::string> CompiledResources(const std::filesystem::path& script)
{
    const std::string command = "bash '" + (CompilerToolsDir() / "rc2dump.sh").string() + "' -L '" +
                                script.string() + "' 2>/dev/null";
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        return std::nullopt;
    std::string out;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        out.append(buffer, got);
    if (::pclose(pipe.release()) != 0)
        return std::nullopt;
    return out;
}

}  // namespace qln::test
