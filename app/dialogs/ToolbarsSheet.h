#pragma once
// View > Toolbars...: the sheet that lists the main frame's bars with a check
// box each, and the command that shows the checked bars and hides the others.

#include <QDialog>

#include <functional>
#include <span>
#include <string_view>
#include <vector>

class QTreeWidget;

namespace qln::ui {

class Prompts;

struct BarEntry {
    int id;
    std::string_view name;
};

inline constexpr int kDialogEditBarId = 256;

// The bars in the order the sheet lists them.
std::span<const BarEntry> BarTable();

class ToolbarsSheet : public QDialog {
    Q_OBJECT
public:
    // One flag per row of the bar table: shown now.
    ToolbarsSheet(const std::vector<bool>& shown, QWidget* parent = nullptr);

    std::vector<bool> checked() const;
    QTreeWidget* list() const { return list_; }

private:
    QTreeWidget* list_;
};

// `findBar` gives the frame's widget of a bar id (nullptr when it has none).
// The dialog layout bar is listed, but only its own editor shows and hides it.
bool RunToolbarsCommand(QWidget* frame, const std::function<QWidget*(int barId)>& findBar, Prompts& prompts);

}  // namespace qln::ui
