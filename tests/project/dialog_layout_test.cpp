// The layout editor's rules on real project databases: the demo project built
// from examples/demo with its German translation imported, edited through
// the nudge and drag rules, saved, and written as a translated script that a
// real resource compiler compiles.

#include "project/DialogLayout.h"
#include "project/ImportScript.h"
#include "project/LayoutEditing.h"
#include "project/TranslationWriter.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/Schema.h"
#include "projectdb/version7_project.h"
#include "build_support.h"
#include "compile_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qln {
namespace {

namespace fs = std::filesystem;

constexpr LanguagePair kGerman{7, 1};
constexpr std::int32_t kGermanId = LangIdOf(7, 1);
const BaseUnits kUnits{6, 13};  // the template font's

// The demo project in a temporary folder, German imported from its translators' script.
struct DemoProject {
    test::TempDir dir;
    fs::path script, database;
    std::unique_ptr<CProjectDatabase> project;

    DemoProject()
    {
        const fs::path demo = fs::path(QLN_SOURCE_DIR) / "examples" / "demo";
        fs::copy(demo, dir.path(), fs::copy_options::recursive);
        script = dir / "demo.rc";
        const BuildResult built = test::BuildFile(script, LongDatabasePath(script));
        database = LongDatabasePath(script);
        EXPECT_TRUE(fs::exists(database));
        const ImportResult imported = ImportTranslatedScript(database, dir / "translations" / "demo_de.rc", kGerman);
        EXPECT_TRUE(imported.ok());
        project = std::make_unique<CProjectDatabase>(database);
    }

    std::int32_t dialogLine(const std::string& ident)
    {
        return std::stoi(test::Value(database, "SELECT LineIndex FROM Dialogs WHERE Lang_Id = 0 AND Name_ID = '" +
                                                   ident + "'"));
    }

    DialogLayout german(const std::string& ident)
    {
        auto layout = DialogLayout::Load(*project, dialogLine(ident));
        EXPECT_TRUE(layout.has_value());
        layout->loadLanguage(*project, kGermanId);
        return std::move(*layout);
    }

