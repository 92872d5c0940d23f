#pragma once
// A modal progress window with Cancel for the long operations of the core:
// it shows the core's reports, keeps the window alive while the operation
// runs on the interface thread, and passes the user's Cancel back.

#include "project/Progress.h"

#include <QProgressDialog>
#include <QString>

namespace qln::ui {

class ProgressWindow final : public Progress {
public:
    ProgressWindow(QWidget* parent, const QString& title);
    ~ProgressWindow() override;
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    void Report(std::uint64_t position, std::uint64_t total) override;
    bool Cancelled() override;
    void Status(std::string_view text) override;

    QProgressDialog& dialog() { return dialog_; }
    // Pumps the interface's events without a report (for callbacks that only poll).
    bool KeepGoing();

private:
    QProgressDialog dialog_;
};

}  // namespace qln::ui
