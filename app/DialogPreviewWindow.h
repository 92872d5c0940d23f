#pragma once
// The dialog previews in the workbench: View > Dialog Resource (Ctrl+D) opens
// the dialog of the text table's row (a dialog, its caption or a control) in
// the table's language, one preview per dialog and project; the preview's
// commands (source or translated view, next and previous item, String at
// Table), the language tool bar, the status panes and the translation bar
// follow whichever preview is active.

#include "projectdb/Languages.h"

#include <cstdint>

class QMdiSubWindow;

namespace qln {

class CChildFrame;
class CDynDlgView;
class CMainFrame;

// Opens (or raises and switches) the preview of a dialog of the project in
// `child` for a language ((-1, -1): the source); `selectLine`, when it is
// one of the dialog's texts, is selected afterwards. Gives the preview's
// view, or null when the line is no dialog.
CDynDlgView* OpenDialogPreview(CMainFrame& frame, CChildFrame& child, std::int32_t dialogLine, LanguagePair language,
                               std::int32_t selectLine = -1);
// Opens the preview for the active table's row; nothing when the row is no
// dialog text. Gives the preview's window.
QMdiSubWindow* OpenDialogPreview(CMainFrame& frame);
// The preview of the active sub-window, if it is one.
CDynDlgView* ActiveDialogPreview(const CMainFrame& frame);
// Connects the commands; once per frame.
void ConnectDialogPreview(CMainFrame& frame);

}  // namespace qln
