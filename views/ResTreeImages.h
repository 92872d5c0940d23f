#pragma once
// The small images of the resource tree, drawn here (16 x 16): 0 the root,
// 1 dialog, 2 menu, 3 string, 4 version resource, 5 dialog text, 6 menu
// item, 7 spare, 8 bitmap, 9 version text, 10 include statement.

#include <QIcon>

#include <vector>

namespace qln {

namespace treeimage {
inline constexpr int Root = 0;
inline constexpr int Dialog = 1;
inline constexpr int Menu = 2;
inline constexpr int String = 3;
inline constexpr int Version = 4;
inline constexpr int DialogText = 5;
inline constexpr int MenuItem = 6;
inline constexpr int Bitmap = 8;
inline constexpr int VersionText = 9;
inline constexpr int Include = 10;
inline constexpr int Count = 11;
}  // namespace treeimage

// The image list, indexed as above. Needs a running QGuiApplication.
std::vector<QIcon> MakeResTreeImages();

}  // namespace qln
