// The media table: file names on the medium, the choice of files, the media.
#include "setup/MediaTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace qln::test {
namespace {

using namespace qln::setup;

TEST(MediaTable, MediumNamesFollowTheNameRule)
{
    EXPECT_EQ(MediumName("ReadMe.txt"), "readme._xt");
    EXPECT_EQ(MediumName("demo.rc"), "demo._c");
    EXPECT_EQ(MediumName("qlndb8.mdb"), "qlndb8._db");
    EXPECT_EQ(MediumName("qln40"), "qln_0");
    EXPECT_EQ(MediumName("resource.h"), "resource_h");
    EXPECT_EQ(MediumName("qln40-help.md"), "qln40-help._d");
    EXPECT_EQ(MediumName("archive.tar.gz"), "archive.tar._z");  // "tar.gz" is not three characters
    EXPECT_EQ(MediumName("translations/Demo_DE.rc"), "translations/demo_de._c");
    EXPECT_EQ(ReplacedCharacter("ReadMe.txt"), 't');
    EXPECT_EQ(ReplacedCharacter("demo.rc"), 'r');
    EXPECT_EQ(ReplacedCharacter("resource.h"), '.');
}

TEST(MediaTable, ChoicesSelectFilesInInstallationOrder)
{
    EXPECT_EQ(FilesToInstall(true, false).size(), 6u);
    EXPECT_EQ(FilesToInstall(false, true).size(), 15u);
    const auto all = FilesToInstall(true, true);
    ASSERT_EQ(all.size(), 21u);
    EXPECT_EQ(all.front().entry, ProgramEntry);
    EXPECT_TRUE(all.front().executable);
    EXPECT_EQ(FilesToInstall(false, false).size(), 0u);

    int projects = 0;
    std::set<std::string> mediumNames;
    for (const MediumFile& f : all) {
        EXPECT_EQ(MediumNumber(f), f.group == FileGroup::Program ? 1 : 2) << f.entry;
        projects += f.project;
        EXPECT_TRUE(mediumNames.insert(MediumName(f.entry)).second) << "two files share " << MediumName(f.entry);
        EXPECT_EQ(InstalledPath(f).begin()->string() == "demoproj", f.group == FileGroup::Demo) << f.entry;
    }
    EXPECT_EQ(projects, 2);
}

TEST(MediaTable, EveryOriginalInTheSourceTreeExists)
{
    for (const MediumFile& f : AllMediumFiles()) {
        const std::filesystem::path source = f.origin == Origin::Source ? std::filesystem::path(QLN_SOURCE_DIR)
                                             : f.origin == Origin::Demo
                                                 ? std::filesystem::path(QLN_SOURCE_DIR) / "examples/demo"
                                                 : std::filesystem::path(QLN_BINARY_DIR);
        if (f.entry.ends_with(".mdb") && f.origin == Origin::Demo)
            continue;  // made by make-media.sh
        EXPECT_TRUE(std::filesystem::is_regular_file(source / f.originPath)) << f.originPath;
    }
}

}  // namespace
}  // namespace qln::test
