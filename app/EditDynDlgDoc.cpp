#include "app/EditDynDlgDoc.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

namespace qln {

QString CEditDynDlgDoc::title() const
{
    const CEditDynDlgView* v = editView();
    return CDynDlgDoc::title() + (v && v->layoutChanged() ? QStringLiteral(" *") : QString());
}

void CEditDynDlgDoc::guardClose()
{
    if (!frame())
        return;
    frame()->installEventFilter(this);
    // Closing the project's window closes its previews: ask before, while
    // the project can still be kept open.
    projectFrame_ = frame()->property("qlnChildFrame").value<QObject*>();
    if (projectFrame_)
        projectFrame_->installEventFilter(this);
}

bool CEditDynDlgDoc::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == frame() || (projectFrame_ && watched == projectFrame_)) && event->type() == QEvent::Close)
        if (CEditDynDlgView* v = editView(); v && !v->confirmLeavingLayout()) {
            event->ignore();
            return true;
        }
    return CDynDlgDoc::eventFilter(watched, event);
}

}  // namespace qln
