// Hostile and broken input must end with an error code or the end of input:
// never a crash, a hang, a read past the input or deep recursion.

#include "rcscript/parse_support.h"

#include "rcscript/RcParser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace qln {
namespace {

using test::ParseAll;

// The reading ends with the end of input or an error (an unknown character is one).
void ExpectEnds(const std::string& script, const std::string& what)
{
    const auto all = ParseAll(script);
    ASSERT_FALSE(all.empty());
    const CRcStatement& last = all.back();
    EXPECT_TRUE(last.kind == kind::EndOfInput || last.error != 0) << what;
    if (last.kind == kind::Unknown) {
        EXPECT_NE(last.error, 0) << what << ": an unknown character must not end the reading quietly";
    }
    for (const CRcStatement& st : all)
        if (st.error == 0)
            test::ExpectSoundStatement(st, script, what);
}

const char kSample[] =
    "#include \"resource.h\"\n"
    "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n"
    "IDD_ABOUT DIALOGEX 0, 0, 200, 100 /* c */\n"
    "STYLE DS_MODALFRAME | WS_POPUP\nCAPTION \"About \"\"me\"\"\"\n"
    "FONT 8, \"MS Shell Dlg\", 0, 0, 0x1\nBEGIN\n"
    "  CONTROL \"x\",IDC_X,\"Button\",BS_AUTOCHECKBOX,1,2,3,4\n  LTEXT \"a\\\"b\",-1,1,2,3,4\nEND\n"
    "IDR_M MENU\nBEGIN\n POPUP \"&File\"\n BEGIN\n  MENUITEM \"E&xit\", ID_APP_EXIT\n"
    "  MENUITEM SEPARATOR\n END\nEND\n"
    "STRINGTABLE\nBEGIN\n IDS_A \"a\" // x\n IDS_B, \"b\"\nEND\n"
    "1 VERSIONINFO\n FILEVERSION 1,0,0,1\nBEGIN\n BLOCK \"StringFileInfo\"\n BEGIN\n"
    "  BLOCK \"040904b0\"\n  BEGIN\n   VALUE \"X\", \"y\\0\"\n  END\n END\nEND\n"
    "IDR_T TOOLBAR 16, 15\nBEGIN\n BUTTON ID_A\nEND\n";

TEST(Robustness, EveryPrefixOfAScript)
{
    const std::string sample = kSample;
    ASSERT_EQ(ParseAll(sample).back().kind, kind::EndOfInput);
    for (std::size_t n = 0; n <= sample.size(); ++n)
        ExpectEnds(sample.substr(0, n), "prefix " + std::to_string(n));
}

TEST(Robustness, RandomBytes)
{
    std::mt19937 rng(12345);
    const std::string alphabet = "\"',;/*#{}$()|+-<>!:@\\ \t\r\nABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789x";
    for (int round = 0; round < 300; ++round) {
        std::string s(static_cast<std::size_t>(rng() % 3000), '\0');
        for (char& c : s)
            c = round % 2 ? static_cast<char>(rng() & 0xFF) : alphabet[rng() % alphabet.size()];
        ExpectEnds(s, "round " + std::to_string(round));
    }
    // Random mutations of a real script reach rules deeper than random text does.
    for (int round = 0; round < 300; ++round) {
        std::string s = kSample;
        for (int k = 0; k < 5; ++k)
            s[rng() % s.size()] = alphabet[rng() % alphabet.size()];
        ExpectEnds(s, "mutation " + std::to_string(round));
    }
}

TEST(Robustness, BrokenStructure)
{
    struct Case {
        const char* what;
        std::string script;
    };
    const Case cases[] = {
        {"unterminated string", "STRINGTABLE\nBEGIN\n 1 \"never closed\n 2 \"x\"\nEND\n"},
        {"unterminated comment", "IDD_X DIALOG 0,0,1,1\n/* never closed\nBEGIN\nEND\n"},
        {"unbalanced END", "END\nEND\nM MENU\nBEGIN\nEND\nEND\n"},
        {"unbalanced BEGIN", "M MENU\nBEGIN\nBEGIN\n POPUP \"x\"\n"},
        {"long line", "#define X " + std::string(200000, 'a') + "\nSTRINGTABLE\n"},
        {"long string", "STRINGTABLE\nBEGIN\n 1 \"" + std::string(200000, 'a') + "\"\nEND\n"},
        {"many escapes", "STRINGTABLE\nBEGIN\n 1 \"" + std::string(1000000, '\\') + "\"\nEND\n"},
        {"many doubled quotes", "STRINGTABLE\nBEGIN\n 1 \"" + std::string(200000, '"') + "\nEND\n"},
        {"long identifier", std::string(200000, 'A') + " ICON \"x\"\n"},
        {"long comment", "/*" + std::string(200000, '*') + "*/\nX ICON y\n"},
        {"deep parentheses", "STRINGTABLE\nBEGIN\n" + std::string(100000, '(') + "1 \"x\"\nEND\n"},
        {"many signs", "STRINGTABLE\nBEGIN\n" + std::string(100000, '-') + "1 \"x\"\nEND\n"},
        {"overflowing name expression", "5555555*5555555555555555555 DIALOG 0, 0, 10, 10\n-2147483647-9 ICON x\n"},
    };
    for (const Case& c : cases)
        ExpectEnds(c.script, c.what);
}

TEST(Robustness, HundredThousandNestedBegins)
{
    std::string s = "IDR_X MYDATA\n";
    for (int i = 0; i < 100000; ++i)
        s += "BEGIN\n";
    s += "1, 2\n";
    CRcParser parser(s);
    CRcStatement st;
    int statements = 0;
    do {
        parser.ParseStatement(st);
        ++statements;
    } while (st.kind != kind::EndOfInput && st.error == 0 && statements < 200010);
    EXPECT_EQ(st.kind, kind::EndOfInput);
    EXPECT_EQ(parser.Depth(), 100000);
    EXPECT_EQ(statements, 100003);
}

}  // namespace
}  // namespace qln
