#pragma once
// The marks the layout editor draws on a control (or the dialog) whose
// layout differs from the source: one for a layout of this language, one for
// a layout whose source changed after it was saved (its Modified mark).

#include <QPoint>

class QPainter;

namespace qln {

inline constexpr int kLayoutMarkSize = 9;

// The mark with its top-left corner at `at`.
void PaintLayoutMark(QPainter& painter, const QPoint& at, bool sourceChanged);

}  // namespace qln
