// Each dialog command driven through its action in the real main window,
// with the demo project open (or none, for the Tools commands).
#include "dialogs/dialogs_support.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/DialogCommands.h"
#include "app/MainFrame.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/TesselDoc.h"
#include "app/dialogs/ExchangeDialogs.h"
#include "app/dialogs/LanguageDialogs.h"
#include "app/dialogs/SettingsSheet.h"
#include "app/dialogs/ToolbarsSheet.h"
#include "app/TextTableWiring.h"
#include "views/BookmarkDialog.h"
#include "views/FindDialogs.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"
#include "project/SheetFile.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "projectdb/version7_project.h"
#include "rcscript/Messages.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace qln {
namespace {

namespace fs = std::filesystem;
using test::Press;
using test::ScriptedPrompts;

// The document's own questions (none are expected here) are answered No.
class RecordingPrompter : public Prompter {
public:
    std::vector<QString> texts;
    void Show(QMessageBox::Icon, const QString& text) override { texts.push_back(text); }
    QMessageBox::StandardButton Ask(QMessageBox::Icon, const QString& text, QMessageBox::StandardButtons) override
    {
        texts.push_back(text);
        return QMessageBox::No;
    }
    void Beep() override {}
};

class WorkbenchCommands : public ::testing::Test {
protected:
    test::DemoProject demo;
    CSettings settings{QString::fromStdString((demo.dir / "qln40.ini").string())};
    RecordingPrompter prompter;
    CTesselApp app{settings, prompter, test::TemplatePath()};
    ScriptedPrompts prompts;
    CMainFrame* frame = nullptr;

    void Start(bool withProject = true)
    {
        ASSERT_TRUE(app.InitInstance(withProject ? QString::fromStdString(demo.script.string()) : QString()));
        frame = app.mainFrame();
        frame->QObject::findChild<CDialogCommands*>("DialogCommands")->setPrompts(&prompts);
        ASSERT_EQ(frame->activeChild() != nullptr, withProject);
        EXPECT_TRUE(prompter.texts.empty());
    }
    CTesselDoc& doc() { return *frame->activeChild()->document(); }
    void Trigger(int id)
    {
        QAction* action = frame->command(id);
        ASSERT_TRUE(action);
        ASSERT_TRUE(action->isEnabled()) << id;
        action->trigger();
    }
    void AddGerman()
    {
        prompts.drive = [](QDialog& d) {
            auto& dialog = static_cast<ui::NewTranslationDialog&>(d);
            dialog.languageList()->setCurrentRow(6);
            Press(dialog, Qt::Key_Return);
        };
        Trigger(cmd::TranslationNew);
    }
};

TEST_F(WorkbenchCommands, NewAndDeleteTranslationFollowInTheLanguageLists)
{
    Start();
    AddGerman();
    ASSERT_EQ(doc().translations().size(), 1u);
    EXPECT_EQ(frame->languageCombo()->findText("German"), 1);
    EXPECT_TRUE(frame->command(cmd::SettingsFirstLanguage)->isVisible());
    EXPECT_EQ(frame->command(cmd::SettingsFirstLanguage)->text(), "German...");
    EXPECT_EQ(doc().status(), kStatusIncomplete);

    prompts.answers = {true};
    prompts.drive = [](QDialog& dialog) { Press(dialog, Qt::Key_Return); };
    Trigger(cmd::TranslationDelete);
    EXPECT_TRUE(doc().translations().empty());
    EXPECT_EQ(frame->languageCombo()->findText("German"), -1);
    EXPECT_FALSE(frame->command(cmd::SettingsFirstLanguage)->isVisible());
    EXPECT_EQ(doc().status(), kStatusNoTranslation);
}

TEST_F(WorkbenchCommands, SourceSettingsChangeTheIncludeListAndTheProjectWaitsForAnUpdate)
{
    Start();
    prompts.drive = [](QDialog& d) {
        auto& sheet = static_cast<ui::SettingsSheet&>(d);
        sheet.includeEdit()->setText("rc2, dlg");
        Press(sheet, Qt::Key_Return);
    };
    Trigger(cmd::SettingsSource);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{std::string(msg::IncludeListChanged)});
    EXPECT_TRUE(doc().updateNeeded());
    EXPECT_EQ(doc().status(), kStatusUpdateNeeded);
    EXPECT_TRUE(frame->isBlinking());
    EXPECT_TRUE(doc().title().contains("(Update database !)")) << doc().title().toStdString();
    EXPECT_EQ(doc().database()->GetSetting("RES_INCLUDES", 0, 0)->text, "RC2, DLG");
}

