#include "app/FindCommands.h"

#include "app/BookmarkViews.h"
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/DialogPreviewWindow.h"
#include "app/MainFrame.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/TesselDoc.h"
#include "app/TextTableWiring.h"
#include "projectdb/ProjectDatabase.h"
#include "rcscript/Messages.h"
#include "views/FindDialogs.h"
#include "views/TextFinder.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"
#include "views/TranslationBar.h"

#include <QAction>
#include <QMdiArea>
#include <QPointer>
#include <QTimer>

#include <map>
#include <string>

namespace qln {

namespace {

std::map<std::string, BookmarkViewOpener, std::less<>>& Openers()
{
    static std::map<std::string, BookmarkViewOpener, std::less<>> openers;
    return openers;
}

QStringList LanguageNames(const CTextListView& view)
{
    QStringList names;
    for (const TextTableLanguage& language : view.textModel()->table().languages)
        names << QString::fromStdString(language.displayName);
    return names;
}

FindSettings LoadFindSettings(CMainFrame& frame)
{
    CSettings& settings = frame.settings();
    FindSettings find;
    find.history = settings.findHistory();
    find.replaceHistory = settings.replaceHistory();
    const CSettings::FindOptionsSetting options = settings.findOptions();
    find.options = {options.wholeWord, options.matchCase};
    find.where = settings.findWhere();
    return find;
}

void SaveFindSettings(CMainFrame& frame, const FindSettings& find)
{
    CSettings& settings = frame.settings();
    settings.setFindHistory(find.history);
    settings.setReplaceHistory(find.replaceHistory);
    CSettings::FindOptionsSetting options = settings.findOptions();
    options.wholeWord = find.options.wholeWord;
    options.matchCase = find.options.matchCase;
    settings.setFindOptions(options);
    settings.setFindWhere(find.where);
    settings.Save();
}

void Tell(CMainFrame& frame, const std::string& text)
{
    if (CChildFrame* child = frame.activeChild())
        child->document()->prompter().Show(QMessageBox::Information, QString::fromStdString(text));
}

// Find Next while something was searched; Remove Marks while a mark is set.
void UpdateFindCommands(CMainFrame& frame)
{
    CTextListView* view = ActiveTextTable(frame);
    if (QAction* next = frame.command(cmd::EditFindNext))
        next->setEnabled(view && CTextFinder::of(view)->state().canFindNext());
    if (QAction* remove = frame.command(cmd::RemoveMarks))
        remove->setEnabled(view && view->hasMarks());
}

void RunFind(CMainFrame& frame)
{
    QPointer<CTextListView> view = ActiveTextTable(frame);
    if (!view)
        return;
    CFindDialog dialog(LanguageNames(*view), LoadFindSettings(frame), &frame);
    // The project can close while the dialog is open.
    if (dialog.exec() != QDialog::Accepted || !view)
        return;
    SaveFindSettings(frame, dialog.settings());
    CTextFinder* finder = CTextFinder::of(view);
    if (dialog.action() == CFindDialog::Action::MarkAll)
        finder->markAll(dialog.request());
    else
        finder->findNext(dialog.request());
}

void RunReplace(CMainFrame& frame)
{
    QPointer<CTextListView> view = ActiveTextTable(frame);
    auto* bar = qobject_cast<CTranslationBar*>(frame.translationDock());
    if (!view || !bar)
        return;
    bar->show();
    bar->attachView(view);
    CReplaceDialog dialog(*CTextFinder::of(view), *bar, LanguageNames(*view), LoadFindSettings(frame), &frame);
    dialog.exec();
    if (view)
        SaveFindSettings(frame, dialog.settings());
}

void RunBookmark(CMainFrame& frame)
{
    CTextListView* view = ActiveTextTable(frame);
    if (!view)
        return;
    // The active dialog, menu or bitmap view's item, else the table's row.
    BookmarkItem item;
    if (auto shown = ActiveViewBookmarkItem(frame))
        item = *shown;
    else if (auto selected = TextTableBookmarkItem(*view))
        item = *selected;
    OpenBookmarkDialog(frame, item);
}

// Selects the bookmark's line and language in the table and brings the table's window up.
bool GoToTextTable(CMainFrame& frame, const BookmarkTarget& target)
{
    CChildFrame* child = frame.activeChild();
    CTextListView* view = ActiveTextTable(frame);
    if (!child || !view)
        return false;
    const std::string problem = GoToInTextTable(*view, target);
    if (!problem.empty()) {
        Tell(frame, problem);
        return false;
    }
    if (child->isMinimized())
        child->showNormal();
    frame.mdiArea()->setActiveSubWindow(child);
    view->setFocus();
    return true;
}

}  // namespace

void SetBookmarkViewOpener(std::string_view window, BookmarkViewOpener opener)
{
    Openers()[std::string(window)] = std::move(opener);
}

void FollowBookmark(CMainFrame& frame, const Bookmark& bookmark)
{
    CChildFrame* child = frame.activeChild();
    CProjectDatabase* project = child ? child->document()->database() : nullptr;
    if (!project)
        return;
    BookmarkTarget target;
    try {
        target = ResolveBookmark(*project, bookmark);
    } catch (const sql::Error& error) {
        Tell(frame, DatabaseErrorMessage(error));
        return;
    }
    if (target.status == BookmarkTarget::Status::MissingTranslation) {
        Tell(frame, target.message);
        return;
    }
    if (target.window != kBookmarkText) {
        const auto opener = Openers().find(target.window);
        if (opener != Openers().end() && opener->second && opener->second(frame, target))
            return;
    }
    if (!GoToTextTable(frame, target))
        return;
    // Without a view of its own a dialog bookmark previews the table's row.
    if (target.window == kBookmarkDialog)
        OpenDialogPreview(frame);
}

void OpenBookmarkDialog(CMainFrame& frame, const BookmarkItem& item)
{
    CChildFrame* child = frame.activeChild();
    CProjectDatabase* project = child ? child->document()->database() : nullptr;
    if (!project)
        return;
    QPointer<CChildFrame> guard = child;
    CBookmarkDialog dialog(*project, item, &frame);
    QObject::connect(&dialog, &CBookmarkDialog::message, &frame,
                     [&frame](const QString& text) { Tell(frame, text.toStdString()); });
    if (dialog.exec() != QDialog::Accepted || !guard || !dialog.chosen())
        return;
    FollowBookmark(frame, *dialog.chosen());
}

void AttachFindCommands(CMainFrame& frame, CTesselDoc& doc, CTextListView& view)
{
    CMainFrame* main = &frame;
    CTextFinder* finder = CTextFinder::of(&view);
    QObject::connect(finder, &CTextFinder::message, &doc,
                     [&doc](const QString& text) { doc.prompter().Show(QMessageBox::Information, text); });
    QObject::connect(&view, &CTextListView::bookmarkRequested, main, [main] { RunBookmark(*main); });
    auto update = [main, viewPtr = &view] {
        if (ActiveTextTable(*main) == viewPtr)
            UpdateFindCommands(*main);
    };
    QObject::connect(view.textModel(), &QAbstractItemModel::dataChanged, main, update);
    QObject::connect(view.textModel(), &QAbstractItemModel::modelReset, main, update);
}

void ConnectFindCommands(CMainFrame& frame)
{
    if (frame.property("qlnFindCommands").toBool())
        return;
    frame.setProperty("qlnFindCommands", true);
    RegisterBookmarkViewOpeners();
    CMainFrame* main = &frame;
    const std::pair<int, void (*)(CMainFrame&)> commands[] = {
        {cmd::EditFind, RunFind},
        {cmd::EditFindNext,
         [](CMainFrame& f) {
             if (CTextListView* view = ActiveTextTable(f))
                 CTextFinder::of(view)->findNextAgain();
         }},
        {cmd::EditReplace, RunReplace},
        {cmd::RemoveMarks,
         [](CMainFrame& f) {
             if (CTextListView* view = ActiveTextTable(f))
                 CTextFinder::of(view)->removeMarks();
         }},
        {cmd::Bookmark, RunBookmark},
    };
    for (const auto& [id, run] : commands) {
        QAction* action = frame.command(id);
        if (!action)
            continue;
        frame.setCommandAvailable(id, true);
        QObject::connect(action, &QAction::triggered, main, [main, run = run] {
            run(*main);
            UpdateFindCommands(*main);
        });
    }
    // After the main window has set the project commands for the new window.
    QObject::connect(frame.mdiArea(), &QMdiArea::subWindowActivated, main,
                     [main] { QTimer::singleShot(0, main, [main] { UpdateFindCommands(*main); }); });
    UpdateFindCommands(frame);
}

}  // namespace qln
