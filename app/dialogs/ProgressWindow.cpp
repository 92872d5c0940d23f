#include "app/dialogs/ProgressWindow.h"

#include "app/dialogs/Prompts.h"

#include <QCoreApplication>

#include <algorithm>

namespace qln::ui {

namespace {
constexpr int kSteps = 1000;
}

ProgressWindow::ProgressWindow(QWidget* parent, const QString& title)
    : dialog_(title, QStringLiteral("Cancel"), 0, kSteps, parent)
{
    dialog_.setWindowTitle(title);
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(0);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    dialog_.setValue(0);
}

ProgressWindow::~ProgressWindow() { dialog_.close(); }

void ProgressWindow::Report(std::uint64_t position, std::uint64_t total)
{
    const std::uint64_t clamped = total == 0 ? 0 : std::min(position, total);
    dialog_.setValue(total == 0 ? 0 : static_cast<int>(clamped * kSteps / total));
    QCoreApplication::processEvents();
}

bool ProgressWindow::Cancelled()
{
    QCoreApplication::processEvents();
    return dialog_.wasCanceled();
}

void ProgressWindow::Status(std::string_view text)
{
    if (!text.empty())
        dialog_.setLabelText(ToQString(text));
}

bool ProgressWindow::KeepGoing() { return !Cancelled(); }

}  // namespace qln::ui
