#include "project/LayoutEditing.h"

#include <algorithm>
#include <cmath>

namespace qln {
namespace {

constexpr int kMinDialogUnits = 10;  // dialog width and height
constexpr int kMinControlUnits = 6;  // control width and height dragged with the mouse
constexpr int kMinControlPixels = 6; // control width and height nudged with the keyboard

int RoundHalfUp(double v)
{
    return static_cast<int>(std::floor(v + 0.5));
}

// A size may not become smaller than the minimum; one that already is may
// still grow, and a control only moved keeps whatever size it has (thin
// separator lines must stay movable).
bool SizeAllowed(int newSize, int oldSize, int minimum)
{
    return newSize >= minimum || newSize >= oldSize;
}

bool RectAllowed(const DialogUnitRect& r, const DialogUnitRect& old)
{
    return r.x >= 0 && r.y >= 0 && SizeAllowed(r.cx, old.cx, kMinControlUnits) &&
           SizeAllowed(r.cy, old.cy, kMinControlUnits);
}

// The rectangle a handle makes of `r` with the pointer at `p` (moving: by `delta`).
DialogUnitRect Dragged(DialogUnitRect r, TrackerHandle handle, DialogUnitPoint p, DialogUnitPoint delta)
{
    const auto leftEdge = [&] { r.cx = r.x + r.cx - p.x; r.x = p.x; };
    const auto topEdge = [&] { r.cy = r.y + r.cy - p.y; r.y = p.y; };
    const auto width = [&] { r.cx = p.x - r.x; };
    const auto height = [&] { r.cy = p.y - r.y; };
    switch (handle) {
    case TrackerHandle::TopLeft: leftEdge(); topEdge(); break;
    case TrackerHandle::TopRight: topEdge(); width(); break;
    case TrackerHandle::BottomRight: width(); height(); break;
    case TrackerHandle::BottomLeft: leftEdge(); height(); break;
    case TrackerHandle::Top: topEdge(); break;
    case TrackerHandle::Right: width(); break;
    case TrackerHandle::Bottom: height(); break;
    case TrackerHandle::Left: leftEdge(); break;
    case TrackerHandle::Move: r.x += delta.x; r.y += delta.y; break;
    }
    return r;
}

EditOutcome DragDialog(DialogLayout& layout, TrackerHandle handle, DialogUnitPoint p)
{
    DialogSize size = layout.currentSize();
    const DialogSize old = size;
    if (handle == TrackerHandle::Right || handle == TrackerHandle::BottomRight)
        size.cx = p.x;
    if (handle == TrackerHandle::Bottom || handle == TrackerHandle::BottomRight)
        size.cy = p.y;
    if (!SizeAllowed(size.cx, old.cx, kMinDialogUnits) || !SizeAllowed(size.cy, old.cy, kMinDialogUnits))
        return {false, true};
    layout.setCurrentSize(size);
    return {!(size == old), false};
}

}  // namespace

DialogPixelMapping DialogPixelMapping::For(const BaseUnits& units, const DialogSize& sourceSize, bool hasCaption)
{
    DialogPixelMapping m;
    m.units = units;
    m.captionHeight = hasCaption ? units.toPixelsY(kCaptionUnits) : 0;
    m.scaleX = sourceSize.cx > 0 ? double(units.toPixelsX(sourceSize.cx)) / sourceSize.cx : units.x / 4.0;
    m.scaleY = sourceSize.cy > 0 ? double(units.toPixelsY(sourceSize.cy)) / sourceSize.cy : units.y / 8.0;
    return m;
}

PixelRect DialogPixelMapping::toClientPixels(const DialogUnitRect& r) const
{
    const int left = units.toPixelsX(r.x), top = units.toPixelsY(r.y);
    return {left, top, units.toPixelsX(r.x + r.cx) - left, units.toPixelsY(r.y + r.cy) - top};
}

PixelRect DialogPixelMapping::toPixels(const DialogUnitRect& r) const
{
    PixelRect p = toClientPixels(r);
    p.left += kOffset - scrollX;
    p.top += kOffset + captionHeight - scrollY;
    return p;
}

DialogUnitPoint DialogPixelMapping::toDialogUnits(PixelPoint p) const
{
    return {RoundHalfUp((p.x + scrollX - kPointerOffset) / scaleX),
            RoundHalfUp((p.y + scrollY - captionHeight - kPointerOffset) / scaleY)};
}

EditOutcome Nudge(DialogLayout& layout, const DialogPixelMapping& mapping, int dx, int dy, int dcx, int dcy)
{
    if (layout.selection().empty()) {
        if (dcx == 0 && dcy == 0)
            return {};
        const DialogSize old = layout.currentSize();
        const DialogSize size{old.cx + dcx, old.cy + dcy};
        if (!SizeAllowed(size.cx, old.cx, kMinDialogUnits) || !SizeAllowed(size.cy, old.cy, kMinDialogUnits))
            return {false, true};
        layout.setCurrentSize(size);
        return {true, false};
    }
    const std::vector<std::size_t> selection = layout.selection();
    if (dcy != 0 && std::any_of(selection.begin(), selection.end(),
                                [&](std::size_t i) { return layout.controls()[i].comboBox; }))
        return {};
    EditOutcome outcome;
    for (std::size_t i : selection) {
        const DialogUnitRect old = layout.controls()[i].current;
        const DialogUnitRect r{old.x + dx, old.y + dy, old.cx + dcx, old.cy + dcy};
        const PixelRect now = mapping.toClientPixels(r), before = mapping.toClientPixels(old);
        if (now.left < 0 || now.top < 0 || (dcx != 0 && !SizeAllowed(now.width, before.width, kMinControlPixels)) ||
            (dcy != 0 && !SizeAllowed(now.height, before.height, kMinControlPixels))) {
            outcome.beep = true;
            break;
        }
        layout.setCurrentRect(i, r);
        outcome.changed = true;
    }
    return outcome;
}

std::vector<TrackerHandle> AvailableHandles(const DialogLayout& layout)
{
    const auto& selection = layout.selection();
    if (selection.empty())
        return {TrackerHandle::Right, TrackerHandle::BottomRight, TrackerHandle::Bottom};
    if (selection.size() > 1)
        return {TrackerHandle::Move};
    if (layout.controls()[selection.front()].comboBox)
        return {TrackerHandle::Left, TrackerHandle::Right, TrackerHandle::Move};
    return {TrackerHandle::TopLeft, TrackerHandle::Top,        TrackerHandle::TopRight,
            TrackerHandle::Right,   TrackerHandle::BottomRight, TrackerHandle::Bottom,
            TrackerHandle::BottomLeft, TrackerHandle::Left,    TrackerHandle::Move};
}

bool HandleAvailable(const DialogLayout& layout, TrackerHandle handle)
{
    const std::vector<TrackerHandle> handles = AvailableHandles(layout);
    return std::find(handles.begin(), handles.end(), handle) != handles.end();
}

EditOutcome Drag(DialogLayout& layout, TrackerHandle handle, DialogUnitPoint anchor, DialogUnitPoint pointer)
{
    if (!HandleAvailable(layout, handle))
        return {};
    if (layout.selection().empty())
        return DragDialog(layout, handle, pointer);
    const DialogUnitPoint delta{pointer.x - anchor.x, pointer.y - anchor.y};
    std::vector<DialogUnitRect> moved;
    for (std::size_t i : layout.selection()) {
        const DialogUnitRect& old = layout.controls()[i].current;
        const DialogUnitRect r = Dragged(old, handle, pointer, delta);
        if (!RectAllowed(r, old))
            return {false, true};
        moved.push_back(r);
    }
    EditOutcome outcome;
    for (std::size_t k = 0; k < moved.size(); ++k) {
        const std::size_t i = layout.selection()[k];
        outcome.changed = outcome.changed || !SameRect(layout.controls()[i].current, moved[k]);
        layout.setCurrentRect(i, moved[k]);
    }
    return outcome;
}

std::optional<std::size_t> SmallestContaining(const std::vector<PixelRect>& rects, PixelPoint p)
{
    std::optional<std::size_t> best;
    long long bestArea = 0;
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const long long area = static_cast<long long>(rects[i].width) * rects[i].height;
        if (rects[i].contains(p) && (!best || area < bestArea)) {
            best = i;
            bestArea = area;
        }
    }
    return best;
}

std::optional<std::size_t> ControlAt(const DialogLayout& layout, const DialogPixelMapping& mapping, PixelPoint p)
{
    std::vector<PixelRect> rects;
    for (const LayoutControl& c : layout.controls())
        rects.push_back(mapping.toPixels(c.current));
    return SmallestContaining(rects, p);
}

}  // namespace qln
