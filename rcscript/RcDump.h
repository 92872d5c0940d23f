#pragma once
// A plain-text dump of the statements the parser reads from a script, used by
// the rcdump tool and by the tests that compare it with expected output.

#include "rcscript/RcStatement.h"

#include <string>
#include <string_view>

namespace qln {

// One dump line of a statement: Line, kind, result, error, Name_ID, BeforeStr,
// SourceText, BehindStr, separated by tabs. Control characters inside the texts
// are shown as <TAB>, <LF>, <CR> or <0xNN> so that every statement stays on one line.
std::string DumpLine(int line, const CRcStatement& st);

struct DumpSummary {
    int statements = 0;
    int error = 0;        // error code of the statement that ended the reading, or 0
    int errorLine = 0;    // its physical line
};

// Parses `script` and appends the encoding line and one line per statement to
// `out`, up to the end of input, an error or an unknown character.
DumpSummary DumpScript(std::string script, std::string_view encoding, std::string& out);

}  // namespace qln
