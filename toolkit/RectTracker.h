#pragma once
// A rectangle tracker: the outline of a rectangle with square handles on its
// corners and edge midpoints, which of them a point hits, and the cursor
// each shows. The owner decides which handles a rectangle offers and what a
// drag does.

#include <QCursor>
#include <QRect>

#include <optional>
#include <vector>

class QPainter;

namespace qln {

class RectTracker {
public:
    enum class Handle { TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left, Move };
    static constexpr int kHandleSize = 7;

    RectTracker(const QRect& rect, std::vector<Handle> handles);

    const QRect& rect() const { return rect_; }
    const std::vector<Handle>& handles() const { return handles_; }
    bool offers(Handle handle) const;

    // The square of a sizing handle, centred on the rectangle's outline.
    QRect handleRect(Handle handle) const;
    // The handle under a point: a sizing handle first, then Move anywhere
    // inside the outline and its handle band (when offered).
    std::optional<Handle> handleAt(const QPoint& point) const;
    static Qt::CursorShape cursorFor(Handle handle);

    // The dotted outline just outside the rectangle and, unless
    // `outlineOnly`, the offered sizing handles.
    void paint(QPainter& painter, bool outlineOnly = false) const;

private:
    QRect rect_;
    std::vector<Handle> handles_;
};

}  // namespace qln
