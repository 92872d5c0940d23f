#pragma once
// What the resource tree lists: the project's resources by kind (dialogs,
// menus, strings, bitmaps, version resources, include statements), and
// below each dialog, menu and version resource its texts. Every list is one
// query; the tree asks for a list only when a node is first opened, so a
// project of 100,000 lines shows its tree at once.
//
// Which kinds are listed follows the text table's filter: a kind the table
// hides is a group without children. Excluded texts are left out of the
// lists unless the table shows them.

#include "project/TextTable.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qln {

class CProjectDatabase;

enum class ResourceGroup { Dialogs, Menus, Strings, Bitmaps, Versions, Includes };

inline constexpr std::array<ResourceGroup, 6> kResourceGroups = {
    ResourceGroup::Dialogs,  ResourceGroup::Menus,    ResourceGroup::Strings,
    ResourceGroup::Bitmaps,  ResourceGroup::Versions, ResourceGroup::Includes};

// One node below a group or a resource: what it shows and the text (or
// resource statement) it stands for.
struct ResourceNode {
    std::string label;
    std::int32_t lineIndex = -1;
    int category = category::None;  // the text table's display category
};

// Whether the text table shows the group's kind.
bool GroupShown(const TextTableFilter& filter, ResourceGroup group);
// "Dialogs (12)", or "Dialogs (hidden)" when the kind is hidden.
std::string GroupLabel(ResourceGroup group, bool shown, int count);
// Category of the group's resource nodes (Dialog, Menu, StringtableString, ...).
int GroupCategory(ResourceGroup group);
// Whether resources of this category have nodes below them (dialogs, menus,
// version resources).
bool HasResourceItems(int resourceCategory);

// Number of resources of each kind, in kResourceGroups order; 0 for a kind
// the filter hides. The same numbers as the lists below hold. Throws sql::Error.
std::array<int, 6> CountResources(CProjectDatabase& project, const TextTableFilter& filter);

// The resources of a group: dialogs, menus and version resources by name
// (two of one name stay in script order), the others in script order.
// Empty for a hidden kind. Throws sql::Error.
std::vector<ResourceNode> ListResources(CProjectDatabase& project, ResourceGroup group,
                                        const TextTableFilter& filter);

// The nodes below a dialog (its caption, then its controls), a menu (every
// item at one level) or a version resource (each block header followed by
// its values), in script order. Empty for other categories. Throws sql::Error.
std::vector<ResourceNode> ListResourceItems(CProjectDatabase& project, const ResourceNode& resource,
                                            const TextTableFilter& filter);

}  // namespace qln
