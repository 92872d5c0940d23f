// The project document in the workbench: the out-of-date state after the
// script changed, its blinking Update button and the update, Save writing
// scripts a resource compiler accepts, and closing with unsaved changes.

#include "gui_support.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/TesselDoc.h"
#include "project/ProjectUpdate.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/version7_project.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QProcess>
#include <QSignalSpy>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

#include <fstream>

namespace qln {
namespace {

namespace fs = std::filesystem;
using test::DemoFolder;
using test::Q;
using test::ScriptedPrompter;

// Runs a batch command of qln40 in the folder, as a build script would.
void Batch(const DemoFolder& dir, const QStringList& args)
{
    QProcess qln;
    qln.setWorkingDirectory(Q(dir.path()));
    qln.start(QStringLiteral(QLN_BINARY_DIR "/qln40"), args);
    ASSERT_TRUE(qln.waitForFinished(60000));
    ASSERT_EQ(qln.exitCode(), 0) << qln.readAllStandardOutput().toStdString();
}

// The demo project with its German and French translations imported.
void TranslatedDemo(const DemoFolder& dir)
{
    Batch(dir, {"/C", "demo.rc"});
    Batch(dir, {"/A", "demo_rc.mdb", "German", "demo_de.rc"});
    Batch(dir, {"/I", "translations/demo_de.rc", "German", "demo_rc.mdb"});
    Batch(dir, {"/A", "demo_rc.mdb", "French", "demo_fr.rc"});
    Batch(dir, {"/I", "translations/demo_fr.rc", "French", "demo_rc.mdb"});
}

struct Workbench {
    explicit Workbench(const DemoFolder& dir) : settings(dir.settingsFile()), app(settings, prompter, test::TemplatePath())
    {
        EXPECT_TRUE(app.InitInstance({}));
    }
    CMainFrame& frame() { return *app.mainFrame(); }

    CSettings settings;
    ScriptedPrompter prompter;
    CTesselApp app;
};

TEST(WorkbenchDocument, TouchedScriptIsOutOfDateUntilUpdated)
{
    DemoFolder dir;
    TranslatedDemo(dir);
    Workbench bench(dir);
    CTesselDoc* doc = bench.app.OpenDocumentFile(Q(dir / "demo.rc"));
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->updateNeeded());
    EXPECT_FALSE(bench.frame().isBlinking());
    // The language toolbar lists the source and both translations.
    ASSERT_EQ(bench.frame().languageCombo()->count(), 3);
    EXPECT_EQ(bench.frame().languageCombo()->itemText(1), "German");

    test::TouchLater(dir / "demo.rc");
    bench.frame().OnRefreshStatus();
    EXPECT_TRUE(doc->updateNeeded());
    EXPECT_EQ(doc->status(), kStatusUpdateNeeded);
    EXPECT_TRUE(doc->title().contains("(Update database !)"));
    EXPECT_TRUE(bench.prompter.Saw(ChangedSourcesMessage({(dir / "demo.rc").string()})));
    {
        CProjectDatabase db(dir / "demo_rc.mdb", sql::Database::Mode::ReadOnly);
        EXPECT_EQ(db.GetStatus(), kStatusUpdateNeeded);
    }

