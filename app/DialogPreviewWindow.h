#pragma once
// View > Dialog Resource: the dialog of the text table's current row,
// previewed in the table's current language in a window of its own.

class QMdiSubWindow;

namespace qln {

class CMainFrame;

// Opens the preview for the active table's row; nothing when the row is no
// dialog text. Gives the new window.
QMdiSubWindow* OpenDialogPreview(CMainFrame& frame);
// Connects the command to OpenDialogPreview; once per frame.
void ConnectDialogPreview(CMainFrame& frame);

}  // namespace qln
