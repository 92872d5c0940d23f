#pragma once
// The resource tree in the workbench: each project's tree in the left pane
// of its child frame, following the project's text table; its requests
// (translate, view a dialog, a menu or a bitmap) reach the translation bar
// and the views, in the table's language.

namespace qln {

class CChildFrame;
class CMainFrame;
class CResTreeView;
class CTesselDoc;
class CTextListView;

// Creates the project's tree beside its table (before the frame is added).
CResTreeView* AttachResourceTree(CMainFrame& frame, CChildFrame& child, CTesselDoc& doc, CTextListView& table);
// Selects the dialog's text in the table (the item's, else the dialog's first
// shown text) and opens the dialog's preview; false when none is shown.
bool OpenTreeDialog(CMainFrame& frame, CTextListView& table, int dialogLine, int itemLine);

}  // namespace qln
