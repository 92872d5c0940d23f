#pragma once
// What the commands ask and tell the user: message boxes with their icons,
// file choosers, the font chooser and running a dialog. The commands take a
// Prompts so that tests answer in place of the user; the default shows the
// real Qt dialogs.

#include <QFont>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

class QDialog;
class QWidget;

namespace qln::ui {

enum class MessageIcon { Information, Exclamation, Stop, Question };

class Prompts {
public:
    virtual ~Prompts() = default;
    // A message box with an OK button.
    virtual void Show(QWidget* parent, const std::string& text, MessageIcon icon);
    // A Yes/No question; true for Yes.
    virtual bool Ask(QWidget* parent, const std::string& text, MessageIcon icon = MessageIcon::Question);
    // File choosers; an empty string when the user cancelled. `filter` is in
    // the "Name (*.x)|*.x|...||" form the commands keep their filters in.
    virtual QString OpenFile(QWidget* parent, const QString& title, std::string_view filter, const QString& start);
    virtual QString SaveFile(QWidget* parent, const QString& title, std::string_view filter, const QString& start);
    virtual std::optional<QFont> PickFont(QWidget* parent, const QFont& initial);
    // Runs a modal dialog; true when it was accepted.
    virtual bool Run(QDialog& dialog);
};

// The real dialogs.
Prompts& DefaultPrompts();

// "A (*.a)|*.a|B (*.b)|*.b||" -> "A (*.a);;B (*.b)".
QString QtFileFilter(std::string_view filter);

QString ToQString(std::string_view text);
std::string ToStdString(const QString& text);

}  // namespace qln::ui
