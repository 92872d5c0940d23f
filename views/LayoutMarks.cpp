#include "views/LayoutMarks.h"

#include <QPainter>
#include <QPolygon>

namespace qln {

void PaintLayoutMark(QPainter& painter, const QPoint& at, bool sourceChanged)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect box(at, QSize(kLayoutMarkSize, kLayoutMarkSize));
    // A dark square with a light corner triangle: green for a layout of its
    // own, red when the source changed under it.
    painter.setPen(QColor(0, 0, 0));
    painter.setBrush(sourceChanged ? QColor(220, 0, 0) : QColor(0, 150, 0));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    const QPolygon corner({box.topLeft() + QPoint(2, 2), box.topLeft() + QPoint(6, 2), box.topLeft() + QPoint(2, 6)});
    painter.drawPolygon(corner);
    painter.restore();
}

}  // namespace qln
