// The text table's commands: filters, exclusion, storing, the context menu,
// the keyboard and the dialogs opened from the table.

#include "views/TextListView.h"

#include "views/BlockHeaderDialog.h"
#include "views/SourceTextDialog.h"
#include "views/TextCommands.h"
#include "views/TextTableModel.h"

#include "project/TextForms.h"
#include "projectdb/ProjectDatabase.h"
#include "rcscript/Messages.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QMessageBox>
#include <QUndoStack>

namespace qln {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct FilterInfo {
    TextCommand command;
    bool TextTableFilter::*flag;
    std::string_view option;  // its Project field; empty: not stored
    std::string_view text;
    std::string_view addingStatus;  // shown while its rows are added
};

constexpr FilterInfo kFilters[] = {
    {TextCommand::FilterDialogs, &TextTableFilter::dialogs, "DialogEdit", msg::FilterDialogs, msg::AddingDialogRows},
    {TextCommand::FilterMenus, &TextTableFilter::menus, "MenuEdit", msg::FilterMenus, msg::AddingMenuRows},
    {TextCommand::FilterStrings, &TextTableFilter::strings, "StringtableEdit", msg::FilterStrings,
     msg::AddingStringRows},
    {TextCommand::FilterVersions, &TextTableFilter::versions, "VersionEdit", msg::FilterVersions, {}},
    {TextCommand::FilterBitmaps, &TextTableFilter::bitmaps, "BitmapEdit", msg::FilterBitmaps, {}},
    {TextCommand::FilterIncludes, &TextTableFilter::includes, "IncludeEdit", msg::FilterIncludes, {}},
    {TextCommand::FilterExcluded, &TextTableFilter::excluded, "ExcludeEdit", msg::FilterExcluded,
     msg::AddingExcludedRows},
    {TextCommand::FilterModifiedOnly, &TextTableFilter::modifiedOnly, {}, msg::FilterModifiedOnly, {}},
};

const FilterInfo* FindFilter(TextCommand command)
{
    for (const FilterInfo& f : kFilters)
        if (f.command == command)
            return &f;
    return nullptr;
}

// Whether a line kind belongs to the resource kind of a filter: hidden with
// every kind off, shown with only this one on.
bool KindOfFilter(const FilterInfo& info, int lineKind)
{
    TextTableFilter none;
    none.dialogs = none.menus = none.strings = none.versions = none.bitmaps = none.includes = false;
    TextTableFilter only = none;
    only.*info.flag = true;
    return !none.ShowsKind(lineKind) && only.ShowsKind(lineKind);
}

}  // namespace

void CTextListView::createActions()
{
    auto add = [this](TextCommand command, std::string_view text, QList<QKeySequence> keys = {}) {
        auto* action = new QAction(Q(text), this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        actions_[command] = action;
        return action;
    };
    connect(add(TextCommand::Translate, msg::CommandTranslate, {Qt::Key_F4, Qt::Key_Return, Qt::Key_Enter}),
            &QAction::triggered, this, &CTextListView::translateRequested);
    QAction* exclude = add(TextCommand::ExcludeItem, msg::CommandExcludeItem, {QKeySequence(Qt::CTRL | Qt::Key_X)});
    exclude->setCheckable(true);
    connect(exclude, &QAction::triggered, this, [this] { excludeItem(); });
    connect(add(TextCommand::NextItem, msg::CommandNextItem, {QKeySequence(Qt::ALT | Qt::Key_Down)}),
            &QAction::triggered, this, &CTextListView::nextItem);
    connect(add(TextCommand::PreviousItem, msg::CommandPreviousItem, {QKeySequence(Qt::ALT | Qt::Key_Up)}),
            &QAction::triggered, this, &CTextListView::previousItem);
    for (const FilterInfo& f : kFilters) {
        QAction* action = add(f.command, f.text);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, command = f.command] { toggleFilter(command); });
    }
    connect(add(TextCommand::BlockHeader, msg::CommandBlockHeader), &QAction::triggered, this,
            &CTextListView::editBlockHeader);
    QAction* changed = add(TextCommand::ShowChangedSource, msg::CommandShowChangedSource);
    changed->setStatusTip(Q(msg::ShowChangedSourceHint));
    connect(changed, &QAction::triggered, this, &CTextListView::showChangedSource);
}

