#pragma once
// Progress of a long operation (build, update, write) in a modal progress
// window with a Cancel button. The window keeps the workbench alive: each
// report lets the event loop run. Status texts go to the main window's
// status bar.

#include "project/Progress.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QString>

#include <functional>

namespace qln {

class CProgressWindow final : public Progress {
public:
    using StatusSink = std::function<void(const QString&)>;
    CProgressWindow(QWidget* parent, const QString& title, StatusSink status = {});
    ~CProgressWindow() override;

    void Report(std::uint64_t position, std::uint64_t total) override;
    bool Cancelled() override;
    void Status(std::string_view text) override;

    QProgressDialog& dialog() { return dialog_; }

private:
    QProgressDialog dialog_;
    StatusSink status_;
    QElapsedTimer sinceEvents_;
};

}  // namespace qln
