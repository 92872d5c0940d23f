// What the resource tree lists: groups, counts and the nodes below each
// resource, on the demo project, on small scripts of our own and on every
// real script of the corpus, where every text the text table shows must be
// reachable through the tree exactly once.

#include "build_support.h"
#include "CorpusScripts.h"

#include "project/ResourceTree.h"
#include "projectdb/ProjectDatabase.h"

#include <gtest/gtest.h>

#include <map>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Labels(const std::vector<ResourceNode>& nodes)
{
    std::vector<std::string> labels;
    for (const ResourceNode& n : nodes)
        labels.push_back(n.label);
    return labels;
}

int Index(ResourceGroup group)
{
    return static_cast<int>(group);
}

const ResourceNode* Find(const std::vector<ResourceNode>& nodes, const std::string& label)
{
    for (const ResourceNode& n : nodes)
        if (n.label == label)
            return &n;
    return nullptr;
}

TEST(ResourceTree, DemoProjectGroupsCountsAndItems)
{
    TempDir dir;
    fs::copy(fs::path(QLN_SOURCE_DIR) / "examples" / "demo", dir.path(), fs::copy_options::recursive);
    BuildResult built = BuildFile(dir / "demo.rc", dir / "demo_rc.mdb");
    ASSERT_TRUE(built.ok()) << built.message;
    CProjectDatabase& project = *built.database;
    TextTableFilter all;

    const auto counts = CountResources(project, all);
    for (const ResourceGroup group : kResourceGroups)
        EXPECT_EQ(counts[static_cast<std::size_t>(Index(group))],
                  static_cast<int>(ListResources(project, group, all).size()));
    EXPECT_EQ(counts[0], 3);
    EXPECT_EQ(counts[1], 1);
    EXPECT_EQ(counts[3], 1);
    EXPECT_EQ(counts[4], 1);
    EXPECT_GT(counts[2], 20);
    EXPECT_EQ(GroupLabel(ResourceGroup::Dialogs, true, 3), "Dialogs (3)");
    EXPECT_EQ(GroupLabel(ResourceGroup::Includes, false, 3), "Includes (hidden)");

    const auto dialogs = ListResources(project, ResourceGroup::Dialogs, all);
    EXPECT_EQ(Labels(dialogs), (std::vector<std::string>{"IDD_ABOUTBOX", "IDD_CONVERTER", "IDD_OPTIONS"}));
    EXPECT_EQ(dialogs[0].category, category::Dialog);
    const auto converter = ListResourceItems(project, dialogs[1], all);
    ASSERT_GT(converter.size(), 5u);
    EXPECT_EQ(converter[0].label, "\"Caption\"");
    EXPECT_EQ(converter[0].category, category::DialogCaption);
    EXPECT_EQ(*project.GetLineKind(converter[0].lineIndex), kind::Caption);
    // Controls follow in script order, those without a text as well.
    const ResourceNode* edit = Find(converter, "IDC_VALUE");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->category, category::DialogItem);
    for (std::size_t i = 2; i < converter.size(); ++i)
        EXPECT_LT(std::stoi(Value(dir / "demo_rc.mdb", "SELECT Line FROM ResFileLine WHERE LineIndex = " +
                                                           std::to_string(converter[i - 1].lineIndex))),
                  std::stoi(Value(dir / "demo_rc.mdb", "SELECT Line FROM ResFileLine WHERE LineIndex = " +
                                                           std::to_string(converter[i].lineIndex))));

    const auto menu = ListResourceItems(project, ListResources(project, ResourceGroup::Menus, all)[0], all);
    ASSERT_FALSE(menu.empty());
    EXPECT_EQ(menu[0].label, "POPUP");
    EXPECT_EQ(menu[0].category, category::PopupMenu);
    EXPECT_NE(Find(menu, "ID_FILE_OPEN"), nullptr);

    const auto version = ListResourceItems(project, ListResources(project, ResourceGroup::Versions, all)[0], all);
    // The language block's header (the only block with a text), then its values.
    ASSERT_EQ(version.size(), 9u);
    EXPECT_EQ(version[0].label, "\"Block Header\"");
    EXPECT_EQ(version[0].category, category::BlockHeader);
    EXPECT_EQ(version[1].label, "CompanyName");
    EXPECT_EQ(version[1].category, category::VersionValue);
    EXPECT_EQ(version.back().label, "ProductVersion");

    const auto bitmaps = ListResources(project, ResourceGroup::Bitmaps, all);
    EXPECT_EQ(Labels(bitmaps), std::vector<std::string>{"IDB_RULER"});
    EXPECT_TRUE(ListResourceItems(project, bitmaps[0], all).empty());
    const auto includes = ListResources(project, ResourceGroup::Includes, all);
    ASSERT_FALSE(includes.empty());
    EXPECT_EQ(includes[0].label, "resource.h");
    EXPECT_EQ(includes[0].category, category::Include);

    // Hidden kinds count 0 and list nothing; hiding excluded texts drops the
    // include lines and bitmap file names, which are excluded from the start.
    TextTableFilter some;
    some.dialogs = false;
    some.excluded = false;
    const auto fewer = CountResources(project, some);
    EXPECT_EQ(fewer[0], 0);
    EXPECT_TRUE(ListResources(project, ResourceGroup::Dialogs, some).empty());
    EXPECT_EQ(fewer[1], 1);
    EXPECT_EQ(fewer[3], 0);
    EXPECT_EQ(fewer[5], 0);
    const std::int32_t first = ListResources(project, ResourceGroup::Strings, all)[0].lineIndex;
    ASSERT_TRUE(project.SetExclude(first, true));
    EXPECT_EQ(CountResources(project, some)[2], counts[2] - 1);
    EXPECT_EQ(CountResources(project, all)[2], counts[2]);
    // Modified-only shows no excluded text either.
    TextTableFilter modifiedOnly;
    modifiedOnly.modifiedOnly = true;
    EXPECT_EQ(CountResources(project, modifiedOnly)[2], counts[2] - 1);
}

