// The main window's watch over changed source scripts: Refresh Status over
// every open project, and the blinking Update Database button while the
// active project waits for an update (one timer for the whole window).

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/ProjectFilesBar.h"
#include "app/Prompter.h"
#include "app/TesselApp.h"
#include "app/TesselDoc.h"
#include "project/ProjectUpdate.h"

#include <QApplication>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace qln {

bool CMainFrame::isBlinking() const
{
    return blinkTimer_->isActive();
}

void CMainFrame::updateBlinking()
{
    CChildFrame* child = activeChild();
    const bool blink = child && child->document()->updateNeeded();
    if (blink && !blinkTimer_->isActive())
        blinkTimer_->start();
    else if (!blink) {
        blinkTimer_->stop();
        blinkOn_ = true;  // the tick below draws it plain
        blinkTick();
    }
}

void CMainFrame::blinkTick()
{
    blinkOn_ = !blinkOn_;
    auto* button = qobject_cast<QToolButton*>(mainBar_->widgetForAction(command(cmd::UpdateDatabase)));
    if (!button)
        return;
    button->setAutoFillBackground(blinkOn_);
    button->setBackgroundRole(blinkOn_ ? QPalette::Highlight : QPalette::Button);
    button->setForegroundRole(blinkOn_ ? QPalette::HighlightedText : QPalette::ButtonText);
}

void CMainFrame::OnRefreshStatus()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<std::string> changed;
    for (CChildFrame* child : children())
        if (child->document()->RefreshStatus())
            changed.push_back(child->document()->scriptPath().string());
    QApplication::restoreOverrideCursor();
    projectFiles_->setFiles(GetProjectFiles());
    updateBlinking();
    if (!changed.empty())
        app_.prompter().Show(QMessageBox::Information, Text(ChangedSourcesMessage(changed)));
}

}  // namespace qln
