#pragma once
// The images of the menu view's nodes, drawn here: a popup is a folder, a
// menu item a small entry line, each in the colour of its translation state
// (grey excluded, dark source, red modified, green translated, blue not yet).

#include "project/MenuView.h"

#include <QIcon>

namespace qln {

// The image of a node kind and state.
QIcon MenuStateIcon(int category, MenuItemState state);

}  // namespace qln
