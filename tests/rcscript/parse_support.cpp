#include "rcscript/parse_support.h"

#include "rcscript/RcParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace qln::test {

std::vector<CRcStatement> ParseAll(const std::string& script)
{
    std::vector<CRcStatement> out;
    CRcParser parser(script);
    const std::size_t limit = script.size() + 2;
    for (;;) {
        CRcStatement st;
        parser.ParseStatement(st);
        out.push_back(std::move(st));
        const CRcStatement& last = out.back();
        if (last.error != 0 || last.kind == kind::EndOfInput || last.kind == kind::Unknown)
            break;
        if (out.size() > limit) {
            ADD_FAILURE() << "parser makes no progress";
            break;
        }
    }
    return out;
}

std::vector<CRcStatement> WithoutEnd(std::vector<CRcStatement> all)
{
    if (!all.empty() && all.back().kind == kind::EndOfInput)
        all.pop_back();
    return all;
}

void ExpectSoundStatement(const CRcStatement& st, std::string_view script, const std::string& where)
{
    SCOPED_TRACE(where + ": " + st.text);
    // Outside its text, a statement fits the line limit.
    std::size_t chars = 0;
    for (std::size_t i = 0; i < st.text.size(); ++i) {
        const bool inText = st.HasText() && i >= static_cast<std::size_t>(st.textPos) &&
                            i < static_cast<std::size_t>(st.textPos + st.textLen);
        chars += !inText && (static_cast<unsigned char>(st.text[i]) & 0xC0) != 0x80;
    }
    EXPECT_LE(chars, static_cast<std::size_t>(kMaxLineChars));
    if (!st.HasText()) {
        EXPECT_EQ(st.BeforeStr(), st.text);
        EXPECT_TRUE(st.BehindStr().empty());
        return;
    }
    ASSERT_LE(static_cast<std::size_t>(st.textPos) + static_cast<std::size_t>(st.textLen), st.text.size());
    EXPECT_EQ(std::string(st.BeforeStr()) + std::string(st.SourceText()) + std::string(st.BehindStr()), st.text);
    const std::string_view before = st.BeforeStr();
    const std::string_view behind = st.BehindStr();
    if (st.kind == kind::Include || st.kind == kind::RcInclude || st.kind == kind::Bitmap) {
        // Quoted, angle-bracketed or bare: the name is never cut.
        const char open = before.empty() ? ' ' : before.back();
        if (open == '"' || open == '<') {
            ASSERT_FALSE(behind.empty());
            EXPECT_EQ(behind.front(), open == '"' ? '"' : '>');
        }
        EXPECT_NE(script.find(st.SourceText()), std::string_view::npos);
        return;
    }
    ASSERT_FALSE(before.empty());
    ASSERT_FALSE(behind.empty());
    EXPECT_EQ(before.back(), '"');
    EXPECT_EQ(behind.front(), '"');
    const std::string quoted = "\"" + std::string(st.SourceText()) + "\"";
    EXPECT_NE(script.find(quoted), std::string_view::npos) << "text not as written";
}

std::string ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace qln::test
