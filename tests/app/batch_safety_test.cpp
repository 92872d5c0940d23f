// Wrong arguments never destroy work: a log file, an output or an export that
// names a file of the project is refused before anything is written, and a
// failure names the file and the system's cause.

#include "app/batch_support.h"
#include "rcscript/Messages.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

// The demo with its database, a German translation and its written script,
// beside an unrelated project and a script that includes a header by
// another letter case.
class SafetyProject : public DemoCopy {
public:
    SafetyProject()
    {
        Run({"/C", "demo.rc"}, 0);
        Run({"/A", "demo_rc.mdb", "German", "demo_de.rc"}, 0);
        Run({"/RC", "demo_rc.mdb", "German", "demo_de.rc"}, 0);
        fs::copy_file(*this / "demo.rc", *this / "other.rc");
        Run({"/C", "other.rc"}, 0);
        Run({"/A", "other_rc.mdb", "French", "other_fr.rc"}, 0);
        Execute(*this / "other_rc.mdb", "UPDATE ResourceText SET French = 'Fichier' WHERE SourceText = '&File'");
        fs::create_directory(*this / "inc");
        WriteText(*this / "inc" / "shared.h", "#define IDS_ONE 1\n");
        WriteText(*this / "case.rc", "#include \"INC\\\\Shared.H\"\nSTRINGTABLE\nBEGIN\n    IDS_ONE \"One\"\nEND\n");
        Run({"/C", "case.rc"}, 0);
        Run({"/A", "case_rc.mdb", "German", "case_de.rc"}, 0);
    }
};

// Runs a command that must be refused as a wrong command line and checks
// that every file stayed as it was and the message names `file`.
void ExpectRefused(SafetyProject& dir, const std::vector<std::string>& args, const std::string& file)
{
    std::string line;
    for (const std::string& a : args)
        line += " " + a;
    SCOPED_TRACE(line);
    const auto before = Snapshot(dir.path());
    const RunResult r = dir.Run(args, 3);
    EXPECT_NE(r.err.find(file), std::string::npos) << r.err;
    EXPECT_EQ(Snapshot(dir.path()), before);
}

TEST(BatchSafety, LogFileNeverEmptiesAFileOfTheCommandOrOfAProject)
{
    SafetyProject dir;
    fs::create_hard_link(dir / "resource.h", dir / "hard.log");
    fs::create_symlink("demo_rc.mdb", dir / "link.log");
    struct Case {
        std::vector<std::string> command;
        std::string log;
    };
    const Case cases[] = {
        {{"/D", "demo_rc.mdb"}, "demo_rc.mdb"},
        {{"/C", "demo.rc"}, "demo.rc"},
        {{"/C", "demo.rc"}, "demo_rc.mdb"},                         // the database it would create
        {{"/C", "demo.rc"}, "resource.h"},                          // an include of the script
        {{"/T", "demo_rc.mdb", "German"}, "resource.h"},            // an include of the project
        {{"/T", "case_rc.mdb", "German"}, "inc/SHARED.H"},          // found by its case only
        {{"/U", "demo_rc.mdb"}, "hard.log"},                        // a hard link to the include
        {{"/L", "demo_rc.mdb", "German"}, "link.log"},              // a link to the database
        {{"/RC", "demo_rc.mdb", "German", "new_de.rc"}, "new_de.rc"},  // the output
        {{"/RC", "demo_rc.mdb", "German", "new_de.rc"}, "demo_de.rc"}, // a resource script
        {{"/LIDS", "ids.txt"}, "./ids.txt"},
        {{"/E", "demo_rc.mdb", "export.mdb"}, "export.mdb"},
        {{"/T", "demo_rc.mdb", "German"}, "other_rc.mdb"},          // another project's database
        {{"/T", "demo_rc.mdb", "German"}, "other.rc"},              // another project's script
        {{"/C", "demo.rc", "/X"}, "demo.rc"},                       // also with an unknown switch
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.command;
        args.insert(args.end(), {"/LOG", c.log});
        ExpectRefused(dir, args, c.log);
    }
    // A header of the project's name in another letter case is another file:
    // the script names resource.h as it is on disk.
    dir.Run({"/T", "demo_rc.mdb", "German", "/LOG", "RESOURCE.H"}, 1);
    EXPECT_EQ(ReadText(dir / "RESOURCE.H").rfind("QLN: Is translated ?", 0), 0u);
    EXPECT_EQ(ReadText(dir / "resource.h"), ReadText(dir / "hard.log"));
}

TEST(BatchSafety, ExportNeverReplacesAnExistingDatabase)
{
    SafetyProject dir;
    WriteText(dir / "notes.mdb", "not a database\n");
    for (const char* target : {"other_rc.mdb", "notes.mdb"}) {
        SCOPED_TRACE(target);
        const auto before = Snapshot(dir.path());
        const RunResult r = dir.Run({"/E", "demo_rc.mdb", target, "German"}, 2);
        EXPECT_NE(r.err.find(msg::Format(msg::BatchExportTargetExists, {target})), std::string::npos) << r.err;
        EXPECT_EQ(Snapshot(dir.path()), before);
    }
    EXPECT_EQ(QueryValue(dir / "other_rc.mdb", "SELECT French FROM ResourceText WHERE SourceText = '&File'"),
              "Fichier");
}

