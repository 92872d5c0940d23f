#include "app/TextTableWiring.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/DialogPreviewWindow.h"
#include "app/FindCommands.h"
#include "app/MainFrame.h"
#include "app/MenuBitmapWindows.h"
#include "app/TesselDoc.h"
#include "views/DynDlgView.h"
#include "views/TextListView.h"
#include "views/TranslationBar.h"

#include <QAction>
#include <QComboBox>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QUndoGroup>
#include <QUndoStack>

namespace qln {

namespace {

// The main window's commands and the table's.
constexpr std::pair<int, TextCommand> kCommands[] = {
    {cmd::NextItem, TextCommand::NextItem},
    {cmd::PreviousItem, TextCommand::PreviousItem},
    {cmd::VersionBlockHeader, TextCommand::BlockHeader},
    {cmd::ShowChangedSource, TextCommand::ShowChangedSource},
    {cmd::ShowDialogs, TextCommand::FilterDialogs},
    {cmd::ShowMenus, TextCommand::FilterMenus},
    {cmd::ShowStringtables, TextCommand::FilterStrings},
    {cmd::ShowVersionInfo, TextCommand::FilterVersions},
    {cmd::ShowBitmaps, TextCommand::FilterBitmaps},
    {cmd::ShowIncludes, TextCommand::FilterIncludes},
    {cmd::ShowExcluded, TextCommand::FilterExcluded},
    {cmd::ModifiedOnly, TextCommand::FilterModifiedOnly},
    {cmd::ExcludeItem, TextCommand::ExcludeItem},
};

CTranslationBar* Bar(CMainFrame& frame)
{
    return qobject_cast<CTranslationBar*>(frame.translationDock());
}

// The main window's commands show the active table's check and enable state.
void SyncCommands(CMainFrame& frame)
{
    CTextListView* view = ActiveTextTable(frame);
    for (const auto& [id, command] : kCommands) {
        QAction* main = frame.command(id);
        if (!main)
            continue;
        QAction* own = view ? view->action(command) : nullptr;
        main->setCheckable(own && own->isCheckable());
        main->setEnabled(own && own->isEnabled());
        if (own && own->isCheckable())
            main->setChecked(own->isChecked());
    }
}

void ShowPanes(CMainFrame& frame, CTextListView* view)
{
    if (ActiveDialogPreview(frame))
        return;  // the preview shows its own
    frame.setPaneText(cmd::PaneLanguage, view ? view->languagePaneText() : QString());
    frame.setPaneText(cmd::PaneProgress, view ? view->progressPaneText() : QString());
}

void ActiveChanged(CMainFrame& frame, QUndoGroup* undo)
{
    CTextListView* view = ActiveTextTable(frame);
    if (CTranslationBar* bar = Bar(frame))
        bar->attachView(view);
    undo->setActiveStack(view ? view->undoStack() : nullptr);
    ShowPanes(frame, view);
    SyncCommands(frame);
}

QMenu* EditMenu(CMainFrame& frame)
{
    for (QAction* action : frame.menuBar()->actions())
        if (action->menu() && action->menu()->actions().contains(frame.command(cmd::EditFind)))
            return action->menu();
    return nullptr;
}

}  // namespace

CTextListView* ActiveTextTable(CMainFrame& frame)
{
    CChildFrame* child = frame.activeChild();
    return child ? qobject_cast<CTextListView*>(child->textView()) : nullptr;
}

CTextListView* AttachTextTable(CMainFrame& frame, CChildFrame& child, CTesselDoc& doc)
{
    ConnectTextTableCommands(frame);
    auto* undo = new QUndoStack(&doc);  // the document's edits
    auto* view = new CTextListView;
    child.setTextView(view);
    // The main window's Exclude Item carries Ctrl+X; in the translation
    // edit the key still cuts.
    view->action(TextCommand::ExcludeItem)->setShortcuts({});
    view->setProject(doc.database(), undo);
    AttachFindCommands(frame, doc, *view);
    if (auto* group = frame.QObject::findChild<QUndoGroup*>())
        group->addStack(undo);

    CMainFrame* main = &frame;
    // The project's state is counted anew once the translator pauses, not per text.
    auto* status = new QTimer(&doc);
    status->setSingleShot(true);
    status->setInterval(800);
    QObject::connect(status, &QTimer::timeout, &doc, [&doc] { doc.RecomputeStatus(); });
    QObject::connect(view, &CTextListView::documentModified, &doc, [&doc, status] {
        doc.setModified(true);
        status->start();
    });
    QObject::connect(view, &CTextListView::statusText, main, &CMainFrame::setStatusText);
    // After an update the rows are new and the edits before it cannot be undone.
    auto reattach = [view, undo, &doc] {
        undo->clear();
        view->setProject(doc.database(), undo);
    };
    QObject::connect(&doc, &CTesselDoc::reloaded, view, reattach);
    QObject::connect(&doc, &CTesselDoc::databaseChanged, view, reattach);
    // A translation added or deleted: its column comes or goes.
    QObject::connect(&doc, &CTesselDoc::translationsChanged, view, reattach);
    QObject::connect(view, &CTextListView::panesChanged, main, [main, view] {
        if (ActiveTextTable(*main) == view)
            ShowPanes(*main, view);
    });
    QObject::connect(view, &CTextListView::currentLanguageChanged, main, [main, view](int primary, int sub) {
        if (ActiveTextTable(*main) != view)
            return;
        const int column = primary < 0 ? -1 : view->columnOfLanguage(primary, sub);
        const QSignalBlocker block(main->languageCombo());
        main->languageCombo()->setCurrentIndex(column < 0 ? 0 : column - 1);
    });
    for (const auto& [id, command] : kCommands)
        QObject::connect(view->action(command), &QAction::changed, main, [main, view] {
            if (ActiveTextTable(*main) == view)
                SyncCommands(*main);
        });
    QObject::connect(view, &CTextListView::translateRequested, main, [main] {
        if (CTranslationBar* bar = Bar(*main))
            bar->startTranslating();
    });
    ConnectMenuBitmapRequests(frame, *view);
    return view;
}

void ConnectTextTableCommands(CMainFrame& frame)
{
    if (frame.property("qlnTextCommands").toBool())
        return;
    frame.setProperty("qlnTextCommands", true);
    ConnectFindCommands(frame);
    CMainFrame* main = &frame;
    for (const auto& [id, command] : kCommands) {
        QAction* action = frame.command(id);
        if (!action)
            continue;
        frame.setCommandAvailable(id, true);
        QObject::connect(action, &QAction::triggered, main, [main, command = command] {
            // In an active dialog preview, Next and Previous Item walk its controls.
            if (CDynDlgView* preview = ActiveDialogPreview(*main);
                preview && (command == TextCommand::NextItem || command == TextCommand::PreviousItem)) {
                command == TextCommand::NextItem ? preview->nextItem() : preview->previousItem();
                return;
            }
            if (CTextListView* view = ActiveTextTable(*main))
                view->action(command)->trigger();
            SyncCommands(*main);
        });
    }
    // Undo and Redo of the active project's edits.
    auto* group = new QUndoGroup(main);
    QAction* undo = group->createUndoAction(main);
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = group->createRedoAction(main);
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    if (QMenu* edit = EditMenu(frame)) {
        QAction* first = edit->actions().value(0);
        edit->insertAction(first, undo);
        edit->insertAction(first, redo);
        edit->insertSeparator(first);
    } else {
        main->addAction(undo);
        main->addAction(redo);
    }
    // A language chosen in the list becomes the table's current column.
    QObject::connect(frame.languageCombo(), &QComboBox::activated, main, [main](int index) {
        CTextListView* view = ActiveTextTable(*main);
        if (!view)
            return;
        if (index <= 0) {
            view->selectLanguage(-1, -1);
        } else if (const auto language = view->languageOfColumn(index + 1)) {
            view->selectLanguage(language->primary, language->sub);
        }
    });
    QObject::connect(frame.mdiArea(), &QMdiArea::subWindowActivated, main, [main, group] {
        ActiveChanged(*main, group);
    });
    // After the table's own handlers, so that a menu or bitmap view that is
    // active has the last word on the bar's item, the panes and Next Item.
    ConnectMenuBitmapViews(frame);
    ActiveChanged(frame, group);
    // After the table's own: a preview's panes and language replace the table's.
    ConnectDialogPreview(frame);
}

}  // namespace qln
