#include "rcscript/RcDump.h"

#include "rcscript/RcParser.h"

#include <cstdio>

namespace qln {
namespace {

void AppendVisible(std::string& out, std::string_view s)
{
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7F) {
            out += c;
        } else if (c == '\t') {
            out += "<TAB>";
        } else if (c == '\n') {
            out += "<LF>";
        } else if (c == '\r') {
            out += "<CR>";
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "<0x%02X>", u);
            out += buf;
        }
    }
}

}  // namespace

std::string DumpLine(int line, const CRcStatement& st)
{
    std::string out = std::to_string(line) + '\t' + std::to_string(st.kind) + '\t' +
                      std::to_string(st.result) + '\t' + std::to_string(st.error) + '\t';
    AppendVisible(out, st.NameId());
    out += '\t';
    AppendVisible(out, st.BeforeStr());
    out += '\t';
    AppendVisible(out, st.SourceText());
    out += '\t';
    AppendVisible(out, st.BehindStr());
    return out;
}

DumpSummary DumpScript(std::string script, std::string_view encoding, std::string& out)
{
    DumpSummary sum;
    out += encoding;
    out += '\n';
    CRcParser parser(std::move(script));
    CRcStatement st;
    for (;;) {
        parser.ParseStatement(st);
        sum.statements = parser.StatementCount();
        out += DumpLine(sum.statements, st);
        out += '\n';
        if (st.error != 0 || st.kind == kind::Unknown) {
            sum.error = st.error;
            sum.errorLine = st.sourceLine;
            break;
        }
        if (st.kind == kind::EndOfInput)
            break;
    }
    return sum;
}

}  // namespace qln