    std::vector<test::Row> germanRows(const std::string& table)
    {
        return test::Rows(database, "SELECT Name_ID, " +
                                        std::string(table == "Dialogs" ? "cx, cy, cx_prev, cy_prev"
                                                                       : "x, y, cx, cy, Class, Type, DlgLine") +
                                        ", Modified FROM " + table + " WHERE Lang_Id = 1031 ORDER BY LineIndex");
    }
};

std::size_t Index(const DialogLayout& layout, const std::string& ident)
{
    for (std::size_t i = 0; i < layout.controls().size(); ++i)
        if (layout.controls()[i].ident == ident)
            return i;
    ADD_FAILURE() << "no control " << ident;
    return 0;
}

DialogPixelMapping Mapping(const DialogLayout& layout)
{
    return DialogPixelMapping::For(kUnits, layout.sourceSize(), true);
}

TEST(DialogLayoutTest, SavingWritesOnlyWhatDiffersFromTheSource)
{
    DemoProject demo;
    DialogLayout layout = demo.german("IDD_CONVERTER");
    ASSERT_EQ(layout.langId(), kGermanId);
    EXPECT_EQ(layout.sourceSize(), (DialogSize{260, 186}));
    EXPECT_FALSE(layout.hasPendingChanges());
    const std::size_t swap = Index(layout, "IDC_SWAP");
    const DialogUnitRect source = layout.controls()[swap].source;

    // Widen the button and the dialog, save: one row each, copied from the source rows.
    layout.select(swap, false);
    EXPECT_TRUE(Nudge(layout, Mapping(layout), 0, 0, 1, 0).changed);
    layout.clearSelection();
    EXPECT_TRUE(Nudge(layout, Mapping(layout), 0, 0, 4, 2).changed);
    EXPECT_TRUE(layout.layoutChanged());
    EXPECT_TRUE(layout.saveLayout(*demo.project).empty());
    EXPECT_FALSE(layout.layoutChanged());
    EXPECT_EQ(demo.germanRows("Dialogs"), (std::vector<test::Row>{{"IDD_CONVERTER", "264", "188", "NULL", "NULL", "0"}}));
    const std::string dlgLine = std::to_string(layout.dialogLine());
    EXPECT_EQ(demo.germanRows("DialogControl"),
              (std::vector<test::Row>{{"IDC_SWAP", "7", "98", "81", "14", "", "23", dlgLine, "0"}}));
    // The source rows stay as they were.
    EXPECT_EQ(test::Value(demo.database, "SELECT cx FROM DialogControl WHERE Lang_Id = 0 AND Name_ID = 'IDC_SWAP'"),
              "80");
    EXPECT_EQ(test::Value(demo.database, "SELECT cx FROM Dialogs WHERE Lang_Id = 0 AND Name_ID = 'IDD_CONVERTER'"),
              "260");

    // Opened again, the language shows the saved layout; the source shows its own.
    DialogLayout again = demo.german("IDD_CONVERTER");
    EXPECT_EQ(again.currentSize(), (DialogSize{264, 188}));
    EXPECT_EQ(again.controls()[swap].current.cx, 81);
    EXPECT_EQ(again.controls()[swap].saved.cx, 81);
    again.loadLanguage(*demo.project, 0);
    EXPECT_EQ(again.currentSize(), again.sourceSize());
    EXPECT_TRUE(SameRect(again.controls()[swap].current, source));
    EXPECT_TRUE(again.saveLayout(*demo.project).empty());  // the source layout is never written
    EXPECT_EQ(demo.germanRows("DialogControl").size(), 1u);

    // Undo returns to the saved layout; set back to the original and saved, the rows go.
    layout.select(swap, false);
    Nudge(layout, Mapping(layout), 3, 0, 0, 0);
    layout.undo();
    EXPECT_EQ(layout.controls()[swap].current.x, 7);
    EXPECT_FALSE(layout.layoutChanged());
    EXPECT_TRUE(layout.canSetOriginalSize());
    EXPECT_TRUE(layout.setOriginalSize());
    EXPECT_FALSE(layout.canSetOriginalSize());
    layout.clearSelection();
    EXPECT_TRUE(layout.canSetOriginalSize());
    layout.setOriginalSize();
    EXPECT_TRUE(layout.saveLayout(*demo.project).empty());
    EXPECT_TRUE(demo.germanRows("Dialogs").empty());
    EXPECT_TRUE(demo.germanRows("DialogControl").empty());

    // Select All takes every control.
    layout.selectAll();
    EXPECT_EQ(layout.selection().size(), layout.controls().size());
    layout.select(swap, true);
    EXPECT_EQ(layout.selection().size(), layout.controls().size());
}

TEST(DialogLayoutTest, ModifiedMarksAreClearedAndAFailingRowKeepsItsChanges)
{
    DemoProject demo;
    DialogLayout layout = demo.german("IDD_CONVERTER");
    const std::size_t swap = Index(layout, "IDC_SWAP"), convert = Index(layout, "IDC_CONVERT");
    layout.select(swap, false);
    layout.select(convert, true);
    Nudge(layout, Mapping(layout), 0, 1, 0, 0);
    ASSERT_TRUE(layout.saveLayout(*demo.project).empty());

    // The source update marks the language rows; the mark is pending until saved.
    demo.project->db().exec("UPDATE DialogControl SET Modified = 1 WHERE Lang_Id = 1031");
    DialogLayout marked = demo.german("IDD_CONVERTER");
    EXPECT_TRUE(marked.controls()[swap].modified);
    EXPECT_FALSE(marked.layoutChanged());
    EXPECT_TRUE(marked.hasPendingChanges());
    EXPECT_TRUE(marked.saveLayout(*demo.project).empty());
    EXPECT_FALSE(marked.hasPendingChanges());
    EXPECT_EQ(test::Rows(demo.database, "SELECT y, Modified FROM DialogControl WHERE Lang_Id = 1031 ORDER BY y"),
              (std::vector<test::Row>{{"44", "0"}, {"99", "0"}}));

    // One row that cannot be written leaves the others written and itself unsaved.
    demo.project->db().exec("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON DialogControl "
                            "WHEN NEW.Name_ID = 'IDC_CONVERT' BEGIN SELECT RAISE(ABORT, 'refused'); END");
    marked.select(swap, false);
    marked.select(convert, true);
    Nudge(marked, Mapping(marked), 1, 0, 0, 0);
    const std::vector<LayoutRowFailure> failures = marked.saveLayout(*demo.project);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].lineIndex, marked.controls()[convert].lineIndex);
    EXPECT_NE(failures[0].message.find("refused"), std::string::npos);
    EXPECT_TRUE(marked.layoutChanged());
    EXPECT_EQ(marked.controls()[convert].saved.x, 175);
    EXPECT_EQ(marked.controls()[swap].saved.x, 8);
    EXPECT_EQ(test::Rows(demo.database, "SELECT Name_ID, x FROM DialogControl WHERE Lang_Id = 1031 ORDER BY x"),
              (std::vector<test::Row>{{"IDC_SWAP", "8"}, {"IDC_CONVERT", "175"}}));
}

