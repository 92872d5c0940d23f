#pragma once
// Support for the workbench tests: the real widgets on the offscreen
// platform, a prompter that answers questions as the test says and keeps
// every message, and a project folder with a copy of the demo project.

#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "views/TextListView.h"
#include "projectdb/db_fixture.h"  // TemplatePath()

#include <gtest/gtest.h>

#include <QStringList>

#include <deque>
#include <filesystem>
#include <string>

namespace qln::test {

struct ShownMessage {
    QMessageBox::Icon icon;
    QString text;
};

class ScriptedPrompter final : public Prompter {
public:
    // Answers in order; when none is left, `fallback`.
    std::deque<QMessageBox::StandardButton> answers;
    QMessageBox::StandardButton fallback = QMessageBox::Yes;
    std::vector<ShownMessage> shown;  // messages and questions, in order
    int beeps = 0;

    void Show(QMessageBox::Icon icon, const QString& text) override;
    QMessageBox::StandardButton Ask(QMessageBox::Icon icon, const QString& text,
                                    QMessageBox::StandardButtons buttons) override;
    void Beep() override { ++beeps; }

    bool Saw(std::string_view text) const;
};

// A fresh folder with a copy of examples/demo and a configuration folder of
// its own; removed afterwards.
class DemoFolder {
public:
    DemoFolder();
    ~DemoFolder();
    DemoFolder(const DemoFolder&) = delete;
    DemoFolder& operator=(const DemoFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // The settings file of this folder's tests.
    QString settingsFile() const;

private:
    std::filesystem::path path_;
};

// The first row of the table whose source text is `source`; -1 when none is.
int RowOfText(CTextListView& view, std::string_view source);

inline QString Q(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}
// The workbench on a copy of the demo project with a German translation
// added, its text table showing German.
class WorkbenchOnDemo : public ::testing::Test {
protected:
    void SetUp() override;
    CMainFrame& frame() { return *app.mainFrame(); }
    QString pane(int id) const;

    DemoFolder dir;
    CSettings settings{dir.settingsFile()};
    ScriptedPrompter prompter;
    CTesselApp app{settings, prompter, TemplatePath()};
    CTesselDoc* doc = nullptr;
    CTextListView* table = nullptr;
};

// Makes the file's last write `seconds` later than now.
void TouchLater(const std::filesystem::path& file, int seconds = 4);
// The resource compiler tool; empty when absent.
std::filesystem::path ResourceCompilerScript();

}  // namespace qln::test
