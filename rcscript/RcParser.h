#pragma once
// Reads a resource script statement by statement. The input is the script
// decoded to UTF-8 (see ScriptDecoder.h); positions are byte offsets.
//
// Public interface used by the rest of the program. The private part belongs to
// the parser's implementation and may change freely.

#include "rcscript/RcStatement.h"

#include <string>

namespace qln {

class CRcParser {
public:
    explicit CRcParser(std::string script);

    // Parses the next statement into `out` and returns its result (kResultText
    // when it carries a text). Check out.error and out.kind: kind 73 ends the
    // input, kind 0 (unknown character) or an error ends the reading of the file.
    int ParseStatement(CRcStatement& out);

    // Number of statements parsed so far (the running counter stored as Line).
    int StatementCount() const;

    // Resource context and BEGIN/END depth carried from statement to statement.
    int Context() const;
    int Depth() const;
};

}  // namespace qln