TEST(DialogLayoutTest, NudgesStopAtTheDialogEdgeAndTheSmallestSizes)
{
    DemoProject demo;
    DialogLayout layout = demo.german("IDD_CONVERTER");
    const DialogPixelMapping mapping = Mapping(layout);
    const std::size_t combo = Index(layout, "IDC_FROM_UNIT"), swap = Index(layout, "IDC_SWAP"),
                      convert = Index(layout, "IDC_CONVERT");
    ASSERT_TRUE(layout.controls()[combo].comboBox);

    // A combo box's height is not edited, its width is.
    layout.select(combo, false);
    EXPECT_FALSE(Nudge(layout, mapping, 0, 0, 0, 1).changed);
    EXPECT_FALSE(Nudge(layout, mapping, 0, 0, 0, -1).changed);
    EXPECT_FALSE(layout.layoutChanged());
    layout.select(swap, true);
    EXPECT_FALSE(Nudge(layout, mapping, 0, 0, 0, 1).changed);
    EXPECT_EQ(layout.controls()[swap].current.cy, 14);
    EXPECT_TRUE(Nudge(layout, mapping, 0, 0, 1, 0).changed);
    EXPECT_EQ(layout.controls()[combo].current.cx, 71);

    // Two controls moved left: the one at the edge stops the command where it stands.
    layout.select(convert, false);
    layout.select(swap, true);
    for (int i = 0; i < 7; ++i)
        ASSERT_FALSE(Nudge(layout, mapping, -1, 0, 0, 0).beep);
    EXPECT_EQ(layout.controls()[swap].current.x, 0);
    EXPECT_EQ((Nudge(layout, mapping, -1, 0, 0, 0)), (EditOutcome{true, true}));
    EXPECT_EQ(layout.controls()[convert].current.x, 167);
    EXPECT_EQ(layout.controls()[swap].current.x, 0);
    layout.select(swap, false);
    layout.select(convert, true);
    EXPECT_EQ((Nudge(layout, mapping, -1, 0, 0, 0)), (EditOutcome{false, true}));
    EXPECT_EQ(layout.controls()[convert].current.x, 167);

    // Narrowing stops at 6 pixels (4 units of 6 x 13); a thin control still moves.
    layout.select(swap, false);
    while (!Nudge(layout, mapping, 0, 0, -1, 0).beep)
        ASSERT_GT(layout.controls()[swap].current.cx, 0);
    EXPECT_EQ(layout.controls()[swap].current.cx, 4);
    layout.setCurrentRect(swap, {10, 10, 40, 1});
    EXPECT_TRUE(Nudge(layout, mapping, 0, 1, 0, 0).changed);
    EXPECT_TRUE(Nudge(layout, mapping, 0, 0, 0, 1).changed);  // growing is always allowed
    EXPECT_TRUE(Nudge(layout, mapping, 0, 0, 0, -1).beep);

    // Nothing selected: only the dialog's size changes, never below 10 units.
    layout.clearSelection();
    EXPECT_EQ(Nudge(layout, mapping, 5, 5, 0, 0), EditOutcome{});
    EXPECT_TRUE(Drag(layout, TrackerHandle::BottomRight, {0, 0}, {10, 10}).changed);
    EXPECT_EQ(layout.currentSize(), (DialogSize{10, 10}));
    EXPECT_EQ(Nudge(layout, mapping, 0, 0, -1, 0), (EditOutcome{false, true}));
    EXPECT_EQ(Nudge(layout, mapping, 0, 0, 0, -1), (EditOutcome{false, true}));
    EXPECT_EQ(Drag(layout, TrackerHandle::Right, {0, 0}, {9, 0}), (EditOutcome{false, true}));
    EXPECT_EQ(layout.currentSize(), (DialogSize{10, 10}));
}

