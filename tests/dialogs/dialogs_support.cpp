#include "dialogs/dialogs_support.h"

#include "QtTestApplication.h"
#include "project/ProjectBuild.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace qln::test {

namespace {

[[maybe_unused]] const ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

DemoProject::DemoProject()
{
    std::filesystem::copy(std::filesystem::path(QLN_SOURCE_DIR) / "examples/demo", dir.path(),
                          std::filesystem::copy_options::recursive);
    const BuildResult built = BuildProjectDatabase(script, database, NoProgress(), TemplatePath());
    EXPECT_TRUE(built.ok()) << built.message;
}

void ScriptedPrompts::Show(QWidget*, const std::string& text, ui::MessageIcon icon) { shown.push_back({text, icon}); }

bool ScriptedPrompts::Ask(QWidget*, const std::string& text, ui::MessageIcon)
{
    asked.push_back(text);
    if (answers.empty())
        return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedPrompts::OpenFile(QWidget*, const QString& title, std::string_view, const QString&)
{
    fileTitles.push_back(title);
    if (files.empty())
        return {};
    QString file = files.front();
    files.pop_front();
    return file;
}

QString ScriptedPrompts::SaveFile(QWidget* parent, const QString& title, std::string_view filter, const QString& start)
{
    return OpenFile(parent, title, filter, start);
}

std::optional<QFont> ScriptedPrompts::PickFont(QWidget*, const QFont& initial)
{
    QFont font = initial;
    font.setFamily(QStringLiteral("DejaVu Serif"));
    return font;
}

bool ScriptedPrompts::Run(QDialog& dialog)
{
    ShowActive(dialog);
    if (drive)
        drive(dialog);
    if (dialog.isVisible())
        ADD_FAILURE() << "the dialog was left open";
    return dialog.result() == QDialog::Accepted;
}

std::vector<std::string> ScriptedPrompts::texts() const
{
    std::vector<std::string> all;
    for (const Shown& s : shown)
        all.push_back(s.text);
    return all;
}

void ShowActive(QDialog& dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

void Press(QDialog& dialog, int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &dialog;
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

}  // namespace qln::test
