#pragma once
// View > Toolbars...: the sheet that lists the main frame's bars with a check
// box each, and the command that shows the checked bars and hides the others.

#include <QDialog>
#include <QString>

#include <vector>

class QTreeWidget;

namespace qln::ui {

class Prompts;

// One bar of the frame, in the order the sheet lists them.
struct ToolbarEntry {
    int id;
    QString name;
    QWidget* widget;  // nullptr when the frame has no such bar
};

// The dialog layout bar: listed, but only its own editor shows and hides it.
inline constexpr int kDialogEditBarId = 256;

class ToolbarsSheet : public QDialog {
    Q_OBJECT
public:
    // One check box per bar, checked when the bar is shown now.
    ToolbarsSheet(const std::vector<ToolbarEntry>& bars, QWidget* parent = nullptr);

    std::vector<bool> checked() const;
    QTreeWidget* list() const { return list_; }

private:
    QTreeWidget* list_;
};

bool RunToolbarsCommand(QWidget* frame, const std::vector<ToolbarEntry>& bars, Prompts& prompts);

}  // namespace qln::ui
