#pragma once
// Support for the dialog tests: one QApplication (offscreen), the demo project
// built into a temporary folder, and prompts that record what the commands
// tell and answer in place of the user. Dialogs run shown and non-modal; the
// test drives them with key clicks and the dialog ends itself.

#include "app/dialogs/Prompts.h"
#include "projectdb/db_fixture.h"

#include <QDialog>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace qln::test {

struct DemoProject {
    TempDir dir;
    std::filesystem::path script = dir / "demo.rc";
    std::filesystem::path database = dir / "demo_rc.mdb";
    DemoProject();
};

class ScriptedPrompts : public ui::Prompts {
public:
    struct Shown {
        std::string text;
        ui::MessageIcon icon;
    };
    std::vector<Shown> shown;
    std::vector<std::string> asked;
    std::deque<bool> answers;           // for Ask; No when none is left
    std::deque<QString> files;          // for OpenFile and SaveFile; cancel when none is left
    std::vector<QString> fileTitles;
    // Drives a dialog that Run shows; it should end the dialog (Enter or Escape).
    std::function<void(QDialog&)> drive;

    void Show(QWidget*, const std::string& text, ui::MessageIcon icon) override;
    bool Ask(QWidget*, const std::string& text, ui::MessageIcon) override;
    QString OpenFile(QWidget*, const QString& title, std::string_view, const QString&) override;
    QString SaveFile(QWidget*, const QString& title, std::string_view, const QString&) override;
    std::optional<QFont> PickFont(QWidget*, const QFont& initial) override;
    bool Run(QDialog& dialog) override;

    std::vector<std::string> texts() const;
};

// Shows a dialog and waits until it is the active window.
void ShowActive(QDialog& dialog);
// Presses a key on the widget with the focus in the dialog.
void Press(QDialog& dialog, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace qln::test
