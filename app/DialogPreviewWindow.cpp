#include "app/DialogPreviewWindow.h"

#include "app/BookmarkViews.h"
#include "app/ChildFrame.h"
#include "app/FindCommands.h"
#include "app/CommandIds.h"
#include "app/DynDlgDoc.h"
#include "app/EditDynDlgDoc.h"
#include "app/LayoutEditorCommands.h"
#include "app/MainFrame.h"
#include "app/Prompter.h"
#include "app/TesselDoc.h"
#include "app/TextTableWiring.h"
#include "project/DialogPreview.h"
#include "project/TextTable.h"
#include "rcscript/Messages.h"
#include "views/DynDlgView.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"
#include "views/TranslationBar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace qln {
namespace {

constexpr char kDocProperty[] = "qlnDynDlgDoc";
constexpr int kFrameMargin = 16;  // around the dialog, inside a new preview's frame

CDynDlgDoc* DocOf(const QMdiSubWindow* window)
{
    return window ? qobject_cast<CDynDlgDoc*>(window->property(kDocProperty).value<QObject*>()) : nullptr;
}

CChildFrame* ChildOf(const QMdiSubWindow* window)
{
    return window ? qobject_cast<CChildFrame*>(window->property("qlnChildFrame").value<QObject*>()) : nullptr;
}

CTextListView* TableOf(const CDynDlgDoc& doc)
{
    CChildFrame* child = ChildOf(doc.frame());
    return child ? qobject_cast<CTextListView*>(child->textView()) : nullptr;
}

CDynDlgDoc* ActiveDoc(const CMainFrame& frame)
{
    return DocOf(frame.mdiArea()->currentSubWindow());
}

bool Same(LanguagePair a, LanguagePair b)
{
    return a.primary == b.primary && (a.primary < 0 || a.sub == b.sub);
}

// The text of a control as the translation bar's item, in the preview's
// language (for the source, in the table's language). The table's column
// follows, so that what the bar stores lands in the same cell.
void ShowInBar(CMainFrame& frame, CDynDlgDoc& doc, std::int32_t line)
{
    auto* bar = qobject_cast<CTranslationBar*>(frame.translationDock());
    CTextListView* table = TableOf(doc);
    CDynDlgView* view = doc.view();
    if (!bar || !table || !view || !view->project() || line < 0)
        return;
    LanguagePair language = view->language();
    const std::optional<LanguagePair> current = table->currentLanguage();
    if (language.primary < 0) {
        if (!current)
            return;
        language = *current;
    } else if (table->columnOfLanguage(language.primary, language.sub) < 0) {
        return;
    } else if (!current || !Same(*current, language)) {
        table->selectLanguage(language.primary, language.sub);
    }
    bar->attachView(table);
    std::optional<ShownTextState> state;
    try {
        state = ReadTextState(*view->project(), line, language.primary, language.sub);
    } catch (const sql::Error&) {
        return;
    }
    if (!state)
        return;
    const CControlWnd* control = view->controlOfLine(line);
    const TextItem item{line,           state->sourceText, state->translation, language.primary,
                        language.sub,   state->modified,   state->excluded,    control ? control->lineKind : 0};
    bar->setItem(item, table->columnFont(CTextTableModel::SourceColumn),
                 table->columnFont(table->columnOfLanguage(language.primary, language.sub)));
}

// The language tool bar: entry 0 is the source, then the project's translations.
std::optional<LanguagePair> ComboLanguage(CTesselDoc& project, int index)
{
    if (index <= 0)
        return std::nullopt;
    const std::vector<Translation> translations = project.translations();
    if (index > static_cast<int>(translations.size()))
        return std::nullopt;
    return translations[static_cast<std::size_t>(index - 1)].language;
}

void ShowLanguageInCombo(CMainFrame& frame, CDynDlgDoc& doc)
{
    const CDynDlgView* view = doc.view();
    if (!view)
        return;
    int index = 0;
    if (!view->sourceShown()) {
        const std::vector<Translation> translations = doc.project().translations();
        for (std::size_t i = 0; i < translations.size(); ++i)
            if (Same(translations[i].language, view->language()))
                index = static_cast<int>(i) + 1;
    }
    const QSignalBlocker block(frame.languageCombo());
    frame.languageCombo()->setCurrentIndex(index);
}

void SyncCommands(CMainFrame& frame)
{
    CDynDlgDoc* doc = ActiveDoc(frame);
    CDynDlgView* view = doc ? doc->view() : nullptr;
    QAction* source = frame.command(cmd::ViewSourceLanguage);
    QAction* translated = frame.command(cmd::ViewTranslated);
    if (!source || !translated)
        return;
    source->setEnabled(view);
    source->setChecked(view && view->sourceShown());
    translated->setEnabled(view && !doc->project().translations().empty());
    translated->setChecked(view && !view->sourceShown());
}

void ShowPanes(CMainFrame& frame, CDynDlgView& view)
{
    frame.setPaneText(cmd::PaneLanguage, view.languagePaneText());
    frame.setPaneText(cmd::PaneProgress, view.progressPaneText());
}

// The preview just became the active window.
void Activated(CMainFrame& frame, CDynDlgDoc& doc)
{
    CDynDlgView* view = doc.view();
    if (!view)
        return;
    ShowLanguageInCombo(frame, doc);
    if (const CControlWnd* selected = view->selected())
        ShowInBar(frame, doc, selected->line);
    ShowPanes(frame, *view);
    SyncCommands(frame);
}

void StringResource(CMainFrame& frame, CDynDlgDoc& doc, std::int32_t line)
{
    CTextListView* table = TableOf(doc);
    CChildFrame* child = ChildOf(doc.frame());
    if (!table || !child || !doc.view())
        return;
    const LanguagePair language = doc.view()->language();
    if (language.primary >= 0 && table->columnOfLanguage(language.primary, language.sub) >= 0)
        table->selectLanguage(language.primary, language.sub);
    if (table->rowOfLine(line) < 0) {
        doc.project().prompter().Show(QMessageBox::Information, QString::fromUtf8(msg::PreviewTextNotVisible));
        return;
    }
    frame.mdiArea()->setActiveSubWindow(child);
    table->selectLine(line);
    table->setFocus();
}

void ShowLanguage(CMainFrame& frame, CDynDlgDoc& doc, LanguagePair language)
{
    CDynDlgView* view = doc.view();
    if (!view)
        return;
    if (!Same(view->language(), language)) {
        // Unsaved layout changes: the user may keep the language after all.
        if (auto* editor = qobject_cast<CEditDynDlgView*>(view); editor && !editor->confirmLeavingLayout()) {
            if (ActiveDoc(frame) == &doc)
                Activated(frame, doc);
            return;
        }
        view->showLanguage(language.primary, language.sub);
    }
    if (ActiveDoc(frame) == &doc)
        Activated(frame, doc);
}

void ConnectPreview(CMainFrame& frame, CDynDlgDoc& doc, CTextListView* table)
{
    CDynDlgView* view = doc.view();
    CMainFrame* main = &frame;
    CDynDlgDoc* d = &doc;
    QObject::connect(view, &CDynDlgView::itemSelected, &doc, [main, d](qint32 line) {
        if (ActiveDoc(*main) == d)
            ShowInBar(*main, *d, line);
    });
    QObject::connect(view, &CDynDlgView::stringResourceRequested, &doc,
                     [main, d](qint32 line) { StringResource(*main, *d, line); });
    QObject::connect(view, &CDynDlgView::bookmarkRequested, &doc, [main, d](qint32 line, int) {
        if (CDynDlgView* shown = d->view())
            OpenBookmarkDialog(*main, DialogBookmarkItem(*shown, line));
    });
    QObject::connect(view, &CDynDlgView::panesChanged, &doc, [main, d] {
        if (ActiveDoc(*main) == d && d->view())
            ShowPanes(*main, *d->view());
    });
    QObject::connect(view, &CDynDlgView::translateRequested, &doc, [main] {
        if (auto* bar = qobject_cast<CTranslationBar*>(main->translationDock()))
            bar->startTranslating();
    });
    QObject::connect(&doc.project(), &CTesselDoc::titleChanged, &doc, [d] {
        if (d->frame())
            d->frame()->setWindowTitle(d->title());
    });
    if (!table)
        return;
    // A stored, undone or excluded text shows at once.
    QObject::connect(table, &CTextListView::textStored, view, [view](qint32 line, int primary, int sub) {
        if (Same(view->language(), LanguagePair{primary, sub}))
            view->refreshText(line);
    });
    QObject::connect(table, &CTextListView::rowExcludedChanged, view,
                     [view](qint32 line, bool) { view->refreshText(line); });
}

}  // namespace

