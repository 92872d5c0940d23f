#pragma once
// Edit > Find, Find Next, Replace, Remove Marks and Bookmark in the
// workbench: the dialogs on the active project's text table, with the
// recent texts and options kept in the settings, and bookmarks followed
// into the text table or into the view they were made in.

#include "views/BookmarkDialog.h"

#include <functional>
#include <string_view>

namespace qln {

class CMainFrame;
class CTesselDoc;
class CTextListView;

// Connects the commands; once per frame.
void ConnectFindCommands(CMainFrame& frame);
// Connects a new table of a project: its messages, its "Bookmark..."
// context command and the state of Find Next and Remove Marks.
void AttachFindCommands(CMainFrame& frame, CTesselDoc& doc, CTextListView& view);

// Opens the "Bookmark" dialog for an item of the active project (the
// dialog, menu and bitmap views call this with their current item) and
// follows the bookmark chosen with "Go To".
void OpenBookmarkDialog(CMainFrame& frame, const BookmarkItem& item);

// Opens a view ("Dialog", "Menu", "Bitmap") at a resolved bookmark, in its
// language (none: the source); false when it could not. The views register
// themselves; without one the bookmark leads to the text table ("Dialog"
// previews the table's row there).
using BookmarkViewOpener = std::function<bool(CMainFrame&, const BookmarkTarget&)>;
void SetBookmarkViewOpener(std::string_view window, BookmarkViewOpener opener);

// Goes to a bookmark read from the active project: the missing-translation
// message, the text table, or the bookmark's view.
void FollowBookmark(CMainFrame& frame, const Bookmark& bookmark);

}  // namespace qln
