// Find, Mark All, Replace and bookmarks on the demo project's text table,
// through the real dialogs, the table and the translation bar.

#include "views_support.h"

#include "project/Bookmarks.h"
#include "views/BookmarkDialog.h"
#include "views/FindDialogs.h"
#include "views/TextFinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalSpy>

namespace qln::test {
namespace {

// Shows a dialog as the active window, as a user sees it (keys go to it).
void Activate(QDialog& dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    if (QWidget* first = dialog.focusWidget())
        first->setFocus();
}

class Find : public DemoWindow {
protected:
    void SetUp() override
    {
        DemoWindow::SetUp();
        if (HasFatalFailure())
            return;
        // German for a few texts; "&Options..." is marked modified.
        Translate("&History", "&Verlauf");
        Translate("&History:", "&Verlauf:");
        Translate("Show the &history below the result", "Den &Verlauf unter dem Ergebnis zeigen");
        Translate("Result:", "Result:");
        Translate("&Options...", "&Optionen...", true);
        Open();
        finder = CTextFinder::of(view);
    }
    void Translate(const std::string& source, const std::string& german, bool modified = false)
    {
        view->setProject(project.get(), undo.get());
        const std::int32_t line = LineOf(source);
        ASSERT_GE(line, 0) << source;
        ASSERT_TRUE(project->SetTranslation(line, kGerman.primary, kGerman.sub, german, modified));
    }
    std::vector<std::pair<int, int>> Marks()
    {
        std::vector<std::pair<int, int>> marks;
        for (int r = 0; r < model().rowCount(); ++r)
            for (int c = 0; c < model().columnCount(); ++c)
                if (model().isMarked(r, c))
                    marks.emplace_back(r, c);
        return marks;
    }
    CTextFinder* finder = nullptr;
};

TEST_F(Find, MarkAllOverSourceAndLanguageAndFindNextWraps)
{
    // Whole words, any case, in the source and German: both cells of "Result:"
    // (not "Copy Result" nor "below the result").
    CFindDialog dialog({"German"}, {{"older"}, {}, {true, false}, {}}, window.get());
    EXPECT_EQ(dialog.whereList()->selectedItems().size(), 2);  // nothing remembered: all chosen
    EXPECT_EQ(dialog.whatCombo()->currentText(), "older");
    dialog.whatCombo()->setEditText("result:");
    dialog.markAllButton()->click();
    ASSERT_EQ(dialog.action(), CFindDialog::Action::MarkAll);
    EXPECT_EQ(finder->markAll(dialog.request()), 2);
    const int result = RowOf("Result:");
    EXPECT_EQ(Marks(), (std::vector<std::pair<int, int>>{{result, 1}, {result, 2}}));
    EXPECT_EQ(model().data(model().index(result, 2), CTextTableModel::MarkRole).toBool(), true);
    // The text goes first in the history; the choice and options are kept.
    const FindSettings kept = dialog.settings();
    EXPECT_EQ(kept.history, (QStringList{"result:", "older"}));
    EXPECT_EQ(kept.where, (QStringList{Q(msg::FindSourceEntry), "German"}));
    EXPECT_TRUE(kept.options.wholeWord);
    EXPECT_FALSE(kept.options.matchCase);

    // Only German chosen next time; Find Next walks the German cells and wraps.
    CFindDialog again({"German"}, {kept.history, {}, {false, true}, {"German"}}, window.get());
    ASSERT_EQ(again.whereList()->selectedItems().size(), 1);
    again.whatCombo()->setEditText("Verlauf");
    // Enter is Find Next.
    Activate(again);
    QTest::keyClick(again.whatCombo(), Qt::Key_Return);
    ASSERT_EQ(again.action(), CFindDialog::Action::FindNext);
    view->selectRow(0, false);
    ASSERT_TRUE(finder->findNext(again.request()));
    const int first = view->selectedRowIndex();
    EXPECT_EQ(model().row(first)->translations[0].find("Verlauf") != std::string::npos, true);
    EXPECT_EQ(view->currentColumn(), 2);
    std::vector<int> rows{first};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(finder->findNextAgain());
        rows.push_back(view->selectedRowIndex());
    }
    EXPECT_NE(rows[1], rows[0]);
    EXPECT_NE(rows[2], rows[1]);
    EXPECT_EQ(rows[3], rows[0]);  // three hits, then back to the first
    EXPECT_EQ(bar->item().lineIndex, model().row(rows[3])->lineIndex);

