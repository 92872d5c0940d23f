#pragma once
// Translation > Check Translation: runs the translation checks of the core on
// the active project's current language and lists the findings in the
// "Check Results" dock; a double click (or Enter) on a finding selects its
// text in the text table, in that language.

#include <QObject>

#include <string>

class QDockWidget;
class QLabel;
class QTableView;

namespace qln {

class CCheckResultsModel;
class CMainFrame;

class CCheckCommands : public QObject {
    Q_OBJECT
public:
    // A child of the frame; adds the dock (hidden) and connects the command.
    explicit CCheckCommands(CMainFrame& frame);

    QDockWidget* dock() const { return dock_; }
    QTableView* table() const { return table_; }
    CCheckResultsModel* model() const { return model_; }

    // Checks the active project's current language (the first translation when
    // the source column is current); false when there is nothing to check.
    bool checkActiveProject();
    // Selects the text of a finding's row in the text table.
    void goToFinding(int row);

private:
    CMainFrame& frame_;
    QDockWidget* dock_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* status_ = nullptr;
    CCheckResultsModel* model_ = nullptr;
    std::string language_;  // display name of the language checked last
};

}  // namespace qln
