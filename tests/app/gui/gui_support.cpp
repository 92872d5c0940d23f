#include "gui_support.h"

#include "app/MainFrame.h"
#include "app/TesselDoc.h"
#include "app/TextTableWiring.h"
#include "projectdb/Translations.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>

#include <chrono>
#include <cstdlib>
#include <random>

namespace qln::test {

namespace fs = std::filesystem;

void ScriptedPrompter::Show(QMessageBox::Icon icon, const QString& text)
{
    shown.push_back({icon, text});
}

QMessageBox::StandardButton ScriptedPrompter::Ask(QMessageBox::Icon icon, const QString& text,
                                                  QMessageBox::StandardButtons)
{
    shown.push_back({icon, text});
    if (answers.empty())
        return fallback;
    const QMessageBox::StandardButton answer = answers.front();
    answers.pop_front();
    return answer;
}

bool ScriptedPrompter::Saw(std::string_view text) const
{
    const QString wanted = Text(text);
    for (const ShownMessage& message : shown)
        if (message.text == wanted)
            return true;
    return false;
}

DemoFolder::DemoFolder()
{
    std::random_device seed;
    path_ = fs::temp_directory_path() / ("qln-gui-" + std::to_string(seed()));
    fs::create_directories(path_ / "config");
    fs::copy(fs::path(QLN_SOURCE_DIR) / "examples/demo", path_, fs::copy_options::recursive);
}

DemoFolder::~DemoFolder()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

QString DemoFolder::settingsFile() const
{
    return QString::fromStdString((path_ / "config/qln40.ini").string());
}

void TouchLater(const fs::path& file, int seconds)
{
    fs::last_write_time(file, fs::file_time_type::clock::now() + std::chrono::seconds(seconds));
}

fs::path ResourceCompilerScript()
{
    const fs::path script = fs::path(QLN_CORPUS_DIR) / ".." / "tools" / "rcc.py";
    std::error_code ec;
    return fs::exists(script, ec) ? script : fs::path();
}

void WorkbenchOnDemo::SetUp()
{
    ASSERT_TRUE(app.InitInstance({}));
    doc = app.OpenDocumentFile(Q(dir / "demo.rc"));
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(AddLanguage(*doc->database(), 7, 1, 1252));
    doc->TranslationsChanged(true);
    table = ActiveTextTable(frame());
    ASSERT_NE(table, nullptr);
    table->selectLanguage(7, 1);
}

QString WorkbenchOnDemo::pane(int id) const
{
    return app.mainFrame()->pane(id)->text();
}

int RowOfText(CTextListView& view, std::string_view source)
{
    for (int r = 0; r < view.textModel()->rowCount(); ++r)
        if (view.textModel()->row(r)->sourceText == source)
            return r;
    return -1;
}

}  // namespace qln::test

int main(int argc, char** argv)
{
    // The real widgets, without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qln40-tests"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
