#pragma once
// Draws the text table's cells: the selected row with its current cell, the
// colours of modified and excluded texts, crossed-out excluded cells, group
// separators, the grid and the find marks.

#include <QStyledItemDelegate>

namespace qln {

class CTextListView;

class CTextTableDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CTextTableDelegate(CTextListView* view);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CTextListView* view_;
};

}  // namespace qln