TEST_F(WorkbenchCommands, TranslationSettingsMarkTheDocumentModifiedWhenTheFileChanges)
{
    Start();
    AddGerman();
    prompts.drive = [](QDialog& d) {
        auto& sheet = static_cast<ui::SettingsSheet&>(d);
        EXPECT_EQ(sheet.windowTitle(), "German  Translation Settings");
        sheet.fileEdit()->setText("german.rc");
        Press(sheet, Qt::Key_Return);
    };
    EXPECT_FALSE(doc().isModified());
    Trigger(cmd::SettingsFirstLanguage);
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(GetTranslationFile(*doc().database(), 7, 1)->fileName, "german.rc");
}

TEST_F(WorkbenchCommands, ToolbarsHidesTheStatusBar)
{
    Start();
    ASSERT_TRUE(frame->statusBar()->isVisible());
    prompts.drive = [](QDialog& d) {
        auto& sheet = static_cast<ui::ToolbarsSheet&>(d);
        sheet.list()->topLevelItem(3)->setCheckState(0, Qt::Unchecked);
        Press(sheet, Qt::Key_Return);
    };
    Trigger(cmd::ViewToolbars);
    EXPECT_FALSE(frame->statusBar()->isVisible());
    EXPECT_TRUE(frame->mainToolBar()->isVisible());
}

TEST_F(WorkbenchCommands, ExportToExcelAndToDatabaseWriteTheirFiles)
{
    Start();
    AddGerman();
    prompts.drive = [](QDialog& dialog) { Press(dialog, Qt::Key_Return); };
    prompts.files = {QString::fromStdString((demo.dir / "texts.xlsx").string())};
    Trigger(cmd::ExportExcel);
    EXPECT_EQ(ReadSheetFile(demo.dir / "texts.xlsx").rows.at(0),
              (std::vector<std::string>{"Resource Ident", "Item Type", "Id", "Source Text", "German"}));

    prompts.files = {QString::fromStdString((demo.dir / "copy.mdb").string())};
    Trigger(cmd::ExportDatabase);
    EXPECT_EQ(prompts.shown.back().text, msg::Format(msg::ExportDbDone, {(demo.dir / "copy.mdb").string()}));
    EXPECT_TRUE(IsProjectDatabase(demo.dir / "copy.mdb"));
}

TEST_F(WorkbenchCommands, ImportTextAddsTheLanguageToTheWindowAndRemembersTheFile)
{
    Start();
    const fs::path german = demo.dir / "translations" / "demo_de.rc";
    prompts.files = {QString::fromStdString(german.string())};
    prompts.drive = [](QDialog& d) {
        auto& dialog = static_cast<ui::ImportLanguageDialog&>(d);
        dialog.box()->setCurrentIndex(dialog.box()->findText("German", Qt::MatchExactly));
        Press(dialog, Qt::Key_Return);
    };
    Trigger(cmd::ImportText);
    ASSERT_NE(doc().database(), nullptr);
    EXPECT_EQ(frame->languageCombo()->findText("German"), 1);
    EXPECT_EQ(settings.lastImportFile().toStdString(), german.string());
    EXPECT_EQ(prompts.shown.back().text.rfind("Import text from  " + german.string(), 0), 0u);
    EXPECT_EQ(doc().status(), RecomputeProjectStatus(*doc().database()));
}

TEST_F(WorkbenchCommands, ToolsConvertAndCompactWithoutAProject)
{
    Start(false);
    const fs::path old = demo.dir / "old.mdb";
    test::MakeVersion7Database(old);
    prompts.files = {QString::fromStdString(old.string()), QString::fromStdString(old.string())};
    prompts.answers = {true};
    Trigger(cmd::ConvertDatabase);
    EXPECT_EQ(ReadFileVersion(old), 8);
    Trigger(cmd::CompactDatabase);
    EXPECT_EQ(prompts.shown.back().text.rfind("Compact Database !\nFile: " + old.string(), 0), 0u);
    EXPECT_EQ(prompts.fileTitles, (std::vector<QString>{"Convert Quillon Database", "Compact Database"}));
}

// Runs `drive` on the modal dialog the next command opens.
template <typename Dialog>
void OnModal(std::function<void(Dialog&)> drive)
{
    QTimer::singleShot(0, [drive] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        drive(*dialog);
    });
}

