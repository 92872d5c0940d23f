#include "app/ProgressWindow.h"

#include "app/Prompter.h"

#include <QApplication>

namespace qln {

namespace {
constexpr int kSteps = 1000;
}

CProgressWindow::CProgressWindow(QWidget* parent, const QString& title, StatusSink status)
    : dialog_(title, QProgressDialog::tr("Cancel"), 0, kSteps, parent), status_(std::move(status))
{
    dialog_.setWindowTitle(QApplication::applicationDisplayName());
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(400);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    dialog_.setValue(0);
    sinceEvents_.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CProgressWindow::~CProgressWindow()
{
    QApplication::restoreOverrideCursor();
    if (status_)
        status_(QString());
}

void CProgressWindow::Report(std::uint64_t position, std::uint64_t total)
{
    const int value = total == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(position, total) * kSteps / total);
    dialog_.setValue(value);
    // The reports come now and then, not per line; the event loop still runs
    // at most every 30 ms so that a fast operation is not slowed down.
    if (sinceEvents_.elapsed() >= 30) {
        QApplication::processEvents();
        sinceEvents_.restart();
    }
}

bool CProgressWindow::Cancelled()
{
    return dialog_.wasCanceled();
}

void CProgressWindow::Status(std::string_view text)
{
    if (status_)
        status_(Text(text));
}

}  // namespace qln
