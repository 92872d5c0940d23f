#include "rcscript/RcParser.h"
#include "rcscript/RcTokens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qln {
namespace {

// Reads tokens after `prefix` statements have set the parser's context.
struct Lexed {
    std::vector<int> codes;
    std::string output;
};

Lexed Lex(const std::string& text, const std::string& prefix = {})
{
    CRcParser parser(prefix + text);
    CRcStatement st;
    if (!prefix.empty())
        parser.ParseStatement(st);
    parser.Reset();
    Lexed r;
    for (int i = 0; i < 20; ++i) {
        const int code = parser.SkipComments(parser.NextToken());
        r.codes.push_back(code);
        if (code == tok::EndOfInput)
            break;
    }
    r.output = std::string(parser.Output());
    return r;
}

TEST(Lexer, TokenCodesAndCopiedText)
{
    struct Case {
        const char* input;
        std::vector<int> codes;
        const char* output;
    };
    const Case cases[] = {
        {"MENUITEM menuitem MenuItem Begin", {4, 4, 4, 6, 73}, "MENUITEM menuitem MenuItem Begin"},
        // Names with '_' third and I first or D second never become keywords.
        {"ID_APP_EXIT IDOK IDCANCEL", {49, 49, 49, 73}, "ID_APP_EXIT IDOK IDCANCEL"},
        {"XD_MENU", {49, 73}, "XD_MENU"},
        {"0x1F 12L 1234ABCD 0o17", {62, 50, 50, 63, 73}, "0x1F 12L 1234ABCD 0o17"},
        {"   \r\n\t // only a comment\n /* and\n another */ ", {73}, ""},
        {"@", {0, 73}, ""},
        {"$$IF $x", {97, 49, 98, 49, 73}, "$$IF $x"},
        {"A,B|C+D-E", {49, 41, 49, 51, 49, 54, 49, 55, 49, 73}, "A,B|C+D-E"},
        {"include code_page SEPARATOR rcinclude define", {9, 106, 39, 10, 11, 73},
         "include code_page SEPARATOR rcinclude define"},
        {"DISCARDABLE pure", {89, 89, 73}, "DISCARDABLE pure"},
        // A string token copies the whole string, escapes and doubled quotes as written.
        {"\"a \"\"b\"\" \\\"c\\\" \\\\\" x", {40, 49, 73}, "\"a \"\"b\"\" \\\"c\\\" \\\\\" x"},
        {"L\"wide\"", {40, 73}, "L\"wide\""},
        // A backslash at a line end joins the lines like a blank.
        {"A \\\nB", {49, 49, 73}, "A B"},
        // A comment between two tokens disappears; one blank separates them.
        {"A/*x*/B /*/ still comment */C//D\nE", {49, 49, 49, 49, 73}, "A B C E"},
    };
    for (const Case& c : cases) {
        const Lexed r = Lex(c.input);
        EXPECT_EQ(r.codes, c.codes) << c.input;
        EXPECT_EQ(r.output, c.output) << c.input;
    }
}

TEST(Lexer, ContextWords)
{
    // CONTROL is an accelerator option only inside ACCELERATORS; HELP a menu option only in MENU.
    EXPECT_EQ(Lex("CONTROL HELP").codes, (std::vector<int>{2, 49, 73}));
    EXPECT_EQ(Lex("CONTROL HELP", "A ACCELERATORS\n").codes, (std::vector<int>{90, 49, 73}));
    EXPECT_EQ(Lex("CONTROL HELP GRAYED", "M MENU\n").codes, (std::vector<int>{2, 96, 96, 73}));
}

TEST(Lexer, UngetRereadsTheSameToken)
{
    CRcParser parser("ALPHA 0x10 \"s\"");
    EXPECT_EQ(parser.NextToken(), tok::Identifier);
    EXPECT_EQ(parser.NextToken(), tok::Hexadecimal);
    parser.Unget();
    EXPECT_EQ(parser.Output(), "ALPHA");
    EXPECT_EQ(parser.NextToken(), tok::Hexadecimal);
    EXPECT_EQ(parser.NumberValue(0, 16), 16);
    EXPECT_EQ(parser.NumberValue(1, 16), 0);  // pushing back did not duplicate the number
    EXPECT_EQ(parser.NextToken(), tok::Quote);
    parser.Unget();
    EXPECT_EQ(parser.NextToken(), tok::Quote);
    EXPECT_EQ(parser.Output(), "ALPHA 0x10 \"s\"");
}

TEST(Lexer, NumberHistoryKeepsTheLastFour)
{
    CRcParser parser("1 2 3 4 5");
    for (int i = 0; i < 5; ++i)
        parser.NextToken();
    EXPECT_EQ(parser.NumberValue(0, 10), 5);
    EXPECT_EQ(parser.NumberValue(3, 10), 2);
    EXPECT_EQ(parser.NumberValue(4, 10), 0);
}

TEST(Lexer, LongIdentifierIsCopiedWholeAndLookedUpByItsStart)
{
    const std::string longName(200, 'A');
    CRcParser parser(longName + " B");
    EXPECT_EQ(parser.NextToken(), tok::Identifier);
    EXPECT_EQ(parser.TokenText().size(), 83u);
    EXPECT_EQ(parser.Output(), longName);
}

TEST(Lexer, KeywordTable)
{
    EXPECT_EQ(KeywordIndex("CONTROL"), 1);
    EXPECT_EQ(KeywordIndex("code_page"), 54);
    EXPECT_EQ(KeywordIndex("Code_Page"), 54);
    EXPECT_EQ(KeywordIndex("CONTROLX"), 0);
    // Codes are stored data: a few that are out of numeric order.
    EXPECT_EQ(KeywordCode(KeywordIndex("define")), 11);
    EXPECT_EQ(KeywordCode(KeywordIndex("rcinclude")), 10);
    EXPECT_EQ(KeywordCode(KeywordIndex("SEPARATOR")), 39);
    EXPECT_EQ(KeywordCode(KeywordIndex("$$")), 97);
    EXPECT_TRUE(IsKeywordCode(106));
    EXPECT_FALSE(IsKeywordCode(49));
    for (int code : {5, 8, 13, 31, 35, 17, 75, 77, 99})
        EXPECT_TRUE(IsResourceKeyword(code)) << code;
    EXPECT_FALSE(IsResourceKeyword(16));
}

}  // namespace
}  // namespace qln