TEST(DialogLayoutTest, PointerPositionsHandlesAndDrags)
{
    DemoProject demo;
    DialogLayout layout = demo.german("IDD_CONVERTER");
    DialogPixelMapping mapping = Mapping(layout);
    EXPECT_EQ(mapping.captionHeight, 20);
    EXPECT_DOUBLE_EQ(mapping.scaleX, 1.5);
    // Forward: offset 5 and the caption; the frame's size is the base units'.
    const PixelRect swapPixels = mapping.toPixels({7, 98, 80, 14});
    EXPECT_EQ(swapPixels.left, 5 + 11);
    EXPECT_EQ(swapPixels.top, 5 + 20 + 159);
    EXPECT_EQ(swapPixels.width, 120);
    // Backward: offset 7, half units round up, the scroll position counts.
    EXPECT_EQ(mapping.toDialogUnits({7, 27}).x, 0);
    EXPECT_EQ(mapping.toDialogUnits({22, 27}).x, 10);
    EXPECT_EQ(mapping.toDialogUnits({7, 27}).y, 0);
    mapping.scrollX = 30;
    EXPECT_EQ(mapping.toDialogUnits({22, 27}).x, 30);
    DialogPixelMapping even = DialogPixelMapping::For({8, 16}, {100, 100}, false);
    EXPECT_EQ(even.toDialogUnits({8, 8}).x, 1);   // 0.5 rounds up
    EXPECT_EQ(even.toDialogUnits({6, 6}).x, 0);   // -0.5 too
    EXPECT_EQ(even.toDialogUnits({10, 7}).x, 2);  // 1.5

    // The hit test picks the smallest control: the radio button, not its group box.
    mapping.scrollX = 0;
    const auto hit = ControlAt(layout, mapping, {5 + 22, 5 + 20 + 76});
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(layout.controls()[*hit].ident, "IDC_CAT_LENGTH");
    EXPECT_FALSE(ControlAt(layout, mapping, {2, 2}).has_value());

    // Handles: the dialog frame, one control, a combo box, several controls.
    using H = TrackerHandle;
    EXPECT_EQ(AvailableHandles(layout), (std::vector<H>{H::Right, H::BottomRight, H::Bottom}));
    const std::size_t swap = Index(layout, "IDC_SWAP"), combo = Index(layout, "IDC_TO_UNIT");
    layout.select(swap, false);
    EXPECT_EQ(AvailableHandles(layout).size(), 9u);
    layout.select(combo, false);
    EXPECT_EQ(AvailableHandles(layout), (std::vector<H>{H::Left, H::Right, H::Move}));
    EXPECT_EQ(Drag(layout, H::Bottom, {0, 0}, {0, 200}), EditOutcome{});
    layout.select(swap, true);
    EXPECT_EQ(AvailableHandles(layout), (std::vector<H>{H::Move}));

    // Moving several: all or nothing.
    EXPECT_TRUE(Drag(layout, H::Move, {50, 50}, {45, 52}).changed);
    EXPECT_EQ(layout.controls()[swap].current.x, 2);
    EXPECT_EQ(layout.controls()[combo].current.y, 74);
    EXPECT_EQ(Drag(layout, H::Move, {50, 50}, {47, 50}), (EditOutcome{false, true}));
    EXPECT_EQ(layout.controls()[combo].current.x, 170);

    // One control: edges follow the pointer, the opposite edge stays.
    layout.select(swap, false);
    layout.setCurrentRect(swap, {7, 98, 80, 14});
    EXPECT_TRUE(Drag(layout, H::TopLeft, {7, 98}, {5, 90}).changed);
    EXPECT_TRUE(SameRect(layout.controls()[swap].current, {5, 90, 82, 22}));
    EXPECT_TRUE(Drag(layout, H::BottomRight, {87, 112}, {100, 120}).changed);
    EXPECT_TRUE(SameRect(layout.controls()[swap].current, {5, 90, 95, 30}));
    EXPECT_EQ(Drag(layout, H::Left, {5, 90}, {96, 90}), (EditOutcome{false, true}));  // 4 units wide
    EXPECT_EQ(Drag(layout, H::Top, {5, 90}, {5, -1}), (EditOutcome{false, true}));
    EXPECT_TRUE(Drag(layout, H::Right, {0, 0}, {11, 0}).changed);
    EXPECT_EQ(layout.controls()[swap].current.cx, 6);
}

