#pragma once
// The Qt widget that stands for each window class of a dialog preview: a
// label for a static, the button, edit, combo box, list, scroll bar, spin
// arrows, list and tree views, tab pane, framed animation, slider and
// progress bar; a black frame for an unknown class. Shown, never used: the
// preview's canvas takes every click.

#include "project/DialogPreview.h"

#include <QString>

class QWidget;

namespace qln {

// A new widget for a control, child of `parent`, without geometry yet.
QWidget* MakeControlWidget(const ControlWindow& window, QWidget* parent);
// Puts a text into the widget the way its class shows it (a list view or a
// progress bar shows none).
void SetControlWidgetText(QWidget* widget, const QString& text);
// The text the widget shows (empty for classes that show none).
QString ControlWidgetText(const QWidget* widget);
// The height a closed combo box takes; its script height includes the list.
int ClosedComboHeight(const QWidget* combo);

}  // namespace qln
