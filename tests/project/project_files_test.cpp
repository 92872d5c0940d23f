// The files a project reads, and the writer's refusal to write over one.

#include "build_support.h"
#include "update_support.h"

#include "project/ProjectFiles.h"
#include "project/TranslationWriter.h"
#include "projectdb/ProjectDatabase.h"
#include "rcscript/Messages.h"

#include <gtest/gtest.h>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

// A script with an include the build follows (a nested one inside it), one
// found only by its letter case, one that is missing and a plain header.
class IncludingProject : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(dir / "sub");
        fs::create_directories(dir / "inc");
        WriteFile(dir / "resource.h", "#define IDS_MAIN 1\n");
        WriteFile(dir / "inc" / "shared.h", "#define IDS_SHARED 2\n");
        WriteFile(dir / "sub" / "nested.h", "#define IDS_INC 3\n");
        WriteFile(dir / "sub" / "strings.rc2",
                  "#include \"nested.h\"\nSTRINGTABLE\nBEGIN\n    IDS_INC \"Included\"\nEND\n");
        const std::string text = "#include \"resource.h\"\n#include \"sub\\\\strings.rc2\"\n#include "
                                 "\"INC\\\\Shared.H\"\n#include \"missing.h\"\nSTRINGTABLE\nBEGIN\n    IDS_MAIN "
                                 "\"Main\"\nEND\n";
        ASSERT_TRUE(BuildText(dir, text).ok());
        TranslateAll(db);
        {
            CProjectDatabase project(db);
            project.SetSetting("RES_INCLUDES", 0, 0, std::string("rc2"), std::nullopt);
        }
        RewriteScript(script, text);
        const UpdateResult updated = Update(script, db);
        ASSERT_TRUE(updated.ok()) << updated.errorDetail;
        ASSERT_EQ(Value(db, "SELECT Name_ID FROM IncludeFile"), "sub\\\\strings.rc2");
    }

    TempDir dir;
    const fs::path script = dir / "app.rc";
    const fs::path db = dir / "app_rc.mdb";
};

TEST_F(IncludingProject, ListsTheScriptItsIncludesAndTheDatabase)
{
    fs::create_hard_link(dir / "resource.h", dir / "hard.h");
    fs::create_symlink("app.rc", dir / "link.rc");
    CProjectDatabase project(db, sql::Database::Mode::ReadOnly);
    const ProjectFileSet files = FilesProjectReads(project, script);
    for (const char* name : {"app_rc.mdb", "app.rc", "link.rc", "resource.h", "hard.h", "sub/../resource.h",
                             "sub/strings.rc2", "sub/nested.h", "inc/shared.h",
                             // found without regard to case, so any case means it
                             "inc/SHARED.H", "inc/Shared.h",
                             // missing: a file of this name in any case would be read
                             "missing.h", "MISSING.H"})
        EXPECT_TRUE(files.Contains(dir / name)) << name;
    // The script names resource.h in its own case: another case is another file.
    for (const char* name : {"RESOURCE.H", "app_de.rc", "sub/strings.rc", "inc/other.h"})
        EXPECT_FALSE(files.Contains(dir / name)) << name;

    // Before its database exists a script names only its own include lines.
    const ProjectFileSet named = FilesScriptReads(script);
    for (const char* name : {"app.rc", "resource.h", "sub/strings.rc2", "inc/SHARED.H", "missing.h"})
        EXPECT_TRUE(named.Contains(dir / name)) << name;
    EXPECT_FALSE(named.Contains(dir / "sub/nested.h"));
    EXPECT_FALSE(named.Contains(dir / "app_rc.mdb"));
}

TEST_F(IncludingProject, TheWriterRefusesEveryOneOfThem)
{
    CProjectDatabase project(db);
    struct Case {
        const char* name;
        std::string message;
    };
    const Case cases[] = {
        {"app.rc", std::string(msg::TranslationFileIsSource)},
        {"app_rc.mdb", msg::Format(msg::TranslationFileIsProjectFile, {(dir / "app_rc.mdb").string()})},
        {"sub/nested.h", msg::Format(msg::TranslationFileIsProjectFile, {(dir / "sub/nested.h").string()})},
        {"inc/SHARED.H", msg::Format(msg::TranslationFileIsProjectFile, {(dir / "inc/SHARED.H").string()})},
        {"missing.h", msg::Format(msg::TranslationFileIsProjectFile, {(dir / "missing.h").string()})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path output = dir / c.name;
        const bool existed = fs::exists(output);
        const std::string before = existed ? FileBytes(output) : std::string();
        const WriteResult result = WriteTranslatedScript(output, script, project, kGerman, kGermanSub);
        EXPECT_EQ(result.status, WriteStatus::ProjectFile);
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(fs::exists(output), existed);
        EXPECT_EQ(existed ? FileBytes(output) : std::string(), before);
    }
    EXPECT_EQ(WriteTranslatedScript(dir / "app_de.rc", script, project, kGerman, kGermanSub).status,
              WriteStatus::Written);
}

}  // namespace
}  // namespace qln::test