TEST(DialogLayoutTest, OldDatabasesHaveNoLanguageLayouts)
{
    test::TempDir dir;
    const fs::path path = dir / "old.mdb";
    test::MakeVersion7Database(path);
    CProjectDatabase project(path);
    EXPECT_FALSE(LayoutsSupported(project));
    auto layout = DialogLayout::Load(project, 30);
    ASSERT_TRUE(layout.has_value());
    layout->loadLanguage(project, kGermanId);
    EXPECT_EQ(layout->langId(), 0);
    ASSERT_EQ(layout->controls().size(), 1u);
    layout->select(0, false);
    Nudge(*layout, DialogPixelMapping::For(kUnits, layout->sourceSize(), false), 0, 0, 5, 0);
    EXPECT_FALSE(layout->hasPendingChanges());
    EXPECT_TRUE(layout->saveLayout(project).empty());
    EXPECT_EQ(test::Value(path, "SELECT count(*) FROM DialogControl"), "1");
    EXPECT_FALSE(DialogLayout::Load(project, 31).has_value());
}

// The dialog lines of a compiled dump: one resource's header and its controls.
std::vector<std::string> DialogDump(const std::string& dump, const std::string& resource)
{
    std::vector<std::string> lines;
    std::istringstream in(dump);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != ' ')
            inside = line == resource;
        if (inside)
            lines.push_back(line);
    }
    return lines;
}

TEST(DialogLayoutTest, AWidenedButtonCompilesTenUnitsWiderInTheGermanScript)
{
    if (!test::ResourceCompilerAvailable())
        GTEST_SKIP() << "no resource compiler";
    DemoProject demo;
    const fs::path before = demo.dir / "demo_de_before.rc", after = demo.dir / "demo_de.rc";
    ASSERT_EQ(WriteTranslatedScript(before, demo.script, *demo.project, 7, 1).status, WriteStatus::Written);

    DialogLayout layout = demo.german("IDD_CONVERTER");
    layout.select(Index(layout, "IDC_SWAP"), false);
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(Nudge(layout, Mapping(layout), 0, 0, 1, 0), (EditOutcome{true, false}));
    ASSERT_TRUE(layout.saveLayout(*demo.project).empty());
    ASSERT_EQ(WriteTranslatedScript(after, demo.script, *demo.project, 7, 1).status, WriteStatus::Written);

    const auto compiledBefore = test::CompiledResources(before), compiledAfter = test::CompiledResources(after);
    ASSERT_TRUE(compiledBefore && compiledAfter);
    const std::vector<std::string> a = DialogDump(*compiledBefore, "DIALOG 102"),
                                   b = DialogDump(*compiledAfter, "DIALOG 102");
    ASSERT_EQ(a.size(), 20u);
    ASSERT_EQ(a.size(), b.size());
    int differing = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        ++differing;
        EXPECT_NE(a[i].find("rect=7,98,80,14"), std::string::npos) << a[i];
        std::string widened = a[i];
        widened.replace(widened.find("rect=7,98,80,14"), 15, "rect=7,98,90,14");
        EXPECT_EQ(b[i], widened);
    }
    EXPECT_EQ(differing, 1);
    // Every other resource compiles as before.
    std::string restBefore = *compiledBefore, restAfter = *compiledAfter;
    for (const std::string& line : a)
        restBefore.erase(restBefore.find(line), line.size());
    for (const std::string& line : b)
        restAfter.erase(restAfter.find(line), line.size());
    EXPECT_EQ(restBefore, restAfter);
}

}  // namespace
}  // namespace qln
