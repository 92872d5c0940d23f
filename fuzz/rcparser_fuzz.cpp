// Feeds arbitrary bytes through the script decoder and the statement parser.
// Checks that decoding yields well-formed UTF-8, that every statement is UTF-8
// with its positions inside its text, and that the parser keeps moving: it must
// reach the end (or stop on an error) within a number of statements bounded by
// the input size.

#include "rcscript/CodePages.h"
#include "rcscript/RcParser.h"
#include "rcscript/ScriptDecoder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

[[noreturn]] void Fail(const char* what, long statement)
{
    std::fprintf(stderr, "rcparser_fuzz: %s (statement %ld)\n", what, statement);
    std::abort();
}

bool InRange(int pos, int len, std::size_t size)
{
    return pos >= 0 && len >= 0 && static_cast<std::size_t>(pos) + static_cast<std::size_t>(len) <= size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qln::DecodedScript decoded = qln::DecodeScript(bytes);
    if (qln::FindInvalidUtf8(decoded.text) != std::string_view::npos)
        Fail("decoded text is not UTF-8", -1);
    // The writer's direction must fail cleanly, never crash.
    qln::EncodeFromUtf8(decoded.text, decoded.codePage);

    const long limit = 2 * static_cast<long>(decoded.text.size()) + 16;
    qln::CRcParser parser(std::move(decoded.text));
    for (long n = 0;; ++n) {
        if (n > limit)
            Fail("no progress: more statements than the input can hold", n);
        qln::CRcStatement statement;
        parser.ParseStatement(statement);
        if (statement.error != 0 || statement.kind == qln::kind::EndOfInput || statement.kind == qln::kind::Unknown)
            break;
        if (qln::FindInvalidUtf8(statement.text) != std::string_view::npos)
            Fail("statement text is not UTF-8", n);
        const std::size_t len = statement.text.size();
        if (statement.HasText() && !InRange(statement.textPos, statement.textLen, len))
            Fail("text position outside the statement", n);
        if (statement.nameLen > 0 && !InRange(statement.namePos, statement.nameLen, len))
            Fail("name position outside the statement", n);
        if (statement.faceLen > 0 && !InRange(statement.facePos, statement.faceLen, len))
            Fail("face name position outside the statement", n);
    }
    return 0;
}
