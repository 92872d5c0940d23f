// Reading speed of large scripts: decoding and parsing a generated script of
// a million lines (dialogs, menus, string tables, version information).
//
//   parse_bench [lines]

#include "BenchSupport.h"
#include "rcscript/RcParser.h"
#include "rcscript/ScriptDecoder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

namespace bench = qln::bench;

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
        const double cpu = bench::ProcessorSeconds();
        const auto start = bench::Clock::now();
        run();
        best.wall = std::min(best.wall, bench::SecondsSince(start));
        best.cpu = std::min(best.cpu, bench::ProcessorSeconds() - cpu);
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
    const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
    const bench::GeneratedScript generated = bench::GenerateScript({.lines = lines});
    const std::string& script = generated.text;
    // The same script as 8-bit text, so that decoding cannot take the UTF-8 path.
    const std::string eightBit = "// \xE9t\xE9\n#pragma code_page(1252)\n" + script;
    std::printf("script: %ld lines, %.1f MB\n", generated.lines, script.size() / 1e6);

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
