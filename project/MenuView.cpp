#include "project/MenuView.h"

#include "project/TextForms.h"
#include "project/TextTable.h"
#include "projectdb/ProjectDatabase.h"

#include <algorithm>

namespace qln {
namespace {

// The items of one menu with a text, in script order (separators have none).
const QueryText kMenuItems{
    "MenuView_Items",
    "SELECT MenuItem.Name_ID, MenuItem.Level, MenuItem.LineIndex, ResourceText.Exclude FROM ResFileLine "
    "JOIN MenuItem ON MenuItem.LineIndex = ResFileLine.LineIndex "
    "JOIN ResourceText ON ResourceText.LineIndex = MenuItem.LineIndex "
    "WHERE MenuItem.MenuLine = :MenuLine ORDER BY ResFileLine.Line",
    "", ""};

const QueryText kSourceText{
    "MenuView_SourceText", "SELECT SourceText, Exclude FROM ResourceText WHERE LineIndex = :LineIndex", "", ""};

MenuItemState StateOf(bool source, bool excluded, bool modified, bool translated, bool sourceEmpty)
{
    if (excluded)
        return MenuItemState::Excluded;
    if (source)
        return MenuItemState::Source;
    if (modified)
        return MenuItemState::Modified;
    if (translated || sourceEmpty)
        return MenuItemState::Translated;
    return MenuItemState::NotTranslated;
}

void ReadNode(CProjectDatabase& project, MenuNode& node, int primary, int sub)
{
    const bool source = primary < 0;
    node.translation.clear();
    node.modified = false;
    if (source) {
        sql::Statement& st = project.Query(kSourceText);
        st.bind(":LineIndex", node.lineIndex);
        if (st.step()) {
            node.sourceText = st.columnText("SourceText");
            node.excluded = st.columnInt("Exclude") != 0;
        }
        st.reset();
    } else if (const auto text = project.GetText(node.lineIndex, primary, sub)) {
        node.sourceText = text->sourceText.value_or("");
        node.translation = text->translation.value_or("");
        node.modified = text->notActual;
        node.excluded = text->exclude;
    }
    const bool useTranslation = !node.translation.empty() && !node.excluded;
    node.label = ToDisplayForm(useTranslation ? node.translation : node.sourceText);
    node.state = StateOf(source, node.excluded, node.modified, !node.translation.empty(), node.sourceText.empty());
}

}  // namespace

int MenuItemImage(int category, MenuItemState state)
{
    const bool popup = category == category::PopupMenu;
    switch (state) {
    case MenuItemState::Excluded: return popup ? 18 : 16;
    case MenuItemState::Source: return popup ? 14 : 12;
    case MenuItemState::Modified: return popup ? 4 : 10;
    case MenuItemState::Translated: return popup ? 2 : 8;
    case MenuItemState::NotTranslated: return popup ? 0 : 6;
    }
    return 0;
}

int MenuTree::nodeOfLine(std::int32_t lineIndex) const
{
    const auto found = std::find_if(nodes.begin(), nodes.end(),
                                    [lineIndex](const MenuNode& n) { return n.lineIndex == lineIndex; });
    return found == nodes.end() ? -1 : static_cast<int>(found - nodes.begin());
}

std::optional<MenuTree> LoadMenuTree(CProjectDatabase& project, std::int32_t menuLine)
{
    const auto name = project.GetIdentifier(menuLine, IdentTable::Menu);
    if (!name)
        return std::nullopt;
    MenuTree tree;
    tree.menuLine = menuLine;
    tree.name = *name;
    sql::Statement& st = project.Query(kMenuItems);
    st.bind(":MenuLine", menuLine);
    while (st.step()) {
        MenuNode node;
        node.idText = st.columnText("Name_ID");
        node.category = node.idText.empty() ? category::PopupMenu : category::MenuItem;
        if (node.idText.empty())
            node.idText = "POPUP";
        node.level = std::max(0, st.columnInt("Level"));
        node.lineIndex = static_cast<std::int32_t>(st.columnInt64("LineIndex"));
        node.excluded = st.columnInt("Exclude") != 0;
        tree.nodes.push_back(std::move(node));
    }
    st.reset();

    // The open parents, one per level: open[k] is the last node at depth k.
    // A row at depth d hangs under open[d - 1]; when it is nested deeper than
    // the open popups reach, it hangs under the deepest one.
    std::vector<int> open;
    for (int i = 0; i < static_cast<int>(tree.nodes.size()); ++i) {
        MenuNode& node = tree.nodes[static_cast<std::size_t>(i)];
        const std::size_t depth = std::min(static_cast<std::size_t>(node.level), open.size());
        open.resize(depth);
        node.parent = depth == 0 ? -1 : open.back();
        (node.parent < 0 ? tree.roots : tree.nodes[static_cast<std::size_t>(node.parent)].children).push_back(i);
        open.push_back(i);
    }
    return tree;
}

void ShowMenuLanguage(CProjectDatabase& project, MenuTree& tree, int primary, int sub)
{
    for (MenuNode& node : tree.nodes)
        ReadNode(project, node, primary, sub);
}

bool RefreshMenuNode(CProjectDatabase& project, MenuTree& tree, std::int32_t lineIndex, int primary, int sub)
{
    const int i = tree.nodeOfLine(lineIndex);
    if (i < 0)
        return false;
    ReadNode(project, tree.nodes[static_cast<std::size_t>(i)], primary, sub);
    return true;
}

std::optional<std::int32_t> MenuLineOfItem(CProjectDatabase& project, std::int32_t itemLine)
{
    sql::Statement& st = project.Query("Menu_LineIndex_By_MenuItemIndex");
    st.bind(":LineIndex", itemLine);
    std::optional<std::int32_t> line;
    if (st.step())
        line = static_cast<std::int32_t>(st.columnInt64("MenuLine"));
    st.reset();
    return line;
}

}  // namespace qln
