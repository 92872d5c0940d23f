#include "toolkit/RectTracker.h"

#include <QPainter>

#include <algorithm>

namespace qln {

RectTracker::RectTracker(const QRect& rect, std::vector<Handle> handles) : rect_(rect), handles_(std::move(handles))
{
}

bool RectTracker::offers(Handle handle) const
{
    return std::find(handles_.begin(), handles_.end(), handle) != handles_.end();
}

QRect RectTracker::handleRect(Handle handle) const
{
    const QRect r = rect_.adjusted(-1, -1, 1, 1);
    const int left = r.left(), right = r.right() + 1, top = r.top(), bottom = r.bottom() + 1;
    const int midX = (left + right) / 2, midY = (top + bottom) / 2;
    QPoint centre;
    switch (handle) {
    case Handle::TopLeft: centre = {left, top}; break;
    case Handle::Top: centre = {midX, top}; break;
    case Handle::TopRight: centre = {right, top}; break;
    case Handle::Right: centre = {right, midY}; break;
    case Handle::BottomRight: centre = {right, bottom}; break;
    case Handle::Bottom: centre = {midX, bottom}; break;
    case Handle::BottomLeft: centre = {left, bottom}; break;
    case Handle::Left: centre = {left, midY}; break;
    case Handle::Move: return rect_;
    }
    return {centre.x() - kHandleSize / 2, centre.y() - kHandleSize / 2, kHandleSize, kHandleSize};
}

std::optional<RectTracker::Handle> RectTracker::handleAt(const QPoint& point) const
{
    for (Handle h : handles_)
        if (h != Handle::Move && handleRect(h).contains(point))
            return h;
    const int band = kHandleSize / 2 + 1;
    if (offers(Handle::Move) && rect_.adjusted(-band, -band, band, band).contains(point))
        return Handle::Move;
    return std::nullopt;
}

Qt::CursorShape RectTracker::cursorFor(Handle handle)
{
    switch (handle) {
    case Handle::TopLeft: case Handle::BottomRight: return Qt::SizeFDiagCursor;
    case Handle::TopRight: case Handle::BottomLeft: return Qt::SizeBDiagCursor;
    case Handle::Top: case Handle::Bottom: return Qt::SizeVerCursor;
    case Handle::Left: case Handle::Right: return Qt::SizeHorCursor;
    case Handle::Move: return Qt::SizeAllCursor;
    }
    return Qt::ArrowCursor;
}

void RectTracker::paint(QPainter& painter, bool outlineOnly) const
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(rect_.adjusted(-1, -1, 0, 0));
    if (!outlineOnly) {
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(Qt::black);
        for (Handle h : handles_)
            if (h != Handle::Move)
                painter.drawRect(handleRect(h).adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

}  // namespace qln
