#include "app/CheckCommands.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/DialogPreviewWindow.h"
#include "app/MainFrame.h"
#include "app/TesselDoc.h"
#include "app/TextTableWiring.h"
#include "project/DialogPreview.h"
#include "project/TranslationChecks.h"
#include "projectdb/Languages.h"
#include "rcscript/Messages.h"
#include "views/CheckResultsModel.h"
#include "views/TextListView.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace qln {
namespace {

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CCheckCommands::CCheckCommands(CMainFrame& frame) : QObject(&frame), frame_(frame)
{
    setObjectName("CheckCommands");
    dock_ = new QDockWidget(Text(msg::CheckDockTitle), &frame);
    dock_->setObjectName("CheckResults");
    auto* body = new QWidget(dock_);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    status_ = new QLabel(body);
    table_ = new QTableView(body);
    model_ = new CCheckResultsModel(table_);
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(status_);
    layout->addWidget(table_);
    dock_->setWidget(body);
    frame.addDockWidget(Qt::BottomDockWidgetArea, dock_);
    dock_->hide();

    connect(table_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) { goToFinding(index.row()); });
    if (QAction* action = frame.command(cmd::CheckTranslation)) {
        frame.setCommandAvailable(cmd::CheckTranslation, true);
        connect(action, &QAction::triggered, this, [this] { checkActiveProject(); });
    }
}

bool CCheckCommands::checkActiveProject()
{
    CTextListView* view = ActiveTextTable(frame_);
    CChildFrame* child = frame_.activeChild();
    CTesselDoc* doc = child ? child->document() : nullptr;
    if (!view || !doc || !doc->database())
        return false;
    std::optional<LanguagePair> language = view->currentLanguage();
    if (!language) {
        const std::vector<Translation> translations = doc->translations();
        if (translations.empty()) {
            status_->setText(Text(msg::CheckNoTranslation));
            dock_->show();
            return false;
        }
        language = translations.front().language;
    }
    language_ = std::string(LanguageDisplayName(language->primary, language->sub).value_or(""));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    checks::CheckRun run = checks::CheckTranslation(*doc->database(), language_);
    QApplication::restoreOverrideCursor();
    status_->setText(Text(msg::Format(msg::CheckStatus, {std::to_string(run.findings.size()), language_,
                                                          std::to_string(run.textsChecked)})));
    model_->setFindings(std::move(run.findings));
    table_->resizeColumnsToContents();
    // The first time, the results share the bottom with the translation bar, as a tab.
    QDockWidget* bar = frame_.translationDock();
    if (bar && dock_->isHidden() && frame_.tabifiedDockWidgets(bar).isEmpty() &&
        frame_.dockWidgetArea(bar) == Qt::BottomDockWidgetArea)
        frame_.tabifyDockWidget(bar, dock_);
    dock_->show();
    dock_->raise();
    table_->setFocus();
    if (model_->rowCount() > 0)
        table_->selectRow(0);
    return true;
}

void CCheckCommands::goToFinding(int row)
{
    const checks::Finding* f = model_->finding(row);
    CTextListView* view = ActiveTextTable(frame_);
    if (!f || !view)
        return;
    if (const auto language = LanguageFromDisplayName(language_))
        view->selectLanguage(language->primary, language->sub);
    if (view->selectLine(f->lineIndex) >= 0)
        view->setFocus();
    // A finding of a dialog's text opens its dialog with that text selected.
    CChildFrame* child = frame_.activeChild();
    const auto language = LanguageFromDisplayName(language_);
    if (!child || !language || !view->project())
        return;
    std::optional<std::int32_t> dialog;
    try {
        dialog = DialogOfTextLine(*view->project(), f->lineIndex);
    } catch (const sql::Error&) {
        return;
    }
    if (dialog)
        OpenDialogPreview(frame_, *child, *dialog, *language, f->lineIndex);
}

}  // namespace qln
