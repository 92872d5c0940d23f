#include "views/TextTableModel.h"

#include "rcscript/Messages.h"

#include <algorithm>
#include <iterator>

namespace qln {

namespace {
QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

CTextTableModel::CTextTableModel(QObject* parent) : QAbstractTableModel(parent), sourceHeader_(Q(msg::SourceTextColumn))
{
}

int CTextTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int CTextTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FirstLangColumn + languageCount();
}

const TextTableRow* CTextTableModel::row(int r) const
{
    return r >= 0 && r < static_cast<int>(table_.rows.size()) ? &table_.rows[static_cast<std::size_t>(r)] : nullptr;
}

QVariant CTextTableModel::data(const QModelIndex& index, int role) const
{
    const TextTableRow* r = index.isValid() ? row(index.row()) : nullptr;
    if (!r || index.column() >= columnCount())
        return {};
    const int column = index.column();
    const int language = column - FirstLangColumn;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        if (column == IdColumn)
            return Q(r->idText);
        if (column == SourceColumn)
            return Q(r->sourceText);
        return Q(r->translations[static_cast<std::size_t>(language)]);
    case ExcludedRole: return r->excluded;
    case ModifiedRole: return language >= 0 && r->modified[static_cast<std::size_t>(language)];
    case GroupMarkRole: return r->groupMark;
    case MarkRole: return isMarked(index.row(), column);
    case CategoryRole: return r->category;
    case LineIndexRole: return r->lineIndex;
    default: return {};
    }
}

QVariant CTextTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section == IdColumn)
        return Q(msg::IdColumn);
    if (section == SourceColumn)
        return sourceHeader_;
    const int language = section - FirstLangColumn;
    if (language >= 0 && language < languageCount())
        return Q(table_.languages[static_cast<std::size_t>(language)].displayName);
    return {};
}

void CTextTableModel::setTable(TextTable table, QString sourceHeader)
{
    beginResetModel();
    table_ = std::move(table);
    sourceHeader_ = std::move(sourceHeader);
    marks_.assign(table_.rows.size(), {});
    endResetModel();
}

void CTextTableModel::insertTextRows(int at, std::vector<TextTableRow> rows)
{
    if (rows.empty())
        return;
    at = std::clamp(at, 0, rowCount());
    const int count = static_cast<int>(rows.size());
    beginInsertRows({}, at, at + count - 1);
    table_.rows.insert(table_.rows.begin() + at, std::make_move_iterator(rows.begin()),
                       std::make_move_iterator(rows.end()));
    marks_.insert(marks_.begin() + at, rows.size(), {});
    endInsertRows();
}

int CTextTableModel::removeRowsWhere(const std::function<bool(const TextTableRow&)>& predicate)
{
    // Runs of rows to remove, from the bottom up.
    std::vector<std::pair<int, int>> runs;
    for (int r = rowCount() - 1; r >= 0; --r) {
        if (!predicate(table_.rows[static_cast<std::size_t>(r)]))
            continue;
        if (!runs.empty() && runs.back().first == r + 1)
            runs.back().first = r;
        else
            runs.emplace_back(r, r);
    }
    int removed = 0;
    for (const auto& [first, last] : runs)
        removed += last - first + 1;
    if (runs.size() <= 16) {
        for (const auto& [first, last] : runs) {
            beginRemoveRows({}, first, last);
            table_.rows.erase(table_.rows.begin() + first, table_.rows.begin() + last + 1);
            marks_.erase(marks_.begin() + first, marks_.begin() + last + 1);
            endRemoveRows();
        }
        return removed;
    }
    // Many scattered rows: one pass and one reset instead of a removal per run.
    beginResetModel();
    std::size_t kept = 0;
    for (std::size_t r = 0; r < table_.rows.size(); ++r) {
        if (predicate(table_.rows[r]))
            continue;
        if (kept != r) {
            table_.rows[kept] = std::move(table_.rows[r]);
            marks_[kept] = std::move(marks_[r]);
        }
        ++kept;
    }
    table_.rows.resize(kept);
    marks_.resize(kept);
    endResetModel();
    return removed;
}

int CTextTableModel::rowOfLine(std::int32_t lineIndex) const
{
    for (std::size_t i = 0; i < table_.rows.size(); ++i)
        if (table_.rows[i].lineIndex == lineIndex)
            return static_cast<int>(i);
    return -1;
}

void CTextTableModel::addLanguage(const TextTableLanguage& language)
{
    const int column = columnCount();
    beginInsertColumns({}, column, column);
    table_.languages.push_back(language);
    for (TextTableRow& r : table_.rows) {
        r.translations.emplace_back();
        r.modified.push_back(false);
    }
    endInsertColumns();
}

void CTextTableModel::removeLanguage(int m)
{
    if (m < 0 || m >= languageCount())
        return;
    const int column = FirstLangColumn + m;
    beginRemoveColumns({}, column, column);
    table_.languages.erase(table_.languages.begin() + m);
    for (TextTableRow& r : table_.rows) {
        r.translations.erase(r.translations.begin() + m);
        r.modified.erase(r.modified.begin() + m);
    }
    endRemoveColumns();
    dropMarkColumn(column);
}

void CTextTableModel::setCellText(int r, int m, const std::string& text, bool modified)
{
    if (!row(r) || m < 0 || m >= languageCount())
        return;
    TextTableRow& target = table_.rows[static_cast<std::size_t>(r)];
    target.translations[static_cast<std::size_t>(m)] = text;
    target.modified[static_cast<std::size_t>(m)] = modified;
    emitRowChanged(r);
}

void CTextTableModel::setExcluded(int r, bool excluded)
{
    if (!row(r))
        return;
    table_.rows[static_cast<std::size_t>(r)].excluded = excluded;
    emitRowChanged(r);
}

void CTextTableModel::markCell(int r, int column)
{
    if (!row(r) || column < 0 || column >= columnCount() || isMarked(r, column))
        return;
    marks_[static_cast<std::size_t>(r)].push_back(column);
    const QModelIndex cell = index(r, column);
    emit dataChanged(cell, cell, {MarkRole});
}

void CTextTableModel::markCells(const std::vector<std::pair<int, int>>& cells)
{
    bool any = false;
    for (const auto& [r, column] : cells) {
        if (!row(r) || column < 0 || column >= columnCount() || isMarked(r, column))
            continue;
        marks_[static_cast<std::size_t>(r)].push_back(column);
        any = true;
    }
    if (any)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {MarkRole});
}

void CTextTableModel::clearMarks()
{
    for (auto& m : marks_)
        m.clear();
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {MarkRole});
}

void CTextTableModel::dropMarkColumn(int column)
{
    // Marks right of a removed column move one to the left with their column.
    for (auto& m : marks_) {
        m.erase(std::remove(m.begin(), m.end(), column), m.end());
        for (int& c : m)
            if (c > column)
                --c;
    }
}

bool CTextTableModel::hasMarks() const
{
    return std::any_of(marks_.begin(), marks_.end(), [](const std::vector<int>& m) { return !m.empty(); });
}

bool CTextTableModel::isMarked(int r, int column) const
{
    if (r < 0 || r >= static_cast<int>(marks_.size()))
        return false;
    const auto& m = marks_[static_cast<std::size_t>(r)];
    return std::find(m.begin(), m.end(), column) != m.end();
}

void CTextTableModel::emitRowChanged(int r)
{
    emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}

}  // namespace qln
