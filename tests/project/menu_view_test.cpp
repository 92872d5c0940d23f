// The menu view's tree and labels, read from databases built from real scripts.

#include "build_support.h"

#include "CorpusScripts.h"
#include "project/MenuView.h"
#include "project/TextTable.h"
#include "project/TranslationStore.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"

#include <gtest/gtest.h>

namespace qln::test {
namespace {

std::int32_t MenuLine(CProjectDatabase& project, const std::string& name)
{
    sql::Statement st = project.db().prepare("SELECT LineIndex FROM Menu WHERE Name_ID = :name");
    st.bind(":name", name);
    EXPECT_TRUE(st.step()) << name;
    return static_cast<std::int32_t>(st.columnInt64(0));
}

const MenuNode& Node(const MenuTree& tree, int index)
{
    return tree.nodes.at(static_cast<std::size_t>(index));
}

std::vector<std::string> Labels(const MenuTree& tree, const std::vector<int>& indexes)
{
    std::vector<std::string> out;
    for (int i : indexes)
        out.push_back(Node(tree, i).label);
    return out;
}

// Visits the tree depth first: the nodes in the order the tree shows them.
void Preorder(const MenuTree& tree, const std::vector<int>& level, std::vector<int>& out)
{
    for (int i : level) {
        out.push_back(i);
        Preorder(tree, Node(tree, i).children, out);
    }
}

TEST(MenuView, DemoMenuTreeLabelsAndStatesPerLanguage)
{
    TempDir dir;
    std::filesystem::copy(std::filesystem::path(QLN_SOURCE_DIR) / "examples" / "demo", dir.path(),
                          std::filesystem::copy_options::recursive);
    BuildResult built = BuildFile(dir / "demo.rc", dir / "demo_rc.mdb");
    ASSERT_TRUE(built.ok()) << built.message;
    CProjectDatabase& project = *built.database;
    ASSERT_TRUE(AddLanguage(project, 7, 1, 1252));

    auto tree = LoadMenuTree(project, MenuLine(project, "IDR_MAINFRAME"));
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->name, "IDR_MAINFRAME");
    EXPECT_FALSE(LoadMenuTree(project, 999999));
    ShowMenuLanguage(project, *tree, -1, -1);
    EXPECT_EQ(Labels(*tree, tree->roots), (std::vector<std::string>{"&File", "&Edit", "&View", "&Help"}));
    const MenuNode& file = Node(*tree, tree->roots[0]);
    EXPECT_EQ(file.category, category::PopupMenu);
    EXPECT_EQ(file.idText, "POPUP");
    EXPECT_EQ(file.image(), 14);
    // The separators have no text and so no node.
    EXPECT_EQ(Labels(*tree, file.children),
              (std::vector<std::string>{"&New List\\tCtrl+N", "&Open List...\\tCtrl+O", "Save &As...", "Recent &Lists",
                                        "E&xit"}));
    const MenuNode& recent = Node(*tree, file.children[3]);
    EXPECT_EQ(Labels(*tree, recent.children), (std::vector<std::string>{"(empty)"}));
    const MenuNode& exit = Node(*tree, file.children[4]);
    EXPECT_EQ(exit.category, category::MenuItem);
    EXPECT_EQ(exit.idText, "ID_APP_EXIT");
    EXPECT_EQ(exit.image(), 12);

    // German: one item translated, one translated then flagged, one excluded.
    const std::int32_t exitLine = exit.lineIndex, newLine = Node(*tree, file.children[0]).lineIndex;
    const std::int32_t saveLine = Node(*tree, file.children[2]).lineIndex;
    ASSERT_TRUE(StoreTranslation(project, exitLine, 7, 1, "&Beenden"));
    ASSERT_TRUE(StoreTranslation(project, file.lineIndex, 7, 1, "&Datei"));
    ASSERT_TRUE(project.SetTranslation(newLine, 7, 1, "&Neue Liste", true));
    ASSERT_TRUE(StoreTranslation(project, saveLine, 7, 1, "Speichern &unter..."));
    ASSERT_TRUE(project.SetExclude(saveLine, true));
    ShowMenuLanguage(project, *tree, 7, 1);
    EXPECT_EQ(Node(*tree, tree->nodeOfLine(exitLine)).label, "&Beenden");
    EXPECT_EQ(Node(*tree, tree->nodeOfLine(exitLine)).image(), 8);
    EXPECT_EQ(Node(*tree, tree->roots[0]).image(), 2);
    EXPECT_EQ(Node(*tree, tree->nodeOfLine(newLine)).image(), 10);
    EXPECT_EQ(Node(*tree, tree->nodeOfLine(newLine)).label, "&Neue Liste");
    // Excluded: the source text, image 16, in the language and in the source.
    EXPECT_EQ(Node(*tree, tree->nodeOfLine(saveLine)).label, "Save &As...");
    EXPECT_EQ(Node(*tree, tree->nodeOfLine(saveLine)).image(), 16);
    EXPECT_EQ(Node(*tree, tree->roots[1]).image(), 0);  // "&Edit", not translated
    EXPECT_EQ(Node(*tree, tree->roots[1]).label, "&Edit");

    // One node follows a new translation without the others being read.
    ASSERT_TRUE(StoreTranslation(project, tree->nodes[static_cast<std::size_t>(tree->roots[1])].lineIndex, 7, 1,
                                 "&Bearbeiten"));
    EXPECT_TRUE(RefreshMenuNode(project, *tree, Node(*tree, tree->roots[1]).lineIndex, 7, 1));
    EXPECT_EQ(Node(*tree, tree->roots[1]).label, "&Bearbeiten");
    EXPECT_FALSE(RefreshMenuNode(project, *tree, 999999, 7, 1));