    // No match: the message, no marks, and Find Next has nothing to repeat.
    QSignalSpy messages(finder, &CTextFinder::message);
    FindRequest missing = again.request();
    missing.text = "Zebra";
    EXPECT_EQ(finder->markAll(missing), 0);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.takeFirst().at(0).toString(), "No matches found with \"Zebra\".");
    EXPECT_FALSE(view->hasMarks());
    EXPECT_FALSE(finder->state().canFindNext());
}

TEST_F(Find, ChangedItemsNeedALanguageColumn)
{
    QSignalSpy messages(finder, &CTextFinder::message);
    CFindDialog dialog({"German"}, {}, window.get());
    dialog.changedChoice()->setChecked(true);
    dialog.whereList()->item(1)->setSelected(false);  // only "Source"
    ASSERT_TRUE(dialog.markAllButton()->isEnabled());
    FindRequest onlySource = dialog.request();
    ASSERT_TRUE(onlySource.changedItems);
    view->markCell(0, 1);
    EXPECT_EQ(finder->markAll(onlySource), 0);
    EXPECT_FALSE(finder->findNext(onlySource));
    EXPECT_EQ(messages.count(), 0);
    EXPECT_TRUE(model().isMarked(0, 1));  // nothing was done, not even clearing

    dialog.whereList()->item(1)->setSelected(true);
    const int options = RowOf("&Options...");
    EXPECT_EQ(finder->markAll(dialog.request()), 1);
    EXPECT_EQ(Marks(), (std::vector<std::pair<int, int>>{{options, 2}}));
    view->selectRow(0, false);
    ASSERT_TRUE(finder->findNext(dialog.request()));
    EXPECT_EQ(view->selectedRowIndex(), options);
    finder->removeMarks();
    EXPECT_FALSE(view->hasMarks());
}

TEST_F(Find, ReplaceGoesThroughTheBarAndIsUndoable)
{
    QSignalSpy messages(finder, &CTextFinder::message);
    CReplaceDialog dialog(*finder, *bar, {"German"}, {{}, {"Chronik"}, {true, true}, {}}, window.get());
    dialog.findCombo()->setEditText("Verlauf");
    view->selectRow(0, false);
    dialog.findNextButton()->click();
    const std::int32_t line = bar->item().lineIndex;
    ASSERT_EQ(bar->translationEdit()->textCursor().selectedText(), "Verlauf");
    const std::string before = *Stored(line);

    // The user selects something else in the bar: Replace finds the hit again.
    QTextCursor elsewhere = bar->translationEdit()->textCursor();
    elsewhere.setPosition(0);
    elsewhere.setPosition(1, QTextCursor::KeepAnchor);
    bar->translationEdit()->setTextCursor(elsewhere);
    // Replace: the bar's selection is replaced and stored as "OK" does.
    dialog.replaceButton()->click();
    const std::string replaced = *Stored(line);
    EXPECT_EQ(replaced.rfind("&Chronik", 0), 0u) << replaced;
    EXPECT_EQ(replaced.find("Verlauf"), std::string::npos);
    EXPECT_EQ(model().row(model().rowOfLine(line))->translations[0], replaced);
    // ... and the next hit is selected in the bar.
    EXPECT_NE(bar->item().lineIndex, line);
    EXPECT_EQ(bar->translationEdit()->textCursor().selectedText(), "Verlauf");
    ASSERT_TRUE(undo->canUndo());
    undo->undo();
    EXPECT_EQ(*Stored(line), before);
    EXPECT_EQ(model().row(model().rowOfLine(line))->translations[0], before);

    // Replace All: every hit, one undo step for all of them.
    dialog.replaceAllButton()->click();
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_EQ(messages.takeLast().at(0).toString(), "Verlauf replaced  3 times.");
    EXPECT_EQ(Stored(LineOf("&History")), "&Chronik");
    EXPECT_EQ(Stored(LineOf("&History:")), "&Chronik:");
    EXPECT_EQ(Stored(LineOf("Show the &history below the result")), "Den &Chronik unter dem Ergebnis zeigen");
    undo->undo();
    EXPECT_EQ(Stored(LineOf("&History")), "&Verlauf");
    EXPECT_EQ(Stored(LineOf("Show the &history below the result")), "Den &Verlauf unter dem Ergebnis zeigen");
    // Nothing left to replace after redoing.
    undo->redo();
    dialog.replaceAllButton()->click();
    EXPECT_EQ(messages.takeLast().at(0).toString(), "'Verlauf' not found.");
    const FindSettings kept = dialog.settings();
    EXPECT_EQ(kept.history, (QStringList{"Verlauf"}));
    EXPECT_EQ(kept.replaceHistory, (QStringList{"Chronik"}));
}