CDynDlgView* ActiveDialogPreview(const CMainFrame& frame)
{
    CDynDlgDoc* doc = ActiveDoc(frame);
    return doc ? doc->view() : nullptr;
}

CDynDlgView* OpenDialogPreview(CMainFrame& frame, CChildFrame& child, std::int32_t dialogLine, LanguagePair language,
                               std::int32_t selectLine)
{
    CTesselDoc& project = *child.document();
    if (!project.database())
        return nullptr;
    if (language.primary < 0)
        language = {-1, -1};
    if (CDynDlgDoc* open = FindPreview(project, dialogLine); open && open->view()) {
        QMdiSubWindow* window = open->frame();
        if (window->isMinimized())
            window->showNormal();
        frame.mdiArea()->setActiveSubWindow(window);
        window->raise();
        ShowLanguage(frame, *open, language);
        if (selectLine >= 0)
            open->view()->selectLine(selectLine);
        return open->view();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto* doc = new CEditDynDlgDoc(project, dialogLine);
    auto* view = new CEditDynDlgView(project.database(), dialogLine);
    if (!view->build(language.primary, language.sub)) {
        QApplication::restoreOverrideCursor();
        delete view;
        delete doc;
        return nullptr;
    }
    auto* window = new QMdiSubWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWidget(view);
    // The preview belongs to its project: the project's commands keep acting
    // while it is current, and it closes with the project's window.
    window->setProperty("qlnChildFrame", QVariant::fromValue<QObject*>(&child));
    window->setProperty(kDocProperty, QVariant::fromValue<QObject*>(doc));
    QObject::connect(&child, &QObject::destroyed, window, &QMdiSubWindow::close);
    doc->attach(window, view);
    window->setWindowTitle(doc->title());
    ConnectPreview(frame, *doc, qobject_cast<CTextListView*>(child.textView()));
    ConnectEditPreview(frame, *doc);
    frame.mdiArea()->addSubWindow(window);
    // Shown first, so that the frame and the view have their real sizes.
    window->show();
    // The frame is no larger than the dialog and a margin around it.
    const QSize chrome = window->size() - view->size();
    const QSize wanted = view->canvas()->size() + QSize(kFrameMargin, kFrameMargin) + chrome;
    window->resize(window->size().boundedTo(wanted).expandedTo(QSize(160, 100)));
    if (window->width() < wanted.width() || window->height() < wanted.height())
        window->resize(wanted.boundedTo(frame.mdiArea()->viewport()->size()));
    if (selectLine >= 0)
        view->selectLine(selectLine);
    window->show();
    frame.mdiArea()->setActiveSubWindow(window);
    QApplication::restoreOverrideCursor();
    Activated(frame, *doc);
    return view;
}

QMdiSubWindow* OpenDialogPreview(CMainFrame& frame)
{
    CChildFrame* child = frame.activeChild();
    CTextListView* table = ActiveTextTable(frame);
    const TextTableRow* row = table ? table->selectedRow() : nullptr;
    if (!child || !row)
        return nullptr;
    std::int32_t dialog = -1, select = -1;
    if (row->category == category::Dialog) {
        dialog = row->resourceLine >= 0 ? row->resourceLine : row->lineIndex;
    } else if (row->category == category::DialogItem || row->category == category::DialogCaption) {
        dialog = row->resourceLine;
        select = row->lineIndex;
    }
    if (dialog < 0)
        return nullptr;
    const LanguagePair language = table->currentLanguage(true).value_or(LanguagePair{-1, -1});
    CDynDlgView* view = OpenDialogPreview(frame, *child, dialog, language, select);
    return view ? qobject_cast<QMdiSubWindow*>(view->parentWidget()) : nullptr;
}

void ConnectDialogPreview(CMainFrame& frame)
{
    QAction* open = frame.command(cmd::ViewDialog);
    if (!open || frame.property("qlnDialogPreview").toBool())
        return;
    frame.setProperty("qlnDialogPreview", true);
    CMainFrame* main = &frame;
    for (int id : {cmd::ViewDialog, cmd::ViewSourceLanguage, cmd::ViewTranslated, cmd::ViewStringTable})
        frame.setCommandAvailable(id, true);
    QObject::connect(open, &QAction::triggered, main, [main] { OpenDialogPreview(*main); });
    if (QAction* source = frame.command(cmd::ViewSourceLanguage))
        QObject::connect(source, &QAction::triggered, main, [main] {
            if (CDynDlgDoc* doc = ActiveDoc(*main))
                ShowLanguage(*main, *doc, {-1, -1});
            SyncCommands(*main);
        });
    if (QAction* translated = frame.command(cmd::ViewTranslated))
        QObject::connect(translated, &QAction::triggered, main, [main] {
            CDynDlgDoc* doc = ActiveDoc(*main);
            if (!doc) {
                SyncCommands(*main);
                return;
            }
            // The language tool bar's language; with the source chosen there,
            // the table's language or else the first translation.
            std::optional<LanguagePair> language =
                ComboLanguage(doc->project(), main->languageCombo()->currentIndex());
            if (CTextListView* table = TableOf(*doc); !language && table)
                language = table->currentLanguage();
            if (!language) {
                const std::vector<Translation> translations = doc->project().translations();
                if (!translations.empty())
                    language = translations.front().language;
            }
            if (language)
                ShowLanguage(*main, *doc, *language);
            SyncCommands(*main);
        });
    if (QAction* string = frame.command(cmd::ViewStringTable))
        QObject::connect(string, &QAction::triggered, main, [main] {
            if (CDynDlgView* view = ActiveDialogPreview(*main))
                view->stringResource();
        });
    QObject::connect(frame.languageCombo(), &QComboBox::activated, main, [main](int index) {
        CDynDlgDoc* doc = ActiveDoc(*main);
        if (!doc)
            return;
        ShowLanguage(*main, *doc, ComboLanguage(doc->project(), index).value_or(LanguagePair{-1, -1}));
    });
    QObject::connect(frame.mdiArea(), &QMdiArea::subWindowActivated, main, [main](QMdiSubWindow* window) {
        if (CDynDlgDoc* doc = DocOf(window))
            Activated(*main, *doc);
        else
            SyncCommands(*main);
    });
    SyncCommands(frame);
    ConnectLayoutEditor(frame);
}

}  // namespace qln