TEST_F(WorkbenchCommands, FindMarksAndRemembersAndBookmarksReportADeletedTranslation)
{
    Start();
    AddGerman();
    QApplication::processEvents();  // the commands follow the new window once the loop runs
    CTextListView* view = ActiveTextTable(*frame);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->languageOfColumn(2));
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(frame->command(cmd::EditFindNext)->isEnabled());
    EXPECT_FALSE(frame->command(cmd::RemoveMarks)->isEnabled());

    // Edit > Find, Mark All: the marks, the commands, and what is remembered.
    OnModal<CFindDialog>([](CFindDialog& dialog) {
        dialog.whatCombo()->setEditText("convert");
        dialog.wholeWord()->setChecked(true);
        dialog.matchCase()->setChecked(false);
        dialog.markAllButton()->click();
    });
    Trigger(cmd::EditFind);
    EXPECT_TRUE(view->hasMarks());
    EXPECT_TRUE(frame->command(cmd::RemoveMarks)->isEnabled());
    EXPECT_TRUE(frame->command(cmd::EditFindNext)->isEnabled());
    EXPECT_EQ(settings.findHistory(), QStringList{"convert"});
    EXPECT_TRUE(settings.findOptions().wholeWord);
    EXPECT_FALSE(settings.findOptions().matchCase);
    EXPECT_EQ(settings.findWhere(), (QStringList{"\"Source\"", "German"}));
    view->selectRow(0, false);
    Trigger(cmd::EditFindNext);
    ASSERT_NE(view->selectedRow(), nullptr);
    EXPECT_EQ(view->selectedRow()->sourceText, "Type a value, pick two units and press Convert.");
    Trigger(cmd::RemoveMarks);
    EXPECT_FALSE(view->hasMarks());
    EXPECT_FALSE(frame->command(cmd::RemoveMarks)->isEnabled());

    // The next Find starts from what was remembered; no match is told.
    OnModal<CFindDialog>([](CFindDialog& dialog) {
        EXPECT_EQ(dialog.whatCombo()->currentText(), "convert");
        EXPECT_TRUE(dialog.wholeWord()->isChecked());
        dialog.whatCombo()->setEditText("Zebra");
        dialog.findNextButton()->click();
    });
    Trigger(cmd::EditFind);
    ASSERT_FALSE(prompter.texts.empty());
    EXPECT_EQ(prompter.texts.back(), "No matches found with \"Zebra\".");

    // A bookmark on "&Convert" in German; Go To comes back to it.
    const auto german = view->languageOfColumn(2);
    view->selectLanguage(german->primary, german->sub);
    for (int r = 0; r < view->textModel()->rowCount(); ++r)
        if (view->textModel()->row(r)->sourceText == "&Convert")
            view->selectRow(r, false);
    OnModal<CBookmarkDialog>([](CBookmarkDialog& dialog) {
        EXPECT_EQ(dialog.languageLabel()->text(), "Language: German");
        dialog.nameEdit()->setText("convert");
        dialog.addButton()->click();
        dialog.reject();
    });
    Trigger(cmd::Bookmark);
    view->selectLanguage(-1, -1);
    view->selectRow(0, false);
    OnModal<CBookmarkDialog>([](CBookmarkDialog& dialog) {
        ASSERT_EQ(dialog.list()->count(), 1);
        dialog.goToButton()->click();
    });
    Trigger(cmd::Bookmark);
    for (Recordset rs = doc().database()->Open(QueryText{"x", "SELECT * FROM Bookmark", "", ""}); !rs.eof(); rs.moveNext())
        EXPECT_EQ(view->selectedRow()->sourceText, "&Convert");
    EXPECT_EQ(view->currentColumn(), 2);
    EXPECT_FALSE(view->sourceSelected());
    prompts.answers = {true};
    prompts.drive = [](QDialog& dialog) { Press(dialog, Qt::Key_Return); };
    Trigger(cmd::TranslationDelete);
    view = ActiveTextTable(*frame);
    OnModal<CBookmarkDialog>([](CBookmarkDialog& dialog) {
        ASSERT_EQ(dialog.list()->count(), 1);
        dialog.goToButton()->click();
    });
    Trigger(cmd::Bookmark);
    EXPECT_EQ(prompter.texts.back(),
              "Go to bookmark.\nThere is no \"German\" translation any more. Can not go to bookmark.");
}

}  // namespace
}  // namespace qln