TEST_F(Find, BookmarksLeadToTheirLineAndLanguageUntilTheTranslationIsGone)
{
    const int row = RowOf("&Convert");
    view->selectRow(row, false);
    const auto item = TextTableBookmarkItem(*view);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->window, "Text");
    ASSERT_TRUE(item->language);
    CBookmarkDialog dialog(*project, *item, window.get());
    QSignalSpy problems(&dialog, &CBookmarkDialog::message);
    Activate(dialog);
    EXPECT_NE(dialog.resourceLabel()->text().indexOf("Dialog Item"), -1) << dialog.resourceLabel()->text().toStdString();
    EXPECT_EQ(dialog.languageLabel()->text(), "Language: German");
    QTest::keyClicks(dialog.nameEdit(), "convert");
    QTest::keyClick(dialog.nameEdit(), Qt::Key_Return);  // Enter adds
    ASSERT_EQ(dialog.list()->count(), 1) << (problems.isEmpty() ? "" : problems.first().at(0).toString().toStdString());
    EXPECT_EQ(dialog.list()->item(0)->text(), "convert");
    dialog.goToButton()->click();
    ASSERT_TRUE(dialog.chosen());

    // Elsewhere in the source column, then back to the bookmark.
    view->selectLanguage(-1, -1);
    view->selectRow(0, false);
    const BookmarkTarget target = ResolveBookmark(*project, *dialog.chosen());
    ASSERT_EQ(target.status, BookmarkTarget::Status::Go);
    EXPECT_EQ(GoToInTextTable(*view, target), "");
    EXPECT_EQ(view->selectedRowIndex(), row);
    EXPECT_EQ(view->currentColumn(), 2);
    EXPECT_FALSE(view->sourceSelected());

    // Dialog texts hidden: the line is not in the table.
    view->toggleFilter(TextCommand::FilterDialogs);
    EXPECT_EQ(GoToInTextTable(*view, target), std::string(msg::BookmarkNotVisible));

    // The German translation is deleted: the bookmark reports it.
    ASSERT_EQ(DeleteLanguage(*project, kGerman.primary, kGerman.sub).status, LanguageStatus::Ok);
    EXPECT_EQ(ResolveBookmark(*project, *dialog.chosen()).status, BookmarkTarget::Status::MissingTranslation);

    // Delete removes it from the list and the project.
    CBookmarkDialog later(*project, *item, window.get());
    ASSERT_EQ(later.list()->count(), 1);
    later.deleteButton()->click();
    EXPECT_EQ(later.list()->count(), 0);
    EXPECT_TRUE(ListBookmarks(*project).empty());
}

}  // namespace
}  // namespace qln::test
