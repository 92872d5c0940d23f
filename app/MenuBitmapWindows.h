#pragma once
// View > Menu Resource and View > Bitmap Resource: a menu or a bitmap of the
// project in a window of its own, in the source or one translation
// language. A second request for the same resource brings its window to the
// front in the asked language.

#include "projectdb/Languages.h"

#include <cstdint>

class QMdiSubWindow;

namespace qln {

class CMainFrame;
class CTextListView;

// Opens (or raises) the view of the menu whose statement is at `menuLine`
// in the active project; language (-1, -1) is the source; the node of
// `selectLine`, when there is one, is selected and becomes the translation
// bar's item. Gives the window, or nothing when the line is no menu of that
// project.
QMdiSubWindow* OpenMenuView(CMainFrame& frame, std::int32_t menuLine, LanguagePair language,
                            std::int32_t selectLine = -1);
// The same for the bitmap text at `bitmapLine`.
QMdiSubWindow* OpenBitmapView(CMainFrame& frame, std::int32_t bitmapLine, LanguagePair language);

// Connects View > Menu Resource, View > Bitmap Resource, String at Table and
// the language tool bar to these views; once per frame.
void ConnectMenuBitmapViews(CMainFrame& frame);
// The table's "View Menu..." and "View Bitmap..." context commands.
void ConnectMenuBitmapRequests(CMainFrame& frame, CTextListView& table);

}  // namespace qln
