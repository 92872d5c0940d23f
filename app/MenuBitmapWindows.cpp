#include "app/MenuBitmapWindows.h"

#include "app/BookmarkViews.h"
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/FindCommands.h"
#include "app/MainFrame.h"
#include "app/Prompter.h"
#include "app/TesselDoc.h"
#include "app/TextTableWiring.h"
#include "project/MenuView.h"
#include "project/TextTable.h"
#include "projectdb/ProjectDatabase.h"
#include "rcscript/Messages.h"
#include "views/DynBitmapView.h"
#include "views/DynMenuView.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"
#include "views/TranslationBar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>

namespace qln {
namespace {

constexpr const char* kMenuLine = "qlnMenuLine";
constexpr const char* kBitmapLine = "qlnBitmapLine";
constexpr const char* kChildFrame = "qlnChildFrame";

CTranslationBar* Bar(CMainFrame& frame)
{
    return qobject_cast<CTranslationBar*>(frame.translationDock());
}

CChildFrame* ChildOf(QMdiSubWindow* window)
{
    return window ? qobject_cast<CChildFrame*>(window->property(kChildFrame).value<QObject*>()) : nullptr;
}

CTextListView* TableOf(CChildFrame* child)
{
    return child ? qobject_cast<CTextListView*>(child->textView()) : nullptr;
}

CDynMenuView* MenuViewOf(QMdiSubWindow* window)
{
    return window ? qobject_cast<CDynMenuView*>(window->widget()) : nullptr;
}

CDynBitmapView* BitmapViewOf(QMdiSubWindow* window)
{
    return window ? qobject_cast<CDynBitmapView*>(window->widget()) : nullptr;
}

// A message over the main window that does not hold up the event loop.
void Tell(CMainFrame& frame, QMessageBox::Icon icon, std::string_view text)
{
    auto* box = new QMessageBox(icon, QApplication::applicationDisplayName(), Text(text), QMessageBox::Ok, &frame);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// The language the tool bar shows: nothing for the source text.
std::optional<LanguagePair> ToolbarLanguage(CMainFrame& frame, CTesselDoc& doc)
{
    const int index = frame.languageCombo()->currentIndex();
    const std::vector<Translation> translations = doc.translations();
    if (index <= 0 || index > static_cast<int>(translations.size()))
        return std::nullopt;
    return translations[static_cast<std::size_t>(index - 1)].language;
}

// "View Translated" and the translation bar while the source is shown: the
// tool bar's language, else the first translation.
std::optional<LanguagePair> TranslatedLanguage(CMainFrame& frame, CTesselDoc& doc)
{
    if (auto language = ToolbarLanguage(frame, doc))
        return language;
    const std::vector<Translation> translations = doc.translations();
    if (translations.empty())
        return std::nullopt;
    return translations.front().language;
}

void ShowInToolbar(CMainFrame& frame, CTesselDoc& doc, LanguagePair language)
{
    int index = 0;
    const std::vector<Translation> translations = doc.translations();
    for (std::size_t i = 0; i < translations.size(); ++i)
        if (translations[i].language.primary == language.primary && translations[i].language.sub == language.sub)
            index = static_cast<int>(i) + 1;
    const QSignalBlocker block(frame.languageCombo());
    frame.languageCombo()->setCurrentIndex(index);
}

QFont LanguageFont(CTextListView& table, LanguagePair language)
{
    const int column = language.primary < 0 ? -1 : table.columnOfLanguage(language.primary, language.sub);
    return table.columnFont(column < 0 ? CTextTableModel::SourceColumn : column);
}

// Makes a menu node's text the translation bar's item.
void OfferToBar(CMainFrame& frame, QMdiSubWindow* window, std::int32_t line)
{
    CDynMenuView* view = MenuViewOf(window);
    CChildFrame* child = ChildOf(window);
    CTextListView* table = TableOf(child);
    CTranslationBar* bar = Bar(frame);
    if (!view || !table || !bar || !table->project() || line < 0)
        return;
    const auto language = view->sourceShown() ? TranslatedLanguage(frame, *child->document()) : view->language();
    if (!language)
        return;
    CProjectDatabase& project = *table->project();
    try {
        const auto text = project.GetText(line, language->primary, language->sub);
        if (!text)
            return;
        const TextItem item{line, text->sourceText.value_or(""), text->translation.value_or(""), language->primary,
                            language->sub, text->notActual, text->exclude, project.GetLineKind(line).value_or(0)};
        bar->setItem(item, table->columnFont(CTextTableModel::SourceColumn), LanguageFont(*table, *language));
    } catch (const sql::Error& error) {
        frame.setStatusText(Text(DatabaseErrorMessage(error)));
    }
}

void ShowBitmapPanes(CMainFrame& frame, CDynBitmapView& view)
{
    frame.setPaneText(cmd::PaneLanguage, view.languagePaneText());
    frame.setPaneText(cmd::PaneProgress, view.progressPaneText());
}

// Selects a text in its project's table, or says why it cannot.
void StringAtTable(CMainFrame& frame, QMdiSubWindow* window, std::int32_t line)
{
    CChildFrame* child = ChildOf(window);
    CTextListView* table = TableOf(child);
    if (!table)
        return;
    if (table->selectLine(line) < 0) {
        Tell(frame, QMessageBox::Information, msg::ItemNotInTextTable);
        return;
    }
    frame.mdiArea()->setActiveSubWindow(child);
    table->setFocus();
}

// The open window of a resource of a project, if any.
QMdiSubWindow* FindView(CMainFrame& frame, CChildFrame* child, const char* property, std::int32_t line)
{
    for (QMdiSubWindow* window : frame.mdiArea()->subWindowList())
        if (ChildOf(window) == child && window->property(property).isValid() &&
            window->property(property).toInt() == line)
            return window;
    return nullptr;
}

void Raise(CMainFrame& frame, QMdiSubWindow* window)
{
    if (window->isMinimized())
        window->showNormal();
    frame.mdiArea()->setActiveSubWindow(window);
}

// A new window of the project, closed with it or when its database goes.
QMdiSubWindow* AddView(CMainFrame& frame, CChildFrame* child, QWidget* view, const QString& title, QSize size)
{
    auto* window = new QMdiSubWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWidget(view);
    window->setWindowTitle(title);
    window->setProperty(kChildFrame, QVariant::fromValue<QObject*>(child));
    CTesselDoc* doc = child->document();
    QObject::connect(child, &QObject::destroyed, window, &QMdiSubWindow::close);
    QObject::connect(doc, &CTesselDoc::reloaded, window, &QMdiSubWindow::close);
    QObject::connect(doc, &CTesselDoc::databaseChanged, window, &QMdiSubWindow::close);
    QObject::connect(doc, &CTesselDoc::titleChanged, window, [window, doc, title] {
        // The title ends with the project's title in parentheses.
        const qsizetype open = title.lastIndexOf(QStringLiteral("  ("));
        window->setWindowTitle(title.left(open) + QStringLiteral("  (") + doc->title() + ')');
    });
    frame.mdiArea()->addSubWindow(window);
    window->resize(size.boundedTo(frame.mdiArea()->viewport()->size()).expandedTo(QSize(320, 360)));
    window->show();
    frame.mdiArea()->setActiveSubWindow(window);
    return window;
}

void SwitchMenuLanguage(CMainFrame& frame, QMdiSubWindow* window, LanguagePair language)
{
    CDynMenuView* view = MenuViewOf(window);
    CTextListView* table = TableOf(ChildOf(window));
    if (!view)
        return;
    if (view->language().primary != language.primary || view->language().sub != language.sub)
        view->showLanguage(language.primary, language.sub);
    if (table)
        view->setLanguageFont(LanguageFont(*table, view->language()));
    if (frame.mdiArea()->activeSubWindow() == window) {
        ShowInToolbar(frame, *ChildOf(window)->document(), view->language());
        OfferToBar(frame, window, view->selectedLine());
    }
}

void SwitchBitmapLanguage(CMainFrame& frame, QMdiSubWindow* window, LanguagePair language)
{
    CDynBitmapView* view = BitmapViewOf(window);
    if (!view)
        return;
    view->showLanguage(language.primary, language.sub);
    if (frame.mdiArea()->activeSubWindow() == window) {
        ShowInToolbar(frame, *ChildOf(window)->document(), view->language());
        ShowBitmapPanes(frame, *view);
    }
}

QString ViewTitle(std::string_view pattern, const std::string& name, CTesselDoc& doc)
{
    return Text(msg::Format(pattern, {name, doc.title().toStdString()}));
}

bool IsMenuText(int category)
{
    return category == category::MenuItem || category == category::PopupMenu || category == category::Menu;
}

void OpenFromTable(CMainFrame& frame, int command)
{
    CTextListView* table = ActiveTextTable(frame);
    const TextTableRow* row = table ? table->selectedRow() : nullptr;
    if (!row)
        return;
    const LanguagePair language = table->currentLanguage(true).value_or(LanguagePair{-1, -1});
    if (command == cmd::ViewMenu && IsMenuText(row->category) && row->resourceLine >= 0)
        OpenMenuView(frame, row->resourceLine, language, row->lineIndex);
    else if (command == cmd::ViewBitmap && row->category == category::BitmapFile)
        OpenBitmapView(frame, row->lineIndex, language);
}

// Selects a node of an open menu view and offers it to the translation bar.
QMdiSubWindow* SelectInMenuView(CMainFrame& frame, QMdiSubWindow* window, std::int32_t line)
{
    if (CDynMenuView* view = MenuViewOf(window); view && line >= 0 && view->selectLine(line))
        OfferToBar(frame, window, line);
    return window;
}

}  // namespace

QMdiSubWindow* OpenMenuView(CMainFrame& frame, std::int32_t menuLine, LanguagePair language, std::int32_t selectLine)
{
    CChildFrame* child = frame.activeChild();
    CTextListView* table = TableOf(child);
    CProjectDatabase* project = table ? table->project() : nullptr;
    if (!project)
        return nullptr;
    if (QMdiSubWindow* open = FindView(frame, child, kMenuLine, menuLine)) {
        Raise(frame, open);
        SwitchMenuLanguage(frame, open, language);
        return SelectInMenuView(frame, open, selectLine);
    }
    std::optional<MenuTree> menu;
    try {
        menu = LoadMenuTree(*project, menuLine);
    } catch (const sql::Error& error) {
        frame.setStatusText(Text(DatabaseErrorMessage(error)));
    }
    if (!menu)
        return nullptr;
    const QString title = ViewTitle(msg::MenuViewTitle, menu->name, *child->document());
    auto* view = new CDynMenuView(*project, std::move(*menu));
    // A menu is long and narrow: as high as the area allows.
    QMdiSubWindow* window = AddView(frame, child, view, title, QSize(400, frame.mdiArea()->viewport()->height()));
    window->setProperty(kMenuLine, menuLine);
    CMainFrame* main = &frame;
    QObject::connect(view, &CDynMenuView::itemSelected, window, [main, window](qint32 line) {
        OfferToBar(*main, window, line);
    });
    QObject::connect(view, &CDynMenuView::translateRequested, window, [main, window](qint32 line) {
        OfferToBar(*main, window, line);
        if (CTranslationBar* bar = Bar(*main))
            bar->startTranslating();
    });
    QObject::connect(view, &CDynMenuView::translatedRequested, window, [main, window, child] {
        if (const auto language = TranslatedLanguage(*main, *child->document()))
            SwitchMenuLanguage(*main, window, *language);
    });
    QObject::connect(view, &CDynMenuView::stringAtTableRequested, window, [main, window](qint32 line) {
        StringAtTable(*main, window, line);
    });
    QObject::connect(view, &CDynMenuView::statusText, main, &CMainFrame::setStatusText);
    // A stored translation, an exclusion or an undo shows at once.
    QObject::connect(table, &CTextListView::documentModified, view, &CDynMenuView::refreshAll);
    QObject::connect(view, &CDynMenuView::bookmarkRequested, window, [main, view](qint32 line, int) {
        OpenBookmarkDialog(*main, MenuBookmarkItem(*view, line));
    });
    SwitchMenuLanguage(frame, window, language);
    return SelectInMenuView(frame, window, selectLine);
}

QMdiSubWindow* OpenBitmapView(CMainFrame& frame, std::int32_t bitmapLine, LanguagePair language)
{
    CChildFrame* child = frame.activeChild();
    CTextListView* table = TableOf(child);
    CProjectDatabase* project = table ? table->project() : nullptr;
    if (!project)
        return nullptr;
    if (QMdiSubWindow* open = FindView(frame, child, kBitmapLine, bitmapLine)) {
        Raise(frame, open);
        SwitchBitmapLanguage(frame, open, language);
        return open;
    }
    try {
        if (!project->GetIdentifier(bitmapLine, IdentTable::Bitmap))
            return nullptr;
    } catch (const sql::Error& error) {
        frame.setStatusText(Text(DatabaseErrorMessage(error)));
        return nullptr;
    }
    CMainFrame* main = &frame;
    auto* view = new CDynBitmapView(*project, bitmapLine, child->document()->scriptPath());
    QObject::connect(view, &CDynBitmapView::tooLarge, main,
                     [main](const QString& text) { Tell(*main, QMessageBox::Warning, text.toStdString()); });
    const QString title = ViewTitle(msg::BitmapViewTitle, view->name(), *child->document());
    QMdiSubWindow* window = AddView(frame, child, view, title, view->extent() + QSize(40, 80));
    window->setProperty(kBitmapLine, bitmapLine);
    QObject::connect(view, &CDynBitmapView::translatedRequested, window, [main, window, child] {
        if (const auto language = TranslatedLanguage(*main, *child->document()))
            SwitchBitmapLanguage(*main, window, *language);
    });
    QObject::connect(view, &CDynBitmapView::stringAtTableRequested, window, [main, window](qint32 line) {
        StringAtTable(*main, window, line);
    });
    QObject::connect(view, &CDynBitmapView::statusText, main, &CMainFrame::setStatusText);
    QObject::connect(table, &CTextListView::documentModified, view, [main, window, view] {
        view->refresh();
        if (main->mdiArea()->activeSubWindow() == window)
            ShowBitmapPanes(*main, *view);
    });
    QObject::connect(view, &CDynBitmapView::bookmarkRequested, window,
                     [main, view] { OpenBookmarkDialog(*main, BitmapBookmarkItem(*view)); });
    SwitchBitmapLanguage(frame, window, language);
    return window;
}

void ConnectMenuBitmapViews(CMainFrame& frame)
{
    if (frame.property("qlnMenuBitmapViews").toBool())
        return;
    frame.setProperty("qlnMenuBitmapViews", true);
    CMainFrame* main = &frame;
    const std::pair<int, QKeySequence> commands[] = {{cmd::ViewMenu, QKeySequence(Qt::CTRL | Qt::Key_M)},
                                                      {cmd::ViewBitmap, QKeySequence(Qt::CTRL | Qt::Key_B)}};
    for (const auto& [id, keys] : commands) {
        QAction* action = frame.command(id);
        if (!action)
            continue;
        if (action->shortcut().isEmpty())
            action->setShortcut(keys);
        frame.setCommandAvailable(id, true);
        QObject::connect(action, &QAction::triggered, main, [main, id = id] { OpenFromTable(*main, id); });
    }
    // String at Table acts on the active menu or bitmap view.
    frame.setCommandAvailable(cmd::ViewStringTable, true);
    if (QAction* action = frame.command(cmd::ViewStringTable))
        QObject::connect(action, &QAction::triggered, main, [main] {
            QMdiSubWindow* window = main->mdiArea()->activeSubWindow();
            if (CDynMenuView* view = MenuViewOf(window); view && view->selectedLine() >= 0)
                StringAtTable(*main, window, view->selectedLine());
            else if (CDynBitmapView* bitmap = BitmapViewOf(window))
                StringAtTable(*main, window, bitmap->bitmapLine());
        });
    // Next Item and Previous Item step through the active menu view's nodes.
    for (const auto& [id, forward] : {std::pair{cmd::NextItem, true}, std::pair{cmd::PreviousItem, false}})
        if (QAction* action = frame.command(id))
            QObject::connect(action, &QAction::triggered, main, [main, forward = forward] {
                if (CDynMenuView* view = MenuViewOf(main->mdiArea()->activeSubWindow()))
                    view->selectNext(forward);
            });
    // The language tool bar switches the active view.
    QObject::connect(frame.languageCombo(), &QComboBox::activated, main, [main](int) {
        QMdiSubWindow* window = main->mdiArea()->activeSubWindow();
        CChildFrame* child = ChildOf(window);
        if (!child || (!MenuViewOf(window) && !BitmapViewOf(window)))
            return;
        const LanguagePair language = ToolbarLanguage(*main, *child->document()).value_or(LanguagePair{-1, -1});
        if (MenuViewOf(window))
            SwitchMenuLanguage(*main, window, language);
        else
            SwitchBitmapLanguage(*main, window, language);
    });
    // Activated again: the tool bar, the bar's item and the panes follow the view.
    QObject::connect(frame.mdiArea(), &QMdiArea::subWindowActivated, main, [main](QMdiSubWindow* window) {
        CChildFrame* child = ChildOf(window);
        if (!child)
            return;
        if (CDynMenuView* view = MenuViewOf(window)) {
            ShowInToolbar(*main, *child->document(), view->language());
            OfferToBar(*main, window, view->selectedLine());
        } else if (CDynBitmapView* bitmap = BitmapViewOf(window)) {
            ShowInToolbar(*main, *child->document(), bitmap->language());
            ShowBitmapPanes(*main, *bitmap);
        }
    });
}

void ConnectMenuBitmapRequests(CMainFrame& frame, CTextListView& table)
{
    CMainFrame* main = &frame;
    QObject::connect(&table, &CTextListView::viewResourceRequested, main, [main](qint32, int category) {
        const int command = IsMenuText(category)                 ? cmd::ViewMenu
                            : category == category::BitmapFile   ? cmd::ViewBitmap
                            : category == category::Dialog || category == category::DialogItem ||
                                    category == category::DialogCaption
                                ? cmd::ViewDialog
                                : 0;
        if (QAction* action = command ? main->command(command) : nullptr; action && action->isEnabled())
            action->trigger();
    });
}

}  // namespace qln
