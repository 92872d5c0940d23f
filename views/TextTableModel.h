#pragma once
// The text table's model: a thin layer over the core's row vector. data()
// reads memory only; every change to a row is one dataChanged.

#include "project/TextTable.h"

#include <QAbstractTableModel>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace qln {

class CTextTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Column 0 is the Id, 1 the source text, 2 + m the m-th language.
    static constexpr int IdColumn = 0;
    static constexpr int SourceColumn = 1;
    static constexpr int FirstLangColumn = 2;

    enum Role {
        ExcludedRole = Qt::UserRole + 1,  // bool: the row is excluded
        ModifiedRole,                     // bool: the cell's language is marked modified
        GroupMarkRole,                    // int: 0, 1 or 2
        MarkRole,                         // bool: the cell carries a find mark
        CategoryRole,                     // int: the row's display category
        LineIndexRole,                    // int: the row's LineIndex
    };

    explicit CTextTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Replaces every row and column.
    void setTable(TextTable table, QString sourceHeader);
    const TextTable& table() const { return table_; }
    const TextTableRow* row(int r) const;
    int languageCount() const { return static_cast<int>(table_.languages.size()); }

    // Puts rows in at position `at`, in their order.
    void insertTextRows(int at, std::vector<TextTableRow> rows);
    // Removes every row the predicate holds for; returns how many.
    int removeRowsWhere(const std::function<bool(const TextTableRow&)>& predicate);
    int rowOfLine(std::int32_t lineIndex) const;

    void addLanguage(const TextTableLanguage& language);
    void removeLanguage(int languageIndex);

    // After a store: the text (script form) and the language's modified state.
    void setCellText(int row, int languageIndex, const std::string& text, bool modified);
    void setExcluded(int row, bool excluded);

    // Find marks ("blue points") per row and column.
    void markCell(int row, int column);
    // Sets many marks with one change notification: (row, column) pairs.
    void markCells(const std::vector<std::pair<int, int>>& cells);
    void clearMarks();
    void dropMarkColumn(int column);
    bool hasMarks() const;
    bool isMarked(int row, int column) const;

private:
    void emitRowChanged(int row);

    TextTable table_;
    QString sourceHeader_;
    std::vector<std::vector<int>> marks_;  // parallel to table_.rows
};

}  // namespace qln
