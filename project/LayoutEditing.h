#pragma once
// The rules of the layout editor: dialog units to pixels and back, keyboard
// nudges, and the handles the mouse drags. Every refused change leaves the
// rectangle as it was and asks for a beep.

#include "project/DialogFonts.h"
#include "project/DialogLayout.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace qln {

struct PixelPoint {
    int x = 0, y = 0;
};

struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool contains(PixelPoint p) const
    {
        return p.x >= left && p.x < left + width && p.y >= top && p.y < top + height;
    }
};

struct DialogUnitPoint {
    int x = 0, y = 0;
};

// Where a dialog lies in its view: the base units of the view's template
// font, the caption strip above the client area, the scroll position.
struct DialogPixelMapping {
    static constexpr int kOffset = 5;         // dialog frame inside the view
    static constexpr int kPointerOffset = 7;  // the same, as the pointer conversion counts it
    static constexpr int kCaptionUnits = 12;  // height of the caption strip

    BaseUnits units;
    int captionHeight = 0;  // pixels; 0 without caption
    int scrollX = 0, scrollY = 0;
    double scaleX = 1.5, scaleY = 1.625;  // pixels per dialog unit

    // Scale factors from the dialog frame (0, 0, cx, cy) of the source size.
    static DialogPixelMapping For(const BaseUnits& units, const DialogSize& sourceSize, bool hasCaption);

    // A rectangle relative to the dialog's client area, unscrolled.
    PixelRect toClientPixels(const DialogUnitRect& r) const;
    // In view coordinates: offset by (5, caption height + 5), minus the scroll position.
    PixelRect toPixels(const DialogUnitRect& r) const;
    // The pointer's view position in dialog units (half units round up).
    DialogUnitPoint toDialogUnits(PixelPoint p) const;
};

// What an edit did: something changed, and/or the system should beep.
struct EditOutcome {
    bool changed = false;
    bool beep = false;
    bool operator==(const EditOutcome&) const = default;
};

// Moves or resizes the selection by deltas in dialog units, or with nothing
// selected resizes the dialog (never below 10 units). A combo box's height
// is never changed: such a command does nothing. Controls are handled in
// selection order; one that would leave the dialog's top-left or become 5
// pixels or less wide or high stops the command with a beep, the controls
// before it keep their change.
EditOutcome Nudge(DialogLayout& layout, const DialogPixelMapping& mapping, int dx, int dy, int dcx, int dcy);

enum class TrackerHandle { TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left, Move };

// The handles the selection offers: one control all eight and moving (a
// combo box only its left and right edge and moving), several controls only
// moving, nothing selected the dialog frame's right, bottom and bottom-right.
std::vector<TrackerHandle> AvailableHandles(const DialogLayout& layout);
bool HandleAvailable(const DialogLayout& layout, TrackerHandle handle);

// One mouse move with a handle held, from the anchor to the pointer (both in
// dialog units). Edges follow the pointer, moving adds its delta; a result
// with negative x or y or a size under 6 units (dialog: 10) is refused. Several
// selected controls move together or not at all. When the change is accepted
// the pointer becomes the new anchor.
EditOutcome Drag(DialogLayout& layout, TrackerHandle handle, DialogUnitPoint anchor, DialogUnitPoint pointer);

// The smallest of the rectangles that contains the point (the first of equals).
std::optional<std::size_t> SmallestContaining(const std::vector<PixelRect>& rects, PixelPoint p);
// The smallest control whose rectangle contains the view point.
std::optional<std::size_t> ControlAt(const DialogLayout& layout, const DialogPixelMapping& mapping, PixelPoint p);

}  // namespace qln