TEST(BatchSafety, TranslatedScriptNeverGoesOverAFileTheProjectReads)
{
    SafetyProject dir;
    fs::create_hard_link(dir / "resource.h", dir / "hard.h");
    for (const char* output : {"resource.h", "./res/../resource.h", "hard.h", "demo_rc.mdb", "winres.h"})
        ExpectRefused(dir, {"/RC", "demo_rc.mdb", "German", output}, output);
    for (const char* output : {"inc/shared.h", "inc/SHARED.H", "case_rc.mdb"})
        ExpectRefused(dir, {"/RC", "case_rc.mdb", "German", output}, output);
    // Nor can such a file become a translation's file name.
    ExpectRefused(dir, {"/A", "demo_rc.mdb", "French", "resource.h"}, "resource.h");
    EXPECT_EQ(QueryValue(dir / "demo_rc.mdb", "SELECT count(*) FROM Translations"), "1");
}

// A folder without write permission bits; restored for the folder's removal.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(fs::path folder) : folder_(std::move(folder))
    {
        fs::permissions(folder_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }
    ~ReadOnlyFolder() { fs::permissions(folder_, fs::perms::owner_write, fs::perm_options::add); }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    fs::path folder_;
};

TEST(BatchSafety, FailuresNameTheFileAndTheCause)
{
    SafetyProject dir;
    fs::create_directory(dir / "ro");
    fs::create_directory(dir / "locked");
    for (const char* name : {"demo.rc", "resource.h", "demo_rc.mdb"})
        fs::copy_file(dir / name, dir / "locked" / name);
    fs::copy_file(dir / "demo.rc", dir / "ro" / "demo.rc");
    fs::create_directory(dir / "x.rc");
    const ReadOnlyFolder ro(dir / "ro");
    const ReadOnlyFolder locked(dir / "locked");
    const std::string denied = std::strerror(EACCES);

    struct Case {
        std::vector<std::string> args;
        std::string message;  // the message of the operation
        std::string cause;    // the line after it
    };
    const Case cases[] = {
        {{"/RC", "demo_rc.mdb", "German", "ro/demo_de.rc"}, std::string(msg::FileErrorAccessDenied),
         "     ro/demo_de.rc: " + denied},
        {{"/A", "locked/demo_rc.mdb", "French", "locked/demo_fr.rc"}, std::string(msg::AddLanguageFailed),
         "     locked/demo_rc.mdb: " + denied},
        {{"/COMP", "locked/demo_rc.mdb"}, msg::Format(msg::BatchCompactFailed, {"locked/demo_rc.mdb"}),
         "     locked/demo_rc.mdb: " + denied},
        {{"/I", "demo_rc.mdb", "German", "locked/demo_rc.mdb"},
         msg::Format(msg::ImportWriteError, {"locked/demo_rc.mdb"}), "     locked/demo_rc.mdb: " + denied},
        {{"/I", "demo_de.rc", "German", "locked/demo_rc.mdb"},
         msg::Format(msg::ImportWriteError, {"locked/demo_rc.mdb"}), "     locked/demo_rc.mdb: " + denied},
        {{"/U", "locked/demo_rc.mdb"}, std::string(msg::BatchUpdateFailed), "     locked/demo_rc.mdb: " + denied},
        {{"/C", "ro/demo.rc"}, msg::Format(msg::BuildDatabaseError, {"ro/demo_rc.mdb"}),
         "     ro/demo_rc.mdb: " + denied},
        {{"/E", "demo_rc.mdb", "ro/export.mdb"}, msg::Format(msg::ExportDbCopyFailed, {"demo_rc.mdb", "ro/export.mdb"}),
         "     ro/export.mdb: " + denied},
        {{"/C", "x.rc"}, msg::Format(msg::BatchFileNotFound, {"x.rc"}), "     x.rc: " + std::string(std::strerror(EISDIR))},
        {{"/C", "y.rc"}, msg::Format(msg::BatchFileNotFound, {"y.rc"}), "     y.rc: " + std::string(std::strerror(ENOENT))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const auto before = Snapshot(dir.path());
        const RunResult r = dir.Run(c.args, 2);
        EXPECT_NE(r.err.find(c.message + "\n" + c.cause + "\n"), std::string::npos) << r.err;
        EXPECT_EQ(Snapshot(dir.path()), before);
    }
}

TEST(BatchSafety, LoneSlashIsAnUnknownEmptySwitch)
{
    SafetyProject dir;
    const auto before = Snapshot(dir.path());
    for (const std::vector<std::string>& args : {std::vector<std::string>{"/RC", "demo_rc.mdb", "German", "/"},
                                                 std::vector<std::string>{"/U", "demo_rc.mdb", "/"}}) {
        const RunResult r = dir.Run(args, 3);
        EXPECT_EQ(r.err, msg::Format(msg::BatchUnknownCommandFlag, {""}));
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(Snapshot(dir.path()), before);
}

}  // namespace
}  // namespace qln::test
