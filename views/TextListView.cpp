#include "views/TextListView.h"

#include "views/TextCommands.h"
#include "views/TextTableDelegate.h"
#include "views/TextTableModel.h"

#include "projectdb/ProjectDatabase.h"
#include "rcscript/Messages.h"

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QUndoStack>

namespace qln {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Load progress for the main window; the window stays alive meanwhile.
class ViewProgress final : public Progress {
public:
    explicit ViewProgress(CTextListView& view) : view_(view) {}
    void Report(std::uint64_t position, std::uint64_t total) override
    {
        emit view_.progressReported(static_cast<qint64>(position), static_cast<qint64>(total));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    bool Cancelled() override { return false; }

private:
    CTextListView& view_;
};

}  // namespace

CTextListView::CTextListView(QWidget* parent)
    : QTableView(parent), model_(new CTextTableModel(this)), widthTimer_(new QTimer(this))
{
    setObjectName(QStringLiteral("TextTable"));
    setWindowTitle(Q(msg::TextTableTitle));
    setModel(model_);
    setItemDelegate(new CTextTableDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setMouseTracking(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (column >= CTextTableModel::FirstLangColumn)
            setCurrentColumn(column);
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (verticalScrollBar()->isSliderDown())
            showScrollTip();
    });
    // A width the user set is kept shortly after, so closing the project in
    // any way keeps it.
    widthTimer_->setSingleShot(true);
    widthTimer_->setInterval(600);
    connect(widthTimer_, &QTimer::timeout, this, [this] {
        try {
            saveColumnWidths();
        } catch (const sql::Error& error) {
            emit statusText(Q(DatabaseErrorMessage(error)));
        }
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (project_ && !loading_)
            widthTimer_->start();
    });
    createActions();
}

CTextListView::~CTextListView() = default;

void CTextListView::setProject(CProjectDatabase* project, QUndoStack* undo)
{
    widthTimer_->stop();
    project_ = project;
    undo_ = undo;
    currentColumn_ = -1;
    sourceSelected_ = true;
    filter_ = project ? TextTableFilter::FromProject(*project) : TextTableFilter{};
    filter_.modifiedOnly = false;
    setupColumns();
    // A translator starts in the first translation.
    if (model_->languageCount() > 0)
        setCurrentColumn(CTextTableModel::FirstLangColumn);
    // ... at the first text still to translate.
    selectionModel()->clear();
    nextItem();
    updateActions();
}

void CTextListView::setupColumns()
{
    loadFonts();
    model_->setTable({}, Q(msg::SourceTextColumn));
    reload();
    loading_ = true;
    applyWidths();
    loading_ = false;
}

void CTextListView::reload()
{
    const TextTableRow* selected = selectedRow();
    const std::int32_t remembered = selected ? selected->lineIndex : -1;
    // Widths belong to the languages, not to the column positions.
    std::map<std::int32_t, int> widths;
    for (int c = 0; c < model_->columnCount(); ++c) {
        const auto language = languageOfColumn(c);
        widths[c < CTextTableModel::FirstLangColumn ? -1 - c : LangIdOf(language->primary, language->sub)] =
            columnWidth(c);
    }
    loading_ = true;
    emit statusText(Q(msg::ReloadingTextTable));
    TextTable table;
    QString header = Q(msg::SourceTextColumn);
    if (project_) {
        ViewProgress progress(*this);
        try {
            table = LoadTextTable(*project_, filter_, progress);
            header = Q(SourceColumnHeader(*project_));
        } catch (const sql::Error& error) {
            emit statusText(Q(DatabaseErrorMessage(error)));
        }
    }
    model_->setTable(std::move(table), header);
    for (int c = 0; c < model_->columnCount(); ++c) {
        const auto language = languageOfColumn(c);
        const auto found =
            widths.find(c < CTextTableModel::FirstLangColumn ? -1 - c : LangIdOf(language->primary, language->sub));
        if (found != widths.end())
            setColumnWidth(c, found->second);
    }
    if (currentColumn_ >= model_->columnCount())
        currentColumn_ = model_->columnCount() - 1 >= CTextTableModel::FirstLangColumn ? model_->columnCount() - 1 : -1;
    loading_ = false;
    emit statusText(QString());
    invalidateProgress();
    selectAfterFilter(remembered);
}

void CTextListView::applyWidths()
{
    if (!project_)
        return;
    try {
        setColumnWidth(CTextTableModel::IdColumn, StoredColumnWidth(*project_, kIdWidthSetting, 0, 0, kDefaultIdWidth));
        setColumnWidth(CTextTableModel::SourceColumn,
                       StoredColumnWidth(*project_, kLangWidthSetting, 0, 0, kDefaultLangWidth));
        for (int m = 0; m < model_->languageCount(); ++m) {
            const auto& language = model_->table().languages[static_cast<std::size_t>(m)];
            setColumnWidth(CTextTableModel::FirstLangColumn + m,
                           StoredColumnWidth(*project_, kLangWidthSetting, language.primary, language.sub,
                                             kDefaultLangWidth));
        }
    } catch (const sql::Error& error) {
        emit statusText(Q(DatabaseErrorMessage(error)));
    }
}

void CTextListView::saveColumnWidths()
{
    if (!project_)
        return;
    sql::Transaction transaction(project_->db());
    StoreColumnWidth(*project_, kIdWidthSetting, 0, 0, columnWidth(CTextTableModel::IdColumn));
    StoreColumnWidth(*project_, kLangWidthSetting, 0, 0, columnWidth(CTextTableModel::SourceColumn));
    for (int m = 0; m < model_->languageCount(); ++m) {
        const auto& language = model_->table().languages[static_cast<std::size_t>(m)];
        StoreColumnWidth(*project_, kLangWidthSetting, language.primary, language.sub,
                         columnWidth(CTextTableModel::FirstLangColumn + m));
    }
    transaction.commit();
}

void CTextListView::loadFonts()
{
    fonts_.clear();
    if (!project_)
        return;
    try {
        for (const auto& [langId, entry] : LoadFonts(*project_)) {
            QFont font = this->font();
            font.setFamily(Q(entry.fontName));
            fonts_[langId] = font;
        }
        // The source column shows the script's first source language.
        const auto sources = SourceLanguages(*project_);
        if (!sources.empty()) {
            const auto found = fonts_.find(LangIdOf(sources.front().primary, sources.front().sub));
            if (found != fonts_.end())
                fonts_[-1] = found->second;
        }
    } catch (const sql::Error&) {
        // Without the font table every column uses the list's font.
    }
}

QFont CTextListView::columnFont(int column) const
{
    std::optional<LanguagePair> language = languageOfColumn(column);
    std::optional<std::int32_t> key;
    if (language)
        key = LangIdOf(language->primary, language->sub);
    else if (column == CTextTableModel::SourceColumn)
        key = -1;
    if (key) {
        const auto found = fonts_.find(*key);
        if (found != fonts_.end())
            return found->second;
    }
    return font();
}

void CTextListView::addLanguageColumn(int primary, int sub)
{
    const auto name = LanguageDisplayName(primary, sub);
    if (!name || columnOfLanguage(primary, sub) >= 0)
        return;
    model_->addLanguage({primary, sub, std::string(*name)});
    setColumnWidth(model_->columnCount() - 1, kDefaultLangWidth);
    setCurrentColumn(model_->columnCount() - 1);
}

void CTextListView::removeLanguageColumn(int primary, int sub)
{
    const int column = columnOfLanguage(primary, sub);
    if (column < 0)
        return;
    model_->removeLanguage(column - CTextTableModel::FirstLangColumn);
    if (currentColumn_ >= column) {
        int left = currentColumn_ - 1;
        if (left < CTextTableModel::FirstLangColumn)
            left = model_->languageCount() > 0 ? CTextTableModel::FirstLangColumn : -1;
        currentColumn_ = -2;  // force the change notification
        setCurrentColumn(left);
    }
}

int CTextListView::columnOfLanguage(int primary, int sub) const
{
    const int m = model_->table().languageIndex(primary, sub);
    return m < 0 ? -1 : CTextTableModel::FirstLangColumn + m;
}

std::optional<LanguagePair> CTextListView::languageOfColumn(int column) const
{
    const int m = column - CTextTableModel::FirstLangColumn;
    if (m < 0 || m >= model_->languageCount())
        return std::nullopt;
    const auto& language = model_->table().languages[static_cast<std::size_t>(m)];
    return LanguagePair{language.primary, language.sub};
}

std::optional<LanguagePair> CTextListView::currentLanguage(bool allowSource) const
{
    if (allowSource && sourceSelected_)
        return LanguagePair{-1, -1};
    return languageOfColumn(currentColumn_);
}

void CTextListView::selectLanguage(int primary, int sub)
{
    if (primary == -1) {
        sourceSelected_ = true;
        viewport()->update();
        emit currentLanguageChanged(-1, -1);
        emit itemChanged();
        return;
    }
    const int column = columnOfLanguage(primary, sub);
    if (column >= 0)
        setCurrentColumn(column);
}

void CTextListView::setCurrentColumn(int column)
{
    sourceSelected_ = column < CTextTableModel::FirstLangColumn;
    const bool changed = column != currentColumn_;
    if (column >= CTextTableModel::FirstLangColumn || column == -1)
        currentColumn_ = column;
    viewport()->update();
    if (changed) {
        invalidateProgress();
        const auto language = languageOfColumn(currentColumn_);
        emit currentLanguageChanged(language ? language->primary : -1, language ? language->sub : -1);
    }
    updateActions();
    emit itemChanged();
}

void CTextListView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (loading_ || !current.isValid())
        return;
    if (current.column() != previous.column() || !previous.isValid()) {
        if (current.column() >= CTextTableModel::FirstLangColumn) {
            setCurrentColumn(current.column());
            return;
        }
        sourceSelected_ = true;
        viewport()->update();
    }
    if (current.row() != previous.row() || current.column() != previous.column()) {
        updateActions();
        emit itemChanged();
    }
}

