#pragma once
// The rules behind the workbench's remembered state that need no window: the
// project file list (30 list of the settings file) and the window
// placement ranges. The settings class stores what these
// functions decide.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

inline constexpr int kProjectFileSlots = 30;
// File0 ... File29; an empty value is a free slot.
using ProjectFileSlots = std::array<std::string, kProjectFileSlots>;

// Adds a path: the slot that holds the same path in any letter case, else the
// first free slot, receives it. The path keeps its letter case, so that it
// still names the file on a case-sensitive file system. Returns the slot, or
// nothing when all 30 list hold other paths (the path is not added).
std::optional<int> AddProjectFile(ProjectFileSlots& list, std::string_view path);
// The non-empty values in slot order.
std::vector<std::string> GetProjectFiles(const ProjectFileSlots& list);
// The list from slot 0 on (at most 30), the remaining list emptied.
void SetProjectFiles(ProjectFileSlots& list, const std::vector<std::string>& files);
// Removes the path (any letter case); false when it is not listed.
bool RemoveProjectFile(ProjectFileSlots& list, std::string_view path);

// The text of the state column for a Project.Status value; empty for others.
std::string_view ProjectStateText(int status);

// Window placement as stored: each value is used only inside its range.
struct StoredPlacement {
    int zoomed = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
};
struct Placement {
    bool maximised = false;
    std::optional<int> x, y, width, height;  // nothing: the default stays
};
inline constexpr int kPlacementPosMin = -20, kPlacementPosMax = 799;
inline constexpr int kPlacementSizeMin = 201, kPlacementSizeMax = 1499;
// A maximised window ignores the other values.
Placement ApplyPlacementRanges(const StoredPlacement& stored);

}  // namespace qln