QAction* CTextListView::action(TextCommand command) const
{
    const auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

void CTextListView::updateActions()
{
    const TextTableRow* row = selectedRow();
    const bool attached = project_ != nullptr;
    action(TextCommand::Translate)->setEnabled(row && currentLanguage());
    action(TextCommand::ExcludeItem)->setEnabled(row != nullptr);
    action(TextCommand::ExcludeItem)->setChecked(row && row->excluded);
    action(TextCommand::NextItem)->setEnabled(model_->rowCount() > 0);
    action(TextCommand::PreviousItem)->setEnabled(model_->rowCount() > 0);
    for (const FilterInfo& f : kFilters) {
        QAction* a = action(f.command);
        a->setChecked(filter_.*f.flag);
        a->setEnabled(attached);
    }
    action(TextCommand::FilterExcluded)->setEnabled(attached && ExcludedFilterEnabled(filter_));
    // Turning modified-only off is always possible; turning it on needs
    // something left to translate.
    action(TextCommand::FilterModifiedOnly)
        ->setEnabled(attached && (filter_.modifiedOnly || ModifiedOnlyEnabled(filter_, progress().translatedPercent())));
    action(TextCommand::BlockHeader)->setEnabled(row && row->category == category::BlockHeader && currentLanguage());
    action(TextCommand::ShowChangedSource)->setEnabled(row && row->anyModified());
}

bool CTextListView::filterShown(TextCommand command) const
{
    const FilterInfo* info = FindFilter(command);
    return info && filter_.*info->flag;
}

void CTextListView::toggleFilter(TextCommand command)
{
    const FilterInfo* info = FindFilter(command);
    if (!info || !project_)
        return;
    const bool shown = !(filter_.*info->flag);
    filter_.*info->flag = shown;
    try {
        if (!info->option.empty())
            project_->SetOption(info->option, shown);
    } catch (const sql::Error& error) {
        emit statusText(Q(DatabaseErrorMessage(error)));
    }
    const TextTableRow* selected = selectedRow();
    const std::int32_t remembered = selected ? selected->lineIndex : -1;
    const bool hasLanguages = model_->languageCount() > 0;
    if (command == TextCommand::FilterModifiedOnly) {
        if (!shown) {
            reload();
            return;
        }
        selectRow(0, false);
        model_->removeRowsWhere([hasLanguages](const TextTableRow& r) {
            return !r.anyModified() && (r.excluded || (hasLanguages && r.fullyTranslated()));
        });
    } else if (command == TextCommand::FilterExcluded) {
        if (shown) {
            emit statusText(Q(msg::AddingExcludedRows));
            reload();
            return;
        }
        selectRow(0, false);
        model_->removeRowsWhere([](const TextTableRow& r) { return r.excluded; });
    } else if (shown) {
        addRowsOfKind(command);
    } else {
        selectRow(0, false);
        model_->removeRowsWhere([info](const TextTableRow& r) { return KindOfFilter(*info, r.lineKind); });
    }
    invalidateProgress();
    selectAfterFilter(remembered);
}

void CTextListView::addRowsOfKind(TextCommand command)
{
    const FilterInfo* info = FindFilter(command);
    if (!info || !project_)
        return;
    TextTableFilter only = filter_;
    only.dialogs = only.menus = only.strings = only.versions = only.bitmaps = only.includes = false;
    only.*info->flag = true;
    if (!info->addingStatus.empty())
        emit statusText(Q(info->addingStatus));
    loading_ = true;
    try {
        TextTable added = LoadTextTable(*project_, only);
        std::erase_if(added.rows, [info](const TextTableRow& r) { return !KindOfFilter(*info, r.lineKind); });
        if (!added.rows.empty())
            added.rows.front().groupMark = 1;
        model_->insertTextRows(0, std::move(added.rows));
    } catch (const sql::Error& error) {
        emit statusText(Q(DatabaseErrorMessage(error)));
    }
    loading_ = false;
    emit statusText(QString());
}

void CTextListView::selectAfterFilter(std::int32_t rememberedLine)
{
    const int row = rememberedLine >= 0 ? rowOfLine(rememberedLine) : -1;
    if (row >= 0)
        selectRow(row, false);
    else if (model_->rowCount() > 0)
        selectRow(0, false);
    else
        selectionModel()->clear();
    updateActions();
    emit itemChanged();
}

bool CTextListView::storeTranslation(std::int32_t lineIndex, int primary, int sub, const std::string& scriptText)
{
    if (!project_)
        return false;
    try {
        const auto before = StoreTranslation(*project_, lineIndex, primary, sub, scriptText);
        if (!before)
            return false;
        if (undo_)
            undo_->push(new CStoreTranslationCommand(this, *project_, lineIndex, primary, sub, scriptText, *before));
    } catch (const sql::Error& error) {
        emit statusText(Q(DatabaseErrorMessage(error)));
        return false;
    }
    setCellText(scriptText, primary, sub, lineIndex, false);
    const int row = rowOfLine(lineIndex);
    if (row >= 0 && row != selectedRowIndex())
        selectRow(row, false);
    return true;
}

void CTextListView::setCellText(const std::string& text, int primary, int sub, std::int32_t lineIndex, bool modified)
{
    const int row = rowOfLine(lineIndex);
    const int m = model_->table().languageIndex(primary, sub);
    const TextTableRow* shown = model_->row(row);
    const auto current = currentLanguage();
    if (shown && m >= 0 && progress_ && !shown->excluded && current && current->primary == primary &&
        current->sub == sub) {
        // The counts follow the one text instead of a new count of all.
        const auto index = static_cast<std::size_t>(m);
        progress_->translated += (text.empty() ? 0 : 1) - (shown->translations[index].empty() ? 0 : 1);
        progress_->modified += (modified ? 1 : 0) - (shown->modified[index] ? 1 : 0);
        emit panesChanged();
    } else {
        invalidateProgress();
    }
    if (row >= 0 && m >= 0)
        model_->setCellText(row, m, text, modified);
    updateActions();
    emit textStored(lineIndex, primary, sub);
    emit documentModified();
    if (row >= 0 && row == selectedRowIndex())
        emit itemChanged();
}

void CTextListView::excludeItem()
{
    const TextTableRow* row = selectedRow();
    if (!row || !project_)
        return;
    const std::int32_t line = row->lineIndex;
    const bool excluded = !row->excluded;
    try {
        if (!project_->SetExclude(line, excluded))
            return;
    } catch (const sql::Error& error) {
        emit statusText(Q(DatabaseErrorMessage(error)));
        return;
    }
    if (undo_)
        undo_->push(new CExcludeCommand(this, *project_, line, excluded));
    setRowExcluded(line, excluded);
}

void CTextListView::setRowExcluded(std::int32_t lineIndex, bool excluded)
{
    const int row = rowOfLine(lineIndex);
    const TextTableRow* shown = model_->row(row);
    const int m = currentColumn_ - CTextTableModel::FirstLangColumn;
    if (shown && progress_ && m >= 0 && m < model_->languageCount() && shown->excluded != excluded &&
        filter_.ShowsKind(shown->lineKind)) {
        const int sign = excluded ? -1 : 1;
        const auto index = static_cast<std::size_t>(m);
        progress_->total += sign;
        progress_->translated += shown->translations[index].empty() ? 0 : sign;
        progress_->modified += shown->modified[index] ? sign : 0;
        emit panesChanged();
    } else {
        invalidateProgress();
    }
    if (row >= 0)
        model_->setExcluded(row, excluded);
    updateActions();
    emit rowExcludedChanged(lineIndex, excluded);
    emit documentModified();
    if (row >= 0 && row == selectedRowIndex())
        emit itemChanged();
}

void CTextListView::contextMenuEvent(QContextMenuEvent* event)
{
    const QModelIndex cell = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (cell.isValid())
        selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const TextTableRow* row = selectedRow();
    if (!row)
        return;
    std::string_view view;
    bool excludable = true;
    switch (row->category) {
    case category::Dialog: view = msg::ContextViewDialog; excludable = false; break;
    case category::Menu: view = msg::ContextViewMenu; excludable = false; break;
    case category::DialogCaption: view = msg::ContextCaptionViewDialog; break;
    case category::DialogItem: view = msg::ContextItemViewDialog; break;
    case category::MenuItem: view = msg::ContextMenuItemViewMenu; break;
    case category::PopupMenu: view = msg::ContextPopupViewMenu; break;
    case 9:
    case category::BitmapFile: view = msg::ContextViewBitmap; break;
    case category::StringtableString:
    case category::BlockHeader:
    case category::VersionValue:
    case category::Include: break;
    default: return;
    }
    QMenu menu(this);
    const std::int32_t line = row->lineIndex;
    const int cat = row->category;
    // The dialog, menu and bitmap views and bookmarks answer these when they are there.
    if (!view.empty()) {
        QAction* open = menu.addAction(Q(view), this, [this, line, cat] { emit viewResourceRequested(line, cat); });
        open->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&CTextListView::viewResourceRequested)));
    }
    QAction* bookmark = menu.addAction(Q(msg::ContextBookmark), this, [this, line] { emit bookmarkRequested(line); });
    bookmark->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&CTextListView::bookmarkRequested)));
    if (excludable) {
        QAction* exclude = menu.addAction(Q(msg::ContextExclude), this, [this] { excludeItem(); });
        exclude->setCheckable(true);
        exclude->setChecked(row->excluded);
    }
    menu.exec(event->globalPos());
}

void CTextListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    const TextTableRow* row = selectedRow();
    if (row && row->category == category::BlockHeader && currentLanguage() && !sourceSelected_)
        editBlockHeader();
    else if (row && currentLanguage())
        emit translateRequested();
}

void CTextListView::mouseMoveEvent(QMouseEvent* event)
{
    QTableView::mouseMoveEvent(event);
    const QModelIndex cell = indexAt(event->position().toPoint());
    const TextTableRow* row = model_->row(cell.row());
    const bool header = row && row->category == category::BlockHeader &&
                        cell.column() >= CTextTableModel::FirstLangColumn;
    viewport()->setCursor(header ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void CTextListView::editBlockHeader()
{
    const auto item = currentItem();
    if (!item || item->lineKind != 85 || !project_)
        return;
    CBlockHeaderDialog dialog(item->translation.empty() ? item->sourceText : item->translation, this);
    if (dialog.exec() == QDialog::Accepted)
        storeTranslation(item->lineIndex, item->primary, item->sub, dialog.blockName());
}

void CTextListView::showChangedSource()
{
    const TextTableRow* row = selectedRow();
    if (!row || !row->anyModified() || !project_)
        return;
    ShowOldSourceText(this, *project_, row->lineIndex, row->sourceText);
}

}  // namespace qln