QModelIndex CTextListView::cellOf(int row) const
{
    const int column = currentColumn_ >= 0 && !sourceSelected_ ? currentColumn_ : CTextTableModel::SourceColumn;
    return model_->index(row, column);
}

int CTextListView::rowOfLine(std::int32_t lineIndex) const
{
    return model_->rowOfLine(lineIndex);
}

void CTextListView::selectRow(int row, bool focus)
{
    if (row < 0 || row >= model_->rowCount())
        return;
    const QModelIndex cell = cellOf(row);
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(cell);
    if (focus)
        setFocus();
}

int CTextListView::selectLine(std::int32_t lineIndex)
{
    const int row = rowOfLine(lineIndex);
    if (row >= 0)
        selectRow(row, true);
    return row;
}

int CTextListView::selectedRowIndex() const
{
    const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList{};
    return rows.isEmpty() ? -1 : rows.first().row();
}

const TextTableRow* CTextListView::selectedRow() const
{
    return model_->row(selectedRowIndex());
}

std::optional<TextItem> CTextListView::currentItem() const
{
    const TextTableRow* row = selectedRow();
    const auto language = currentLanguage();
    if (!row || !language)
        return std::nullopt;
    const auto m = static_cast<std::size_t>(currentColumn_ - CTextTableModel::FirstLangColumn);
    return TextItem{row->lineIndex, row->sourceText, row->translations[m], language->primary, language->sub,
                    row->modified[m], row->excluded, row->lineKind};
}

