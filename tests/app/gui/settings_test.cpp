// The settings file as the workbench reads and writes it: the search
// histories up to the first empty entry, values with commas written by hand,
// the recent files, and a file that cannot be written.

#include "gui_support.h"

#include "app/Settings.h"

#include <gtest/gtest.h>

#include <QFile>

#include <filesystem>
#include <fstream>

namespace qln {
namespace {

namespace fs = std::filesystem;

TEST(WorkbenchSettings, HistoriesStopAtTheFirstEmptyEntry)
{
    test::DemoFolder dir;
    {
        std::ofstream ini(dir / "config/qln40.ini");
        ini << "[FIND]\nText0=first\nText1=a, b\nText2=\nText3=after the gap\n"
               "[RCINCLUDE_EXT]\nRCINCLUDE_FILES_EXT=h, rc2\n";
    }
    CSettings settings(dir.settingsFile());
    // A comma written without quotes is still one text.
    EXPECT_EQ(settings.findHistory(), (QStringList{"first", "a, b"}));
    EXPECT_EQ(settings.includeExtensions(), "h, rc2");

    settings.setReplaceHistory({"x", "y, z"});
    settings.setFindHistory({"only"});
    ASSERT_TRUE(settings.Save());
    CSettings again(dir.settingsFile());
    EXPECT_EQ(again.findHistory(), QStringList{"only"});
    EXPECT_EQ(again.replaceHistory(), (QStringList{"x", "y, z"}));
}

TEST(WorkbenchSettings, RecentFilesKeepFourNewestFirst)
{
    test::DemoFolder dir;
    CSettings settings(dir.settingsFile());
    for (const char* file : {"/p/a.rc", "/p/b.rc", "/p/c.rc", "/p/d.rc", "/p/e.rc", "/P/B.RC"})
        settings.addRecentFile(file);
    EXPECT_EQ(settings.recentFiles(), (QStringList{"/P/B.RC", "/p/e.rc", "/p/d.rc", "/p/c.rc"}));
    settings.removeRecentFile("/p/e.rc");
    EXPECT_EQ(settings.recentFiles(), (QStringList{"/P/B.RC", "/p/d.rc", "/p/c.rc"}));
}

TEST(WorkbenchSettings, UnwritableFileIsReported)
{
    test::DemoFolder dir;
    // The settings file's folder is a file: nothing can be written there.
    { std::ofstream(dir / "blocked") << "x"; }
    CSettings settings(test::Q(dir / "blocked/qln40.ini"));
    settings.setProjectPath("/somewhere");
    EXPECT_FALSE(settings.Save());
}

}  // namespace
}  // namespace qln
