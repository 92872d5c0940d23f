// qln40 run as a child process: how the command line decides between batch
// mode and the workbench, where messages go, and the exit codes of usage
// errors.

#include "app/batch_support.h"
#include "rcscript/Messages.h"

#include <gtest/gtest.h>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

const std::string kCreated = "QLN: Create database file.\nQLN: Create database file demo_rc.mdb successful for "
                             "resource file demo.rc.\n";

TEST(BatchRun, ShortAndLongSpellingsAskForTheSameParameters)
{
    struct Case {
        const char* shortName;
        const char* longName;
        std::string_view usage;
    };
    const Case cases[] = {
        {"T", "Translated", msg::UsageTranslated}, {"D", "UpToDate", msg::UsageUpToDate},
        {"L", "HasLanguage", msg::UsageHasLanguage}, {"E", "Export", msg::UsageExport},
        {"I", "Import", msg::UsageImport}, {"U", "Update", msg::UsageUpdate},
        {"A", "AddLang", msg::UsageAddLang}, {"C", "CreateDb", msg::UsageCreateDb},
        {"RC", "WriteRC", msg::UsageWriteRc}, {"LIDS", "ListLIDS", msg::UsageListLids},
        {"COMP", "Compact", msg::UsageCompact},
    };
    DemoCopy dir;
    const auto before = Snapshot(dir.path());
    for (const Case& c : cases) {
        const std::string expected = "Error:  Missing parameter.\n" + std::string(c.usage) + "\n";
        for (const std::string& word : {std::string("/") + c.shortName, std::string("-") + c.longName}) {
            SCOPED_TRACE(word);
            const RunResult r = dir.Run({word}, 3);
            // Errors appear once: on standard error, not on standard output too.
            EXPECT_EQ(r.err.substr(0, expected.size()), expected);
            EXPECT_EQ(r.out, "");
        }
    }
    // One parameter short of the three that writing a script needs.
    const RunResult r = dir.Run({"-writerc", "demo_rc.mdb", "German"}, 3);
    EXPECT_NE(r.err.find(msg::UsageWriteRc), std::string::npos);
    EXPECT_EQ(Snapshot(dir.path()), before);
}

TEST(BatchRun, LogFileOnlyAfterTheCommand)
{
    DemoCopy dir;
    WriteText(dir / "out.log", "old text that must go\n");
    RunResult r = dir.Run({"/C", "demo.rc", "/LOG", "out.log"}, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadText(dir / "out.log"), kCreated);
    // A log that cannot be created stops the run before anything is done.
    r = dir.Run({"/COMP", "demo_rc.mdb", "/LOG", "nowhere/out.log"}, 2);
    EXPECT_NE(r.err.find("nowhere/out.log"), std::string::npos);

    // Before the command the log switch's word is the file to open: the
    // messages go to standard output and no log is written.
    DemoCopy other;
    r = other.Run({"-logfile", "out.log", "-createdb", "demo.rc"}, 0);
    EXPECT_EQ(r.out, kCreated);
    EXPECT_FALSE(fs::exists(other / "out.log"));
    EXPECT_TRUE(fs::exists(other / "demo_rc.mdb"));
}

TEST(BatchRun, UnknownSwitchEndsBatchModeBeforeAnythingIsDone)
{
    DemoCopy dir;
    const auto before = Snapshot(dir.path());
    RunResult r = dir.Run({"/C", "demo.rc", "/X"}, 3);
    EXPECT_EQ(r.err, "Unknow command flag 'X'\n");
    EXPECT_EQ(r.out, "");
    // A switch of 16 characters is no abbreviation of anything.
    r = dir.Run({"/C", "demo.rc", "/CreateDbCreateDb"}, 3);
    EXPECT_EQ(r.err, "Unknow command flag 'CreateDbCreateDb'\n");
    EXPECT_EQ(Snapshot(dir.path()), before);

    // With a log file the reason is in the log too.
    dir.Run({"-c", "demo.rc", "-log", "out.log", "-nope"}, 3);
    EXPECT_EQ(ReadText(dir / "out.log"), "QLN Error:  Unknown Flag /nope !\n");
    EXPECT_FALSE(fs::exists(dir / "demo_rc.mdb"));
}

TEST(BatchRun, WithoutCommandSwitchNothingRunsInBatch)
{
    DemoCopy dir;
    const auto before = Snapshot(dir.path());
    // A file to open: without a display the workbench cannot start, so it says so.
    RunResult r = dir.Run({"/X", "demo.rc"}, 2);
    EXPECT_NE(r.err.find("demo.rc was not opened"), std::string::npos);
    EXPECT_NE(r.out.find(msg::UsageCreateDb), std::string::npos);
    r = dir.Run({}, 0);
    EXPECT_NE(r.out.find(msg::UsageCreateDb), std::string::npos);
    EXPECT_EQ(Snapshot(dir.path()), before);
}

TEST(BatchRun, PlainWordBeforeTheCommandIsNotOpened)
{
    DemoCopy dir;
    fs::copy_file(dir / "demo.rc", dir / "other.rc");
    const RunResult r = dir.Run({"other.rc", "/C", "demo.rc"}, 0);
    EXPECT_EQ(r.out, kCreated);
    EXPECT_TRUE(fs::exists(dir / "demo_rc.mdb"));
    EXPECT_FALSE(fs::exists(dir / "other_rc.mdb"));
}

TEST(BatchRun, HelpListsEveryCommand)
{
    DemoCopy dir;
    for (const char* word : {"/?", "-h", "--help"}) {
        const RunResult r = dir.Run({word}, 0);
        for (std::string_view usage : {msg::UsageTranslated, msg::UsageUpToDate, msg::UsageHasLanguage,
                                       msg::UsageExport, msg::UsageImport, msg::UsageUpdate, msg::UsageAddLang,
                                       msg::UsageCreateDb, msg::UsageWriteRc, msg::UsageLogFile,
                                       msg::UsageListLids, msg::UsageCompact})
            EXPECT_NE(r.out.find(usage), std::string::npos) << word << ": " << usage;
    }
}

TEST(BatchRun, OneCommandWithItsParametersOnly)
{
    DemoCopy dir;
    const auto before = Snapshot(dir.path());
    RunResult r = dir.Run({"/C", "demo.rc", "/T", "demo_rc.mdb", "German"}, 3);
    EXPECT_EQ(r.err, "Error:  Only one command per call: /C /T\n");
    r = dir.Run({"/C", "demo.rc", "demo2.rc"}, 3);
    EXPECT_EQ(r.err, "Error:  Too many parameters.\n" + std::string(msg::UsageCreateDb) + "\n");
    EXPECT_EQ(Snapshot(dir.path()), before);
}

}  // namespace
}  // namespace qln::test
