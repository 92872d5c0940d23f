#include "views/MenuStateIcons.h"

#include "project/TextTable.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qln {
namespace {

constexpr int kSize = 16;

QColor StateColour(MenuItemState state)
{
    switch (state) {
    case MenuItemState::Excluded: return {128, 128, 128};
    case MenuItemState::Source: return {40, 40, 40};
    case MenuItemState::Modified: return {220, 0, 0};
    case MenuItemState::Translated: return {0, 140, 0};
    case MenuItemState::NotTranslated: return {0, 0, 230};
    }
    return Qt::black;
}

void DrawFolder(QPainter& p, const QColor& colour)
{
    QPainterPath path;
    path.moveTo(1.5, 3.5);
    path.lineTo(6.5, 3.5);
    path.lineTo(8, 5.5);
    path.lineTo(14.5, 5.5);
    path.lineTo(14.5, 13.5);
    path.lineTo(1.5, 13.5);
    path.closeSubpath();
    p.setPen(QPen(colour.darker(130), 1));
    p.setBrush(colour.lighter(160));
    p.drawPath(path);
    p.fillRect(QRectF(2, 7, 12, 6), colour);
}

void DrawEntry(QPainter& p, const QColor& colour)
{
    p.setPen(QPen(colour.darker(130), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 4.5, 13, 8));
    p.fillRect(QRectF(3, 7, 7, 3), colour);
}

// What tells the state apart besides the colour.
void DrawMark(QPainter& p, MenuItemState state)
{
    p.setRenderHint(QPainter::Antialiasing);
    switch (state) {
    case MenuItemState::Excluded:  // crossed out
        p.setPen(QPen(QColor(90, 90, 90), 1.6));
        p.drawLine(QPointF(10, 10), QPointF(15, 15));
        p.drawLine(QPointF(15, 10), QPointF(10, 15));
        break;
    case MenuItemState::Modified:  // an exclamation mark
        p.setPen(QPen(QColor(220, 0, 0), 2));
        p.drawLine(QPointF(13, 8), QPointF(13, 12.5));
        p.drawPoint(QPointF(13, 15));
        break;
    case MenuItemState::Translated:  // a tick
        p.setPen(QPen(QColor(0, 140, 0), 2));
        p.drawLine(QPointF(9.5, 12), QPointF(11.5, 14.5));
        p.drawLine(QPointF(11.5, 14.5), QPointF(15, 9));
        break;
    case MenuItemState::Source:
    case MenuItemState::NotTranslated:
        break;
    }
}

QIcon Draw(int category, MenuItemState state)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QColor colour = StateColour(state);
    if (category == category::PopupMenu)
        DrawFolder(p, colour);
    else
        DrawEntry(p, colour);
    DrawMark(p, state);
    p.end();
    return QIcon(pixmap);
}

}  // namespace

QIcon MenuStateIcon(int category, MenuItemState state)
{
    return Draw(category, state);
}

}  // namespace qln
