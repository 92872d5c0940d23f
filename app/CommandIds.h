#pragma once
// Command ids of the workbench's menus and toolbars. The ids are the program's
// own (the same numbers name the commands in help texts and in the bar state).

namespace qln::cmd {

inline constexpr int FileOpen = 57601, ProjectListOpen = 131, ProjectListRemove = 132, FileClose = 57602,
                     FileSave = 32774, RefreshStatus = 32938, RecentFile1 = 57616, AppExit = 57665;
inline constexpr int EditFind = 32777, EditFindNext = 32778, EditReplace = 219, NextItem = 32956,
                     PreviousItem = 32957, VersionBlockHeader = 32971, ShowChangedSource = 32972;
inline constexpr int ShowDialogs = 32981, ShowMenus = 32980, ShowStringtables = 32982, ShowVersionInfo = 32977,
                     ShowBitmaps = 32976, ShowIncludes = 32986, ShowExcluded = 32979, ModifiedOnly = 33001;
inline constexpr int RemoveMarks = 32983, Bookmark = 32969, ExcludeItem = 32978;
// The dialog layout editor.
inline constexpr int EditDialogLayout = 32999, EditUndo = 172, SelectAll = 33000, SetOriginalSize = 33005;
inline constexpr int TranslationNew = 32944, TranslationDelete = 32945, UpdateDatabase = 126,
                     ExportExcel = 32964, ExportDatabase = 32975, ImportText = 32974;
// Translation > Check Translation (an id of our own, above the others).
inline constexpr int CheckTranslation = 33100;
// Translation > Settings: the source text, then one entry per language, in
// the order of CTesselDoc::translations() (the id minus 300 is the text
// table's column: 1 the source text, 2 the first translation).
inline constexpr int SettingsSource = 301, SettingsFirstLanguage = 302, SettingsLastLanguage = 331;
inline constexpr int ViewMenu = 32951, ViewDialog = 32950, ViewBitmap = 32958, ViewStringTable = 32953,
                     ViewToolbars = 32987;
// The dialog preview: the source or the language tool bar's language.
inline constexpr int ViewSourceLanguage = 761, ViewTranslated = 762;
inline constexpr int ConvertDatabase = 32996, CompactDatabase = 33006;
inline constexpr int WindowCascade = 57650, WindowTile = 57651, WindowArrange = 57649;
inline constexpr int HelpTopics = 57667, About = 57664;

// The bars of the main window (CMainFrame::barTable()).
inline constexpr int BarMainToolbar = 59392, BarTranslation = 98, BarProjectFileList = 100, BarStatusbar = 59393,
                     BarLanguageToolbar = 99, BarDialogEdit = 256;

// Panes of the status bar after the message pane.
inline constexpr int PaneLanguage = 3203, PaneMode = 32776, PaneRow = 3204, PaneProgress = 3205;

}  // namespace qln::cmd
