// Reading speed of large scripts: decoding and parsing a script of a million lines
// made from the demo project's resources, repeated with renamed identifiers.
//
//   parse_bench [script.rc] [lines]
//
// The default script is examples/demo/demo.rc of the source tree.

#include "rcscript/RcParser.h"
#include "rcscript/ScriptDecoder.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A piece of the model script: literal text, or an identifier to be renamed.
struct Piece {
    std::string text;
    bool identifier;
};

bool IsIdentChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Identifiers of the ID..._ family (IDD_ABOUT, ID_FILE_OPEN, IDC_STATIC) get a
// suffix per copy, so every copy defines resources of its own.
std::vector<Piece> SplitModel(const std::string& model)
{
    std::vector<Piece> pieces;
    std::string literal;
    for (std::size_t i = 0; i < model.size();) {
        const bool start = model.compare(i, 2, "ID") == 0 && (i == 0 || !IsIdentChar(model[i - 1]));
        std::size_t end = i;
        while (start && end < model.size() && IsIdentChar(model[end]))
            ++end;
        const std::string word = start ? model.substr(i, end - i) : std::string();
        if (start && word.find('_') != std::string::npos) {
            pieces.push_back({literal, false});
            pieces.push_back({word, true});
            literal.clear();
            i = end;
        } else {
            literal += model[i++];
        }
    }
    pieces.push_back({literal, false});
    return pieces;
}

std::string MakeScript(const std::string& model, std::size_t wantedLines)
{
    const std::vector<Piece> pieces = SplitModel(model);
    const std::size_t modelLines = std::max<std::size_t>(1, std::count(model.begin(), model.end(), '\n'));
    std::string script;
    script.reserve((wantedLines / modelLines + 1) * (model.size() + 2000));
    std::size_t lines = 0;
    for (int copy = 0; lines < wantedLines; ++copy) {
        const std::string suffix = "_" + std::to_string(copy);
        for (const Piece& piece : pieces) {
            script += piece.text;
            if (piece.identifier)
                script += suffix;
        }
        if (!script.empty() && script.back() != '\n')
            script += '\n';
        lines += modelLines;
    }
    return script;
}

struct ParseCount {
    long statements = 0;
    int lastKind = 0;
    int error = 0;
};

ParseCount ParseAll(std::string text)
{
    qln::CRcParser parser(std::move(text));
    qln::CRcStatement statement;
    ParseCount count;
    while (true) {
        statement = qln::CRcStatement{};
        parser.ParseStatement(statement);
        count.lastKind = statement.kind;
        count.error = statement.error;
        if (statement.error != 0 || statement.kind == qln::kind::EndOfInput || statement.kind == qln::kind::Unknown)
            break;
        ++count.statements;
    }
    return count;
}

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

// Best of three runs, in seconds of processor time (the machine may be shared,
// which makes wall-clock time wander) and of wall-clock time.
struct Timing {
    double cpu = 1e9;
    double wall = 1e9;
};

Timing Time(const std::function<void()>& run)
{
    Timing best;
    for (int i = 0; i < 3; ++i) {
        const double cpu = CpuSeconds();
        const auto start = Clock::now();
        run();
        best.wall = std::min(best.wall, std::chrono::duration<double>(Clock::now() - start).count());
        best.cpu = std::min(best.cpu, CpuSeconds() - cpu);
    }
    return best;
}

void Report(const char* what, std::size_t bytes, Timing t, long statements)
{
    std::printf("%-24s %7.3f s cpu %9.1f MB/s", what, t.cpu, bytes / t.cpu / 1e6);
    if (statements > 0)
        std::printf(" %11.0f statements/s", statements / t.cpu);
    std::printf("   (wall %.3f s)\n", t.wall);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path source = std::filesystem::path(__FILE__).parent_path().parent_path();
    const std::filesystem::path modelPath = argc > 1 ? argv[1] : source / "examples/demo/demo.rc";
    const std::size_t lines = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1000000;

    qln::DecodedScript model;
    std::string error;
    if (!qln::LoadScriptFile(modelPath, model, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::string script = MakeScript(model.text, lines);
    // The same script as 8-bit text, so that decoding cannot take the UTF-8 path.
    const std::string eightBit = "// \xE9t\xE9\n#pragma code_page(1252)\n" + script;
    std::printf("model %s: %zu lines; script: %zu lines, %.1f MB\n", modelPath.c_str(),
                static_cast<std::size_t>(std::count(model.text.begin(), model.text.end(), '\n')),
                static_cast<std::size_t>(std::count(script.begin(), script.end(), '\n')), script.size() / 1e6);

    std::string decoded;
    Report("decode (ASCII / UTF-8)", script.size(), Time([&] { decoded = qln::DecodeScript(script).text; }), 0);
    Report("decode (CP1252)", eightBit.size(), Time([&] { qln::DecodeScript(eightBit); }), 0);

    ParseCount count;
    const Timing parse = Time([&] { count = ParseAll(decoded); });
    Report("parse", decoded.size(), parse, count.statements);
    const Timing both = Time([&] { count = ParseAll(qln::DecodeScript(script).text); });
    Report("decode + parse", script.size(), both, count.statements);

    std::printf("%ld statements; last kind %d, error %d\n", count.statements, count.lastKind, count.error);
    if (count.error != 0 || count.lastKind != qln::kind::EndOfInput) {
        std::fprintf(stderr, "the script was not read to its end\n");
        return 1;
    }
    return 0;
}