TEST(ResourceTree, NamesCaptionsAndExcludedItems)
{
    TempDir dir;
    BuildResult built = BuildText(dir,
                                  "dlgB DIALOG 0, 0, 100, 50\nBEGIN\n  LTEXT \"Second b\", 11, 1, 1, 40, 8\nEND\n"
                                  "DlgA DIALOG 0, 0, 100, 50\nCAPTION \"A\"\nBEGIN\n"
                                  "  LTEXT \"One\", 1, 1, 1, 40, 8\n  LTEXT \"Two\", 2, 1, 12, 40, 8\nEND\n"
                                  "dlgB DIALOG 0, 0, 100, 50\nCAPTION \"B\"\nBEGIN\n  LTEXT \"b\", 12, 1, 1, 40, 8\nEND\n"
                                  "zmenu MENU\nBEGIN\n  MENUITEM \"Z\", 200\nEND\n"
                                  "Amenu MENU\nBEGIN\n  POPUP \"&File\"\n  BEGIN\n    MENUITEM \"&Open\", 100\n"
                                  "    MENUITEM SEPARATOR\n    POPUP \"&Recent\"\n    BEGIN\n"
                                  "      MENUITEM \"&Clear\", 101\n    END\n  END\nEND\n");
    ASSERT_TRUE(built.ok()) << built.message;
    CProjectDatabase& project = *built.database;
    TextTableFilter all;

    // Sorted without regard to case; the two dialogs of one name both, in script order.
    const auto dialogs = ListResources(project, ResourceGroup::Dialogs, all);
    ASSERT_EQ(Labels(dialogs), (std::vector<std::string>{"DlgA", "dlgB", "dlgB"}));
    EXPECT_LT(dialogs[1].lineIndex, dialogs[2].lineIndex);
    const auto noCaption = ListResourceItems(project, dialogs[1], all);
    EXPECT_EQ(Labels(noCaption), std::vector<std::string>{"11"});
    EXPECT_EQ(Labels(ListResourceItems(project, dialogs[2], all)), (std::vector<std::string>{"\"Caption\"", "12"}));
    const auto a = ListResourceItems(project, dialogs[0], all);
    ASSERT_EQ(Labels(a), (std::vector<std::string>{"\"Caption\"", "1", "2"}));

    // Every item of a menu at one level, popups named POPUP; no separator.
    const auto menus = ListResources(project, ResourceGroup::Menus, all);
    ASSERT_EQ(Labels(menus), (std::vector<std::string>{"Amenu", "zmenu"}));
    const auto items = ListResourceItems(project, menus[0], all);
    EXPECT_EQ(Labels(items), (std::vector<std::string>{"POPUP", "100", "POPUP", "101"}));
    EXPECT_EQ(items[1].category, category::MenuItem);

    // Excluded texts leave the dialog and menu lists while the table hides them.
    ASSERT_TRUE(project.SetExclude(a[0].lineIndex, true));
    ASSERT_TRUE(project.SetExclude(items[1].lineIndex, true));
    TextTableFilter hideExcluded;
    hideExcluded.excluded = false;
    EXPECT_EQ(Labels(ListResourceItems(project, dialogs[0], hideExcluded)), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Labels(ListResourceItems(project, menus[0], hideExcluded)),
              (std::vector<std::string>{"POPUP", "POPUP", "101"}));
    EXPECT_EQ(ListResourceItems(project, dialogs[0], all).size(), 3u);
}

// Which tree node reaches a text of the table: the resource node itself for
// strings, bitmaps and includes, an item node for the rest.
TEST(ResourceTree, CorpusEveryTableTextOnceInTheTree)
{
    if (!fs::is_directory(QLN_CORPUS_DIR))
        GTEST_SKIP() << "corpus folder " << QLN_CORPUS_DIR << " is absent";
    int scripts = 0;
    for (const fs::path& script : ScriptsUnder(QLN_CORPUS_DIR)) {
        TempDir dir;
        BuildResult built = BuildFile(script, dir / "corpus_rc.mdb");
        if (!built.ok())
            continue;
        ++scripts;
        CProjectDatabase& project = *built.database;
        TextTableFilter all;
        std::map<std::int32_t, int> reached;  // text line -> node category
        int duplicates = 0;
        const auto reach = [&](const ResourceNode& n) {
            if (!reached.emplace(n.lineIndex, n.category).second)
                ++duplicates;
        };
        const auto counts = CountResources(project, all);
        for (const ResourceGroup group : kResourceGroups) {
            const auto resources = ListResources(project, group, all);
            ASSERT_EQ(counts[static_cast<std::size_t>(Index(group))], static_cast<int>(resources.size()))
                << script;
            for (const ResourceNode& resource : resources) {
                if (!HasResourceItems(resource.category))
                    reach(resource);
                for (const ResourceNode& item : ListResourceItems(project, resource, all))
                    reach(item);
            }
        }
        EXPECT_EQ(duplicates, 0) << script;
        for (const TextTableRow& row : LoadTextTable(project, all).rows) {
            if (row.category == category::None)
                continue;
            const auto found = reached.find(row.lineIndex);
            ASSERT_NE(found, reached.end()) << script << ": " << row.sourceText << " (" << row.itemType() << ")";
            const int expected = row.category == category::BitmapFile ? 9 : row.category;
            EXPECT_EQ(found->second, expected) << script << ": " << row.sourceText;
        }
    }
    EXPECT_GT(scripts, 400);
}

}  // namespace
}  // namespace qln::test
