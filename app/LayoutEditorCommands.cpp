#include "app/LayoutEditorCommands.h"

#include "app/CommandIds.h"
#include "app/EditDynDlgDoc.h"
#include "app/MainFrame.h"
#include "app/Prompter.h"
#include "app/TesselDoc.h"
#include "rcscript/Messages.h"
#include "views/EditDialogBar.h"

#include <QAction>
#include <QDockWidget>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace qln {
namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

CEditDynDlgDoc* EditDocOf(const QMdiSubWindow* window)
{
    return window ? qobject_cast<CEditDynDlgDoc*>(window->property("qlnDynDlgDoc").value<QObject*>()) : nullptr;
}

CEditDialogBar* DialogBar(const CMainFrame& frame)
{
    return frame.dialogEditDock() ? qobject_cast<CEditDialogBar*>(frame.dialogEditDock()->widget()) : nullptr;
}

// Ends edit mode when the user closes the dock.
class DockCloseWatch : public QObject {
public:
    DockCloseWatch(CMainFrame& frame) : QObject(&frame), frame_(frame) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Close)
            if (CEditDynDlgView* view = ActiveLayoutEditor(frame_))
                view->setEditMode(false);
        return false;
    }

private:
    CMainFrame& frame_;
};

void Enable(CMainFrame& frame, int id, bool enabled, std::optional<bool> checked = std::nullopt)
{
    if (QAction* action = frame.command(id)) {
        action->setEnabled(enabled);
        if (checked)
            action->setChecked(*checked);
    }
}

// The dock, the commands and the mode pane follow the active preview.
void Sync(CMainFrame& frame)
{
    CEditDynDlgView* view = ActiveLayoutEditor(frame);
    const bool on = view && view->editMode();
    if (CEditDialogBar* bar = DialogBar(frame)) {
        if (view)
            view->setDialogBar(bar);
        else
            bar->clear();
    }
    if (QDockWidget* dock = frame.dialogEditDock()) {
        if (on && !dock->isVisible())
            dock->show();
        else if (!on && dock->isVisible())
            dock->hide();
    }
    Enable(frame, cmd::EditDialogLayout, view && view->canToggleEditMode(), on);
    Enable(frame, cmd::EditUndo, view && view->canUndoLayout());
    Enable(frame, cmd::SelectAll, view && view->editActive());
    Enable(frame, cmd::SetOriginalSize, view && view->canSetOriginalSize());
    frame.setPaneText(cmd::PaneMode, on ? Q(msg::EditModePane) : QString());
}

template <typename Act>
void OnCommand(CMainFrame& frame, int id, Act act)
{
    QAction* action = frame.command(id);
    if (!action)
        return;
    CMainFrame* main = &frame;
    QObject::connect(action, &QAction::triggered, main, [main, act] {
        if (CEditDynDlgView* view = ActiveLayoutEditor(*main))
            act(*view);
        Sync(*main);
    });
}

}  // namespace

CEditDynDlgView* ActiveLayoutEditor(const CMainFrame& frame)
{
    CEditDynDlgDoc* doc = EditDocOf(frame.mdiArea()->currentSubWindow());
    return doc ? doc->editView() : nullptr;
}

bool SaveActiveLayout(CMainFrame& frame)
{
    CEditDynDlgView* view = ActiveLayoutEditor(frame);
    if (!view || !view->editActive())
        return false;
    view->saveLayout();
    Sync(frame);
    return true;
}

void ConnectLayoutEditor(CMainFrame& frame)
{
    if (frame.property("qlnLayoutEditor").toBool())
        return;
    frame.setProperty("qlnLayoutEditor", true);
    if (QDockWidget* dock = frame.dialogEditDock()) {
        QWidget* placeholder = dock->widget();
        dock->setWidget(new CEditDialogBar(dock));
        delete placeholder;
        dock->setWindowTitle(Q(msg::EditDialogBarTitle).replace(QStringLiteral("&&"), QStringLiteral("&")));
        dock->installEventFilter(new DockCloseWatch(frame));
    }
    for (int id : {cmd::EditDialogLayout, cmd::EditUndo, cmd::SelectAll, cmd::SetOriginalSize})
        frame.setCommandAvailable(id, true);
    OnCommand(frame, cmd::EditDialogLayout, [](CEditDynDlgView& v) { v.setEditMode(!v.editMode()); });
    OnCommand(frame, cmd::EditUndo, [](CEditDynDlgView& v) { v.undoLayout(); });
    OnCommand(frame, cmd::SelectAll, [](CEditDynDlgView& v) { v.selectAllControls(); });
    OnCommand(frame, cmd::SetOriginalSize, [](CEditDynDlgView& v) { v.setOriginalSize(); });
    CMainFrame* main = &frame;
    QObject::connect(frame.mdiArea(), &QMdiArea::subWindowActivated, main, [main] { Sync(*main); });
    Sync(frame);
}

void ConnectEditPreview(CMainFrame& frame, CEditDynDlgDoc& doc)
{
    CEditDynDlgView* view = doc.editView();
    if (!view)
        return;
    doc.guardClose();
    // Messages, questions and beeps go through the project's prompter.
    Prompter* prompter = &doc.project().prompter();
    view->warn = [prompter](const QString& text) { prompter->Show(QMessageBox::Warning, text); };
    view->ask = [prompter](const QString& text) {
        return prompter->Ask(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    };
    view->beepSound = [prompter] { prompter->Beep(); };
    CMainFrame* main = &frame;
    CEditDynDlgDoc* d = &doc;
    const auto follow = [main, d] {
        if (d->frame())
            d->frame()->setWindowTitle(d->title());
        if (ActiveLayoutEditor(*main) == d->editView())
            Sync(*main);
    };
    QObject::connect(view, &CEditDynDlgView::editModeChanged, d, follow);
    QObject::connect(view, &CEditDynDlgView::layoutStateChanged, d, follow);
    QObject::connect(view, &CDynDlgView::languageShown, d, follow);
}

}  // namespace qln
