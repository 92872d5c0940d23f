#pragma once
// The findings of the translation checks as a table: one row per finding,
// in the order the checks report them (script order).

#include "project/TranslationChecks.h"

#include <QAbstractTableModel>

#include <vector>

namespace qln {

class CCheckResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Severity, Check, Resource, Id, Source, Translation, Message, ColumnCount };

    explicit CCheckResultsModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Replaces the findings (one model reset).
    void setFindings(std::vector<checks::Finding> findings);
    const checks::Finding* finding(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<checks::Finding> findings_;
};

}  // namespace qln
