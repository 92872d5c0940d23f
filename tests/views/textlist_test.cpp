// The text table on the demo project: the model under the item model
// tester, columns and widths, the filters and modified-only mode, nextItem
// and the undoable exclusion.

#include "views_support.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>

namespace qln::test {
namespace {

std::vector<int> Categories(CTextTableModel& model)
{
    std::vector<int> out;
    for (int r = 0; r < model.rowCount(); ++r)
        out.push_back(model.row(r)->category);
    return out;
}

TEST_F(DemoWindow, ModelStaysConsistentThroughFiltersAndColumnChanges)
{
    QAbstractItemModelTester tester(view->textModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    Open();
    ASSERT_GT(model().rowCount(), 30);
    EXPECT_EQ(model().columnCount(), 3);
    EXPECT_EQ(model().headerData(1, Qt::Horizontal).toString(), "Source Text (English US)");
    EXPECT_EQ(model().headerData(2, Qt::Horizontal).toString(), "German");
    for (TextCommand filter : {TextCommand::FilterDialogs, TextCommand::FilterMenus, TextCommand::FilterStrings,
                               TextCommand::FilterVersions, TextCommand::FilterExcluded,
                               TextCommand::FilterModifiedOnly}) {
        view->toggleFilter(filter);
        view->toggleFilter(filter);
    }
    ASSERT_TRUE(AddLanguage(*project, kFrench.primary, kFrench.sub, 1252));
    view->addLanguageColumn(kFrench.primary, kFrench.sub);
    view->markCell(3, 3);
    EXPECT_TRUE(view->hasMarks());
    view->removeLanguageColumn(kFrench.primary, kFrench.sub);
    EXPECT_FALSE(view->hasMarks());
    EXPECT_EQ(model().columnCount(), 3);
    view->reload();  // the project still has French
    EXPECT_EQ(model().columnCount(), 4);
}

TEST_F(DemoWindow, FilterPersistsAndAddedRowsComeFirstUntilReload)
{
    Open();
    const std::vector<int> inOrder = Categories(model());
    view->toggleFilter(TextCommand::FilterBitmaps);
    EXPECT_EQ(project->GetOption("BitmapEdit"), false);
    const std::vector<int> hidden = Categories(model());
    EXPECT_EQ(std::count(hidden.begin(), hidden.end(), category::BitmapFile), 0);
    EXPECT_FALSE(view->action(TextCommand::FilterBitmaps)->isChecked());
    view->toggleFilter(TextCommand::FilterBitmaps);
    EXPECT_EQ(project->GetOption("BitmapEdit"), true);
    EXPECT_EQ(Categories(model()), inOrder);  // the bitmap comes first anyway
    view->toggleFilter(TextCommand::FilterStrings);
    view->toggleFilter(TextCommand::FilterStrings);
    EXPECT_EQ(model().row(0)->category, category::StringtableString);  // above the bitmap and dialog rows
    EXPECT_NE(Categories(model()), inOrder);
    view->reload();
    EXPECT_EQ(Categories(model()), inOrder);

    // Hiding every kind leaves an empty table and disables modified-only.
    for (TextCommand f : {TextCommand::FilterDialogs, TextCommand::FilterMenus, TextCommand::FilterStrings,
                          TextCommand::FilterVersions, TextCommand::FilterBitmaps, TextCommand::FilterIncludes})
        if (view->filterShown(f))
            view->toggleFilter(f);
    EXPECT_EQ(model().rowCount(), 0);
    EXPECT_EQ(bar->isActive(), false);
    EXPECT_FALSE(view->action(TextCommand::FilterModifiedOnly)->isEnabled());
}

TEST_F(DemoWindow, ModifiedOnlyKeepsWhatIsLeftToDo)
{
    ASSERT_TRUE(AddLanguage(*project, kFrench.primary, kFrench.sub, 1252));
    Open();
    const std::int32_t ready = LineOf("Ready"), length = LineOf("Length"), mass = LineOf("Mass");
    ASSERT_TRUE(project->SetTranslation(ready, kGerman.primary, kGerman.sub, "Bereit", false));
    ASSERT_TRUE(project->SetTranslation(ready, kFrench.primary, kFrench.sub, "Prêt", false));
    ASSERT_TRUE(project->SetTranslation(length, kGerman.primary, kGerman.sub, "Länge", false));  // French empty
    ASSERT_TRUE(project->SetTranslation(mass, kGerman.primary, kGerman.sub, "Masse", true));
    ASSERT_TRUE(project->SetTranslation(mass, kFrench.primary, kFrench.sub, "Masse", false));
    view->reload();
    const int all = model().rowCount();
    view->toggleFilter(TextCommand::FilterModifiedOnly);
    EXPECT_EQ(RowOf("Ready"), -1);
    EXPECT_GE(RowOf("Length"), 0);
    EXPECT_GE(RowOf("Mass"), 0);
    EXPECT_FALSE(view->action(TextCommand::FilterExcluded)->isEnabled());
    const int toggled = model().rowCount();
    view->reload();  // the load applies the same rule
    EXPECT_EQ(model().rowCount(), toggled);
    view->toggleFilter(TextCommand::FilterModifiedOnly);
    EXPECT_EQ(model().rowCount(), all);
}

TEST_F(DemoWindow, ModifiedOnlyWithoutTranslationsDropsNoRowForBeingTranslated)
{
    ASSERT_TRUE(DeleteLanguage(*project, kGerman.primary, kGerman.sub).status == LanguageStatus::Ok);
    Open();
    EXPECT_EQ(model().columnCount(), 2);
    const int shown = model().rowCount();
    long excluded = 0;
    for (int r = 0; r < shown; ++r)
        excluded += model().row(r)->excluded;
    view->toggleFilter(TextCommand::FilterModifiedOnly);
    EXPECT_EQ(model().rowCount(), shown - excluded);
    view->reload();
    EXPECT_EQ(model().rowCount(), shown - excluded);
}

TEST_F(DemoWindow, NextItemFindsTheNextEmptyCellAndWraps)
{
    Open();
    const int count = model().rowCount();
    view->selectRow(0, false);
    const int firstEmpty = view->selectedRowIndex();
    view->nextItem();
    const int next = view->selectedRowIndex();
    EXPECT_GT(next, firstEmpty);
    EXPECT_TRUE(model().row(next)->translations[0].empty());
    EXPECT_FALSE(model().row(next)->excluded);
    // Every cell filled: simply the next row, and from the last to row 0.
    for (int r = 0; r < count; ++r)
        ASSERT_TRUE(view->storeTranslation(model().row(r)->lineIndex, kGerman.primary, kGerman.sub, "x"));
    view->selectRow(3, false);
    view->nextItem();
    EXPECT_EQ(view->selectedRowIndex(), 4);
    view->selectRow(count - 1, false);
    view->nextItem();
    EXPECT_EQ(view->selectedRowIndex(), 0);
    EXPECT_EQ(view->progress().translatedPercent(), 100);
}

TEST_F(DemoWindow, ColumnsKeepTheirWidthsAndTheCurrentLanguageMovesLeft)
{
    StoreColumnWidth(*project, kLangWidthSetting, kGerman.primary, kGerman.sub, 0);
    StoreColumnWidth(*project, kIdWidthSetting, 0, 0, 140);
    ASSERT_TRUE(AddLanguage(*project, kFrench.primary, kFrench.sub, 1252));
    Open();
    EXPECT_EQ(view->columnWidth(0), 140);
    EXPECT_EQ(view->columnWidth(2), 120);
    view->selectLanguage(kFrench.primary, kFrench.sub);
    EXPECT_EQ(view->currentColumn(), 3);
    view->setColumnWidth(3, 200);
    view->saveColumnWidths();
    EXPECT_EQ(StoredColumnWidth(*project, kLangWidthSetting, kFrench.primary, kFrench.sub, 0), 200);
    view->removeLanguageColumn(kFrench.primary, kFrench.sub);
    EXPECT_EQ(view->currentColumn(), 2);
    EXPECT_EQ(view->languagePaneText(), "German");
    EXPECT_EQ(view->currentLanguage()->primary, kGerman.primary);
}

TEST_F(DemoWindow, ExcludeItemIsStoredAndUndone)
{
    Open();
    const int row = RowOf("Ready");
    view->selectRow(row, true);
    const std::int32_t line = model().row(row)->lineIndex;
    QTest::keyClick(view, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(model().row(row)->excluded);
    EXPECT_TRUE(project->GetText(line, kGerman.primary, kGerman.sub)->exclude);
    EXPECT_TRUE(view->action(TextCommand::ExcludeItem)->isChecked());
    undo->undo();
    EXPECT_FALSE(project->GetText(line, kGerman.primary, kGerman.sub)->exclude);
    EXPECT_FALSE(model().row(row)->excluded);
    undo->redo();
    EXPECT_TRUE(project->GetText(line, kGerman.primary, kGerman.sub)->exclude);
}

TEST_F(DemoWindow, ProgressFollowsStoresAndExclusionsAsAFreshCountWould)
{
    Open();
    auto fresh = [&] { return ComputeTextProgress(*project, view->filter(), kGerman.primary, kGerman.sub); };
    EXPECT_EQ(view->progress().total, fresh().total);
    ASSERT_TRUE(project->SetTranslation(LineOf("Mass"), kGerman.primary, kGerman.sub, "Masse", true));
    view->reload();
    view->progress();
    ASSERT_TRUE(view->storeTranslation(LineOf("Mass"), kGerman.primary, kGerman.sub, "Masse"));
    ASSERT_TRUE(view->storeTranslation(LineOf("Ready"), kGerman.primary, kGerman.sub, "Bereit"));
    view->selectRow(RowOf("Ready"), false);
    view->excludeItem();
    view->selectRow(RowOf("Length"), false);
    view->excludeItem();
    undo->undo();
    for (const TextProgress& p : {view->progress()}) {
        const TextProgress f = fresh();
        EXPECT_EQ(p.total, f.total);
        EXPECT_EQ(p.translated, f.translated);
        EXPECT_EQ(p.modified, f.modified);
    }
    EXPECT_EQ(view->progressPaneText(),
              Q(msg::Format(msg::ProgressPane, {std::to_string(fresh().translatedPercent()), "0"})));
}

}  // namespace
}  // namespace qln::test
