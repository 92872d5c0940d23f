#include "views/CheckResultsModel.h"

#include "rcscript/Messages.h"

#include <QBrush>
#include <QColor>

namespace qln {
namespace {

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void CCheckResultsModel::setFindings(std::vector<checks::Finding> findings)
{
    beginResetModel();
    findings_ = std::move(findings);
    endResetModel();
}

const checks::Finding* CCheckResultsModel::finding(int row) const
{
    return row >= 0 && row < static_cast<int>(findings_.size()) ? &findings_[static_cast<std::size_t>(row)] : nullptr;
}

int CCheckResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(findings_.size());
}

int CCheckResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CCheckResultsModel::data(const QModelIndex& index, int role) const
{
    const checks::Finding* f = index.isValid() ? finding(index.row()) : nullptr;
    if (!f)
        return {};
    if (role == Qt::ForegroundRole && index.column() == Severity)
        return f->severity == checks::Severity::Error     ? QBrush(QColor(176, 0, 0))
               : f->severity == checks::Severity::Warning ? QBrush(QColor(160, 96, 0))
                                                          : QBrush(QColor(96, 96, 96));
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case Severity: return Text(checks::SeverityName(f->severity));
    case Check: return Text(f->check);
    case Resource: return Text(f->resourceIdent + " / " + f->itemType);
    case Id: return Text(f->idText);
    case Source: return Text(f->sourceText);
    case Translation: return Text(f->translation);
    case Message: return Text(f->message);
    default: return {};
    }
}

QVariant CCheckResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static constexpr std::string_view kHeaders[] = {msg::CheckColumnSeverity, msg::CheckColumnCheck,
                                                    msg::CheckColumnResource, msg::CheckColumnId,
                                                    msg::CheckColumnSource,   msg::CheckColumnTranslation,
                                                    msg::CheckColumnMessage};
    return section >= 0 && section < ColumnCount ? Text(kHeaders[section]) : QVariant();
}

}  // namespace qln
