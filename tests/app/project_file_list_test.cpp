// The project file list and the window placement ranges, without a window.

#include "app/ProjectFileList.h"

#include <gtest/gtest.h>

namespace qln {
namespace {

TEST(ProjectFileList, ThirtySlotsThenNoMore)
{
    ProjectFileSlots list;
    for (int i = 0; i < kProjectFileSlots; ++i)
        EXPECT_EQ(AddProjectFile(list, "/p/project" + std::to_string(i) + ".rc"), i);
    // The 31st distinct project is not listed; one already listed still is found.
    EXPECT_FALSE(AddProjectFile(list, "/p/other.rc").has_value());
    EXPECT_EQ(AddProjectFile(list, "/p/PROJECT7.RC"), 7);
    EXPECT_EQ(GetProjectFiles(list).size(), 30u);

    // A free slot in the middle is taken first.
    list[4].clear();
    EXPECT_EQ(AddProjectFile(list, "/p/other.rc"), 4);
}

TEST(ProjectFileList, SamePathInOtherCaseIsKeptOnce)
{
    ProjectFileSlots list;
    EXPECT_EQ(AddProjectFile(list, "/home/alice/Demo/demo.rc"), 0);
    EXPECT_EQ(AddProjectFile(list, "/home/alice/other.rc"), 1);
    EXPECT_EQ(AddProjectFile(list, "/HOME/alice/demo/DEMO.rc"), 0);
    // The latest spelling names the file as it was opened last.
    EXPECT_EQ(GetProjectFiles(list),
              (std::vector<std::string>{"/HOME/alice/demo/DEMO.rc", "/home/alice/other.rc"}));
    EXPECT_FALSE(AddProjectFile(list, "").has_value());
}

TEST(ProjectFileList, SetAndRemoveKeepTheOrder)
{
    ProjectFileSlots list;
    SetProjectFiles(list, {"/a.rc", "/b.rc", "/c.rc"});
    EXPECT_TRUE(RemoveProjectFile(list, "/B.RC"));
    EXPECT_FALSE(RemoveProjectFile(list, "/b.rc"));
    EXPECT_EQ(list[0], "/a.rc");
    EXPECT_EQ(list[1], "/c.rc");
    EXPECT_EQ(list[2], "");
}

TEST(Placement, EachValueOnlyInsideItsRange)
{
    Placement p = ApplyPlacementRanges({0, -21, 800, 200, 1500});
    EXPECT_FALSE(p.maximised);
    EXPECT_FALSE(p.x || p.y || p.width || p.height);
    p = ApplyPlacementRanges({0, -20, 799, 201, 1499});
    EXPECT_EQ(p.x, -20);
    EXPECT_EQ(p.y, 799);
    EXPECT_EQ(p.width, 201);
    EXPECT_EQ(p.height, 1499);
    // Maximised: the other values do not count.
    p = ApplyPlacementRanges({1, 10, 10, 400, 400});
    EXPECT_TRUE(p.maximised);
    EXPECT_FALSE(p.width.has_value());
}

}  // namespace
}  // namespace qln