void CTextListView::nextItem()
{
    const int count = model_->rowCount();
    if (count == 0)
        return;
    const int start = selectedRowIndex();
    const int m = currentColumn_ - CTextTableModel::FirstLangColumn;
    int found = -1;
    if (m >= 0 && m < model_->languageCount()) {
        for (int step = 1; step <= count; ++step) {
            const int r = ((start < 0 ? -1 : start) + step) % count;
            if (start >= 0 && r == start)
                break;
            const TextTableRow& row = *model_->row(r);
            if (!row.excluded && row.translations[static_cast<std::size_t>(m)].empty()) {
                found = r;
                break;
            }
        }
    }
    if (found < 0)
        found = start < 0 ? 0 : (start + 1) % count;
    selectRow(found, false);
}

void CTextListView::previousItem()
{
    const int count = model_->rowCount();
    if (count == 0)
        return;
    const int start = selectedRowIndex();
    selectRow(start <= 0 ? count - 1 : start - 1, false);
}

void CTextListView::invalidateProgress()
{
    progress_.reset();
    emit panesChanged();
}

TextProgress CTextListView::progress()
{
    const auto language = currentLanguage();
    if (!project_ || !language)
        return {};
    if (!progress_) {
        try {
            progress_ = ComputeTextProgress(*project_, filter_, language->primary, language->sub);
        } catch (const sql::Error&) {
            return {};
        }
    }
    return *progress_;
}

QString CTextListView::languagePaneText() const
{
    const auto language = currentLanguage();
    const auto name = language ? LanguageDisplayName(language->primary, language->sub) : std::nullopt;
    return name ? Q(*name) : Q(msg::SourceTextColumn);
}

QString CTextListView::progressPaneText()
{
    if (model_->rowCount() == 0 || !currentLanguage())
        return {};
    const TextProgress p = progress();
    return Q(msg::Format(msg::ProgressPane,
                         {std::to_string(p.translatedPercent()), std::to_string(p.modifiedPercent())}));
}

void CTextListView::showScrollTip()
{
    const int top = rowAt(0);
    const QPoint at = mapToGlobal(QPoint(width() - 80, 10));
    QToolTip::showText(at, Q(msg::Format(msg::ScrollTip, {std::to_string(top < 0 ? 0 : top + 1)})), this);
}

void CTextListView::markCell(int row, int column)
{
    model_->markCell(row, column);
}

void CTextListView::clearMarks()
{
    model_->clearMarks();
}

bool CTextListView::hasMarks() const
{
    return model_->hasMarks();
}

}  // namespace qln
