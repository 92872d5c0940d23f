// rcdump FILE.rc: prints the encoding the script was read in, then one line per
// statement as the parser reads it (see RcDump.h). Exit code 1 when the file
// cannot be read, 2 when the parser stops with an error.

#include "rcscript/Messages.h"
#include "rcscript/RcDump.h"
#include "rcscript/RcParser.h"
#include "rcscript/ScriptDecoder.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: rcdump FILE.rc\n");
        return 1;
    }
    qln::DecodedScript script;
    std::string error;
    if (!qln::LoadScriptFile(argv[1], script, error)) {
        std::fprintf(stderr, "rcdump: %s\n", error.c_str());
        return 1;
    }
    std::string out;
    const qln::DumpSummary sum = qln::DumpScript(std::move(script.text), script.encoding, out);
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (sum.error != 0) {
        const std::string text = qln::msg::Format(
            qln::msg::ParserErrorAtLine,
            {qln::ParserErrorText(sum.error, argv[1]), std::to_string(sum.errorLine)});
        std::fprintf(stderr, "%s\n", text.c_str());
        return 2;
    }
    return 0;
}
