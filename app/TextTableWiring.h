#pragma once
// The text table in the workbench: each project's table in the right pane
// of its child frame, the translation bar docked in the main window editing
// the active table's row, the Edit menu's table commands, Undo and Redo, the
// status panes and the language list following the active table.

namespace qln {

class CChildFrame;
class CMainFrame;
class CTesselDoc;
class CTextListView;

// Creates the project's table in the child frame (before the frame is added).
CTextListView* AttachTextTable(CMainFrame& frame, CChildFrame& child, CTesselDoc& doc);
// The table of the active project window, if any.
CTextListView* ActiveTextTable(CMainFrame& frame);
// Connects the main window's commands to whichever table is active; once per frame.
void ConnectTextTableCommands(CMainFrame& frame);

}  // namespace qln
