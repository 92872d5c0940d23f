#pragma once
// The literal statements: queries the program holds itself rather than the
// database's catalogue. Open them with CProjectDatabase::Open(). Where two
// texts are given, the second is for format versions 6 and 7. Updatable ones
// yield RowKey and name their table (see QueryCatalogue.h).

#include "projectdb/QueryCatalogue.h"

namespace qln::stmt {

// --- Settings and translations ------------------------------------------------

// StrValue, NumValue of a setting; edited to write it.
inline const QueryText Setting{
    "Setting",
    "SELECT rowid AS RowKey, StrValue, NumValue, Lang_Id FROM Settings "
    "WHERE SettingIdent = :SettingIdent AND Lang_Id = :Lang_Id",
    "", "Settings"};

// Code page of a translation; edited to change it. Parameters :Lang_Id, or
// :Lang and :SubLang for versions 6 and 7.
inline const QueryText TranslationCodePage{
    "TranslationCodePage",
    "SELECT rowid AS RowKey, CodePage FROM Translations WHERE Lang_Id = :Lang_Id",
    "SELECT rowid AS RowKey, CodePage FROM Translations WHERE Language = :Lang AND SubLanguage = :SubLang",
    "Translations"};

// Name and stamp of a translation's file (version 8; older ones use the
// stored query FileName); edited after writing the file.
inline const QueryText TranslationFile{
    "TranslationFile",
    "SELECT rowid AS RowKey, FileName, FileTime, FileDate, FileSize, FileStatus FROM Translations "
    "WHERE Lang_Id = :Lang_Id",
    "", "Translations"};

// Display name of a translation (version 8; older ones use the stored query
// Translation); the row is deleted with the translation.
inline const QueryText TranslationName{
    "TranslationName",
    "SELECT rowid AS RowKey, 1 AS Ausdr1, LanguageStr FROM Translations WHERE Lang_Id = :Lang_Id",
    "", "Translations"};

// Every LANGUAGE statement of the source script.
inline const QueryText SourceLanguages{
    "SourceLanguages", "SELECT \"Source File Language\".* FROM \"Source File Language\" ORDER BY rowid", "", ""};

// The source script path stored in a database.
inline const QueryText ProjectSourceFile{
    "ProjectSourceFile", "SELECT SourceFile FROM Project ORDER BY rowid LIMIT 1", "", ""};

// --- Reading the script ---------------------------------------------------------

// All lines in script order.
inline const QueryText LinesInOrder{
    "LinesInOrder", "SELECT ResFileLine.* FROM ResFileLine ORDER BY Line", "", ""};

// Every text with its line kind.
inline const QueryText TextsWithLineKind{
    "TextsWithLineKind",
    "SELECT ResourceText.*, ResFileLine.LineIdentSym FROM ResourceText "
    "JOIN ResFileLine ON ResFileLine.LineIndex = ResourceText.LineIndex",
    "", ""};

// A row when the script has include-file lines (kinds 9 and 10) among its old lines.
inline const QueryText HasIncludeLines{
    "HasIncludeLines",
    "SELECT 1 AS Ausdr1 FROM ResFileLine JOIN ResourceText ON ResourceText.LineIndex = ResFileLine.LineIndex "
    "WHERE ResFileLine.LineIdentSym IN (9, 10) AND ResFileLine.Added = 0 LIMIT 1",
    "", ""};

// The exclusion flag of one text; edited to set it.
inline const QueryText TextExclude{
    "TextExclude", "SELECT rowid AS RowKey, Exclude FROM ResourceText WHERE LineIndex = :LineIndex", "",
    "ResourceText"};

// --- Identifier lists and links to the enclosing statement ------------------------

inline const QueryText StringIdents{
    "StringIdents", "SELECT LineIndex, Name_ID FROM StringtableString", "", ""};
inline const QueryText BitmapIdents{"BitmapIdents", "SELECT LineIndex, Name_ID FROM Bitmap", "", ""};
// Menu items with a command identifier (line kind 4).
inline const QueryText MenuItemIdents{
    "MenuItemIdents",
    "SELECT MenuItem.Name_ID, MenuItem.LineIndex FROM ResFileLine "
    "JOIN MenuItem ON MenuItem.LineIndex = ResFileLine.LineIndex WHERE ResFileLine.LineIdentSym = 4",
    "", ""};
// Dialog controls (source rows).
inline const QueryText ControlIdents{
    "ControlIdents", "SELECT Name_ID, LineIndex FROM DialogControl WHERE Lang_Id = 0",
    "SELECT Name_ID, LineIndex FROM DialogControl", ""};
inline const QueryText CaptionDialogs{"CaptionDialogs", "SELECT LineIndex, DlgLine FROM DlgCaption", "", ""};
inline const QueryText ItemMenus{"ItemMenus", "SELECT LineIndex, MenuLine FROM MenuItem", "", ""};
inline const QueryText ControlDialogs{
    "ControlDialogs", "SELECT LineIndex, DlgLine FROM DialogControl WHERE Lang_Id = 0",
    "SELECT LineIndex, DlgLine FROM DialogControl", ""};
inline const QueryText MenuItemLevels{"MenuItemLevels", "SELECT Level, LineIndex FROM MenuItem", "", ""};
// Source rows of all dialogs.
inline const QueryText SourceDialogs{
    "SourceDialogs", "SELECT LineIndex FROM Dialogs WHERE Lang_Id = 0", "SELECT LineIndex FROM Dialogs", ""};
// Version resource of a BLOCK line.
inline const QueryText VersionOfBlock{
    "VersionOfBlock",
    "SELECT Version.Name_ID FROM Version JOIN VersionBlockHeader ON VersionBlockHeader.VersResLine = Version.LineIndex "
    "WHERE VersionBlockHeader.LineIndex = :LineIndex",
    "", ""};
// Version resource of a VALUE line.
inline const QueryText VersionOfValue{
    "VersionOfValue",
    "SELECT Version.Name_ID, Version.LineIndex FROM Version "
    "JOIN VersionBlockValues ON VersionBlockValues.VersResLine = Version.LineIndex "
    "WHERE VersionBlockValues.LineIndex = :LineIndex",
    "", ""};

// --- Resource tree and resource views -----------------------------------------------

// String-table strings with their exclusion flag, in script order.
inline const QueryText StringsWithExclude{
    "StringsWithExclude",
    "SELECT StringtableString.LineIndex, StringtableString.Name_ID, ResourceText.Exclude FROM ResFileLine "
    "JOIN StringtableString ON StringtableString.LineIndex = ResFileLine.LineIndex "
    "JOIN ResourceText ON ResourceText.LineIndex = ResFileLine.LineIndex ORDER BY ResFileLine.Line",
    "", ""};
// BLOCK lines of a version resource (:LineIndex) with their exclusion flag.
inline const QueryText BlocksOfVersion{
    "BlocksOfVersion",
    "SELECT VersionBlockHeader.LineIndex, ResourceText.Exclude FROM VersionBlockHeader "
    "JOIN ResourceText ON ResourceText.LineIndex = VersionBlockHeader.LineIndex "
    "JOIN ResFileLine ON ResFileLine.LineIndex = VersionBlockHeader.LineIndex "
    "WHERE VersionBlockHeader.VersResLine = :LineIndex ORDER BY ResFileLine.Line",
    "", ""};
// VALUE lines of a block (:LineIndex) with name and exclusion flag.
inline const QueryText ValuesOfBlock{
    "ValuesOfBlock",
    "SELECT VersionBlockValues.LineIndex, VersionBlockValues.Value, ResourceText.Exclude FROM VersionBlockValues "
    "JOIN ResourceText ON ResourceText.LineIndex = VersionBlockValues.LineIndex "
    "JOIN ResFileLine ON ResFileLine.LineIndex = VersionBlockValues.LineIndex "
    "WHERE VersionBlockValues.BlockHeaderLine = :LineIndex ORDER BY ResFileLine.Line",
    "", ""};
// Controls of a dialog (:LineIndex) with identifier and exclusion flag, in script order.
inline const QueryText ControlsOfDialog{
    "ControlsOfDialog",
    "SELECT DialogControl.LineIndex, DialogControl.Name_ID, ResourceText.Exclude FROM ResourceText "
    "JOIN DialogControl ON DialogControl.LineIndex = ResourceText.LineIndex "
    "JOIN ResFileLine ON ResFileLine.LineIndex = ResourceText.LineIndex "
    "WHERE DialogControl.DlgLine = :LineIndex AND DialogControl.Lang_Id = 0 ORDER BY ResFileLine.Line",
    "SELECT DialogControl.LineIndex, DialogControl.Name_ID, ResourceText.Exclude FROM ResourceText "
    "JOIN DialogControl ON DialogControl.LineIndex = ResourceText.LineIndex "
    "JOIN ResFileLine ON ResFileLine.LineIndex = ResourceText.LineIndex "
    "WHERE DialogControl.DlgLine = :LineIndex ORDER BY ResFileLine.Line",
    ""};
// Caption of a dialog (:DlgLineIndex), only while its source text is not marked modified.
inline const QueryText CaptionOfDialog{
    "CaptionOfDialog",
    "SELECT ResourceText.SourceText, ResourceText.LineIndex, ResourceText.Exclude FROM DlgCaption "
    "JOIN ResourceText ON ResourceText.LineIndex = DlgCaption.LineIndex "
    "WHERE DlgCaption.DlgLine = :DlgLineIndex AND ResourceText.Modified = 0 "
    "AND EXISTS (SELECT 1 FROM Dialogs WHERE Dialogs.LineIndex = DlgCaption.DlgLine)",
    "", ""};
// Items of a menu (:LineIndex) with identifier, level and exclusion flag, in script order.
inline const QueryText ItemsOfMenu{
    "ItemsOfMenu",
    "SELECT MenuItem.Name_ID, MenuItem.Level, MenuItem.LineIndex, ResourceText.Exclude FROM MenuItem "
    "JOIN ResourceText ON ResourceText.LineIndex = MenuItem.LineIndex "
    "JOIN ResFileLine ON ResFileLine.LineIndex = MenuItem.LineIndex "
    "WHERE MenuItem.MenuLine = :LineIndex ORDER BY ResFileLine.Line",
    "", ""};
// Include-file lines (old lines) with file name and exclusion flag, in script order.
inline const QueryText IncludeLines{
    "IncludeLines",
    "SELECT ResFileLine.LineIndex, ResourceText.SourceText, ResourceText.Exclude FROM ResFileLine "
    "JOIN ResourceText ON ResourceText.LineIndex = ResFileLine.LineIndex "
    "WHERE ResFileLine.LineIdentSym IN (9, 10) AND ResFileLine.Added = 0 ORDER BY ResFileLine.Line",
    "", ""};
// Bitmaps with their exclusion flag, in script order.
inline const QueryText BitmapsWithExclude{
    "BitmapsWithExclude",
    "SELECT Bitmap.LineIndex, Bitmap.Name_ID, ResourceText.Exclude FROM ResFileLine "
    "JOIN Bitmap ON Bitmap.LineIndex = ResFileLine.LineIndex "
    "JOIN ResourceText ON ResourceText.LineIndex = ResFileLine.LineIndex ORDER BY ResFileLine.Line",
    "", ""};

// --- Update ---------------------------------------------------------------------------

// Old lines in script order; renumbered and marked Added = 1 when matched.
inline const QueryText OldLines{
    "OldLines", "SELECT rowid AS RowKey, LineIndex, Line, Added FROM ResFileLine WHERE Added = 0 ORDER BY Line", "",
    "ResFileLine"};
// The old-line menu with identifier :MenuIdent.
inline const QueryText OldMenuByIdent{
    "OldMenuByIdent",
    "SELECT Menu.LineIndex FROM Menu JOIN ResFileLine ON ResFileLine.LineIndex = Menu.LineIndex "
    "WHERE Menu.Name_ID = :MenuIdent AND ResFileLine.Added = 0 ORDER BY ResFileLine.Line",
    "", ""};
// The popup (kind 3) among the old lines of the menu named like the menu line
// :MenuLineIndex whose text equals :SrcText exactly -- only when exactly one
// popup qualifies; two popups with the same text are not matched.
inline const QueryText UniquePopupByText{
    "UniquePopupByText",
    "SELECT LineIndex, Level FROM ("
    " SELECT MenuItem.LineIndex AS LineIndex, MenuItem.Level AS Level, count(*) OVER () AS Matches"
    " FROM Menu AS Given"
    " JOIN Menu ON Menu.Name_ID = Given.Name_ID"
    " JOIN MenuItem ON MenuItem.MenuLine = Menu.LineIndex"
    " JOIN ResFileLine ON ResFileLine.LineIndex = MenuItem.LineIndex"
    " JOIN ResourceText ON ResourceText.LineIndex = MenuItem.LineIndex"
    " WHERE Given.LineIndex = :MenuLineIndex AND ResFileLine.LineIdentSym = 3 AND ResFileLine.Added = 0"
    " AND ResourceText.SourceText = :SrcText COLLATE BINARY) AS Popup "
    "WHERE Matches = 1",
    "", ""};
// Caption of the old-line dialog named like the dialog line :DlgLineIndex.
inline const QueryText OldDialogCaption{
    "OldDialogCaption",
    "SELECT ResourceText.SourceText, ResourceText.LineIndex FROM Dialogs AS Given "
    "JOIN Dialogs ON Dialogs.Name_ID = Given.Name_ID AND Dialogs.Lang_Id = 0 "
    "JOIN DlgCaption ON DlgCaption.DlgLine = Dialogs.LineIndex "
    "JOIN ResourceText ON ResourceText.LineIndex = DlgCaption.LineIndex "
    "JOIN ResFileLine ON ResFileLine.LineIndex = ResourceText.LineIndex "
    "WHERE Given.LineIndex = :DlgLineIndex AND Given.Lang_Id = 0 AND ResFileLine.Added = 0 "
    "ORDER BY ResFileLine.Line",
    "SELECT ResourceText.SourceText, ResourceText.LineIndex FROM Dialogs AS Given "
    "JOIN Dialogs ON Dialogs.Name_ID = Given.Name_ID "
    "JOIN DlgCaption ON DlgCaption.DlgLine = Dialogs.LineIndex "
    "JOIN ResourceText ON ResourceText.LineIndex = DlgCaption.LineIndex "
    "JOIN ResFileLine ON ResFileLine.LineIndex = ResourceText.LineIndex "
    "WHERE Given.LineIndex = :DlgLineIndex AND ResFileLine.Added = 0 "
    "ORDER BY ResFileLine.Line",
    ""};
// The old include line whose file name equals :IncludeFile without regard to case.
inline const QueryText OldIncludeLine{
    "OldIncludeLine",
    "SELECT ResourceText.LineIndex, 1 AS Ausdr1 FROM ResFileLine "
    "CROSS JOIN ResourceText ON ResourceText.LineIndex = ResFileLine.LineIndex "
    "WHERE ResFileLine.LineIdentSym IN (9, 10) AND ResFileLine.Added = 0 "
    "AND ResourceText.SourceText = :IncludeFile COLLATE NOCASE",
    "", ""};
// Purge candidates (old lines) in "Source File Language", MenuItem and Menu.
inline const QueryText OldSourceLanguages{
    "OldSourceLanguages",
    "SELECT \"Source File Language\".rowid AS RowKey, \"Source File Language\".* FROM \"Source File Language\" "
    "JOIN ResFileLine ON ResFileLine.LineIndex = \"Source File Language\".LineIndex WHERE ResFileLine.Added = 0",
    "", "Source File Language"};
inline const QueryText OldMenuItems{
    "OldMenuItems",
    "SELECT MenuItem.rowid AS RowKey, MenuItem.* FROM MenuItem "
    "JOIN ResFileLine ON ResFileLine.LineIndex = MenuItem.LineIndex WHERE ResFileLine.Added = 0",
    "", "MenuItem"};
inline const QueryText OldMenus{
    "OldMenus",
    "SELECT Menu.rowid AS RowKey, Menu.* FROM Menu "
    "JOIN ResFileLine ON ResFileLine.LineIndex = Menu.LineIndex WHERE ResFileLine.Added = 0",
    "", "Menu"};
// Include files; rows whose line the update did not keep are deleted.
inline const QueryText IncludeFiles{
    "IncludeFiles", "SELECT rowid AS RowKey, IncludeFile.* FROM IncludeFile", "", "IncludeFile"};

// --- Dialog layouts per language (version 8 only) ---------------------------------------

// Size, previous size, flags and modified flag of a dialog's layout
// (:LineIndex) in one language (:Lang_Id); edited.
inline const QueryText DialogLayout{
    "DialogLayout",
    "SELECT rowid AS RowKey, cx, cy, cx_prev, cy_prev, Modified, Name_ID, Flags FROM Dialogs "
    "WHERE LineIndex = :LineIndex AND Lang_Id = :Lang_Id",
    "", "Dialogs"};
// The whole Dialogs row of a dialog in one language; edited.
inline const QueryText DialogRow{
    "DialogRow", "SELECT rowid AS RowKey, Dialogs.* FROM Dialogs WHERE LineIndex = :LineIndex AND Lang_Id = :Lang_Id",
    "", "Dialogs"};
// A row when the dialog has a layout in that language.
inline const QueryText DialogLayoutExists{
    "DialogLayoutExists", "SELECT 1 AS Ausdr2 FROM Dialogs WHERE Lang_Id = :Lang_Id AND LineIndex = :LineIndex", "",
    ""};
// The whole DialogControl row of a control in one language; edited.
inline const QueryText ControlRow{
    "ControlRow",
    "SELECT rowid AS RowKey, DialogControl.* FROM DialogControl WHERE LineIndex = :LineIndex AND Lang_Id = :Lang_Id",
    "", "DialogControl"};
// A row when the control has a layout in that language.
inline const QueryText ControlLayoutExists{
    "ControlLayoutExists",
    "SELECT 1 AS Ausdr2 FROM DialogControl WHERE Lang_Id = :Lang_Id AND LineIndex = :LineIndex", "", ""};
// All controls and all dialogs with a layout in one language.
inline const QueryText ControlsWithLayout{
    "ControlsWithLayout", "SELECT LineIndex FROM DialogControl WHERE Lang_Id = :Lang_Id", "", ""};
inline const QueryText DialogsWithLayout{
    "DialogsWithLayout", "SELECT LineIndex FROM Dialogs WHERE Lang_Id = :Lang_Id", "", ""};

// Menu items and popups in script order with their level, for the checks
// that look at the items of one popup.
inline const QueryText MenuTreeInOrder{
    "MenuTreeInOrder",
    "SELECT MenuItem.LineIndex, MenuItem.MenuLine, MenuItem.Level, ResFileLine.LineIdentSym FROM MenuItem "
    "JOIN ResFileLine ON ResFileLine.LineIndex = MenuItem.LineIndex ORDER BY ResFileLine.Line",
    "", ""};

// Dialog headers and FONT statements in script order: each FONT belongs to
// the header before it.
inline const QueryText DialogFontLines{
    "DialogFontLines",
    "SELECT LineIndex, LineIdentSym, BeforeStr FROM ResFileLine WHERE LineIdentSym IN (13, 99, 32) ORDER BY Line",
    "", ""};
// The source layout and one language's layout of every dialog control.
inline const QueryText ControlLayouts{
    "ControlLayouts",
    "SELECT LineIndex, DlgLine, Lang_Id, Class, Type, Flags, x, y, cx, cy FROM DialogControl "
    "WHERE Lang_Id = 0 OR Lang_Id = :Lang_Id",
    "", ""};

// Every literal statement, for checks over all of them.
inline const QueryText* const All[] = {
    &Setting, &TranslationCodePage, &TranslationFile, &TranslationName, &SourceLanguages, &ProjectSourceFile,
    &LinesInOrder, &TextsWithLineKind, &HasIncludeLines, &TextExclude, &StringIdents, &BitmapIdents,
    &MenuItemIdents, &ControlIdents, &CaptionDialogs, &ItemMenus, &ControlDialogs, &MenuItemLevels,
    &SourceDialogs, &VersionOfBlock, &VersionOfValue, &StringsWithExclude, &BlocksOfVersion, &ValuesOfBlock,
    &ControlsOfDialog, &CaptionOfDialog, &ItemsOfMenu, &IncludeLines, &BitmapsWithExclude, &OldLines,
    &OldMenuByIdent, &UniquePopupByText, &OldDialogCaption, &OldIncludeLine, &OldSourceLanguages, &OldMenuItems,
    &OldMenus, &IncludeFiles, &DialogLayout, &DialogRow, &DialogLayoutExists, &ControlRow, &ControlLayoutExists,
    &ControlsWithLayout, &DialogsWithLayout, &MenuTreeInOrder, &DialogFontLines,
    &ControlLayouts};

}  // namespace qln::stmt
