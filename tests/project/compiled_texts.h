#pragma once
// The texts of a script as a real resource compiler makes them: each menu
// item, string and dialog text keyed by its resource and place, for
// comparing a written script with another one text by text.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace qln::test {

inline std::string ShellQuote(const std::filesystem::path& p)
{
    // Appended piece by piece: "'" + text trips a false -Wrestrict in GCC 12.
    std::string quoted(1, '\'');
    quoted += p.string();
    quoted += '\'';
    return quoted;
}

// Keyed text lines of a compiled script ("MENU 128 item[0] ", "STRING 129 ",
// "DIALOG 100 caption ") with their texts; version information is left out.
// The script is compiled in `dir` (includes from .., . and res); `out`
// receives the dump. Empty when it does not compile.
inline std::map<std::string, std::string> CompiledTexts(const std::filesystem::path& tools,
                                                        const std::filesystem::path& dir,
                                                        const std::filesystem::path& script,
                                                        const std::filesystem::path& out)
{
    const std::string command = "cd " + ShellQuote(dir) + " && " + ShellQuote(tools / "rc2dump.sh") +
                                " -t -L -I .. -I . -I res " + ShellQuote(script) + " > " + ShellQuote(out) +
                                " 2>/dev/null";
    std::map<std::string, std::string> texts;
    if (std::system(command.c_str()) != 0)
        return texts;
    std::ifstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("MENU ", 0) != 0 && line.rfind("STRING ", 0) != 0 && line.rfind("DIALOG ", 0) != 0)
            continue;
        const std::size_t quote = line.find('"');
        if (quote != std::string::npos)
            texts[line.substr(0, quote - 1)] = line.substr(quote);
    }
    return texts;
}

// rc2dump.sh and windres are there.
inline bool CompilerAvailable(const std::filesystem::path& tools)
{
    return std::filesystem::exists(tools / "rc2dump.sh") &&
           std::system("command -v x86_64-w64-mingw32-windres >/dev/null 2>&1") == 0;
}

}  // namespace qln::test
