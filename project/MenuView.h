#pragma once
// What the menu view shows of one menu resource, read from the project
// database alone: its popups and items as a tree in script order, each with
// its label in the shown language (the source text where the text is
// untranslated or excluded) and its translation state.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qln {

class CProjectDatabase;

// The translation state of a node, first matching wins.
enum class MenuItemState {
    Excluded,       // the text is excluded
    Source,         // the source is shown
    Modified,       // the source changed after the text was translated
    Translated,     // translated, or the source text is empty
    NotTranslated,
};
// The image number of a state: menu items 16, 12, 10, 8, 6; popups 18, 14, 4, 2, 0.
int MenuItemImage(int category, MenuItemState state);

struct MenuNode {
    int category = 0;         // category::MenuItem or category::PopupMenu
    std::string idText;       // the item's Name_ID, "POPUP" for a popup
    std::int32_t lineIndex = -1;
    int level = 0;            // nesting as stored, 0 = directly in the menu
    bool excluded = false;
    int parent = -1;          // index into MenuTree::nodes, -1 = the menu itself
    std::vector<int> children;
    // Set by ShowMenuLanguage.
    std::string label;        // display form
    std::string sourceText;   // script form
    std::string translation;  // script form; empty for the source
    bool modified = false;
    MenuItemState state = MenuItemState::Source;
    int image() const { return MenuItemImage(category, state); }
};

struct MenuTree {
    std::int32_t menuLine = -1;
    std::string name;         // the menu's Name_ID
    std::vector<MenuNode> nodes;  // in script order
    std::vector<int> roots;       // nodes directly in the menu

    // Index of the node of a text line, or -1.
    int nodeOfLine(std::int32_t lineIndex) const;
};

// The tree of the menu whose statement is at `menuLine`; nothing when the
// line is no menu. A row nested deeper than one step below the previous one
// hangs under the last node it can (the deepest open popup); a row whose
// level drops by several steps hangs under the last node one level above
// it. Labels are not read yet. Throws sql::Error.
std::optional<MenuTree> LoadMenuTree(CProjectDatabase& project, std::int32_t menuLine);

// Reads every node's texts for the language (primary < 0: the source) and
// sets its label, flags and state. Throws sql::Error.
void ShowMenuLanguage(CProjectDatabase& project, MenuTree& tree, int primary, int sub);
// The same for the one node of a text line; false when the tree has none.
bool RefreshMenuNode(CProjectDatabase& project, MenuTree& tree, std::int32_t lineIndex, int primary, int sub);

// The menu line of a menu item's text line, or nothing.
std::optional<std::int32_t> MenuLineOfItem(CProjectDatabase& project, std::int32_t itemLine);

}  // namespace qln