    ShowMenuLanguage(project, *tree, -1, -1);
    EXPECT_EQ(Node(*tree, tree->nodeOfLine(exitLine)).label, "E&xit");
    EXPECT_EQ(Node(*tree, tree->nodeOfLine(saveLine)).image(), 16);
    EXPECT_EQ(MenuLineOfItem(project, exitLine), tree->menuLine);
}

TEST(MenuView, NestingSeparatorsAndEmptyTexts)
{
    TempDir dir;
    BuildResult built = BuildText(dir,
                                  "M MENU\n"
                                  "BEGIN\n"
                                  "  POPUP \"A\"\n"
                                  "  BEGIN\n"
                                  "    POPUP \"B\"\n"
                                  "    BEGIN\n"
                                  "      POPUP \"C\"\n"
                                  "      BEGIN\n"
                                  "        MENUITEM \"c1\", 1\n"
                                  "      END\n"
                                  "    END\n"
                                  "    MENUITEM \"a1\", 2\n"
                                  "    POPUP \"D\"\n"
                                  "    BEGIN\n"
                                  "      POPUP \"E\"\n"
                                  "      BEGIN\n"
                                  "        MENUITEM \"e1\", 3\n"
                                  "      END\n"
                                  "    END\n"
                                  "  END\n"
                                  "  POPUP \"Seps\"\n"
                                  "  BEGIN\n"
                                  "    MENUITEM SEPARATOR\n"
                                  "    MENUITEM SEPARATOR\n"
                                  "  END\n"
                                  "  MENUITEM \"\", 4\n"
                                  "  MENUITEM \"top\", 5\n"
                                  "END\n");
    ASSERT_TRUE(built.ok()) << built.message;
    CProjectDatabase& project = *built.database;
    ASSERT_TRUE(AddLanguage(project, 7, 1, 1252));
    auto tree = LoadMenuTree(project, MenuLine(project, "M"));
    ASSERT_TRUE(tree);
    ShowMenuLanguage(project, *tree, 7, 1);
    std::vector<std::string> roots = Labels(*tree, tree->roots);
    ASSERT_GE(roots.size(), 3u);
    EXPECT_EQ(roots[0], "A");
    EXPECT_EQ(roots[1], "Seps");
    EXPECT_EQ(roots.back(), "top");
    // "a1" follows the end of two popups at once: it belongs to "A", not to "B".
    const MenuNode& a = Node(*tree, tree->roots[0]);
    EXPECT_EQ(Labels(*tree, a.children), (std::vector<std::string>{"B", "a1", "D"}));
    EXPECT_EQ(Labels(*tree, Node(*tree, a.children[0]).children), (std::vector<std::string>{"C"}));
    // "Seps" and "top" come after three popups end at once.
    const MenuNode& seps = Node(*tree, tree->roots[1]);
    EXPECT_TRUE(seps.children.empty());
    EXPECT_EQ(seps.image(), 0);
    // An item with an empty source text is built excluded; once included,
    // it counts as translated.
    ASSERT_EQ(roots.size(), 4u);
    const std::int32_t emptyLine = Node(*tree, tree->roots[2]).lineIndex;
    EXPECT_EQ(Node(*tree, tree->roots[2]).image(), 16);
    ASSERT_TRUE(project.SetExclude(emptyLine, false));
    ShowMenuLanguage(project, *tree, 7, 1);
    EXPECT_EQ(Node(*tree, tree->roots[2]).label, "");
    EXPECT_EQ(Node(*tree, tree->roots[2]).image(), 8);
    EXPECT_EQ(Node(*tree, tree->roots.back()).image(), 6);
}

// Every menu of a real script: the tree shows each text once, in script
// order, each under a node one level above it.
TEST(MenuView, CorpusMenusKeepScriptOrderAndLevels)
{
    const std::filesystem::path script =
        std::filesystem::path(QLN_CORPUS_DIR) / "windirstat" / "windirstat" / "windirstat.rc";
    if (!std::filesystem::exists(script))
        GTEST_SKIP() << "corpus not found: " << script;
    TempDir dir;
    BuildResult built = BuildFile(script, dir / "windirstat_rc.mdb");
    ASSERT_TRUE(built.ok()) << built.message;
    CProjectDatabase& project = *built.database;
    std::vector<std::int32_t> menus;
    {
        sql::Statement st = project.db().prepare("SELECT LineIndex FROM Menu");
        while (st.step())
            menus.push_back(static_cast<std::int32_t>(st.columnInt64(0)));
    }
    ASSERT_GE(menus.size(), 2u);
    std::size_t nested = 0;
    for (std::int32_t line : menus) {
        auto tree = LoadMenuTree(project, line);
        ASSERT_TRUE(tree);
        ShowMenuLanguage(project, *tree, -1, -1);
        std::vector<int> shown;
        Preorder(*tree, tree->roots, shown);
        ASSERT_EQ(shown.size(), tree->nodes.size()) << tree->name;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(shown[i], static_cast<int>(i)) << tree->name;
            const MenuNode& node = Node(*tree, static_cast<int>(i));
            EXPECT_FALSE(node.label.empty()) << tree->name;
            if (node.parent >= 0) {
                EXPECT_EQ(Node(*tree, node.parent).level, node.level - 1) << tree->name << " " << node.label;
                EXPECT_EQ(Node(*tree, node.parent).category, category::PopupMenu) << node.label;
                ++nested;
            } else {
                EXPECT_EQ(node.level, 0) << tree->name << " " << node.label;
            }
        }
    }
    EXPECT_GT(nested, 20u);
}

}  // namespace
}  // namespace qln::test
