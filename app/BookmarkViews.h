#pragma once
// Bookmarks in the dialog preview, the menu view and the bitmap view: the
// item each view hands to the "Bookmark" dialog (its window name, its line
// and the language it shows), and the openers that follow a bookmark back
// into that view and language.

#include "views/BookmarkDialog.h"

#include <cstdint>
#include <optional>

namespace qln {

class CDynBitmapView;
class CDynDlgView;
class CDynMenuView;
class CMainFrame;

// A control (or the caption) of the preview; the dialog itself when the
// line is none of its texts.
BookmarkItem DialogBookmarkItem(const CDynDlgView& view, std::int32_t line);
// A node of the menu view; the menu itself when the line is no node.
BookmarkItem MenuBookmarkItem(const CDynMenuView& view, std::int32_t line);
BookmarkItem BitmapBookmarkItem(const CDynBitmapView& view);

// The current item of the active dialog preview, menu view or bitmap view;
// nothing when none of them is the active window.
std::optional<BookmarkItem> ActiveViewBookmarkItem(CMainFrame& frame);

// Lets "Go To" open the dialog preview, the menu view and the bitmap view.
void RegisterBookmarkViewOpeners();

}  // namespace qln
