// A failed import leaves the project database exactly as it was: a parser
// error in the translated script, a file that cannot be read, a copy that
// cannot be written, and a process killed at any moment (script and
// database imports).

#include "import_support.h"

#include "project/DatabaseExchange.h"
#include "project/ImportScript.h"
#include "rcscript/Messages.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <iostream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qln {
namespace {

namespace fs = std::filesystem;

constexpr LanguagePair kGerman{7, 1};

// A translated script whose strings all match the project.
std::string GermanStrings(int count)
{
    std::string text = "STRINGTABLE\nBEGIN\n";
    for (int i = 0; i < count; ++i)
        text += "    IDS_S" + std::to_string(i) + " \"Zeichenkette " + std::to_string(i) + "\"\n";
    return text + "END\n";
}

std::string EnglishStrings(int count)
{
    std::string text = "STRINGTABLE\nBEGIN\n";
    for (int i = 0; i < count; ++i)
        text += "    IDS_S" + std::to_string(i) + " \"String " + std::to_string(i) + "\"\n";
    return text + "END\n";
}

TEST(ImportFailure, ReadingErrorsLeaveTheProjectAsItWas)
{
    struct Case {
        const char* name;
        const char* script;  // nullptr: the file does not exist
        const char* cause;   // the beginning of the note
    };
    const Case cases[] = {
        {"popup with two texts", "STRINGTABLE\nBEGIN\n IDS_ONE \"Eins\"\nEND\nM MENU\nBEGIN\n  POPUP \"&F\" \"x\"\nEND\n",
         "Build Translation File Database.\nParser Error (Menu Popup) at file"},
        {"statement matches no rule", "STRINGTABLE\nBEGIN\n IDS_ONE \"Eins\"\nEND\nD DIALOG 0, 0, 9, 9\nBEGIN\n"
                                      "  LTEXT \"a\" IDC_A\nEND\n",
         "Build Translation File Database.\nParser Error at file"},
        {"missing script", nullptr, "Error: Can't open file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const fs::path db = test::EnglishProject(dir);
        const fs::path script = dir / "app_de.rc";
        if (c.script)
            test::WriteFile(script, c.script);
        const std::string before = test::FileBytes(db);

        const ImportResult result = ImportTranslatedScript(db, script, kGerman);
        EXPECT_EQ(result.status, ImportStatus::Failed);
        EXPECT_EQ(result.message, msg::Format(msg::ImportReadError, {script.string()}));
        ASSERT_FALSE(result.notes.empty());
        EXPECT_EQ(result.notes.back().rfind(c.cause, 0), 0u) << result.notes.back();
        EXPECT_EQ(test::FileBytes(db), before);
        // No work copy is left beside the project.
        std::vector<std::string> files{"app.rc", "app_rc.mdb"};
        if (c.script)
            files.insert(files.begin() + 1, "app_de.rc");
        EXPECT_EQ(test::FilesIn(dir.path()), files);
    }
}

// Runs `body` in a child process and returns its wait status.
template <typename Body>
int InChild(Body body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

TEST(ImportFailure, ACopyThatCannotBeWrittenLeavesTheProjectAsItWas)
{
    test::TempDir dir;
    const fs::path db = test::EnglishProject(dir);
    test::WriteFile(dir / "app_de.rc", GermanStrings(3));
    const std::string before = test::FileBytes(db);
    // Files may not grow beyond a few bytes: the work copy cannot be written.
    const int status = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const ImportResult result = ImportTranslatedScript(db, dir / "app_de.rc", kGerman);
        // The project's copy failed, not the translated script: the message says so.
        const std::string named = msg::Format(msg::ImportWriteError, {db.string()}) + "\n     " + db.string() + ": ";
        ::_exit(result.status == ImportStatus::Failed && result.message.rfind(named, 0) == 0 ? 0 : 1);
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(test::FileBytes(db), before);
}

// Kills itself at the n-th progress report.
class KillingProgress final : public Progress {
public:
    explicit KillingProgress(int at) : at_(at) {}
    void Report(std::uint64_t, std::uint64_t) override
    {
        if (++reports_ == at_)
            ::raise(SIGKILL);
    }
    bool Cancelled() override { return false; }

private:
    int at_;
    int reports_ = 0;
};

TEST(ImportFailure, AKilledImportLeavesTheOriginalOrTheWholeResult)
{
    constexpr int kStrings = 20000;
    test::TempDir dir;
    const fs::path script = dir / "app.rc";
    test::WriteFile(script, EnglishStrings(kStrings));
    ASSERT_TRUE(test::BuildFile(script, LongDatabasePath(script)).ok());
    const fs::path db = LongDatabasePath(script);
    test::WriteFile(dir / "app_de.rc", GermanStrings(kStrings));
    const std::string before = test::FileBytes(db);

    // Killed while reading the script: always the original.
    for (int at : {1, 20, 100}) {
        const int status = InChild([&] {
            KillingProgress progress(at);
            ImportTranslatedScript(db, dir / "app_de.rc", kGerman, {.progress = &progress});
        });
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "report " << at;
        EXPECT_EQ(test::FileBytes(db), before) << "report " << at;
    }

    // Killed from outside at any moment: the original, or the complete import;
    // first importing the script, then the same texts from a database.
    const fs::path from = dir / "from_rc.mdb";
    test::WriteFile(from, before);
    ASSERT_TRUE(ImportTranslatedScript(from, dir / "app_de.rc", kGerman).ok());
    const std::function<void()> imports[] = {
        [&] { ImportTranslatedScript(db, dir / "app_de.rc", kGerman); },
        [&] { ImportFromDatabase(db, from, kGerman); },
    };
    for (const auto& runImport : imports) {
        int original = 0, complete = 0;
        for (int delayMs = 0; delayMs <= 600; delayMs += 40) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                runImport();
                ::_exit(0);
            }
            ::usleep(static_cast<useconds_t>(delayMs) * 1000);
            ::kill(pid, SIGKILL);
            int status = 0;
            ::waitpid(pid, &status, 0);
            if (test::FileBytes(db) == before) {
                ++original;
                continue;
            }
            ++complete;
            EXPECT_EQ(test::Value(db, "PRAGMA integrity_check"), "ok");
            EXPECT_EQ(test::Value(db, "SELECT count(*) FROM ResourceText WHERE German IS NOT NULL"),
                      std::to_string(kStrings));
            test::WriteFile(db, before);  // start again from the original
        }
        EXPECT_GT(original, 0);
        std::cout << "[ killed ] " << original << " times the original, " << complete << " times the whole import\n";
    }
}

}  // namespace
}  // namespace qln
