#pragma once
// The text table and the translation bar on the demo project, built into a
// temporary folder, in a real (offscreen) main window.

#include "projectdb/db_fixture.h"

#include "project/ProjectBuild.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"
#include "views/TranslationBar.h"

#include <QApplication>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

#include <memory>

namespace qln::test {

// One application per test, gone before the process ends (Qt's own
// statics must outlive it).
inline std::unique_ptr<QApplication> MakeApplication()
{
    static int argc = 1;
    static char name[] = "views_tests";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}

inline QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline constexpr LanguagePair kGerman{7, 1};
inline constexpr LanguagePair kFrench{12, 1};

class DemoWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = MakeApplication();
        undo = std::make_unique<QUndoStack>();
        std::filesystem::copy(std::filesystem::path(QLN_SOURCE_DIR) / "examples" / "demo", dir.path(),
                              std::filesystem::copy_options::recursive);
        script = dir / "demo.rc";
        BuildResult built = BuildProjectDatabase(script, dir / "demo_rc.mdb", NoProgress(), TemplatePath());
        ASSERT_TRUE(built.ok()) << built.message;
        project = std::move(built.database);
        ASSERT_TRUE(AddLanguage(*project, kGerman.primary, kGerman.sub, 1252));
        window = std::make_unique<QMainWindow>();
        window->resize(900, 600);
        view = new CTextListView(window.get());
        window->setCentralWidget(view);
        bar = new CTranslationBar(window.get());
        window->addDockWidget(Qt::BottomDockWidgetArea, bar);
    }
    void TearDown() override
    {
        window.reset();
        undo.reset();
        app.reset();
    }

    // Attaches the project; the bar follows the table.
    void Open()
    {
        view->setProject(project.get(), undo.get());
        bar->attachView(view);
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    CTextTableModel& model() { return *view->textModel(); }
    // Row of the first text with that source text, or -1.
    int RowOf(const std::string& source)
    {
        for (int r = 0; r < model().rowCount(); ++r)
            if (model().row(r)->sourceText == source)
                return r;
        return -1;
    }
    std::int32_t LineOf(const std::string& source)
    {
        const int r = RowOf(source);
        return r < 0 ? -1 : model().row(r)->lineIndex;
    }
    std::optional<std::string> Stored(std::int32_t line, LanguagePair language = kGerman)
    {
        const auto text = project->GetText(line, language.primary, language.sub);
        return text ? text->translation : std::nullopt;
    }
    QPushButton* Button(std::string_view text) { return bar->button(Q(text)); }

    std::unique_ptr<QApplication> app;
    TempDir dir;
    std::filesystem::path script;
    std::unique_ptr<CProjectDatabase> project;
    std::unique_ptr<QUndoStack> undo;
    std::unique_ptr<QMainWindow> window;
    CTextListView* view = nullptr;
    CTranslationBar* bar = nullptr;
};

}  // namespace qln::test
