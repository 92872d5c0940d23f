#include "app/ProjectFileList.h"

#include "rcscript/AsciiText.h"
#include "rcscript/Messages.h"

#include <algorithm>

namespace qln {

std::optional<int> AddProjectFile(ProjectFileSlots& list, std::string_view path)
{
    if (path.empty())
        return std::nullopt;
    auto slot = std::find_if(list.begin(), list.end(),
                             [&](const std::string& value) { return !value.empty() && EqualsNoCase(value, path); });
    if (slot == list.end())
        slot = std::find_if(list.begin(), list.end(), [](const std::string& value) { return value.empty(); });
    if (slot == list.end())
        return std::nullopt;
    *slot = std::string(path);
    return static_cast<int>(slot - list.begin());
}

std::vector<std::string> GetProjectFiles(const ProjectFileSlots& list)
{
    std::vector<std::string> files;
    for (const std::string& value : list)
        if (!value.empty())
            files.push_back(value);
    return files;
}

void SetProjectFiles(ProjectFileSlots& list, const std::vector<std::string>& files)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        list[i] = i < files.size() ? files[i] : std::string();
}

bool RemoveProjectFile(ProjectFileSlots& list, std::string_view path)
{
    std::vector<std::string> files = GetProjectFiles(list);
    const auto kept = std::remove_if(files.begin(), files.end(),
                                     [&](const std::string& value) { return EqualsNoCase(value, path); });
    if (kept == files.end())
        return false;
    files.erase(kept, files.end());
    SetProjectFiles(list, files);
    return true;
}

std::string_view ProjectStateText(int status)
{
    switch (status) {
    case 1: return msg::StateNoTranslation;
    case 2: return msg::StateNotComplete;
    case 3: return msg::StateTranslated;
    case 4: return msg::StateChanged;
    default: return {};
    }
}

namespace {

std::optional<int> InRange(int value, int low, int high)
{
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

}  // namespace

Placement ApplyPlacementRanges(const StoredPlacement& stored)
{
    Placement placement;
    if (stored.zoomed != 0) {
        placement.maximised = true;
        return placement;
    }
    placement.x = InRange(stored.x, kPlacementPosMin, kPlacementPosMax);
    placement.y = InRange(stored.y, kPlacementPosMin, kPlacementPosMax);
    placement.width = InRange(stored.cx, kPlacementSizeMin, kPlacementSizeMax);
    placement.height = InRange(stored.cy, kPlacementSizeMin, kPlacementSizeMax);
    return placement;
}

}  // namespace qln
