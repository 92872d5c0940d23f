#include "app/DialogPreviewWindow.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/Prompter.h"
#include "app/TesselDoc.h"
#include "app/TextTableWiring.h"
#include "project/DialogPreview.h"
#include "project/TextTable.h"
#include "project/TranslationStore.h"
#include "projectdb/Languages.h"
#include "rcscript/Messages.h"
#include "views/DynDlgView.h"
#include "views/TextListView.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace qln {
namespace {

bool IsDialogText(const TextTableRow& row)
{
    return row.category == category::DialogItem || row.category == category::DialogCaption;
}

// The table's language by name; for the source, the script's first language.
QString LanguageName(CProjectDatabase& project, int primary, int sub)
{
    if (primary < 0) {
        const std::vector<LanguagePair> source = SourceLanguages(project);
        if (source.empty())
            return Text(msg::LanguageSourceText);
        primary = source.front().primary;
        sub = source.front().sub;
    }
    const auto name = LanguageDisplayName(primary, sub);
    return name ? Text(*name)
                : Text(msg::LanguageSourceText);
}

}  // namespace

QMdiSubWindow* OpenDialogPreview(CMainFrame& frame)
{
    CChildFrame* child = frame.activeChild();
    CTextListView* table = ActiveTextTable(frame);
    CProjectDatabase* project = table ? table->project() : nullptr;
    const TextTableRow* row = table ? table->selectedRow() : nullptr;
    if (!project || !row || !IsDialogText(*row) || row->resourceLine < 0)
        return nullptr;
    const LanguagePair language = table->currentLanguage(true).value_or(LanguagePair{-1, -1});
    const bool source = language.primary < 0;
    const auto dialog = LoadDialogPreview(*project, row->resourceLine, source ? 0 : language.primary,
                                          source ? 0 : language.sub);
    if (!dialog)
        return nullptr;
    auto* window = new QMdiSubWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWidget(new CDynDlgView(*dialog));
    window->setWindowTitle(QString::fromUtf8(msg::Format(
        msg::PreviewTitle, {dialog->ident, LanguageName(*project, language.primary, language.sub).toStdString()})));
    // The preview belongs to its project: commands keep acting on it while
    // the preview is current, and it closes with the project's window.
    window->setProperty("qlnChildFrame", QVariant::fromValue<QObject*>(child));
    QObject::connect(child, &QObject::destroyed, window, &QMdiSubWindow::close);
    frame.mdiArea()->addSubWindow(window);
    window->show();
    frame.mdiArea()->setActiveSubWindow(window);
    return window;
}

void ConnectDialogPreview(CMainFrame& frame)
{
    QAction* action = frame.command(cmd::ViewDialog);
    if (!action || frame.property("qlnDialogPreview").toBool())
        return;
    frame.setProperty("qlnDialogPreview", true);
    frame.setCommandAvailable(cmd::ViewDialog, true);
    CMainFrame* main = &frame;
    QObject::connect(action, &QAction::triggered, main, [main] { OpenDialogPreview(*main); });
}

}  // namespace qln
