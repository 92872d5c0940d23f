#include "views/TextTableDelegate.h"

#include "views/TextListView.h"
#include "views/TextTableModel.h"

#include <QPainter>

namespace qln {

namespace {
const QColor kLightGrey(192, 192, 192);
const QColor kGrey(128, 128, 128);
const QColor kRed(255, 0, 0);

// The 7 x 7 find mark at a cell's top-left corner, one pixel below the top.
void DrawMark(QPainter* painter, const QRect& cell)
{
    const QRect mark(cell.left() + 1, cell.top() + 1, 7, 7);
    painter->setPen(QColor(0, 0, 128));
    painter->setBrush(QColor(0, 0, 255));
    painter->drawEllipse(mark.adjusted(0, 0, -1, -1));
}
}  // namespace

CTextTableDelegate::CTextTableDelegate(CTextListView* view) : QStyledItemDelegate(view), view_(view) {}

void CTextTableDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int column = index.column();
    const QRect cell = option.rect;
    const bool excluded = index.data(CTextTableModel::ExcludedRole).toBool();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const bool focused = view_->hasFocus();
    const QPalette& pal = option.palette;
    const bool sourceSelected = view_->sourceSelected();
    const bool currentCell = column == view_->currentColumn();

    // Background; the selected row shows which cell is being edited.
    QColor background = pal.color(QPalette::Base);
    bool highlighted = false;
    if (selected) {
        if (column == CTextTableModel::IdColumn) {
            background = kLightGrey;
        } else if (column == CTextTableModel::SourceColumn) {
            highlighted = focused && sourceSelected;
            background = highlighted ? pal.color(QPalette::Highlight) : kLightGrey;
        } else if (currentCell) {
            highlighted = focused && !sourceSelected;
            background = highlighted ? pal.color(QPalette::Highlight) : kLightGrey;
        }
    }
    painter->save();
    painter->fillRect(cell, background);

    const QString text = index.data(Qt::DisplayRole).toString();
    const QRect textRect = cell.adjusted(6, 0, -6, 0);
    if (column >= CTextTableModel::FirstLangColumn && excluded) {
        painter->setPen(kGrey);
        painter->drawLine(cell.topLeft(), cell.bottomRight());
        painter->drawLine(cell.bottomLeft(), cell.topRight());
    } else {
        QColor colour = pal.color(QPalette::Text);
        if (highlighted)
            colour = pal.color(QPalette::HighlightedText);
        else if (index.data(CTextTableModel::ModifiedRole).toBool())
            colour = kRed;
        else if (excluded)
            colour = kGrey;
        const QFont font = column == CTextTableModel::IdColumn ? option.font : view_->columnFont(column);
        painter->setFont(font);
        painter->setPen(colour);
        const QString shown = QFontMetrics(font).elidedText(QString(text).replace('\n', ' '), Qt::ElideRight,
                                                            textRect.width());
        painter->drawText(column == CTextTableModel::IdColumn ? cell.adjusted(2, 0, -2, 0) : textRect,
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    }

    // Group separators along the top edge, the grid at the right edge.
    const int group = index.data(CTextTableModel::GroupMarkRole).toInt();
    if (group != 0) {
        painter->setPen(group == 1 ? QColor(Qt::black) : kLightGrey);
        painter->drawLine(cell.topLeft(), cell.topRight());
    }
    painter->setPen(Qt::black);
    painter->drawLine(cell.topRight(), cell.bottomRight());
    if (column >= CTextTableModel::SourceColumn && index.data(CTextTableModel::MarkRole).toBool())
        DrawMark(painter, cell);
    painter->restore();
}

}  // namespace qln
