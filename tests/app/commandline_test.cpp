// Reading the command line word by word: switches, parameters, the log file
// and the file to open.

#include "app/BatchCommandLine.h"
#include "app/BatchSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qln {
namespace {

using Words = std::vector<std::string>;

CBatchCommandLineInfo Parse(const Words& words)
{
    CBatchCommandLineInfo info;
    ParseCommandLine(words, info);
    return info;
}

TEST(CommandLine, WordsGoWhereTheirPositionSays)
{
    struct Case {
        Words words;
        Words switches;
        Words params;
        std::string logFile;
        std::string fileToOpen;
        std::string unknown;
        bool batch;
    };
    const Case cases[] = {
        {{"/c", "a.rc"}, {"c"}, {"a.rc"}, "", "", "", true},
        {{"-CREATEDB", "a.rc"}, {"CREATEDB"}, {"a.rc"}, "", "", "", true},
        {{"/Createdbx", "a.rc"}, {}, {}, "", "a.rc", "Createdbx", false},
        {{"a.rc"}, {}, {}, "", "a.rc", "", false},
        {{"a.rc", "/C", "b.rc"}, {"C"}, {"b.rc"}, "", "a.rc", "", true},
        {{"first.rc", "second.rc", "/C", "b.rc"}, {"C"}, {"b.rc"}, "", "second.rc", "", true},
        {{"/C", "a.rc", "/LOG", "out.log"}, {"C"}, {"a.rc"}, "out.log", "", "", true},
        {{"/LOG", "out.log", "/C", "a.rc"}, {"C"}, {"a.rc"}, "", "out.log", "", true},
        // After the log file name, words are parameters again.
        {{"/RC", "a.mdb", "/logfile", "x.log", "German", "b.rc"}, {"RC"}, {"a.mdb", "German", "b.rc"}, "x.log", "",
         "", true},
        {{"/C", "a.rc", "/X"}, {"C"}, {"a.rc"}, "", "", "X", true},
        {{"/X", "a.rc"}, {}, {}, "", "a.rc", "X", false},
        {{"/X", "/C", "a.rc", "/Y"}, {"C"}, {"a.rc"}, "", "", "Y", true},
        // The framework's own switches are unknown here.
        {{"/pt", "a.rc", "x"}, {}, {}, "", "x", "pt", false},
        {{"/C", "a.rc", "/CreateDbCreateDb"}, {"C"}, {"a.rc"}, "", "", "CreateDbCreateDb", true},
        // Absolute paths: a further '/' or an existing file makes a plain word.
        {{"/C", "/tmp/a.rc"}, {"C"}, {"/tmp/a.rc"}, "", "", "", true},
        {{"/C", "/tmp"}, {"C"}, {"/tmp"}, "", "", "", true},
        {{"/T", "x.mdb", "-HasLanguage"}, {"T", "HasLanguage"}, {"x.mdb"}, "", "", "", true},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& w : c.words)
            line += w + " ";
        SCOPED_TRACE(line);
        const CBatchCommandLineInfo info = Parse(c.words);
        EXPECT_EQ(info.switches, c.switches);
        EXPECT_EQ(info.params, c.params);
        EXPECT_EQ(info.logFileName, c.logFile);
        EXPECT_EQ(info.fileName, c.fileToOpen);
        EXPECT_EQ(info.unknownSwitch, c.unknown);
        EXPECT_EQ(info.IsBatch(), c.batch);
        EXPECT_EQ(info.shellCommand == CCommandLineInfo::ShellCommand::FileOpen, !c.fileToOpen.empty());
    }
}

TEST(CommandLine, LoneSlashOrDashIsAnEmptySwitchNotAParameter)
{
    for (const char* word : {"/", "-"}) {
        SCOPED_TRACE(word);
        CBatchCommandLineInfo info = Parse({"/C", "a.rc", word});
        EXPECT_EQ(info.params, Words{"a.rc"});
        EXPECT_TRUE(info.hasUnknownSwitch);
        EXPECT_EQ(info.unknownSwitch, "");
        info = Parse({word});
        EXPECT_FALSE(info.IsBatch());
        EXPECT_EQ(info.fileName, "");
        EXPECT_TRUE(info.hasUnknownSwitch);
    }
    EXPECT_FALSE(Parse({"/C", "a.rc"}).hasUnknownSwitch);
}

TEST(CommandLine, SwitchNamesMatchWithoutRegardToCase)
{
    struct Case {
        const char* text;
        int commandId;  // 0: no match
    };
    const Case cases[] = {
        {"d", batchcmd::UpToDate},      {"UPTODATE", batchcmd::UpToDate},     {"rc", batchcmd::WriteRc},
        {"writerc", batchcmd::WriteRc}, {"Log", batchcmd::LogFile},           {"LOGFILE", batchcmd::LogFile},
        {"lids", batchcmd::ListLids},   {"listLids", batchcmd::ListLids},     {"comp", batchcmd::Compact},
        {"COMPACT", batchcmd::Compact}, {"addlang", batchcmd::AddLang},       {"i", batchcmd::Import},
        {"", 0},                        {"R", 0},                             {"CreateDbx", 0},
        {"UpToDateUpToDate", 0},        {"Compact\xC3\xA9", 0},
    };
    for (const Case& c : cases) {
        const BatchSwitchEntry* entry = FindBatchSwitch(c.text);
        EXPECT_EQ(entry ? entry->commandId : 0, c.commandId) << c.text;
    }
}

TEST(LanguageParameter, NamesIdentifiersAndNumbers)
{
    struct Case {
        const char* text;
        int primary, sub;  // -1: not a language
    };
    const Case cases[] = {
        {"German", 7, 1},
        {"english us", 9, 1},
        {"English US", 9, 1},
        {"French Canadian", 12, 3},
        {"Croato-Serbian", 26, 1},
        {"0407", 7, 1},
        {"040A", 10, 1},
        {"0c0c", 12, 3},
        // A listed identifier wins over the decimal reading of the same digits.
        {"1009", 9, 4},
        {"1031", 7, 1},
        {"1033", 9, 1},
        {"3082", 10, 3},
        {"0C1A", 26, 3},
        {"Klingon", -1, -1},
        {"", -1, -1},
        {"0x407", -1, -1},
        {"99999", -1, -1},
        {"-1031", -1, -1},
        {"1055", 31, 1},
        {"1034x", -1, -1},
        // Primary language 60 has no display name.
        {"003C", -1, -1},
    };
    for (const Case& c : cases) {
        const auto language = ParseLanguageParameter(c.text);
        if (c.primary < 0) {
            EXPECT_FALSE(language) << c.text;
            continue;
        }
        ASSERT_TRUE(language) << c.text;
        EXPECT_EQ(language->primary, c.primary) << c.text;
        EXPECT_EQ(language->sub, c.sub) << c.text;
    }
}

TEST(CodePageParameter, OnlyCodePagesThatCanBeWritten)
{
    EXPECT_EQ(ParseCodePageParameter("65001"), 65001);
    EXPECT_EQ(ParseCodePageParameter("1250"), 1250);
    EXPECT_EQ(ParseCodePageParameter("1200"), 1200);
    for (const char* bad : {"", "12345", "utf8", "65001x", "-1252", "999999"})
        EXPECT_FALSE(ParseCodePageParameter(bad)) << bad;
}

}  // namespace
}  // namespace qln