    // The Update button blinks: highlighted and plain in turn.
    EXPECT_TRUE(bench.frame().isBlinking());
    const bool first = bench.frame().updateButtonHighlighted();
    QTRY_VERIFY_WITH_TIMEOUT(bench.frame().updateButtonHighlighted() != first, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(bench.frame().updateButtonHighlighted() == first, 3000);

    // A second refresh finds nothing new to tell.
    const std::size_t shown = bench.prompter.shown.size();
    bench.frame().OnRefreshStatus();
    EXPECT_EQ(bench.prompter.shown.size(), shown);

    bench.frame().command(cmd::UpdateDatabase)->trigger();
    EXPECT_FALSE(doc->updateNeeded());
    EXPECT_TRUE(bench.prompter.Saw(msg::Format(msg::UpdateSucceeded, {(dir / "demo.rc").string()})));
    EXPECT_NE(doc->status(), kStatusUpdateNeeded);
    EXPECT_FALSE(bench.frame().isBlinking());
    EXPECT_FALSE(bench.frame().updateButtonHighlighted());
    EXPECT_FALSE(doc->title().contains("(Update database !)"));
    ASSERT_NE(doc->database(), nullptr);
    EXPECT_EQ(doc->database()->GetStatus(), doc->status());
}

TEST(WorkbenchDocument, ChangedScriptAtOpeningAsksForTheUpdate)
{
    DemoFolder dir;
    TranslatedDemo(dir);
    test::TouchLater(dir / "demo.rc");
    Workbench bench(dir);
    bench.prompter.fallback = QMessageBox::No;
    CTesselDoc* doc = bench.app.OpenDocumentFile(Q(dir / "demo_rc.mdb"));
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->updateNeeded());
    // Opened through the database, the title names the script too.
    EXPECT_TRUE(doc->title().contains("(Update database !) (demo.rc)"));
    const std::string question = msg::Format(msg::AskUpdateChangedSource, {(dir / "demo.rc").string()});
    QTRY_VERIFY(bench.prompter.Saw(question));
    EXPECT_TRUE(doc->updateNeeded());
}

TEST(WorkbenchDocument, SaveWritesEveryTranslation)
{
    DemoFolder dir;
    TranslatedDemo(dir);
    Workbench bench(dir);
    CTesselDoc* doc = bench.app.OpenDocumentFile(Q(dir / "demo.rc"));
    ASSERT_NE(doc, nullptr);
    doc->setModified(true);
    bench.frame().command(cmd::FileSave)->trigger();
    EXPECT_FALSE(doc->isModified());
    for (const char* name : {"demo_de.rc", "demo_fr.rc"}) {
        ASSERT_TRUE(fs::exists(dir / name)) << name;
        std::ifstream in(dir / name, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(text.rfind(msg::WriteHeaderRule, 0), 0u) << name;
    }
    // The written file's stamp is recorded with its language.
    const auto german = GetTranslationFile(*doc->database(), 7, 1);
    ASSERT_TRUE(german.has_value());
    EXPECT_GT(german->stamp.size, 0);

    const fs::path rcc = test::ResourceCompilerScript();
    if (rcc.empty())
        GTEST_SKIP() << "the resource compiler tool (../shared/tools/rcc.py) is absent";
    for (const char* name : {"demo_de.rc", "demo_fr.rc"}) {
        QProcess compiler;
        compiler.setWorkingDirectory(Q(dir.path()));
        compiler.start("python3", {Q(rcc), "-o", Q(dir / (std::string(name) + ".res")), Q(dir / name)});
        ASSERT_TRUE(compiler.waitForFinished(120000));
        EXPECT_EQ(compiler.exitCode(), 0) << name << "\n" << compiler.readAllStandardError().toStdString();
    }
}

TEST(WorkbenchDocument, SaveNamesAFileThatCannotBeWritten)
{
    DemoFolder dir;
    TranslatedDemo(dir);
    Workbench bench(dir);
    CTesselDoc* doc = bench.app.OpenDocumentFile(Q(dir / "demo.rc"));
    ASSERT_NE(doc, nullptr);
    // A folder that does not exist.
    ASSERT_TRUE(SetTranslationFile(*doc->database(), 7, 1, {(dir / "missing/demo_de.rc").string(), {}}));
    EXPECT_TRUE(doc->Save());  // French is written
    bool named = false;
    for (const test::ShownMessage& message : bench.prompter.shown)
        named = named || (message.icon == QMessageBox::Critical && message.text.contains("demo_de.rc"));
    EXPECT_TRUE(named);
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_TRUE(fs::exists(dir / "demo_fr.rc"));
}

TEST(WorkbenchDocument, ClosingWithUnsavedChangesAsks)
{
    DemoFolder dir;
    TranslatedDemo(dir);
    Workbench bench(dir);
    CTesselDoc* doc = bench.app.OpenDocumentFile(Q(dir / "demo.rc"));
    ASSERT_NE(doc, nullptr);
    doc->setModified(true);
    bench.prompter.answers = {QMessageBox::Cancel};
    EXPECT_FALSE(bench.frame().close());
    EXPECT_EQ(bench.frame().children().size(), 1u);
    EXPECT_TRUE(bench.prompter.Saw(msg::Format(msg::AskSaveChanges, {"demo.rc"})));
    EXPECT_FALSE(fs::exists(dir / "demo_de.rc"));

    bench.prompter.answers = {QMessageBox::Yes};
    EXPECT_TRUE(bench.frame().close());
    EXPECT_TRUE(fs::exists(dir / "demo_de.rc"));
}

// Cancels the progress window of the operation running when the timer fires.
void CancelProgressSoon(QWidget* window)
{
    QTimer::singleShot(20, window, [window] {
        for (QProgressDialog* progress : window->findChildren<QProgressDialog*>())
            progress->cancel();
    });
}

TEST(WorkbenchDocument, CancelledBuildLeavesNoDatabase)
{
    DemoFolder dir;
    {
        // Large enough that the build reports progress many times.
        std::ofstream script(dir / "big.rc", std::ios::binary);
        script << "STRINGTABLE\r\nBEGIN\r\n";
        for (int i = 0; i < 200000; ++i)
            script << "  " << 1000 + i << " \"Text number " << i << " of a long table\"\r\n";
        script << "END\r\n";
    }
    const auto before = test::FilesIn(dir.path());
    Workbench bench(dir);
    CancelProgressSoon(&bench.frame());
    EXPECT_EQ(bench.app.OpenDocumentFile(Q(dir / "big.rc")), nullptr);
    // Only the question whether to build was shown: cancelling is no failure to report.
    ASSERT_EQ(bench.prompter.shown.size(), 1u);
    EXPECT_EQ(bench.prompter.shown[0].icon, QMessageBox::Question);
    EXPECT_TRUE(bench.frame().children().empty());
    EXPECT_EQ(test::FilesIn(dir.path()), before);
    EXPECT_TRUE(bench.frame().GetProjectFiles().empty());
}

TEST(WorkbenchDocument, OlderFormatOpensButAsksForConversionToUpdate)
{
    DemoFolder dir;
    test::MakeVersion7Database(dir / "app.mdb");
    { std::ofstream(dir / "app.rc") << "STRINGTABLE\r\nBEGIN\r\n  IDS_HELLO \"Hello\"\r\nEND\r\n"; }
    Workbench bench(dir);
    bench.prompter.fallback = QMessageBox::No;  // no update at opening
    CTesselDoc* doc = bench.app.OpenDocumentFile(Q(dir / "app.mdb"));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->fileVersion(), 7);
    EXPECT_EQ(doc->scriptPath(), dir / "app.rc");
    EXPECT_EQ(doc->translations().size(), 2u);
    EXPECT_FALSE(doc->UpdateDatabase());
    EXPECT_TRUE(bench.prompter.Saw(msg::Format(msg::UpdateNeedsConversion, {(dir / "app.mdb").string()})));
    CProjectDatabase db(dir / "app.mdb", sql::Database::Mode::ReadOnly);
    EXPECT_EQ(db.GetFileVersion(), 7);
}

}  // namespace
}  // namespace qln
