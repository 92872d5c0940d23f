#pragma once
// The layout editor in the workbench: Edit Dialog Layout toggles the active
// preview's edit mode, the "Pos. & Size" dock shows its selection (closing
// the dock ends edit mode), and Undo, Save, Select All and Set to Original
// Size act on it; the mode pane shows "Edit" while edit mode is on.

namespace qln {

class CEditDynDlgDoc;
class CEditDynDlgView;
class CMainFrame;

// Connects the commands and the dock; once per frame.
void ConnectLayoutEditor(CMainFrame& frame);
// Follows one preview's edit mode and changes (title, dock, commands).
void ConnectEditPreview(CMainFrame& frame, CEditDynDlgDoc& doc);
// The active preview's editor, if the active sub-window is one.
CEditDynDlgView* ActiveLayoutEditor(const CMainFrame& frame);
// Save while the active preview edits a layout: saves that layout. False
// when Save is the project's.
bool SaveActiveLayout(CMainFrame& frame);

}  // namespace qln
