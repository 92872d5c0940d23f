-- The stored queries of the project database, loaded into the template's
-- QueryCatalogue when it is generated.
--
--   -- @query <Name> [edit <Table>]   starts a query; "edit" names the table
--                                     whose rows an edit or delete through the
--                                     query changes (the query yields RowKey)
--   -- @old                           starts the text for format versions 6/7
--
-- Parameters are named (:LineIndex); both texts of a query use the same names.
-- "Old lines" are ResFileLine rows with Added = 0. "In script order" is
-- ascending ResFileLine.Line.

-- Lines and texts --------------------------------------------------------------

-- @query AllLineIndex
SELECT LineIndex FROM ResFileLine

-- @query ResourceTextTable
SELECT ResourceText.* FROM ResFileLine
JOIN ResourceText ON ResourceText.LineIndex = ResFileLine.LineIndex
ORDER BY ResFileLine.Line

-- @query ResourceText_And_LineIdentSym
SELECT ResourceText.*, ResFileLine.LineIdentSym FROM ResFileLine
JOIN ResourceText ON ResourceText.LineIndex = ResFileLine.LineIndex
ORDER BY ResFileLine.Line

-- @query GetResTextRecord_ByLine edit ResourceText
SELECT ResourceText.rowid AS RowKey, ResourceText.* FROM ResourceText
WHERE ResourceText.LineIndex = :LineIndex

-- @query ResourceText_Old_By_LineIndex
SELECT SourceText_Old, LineIndex FROM ResourceText WHERE LineIndex = :LineIndex

-- @query ResLineValues_By_LineIndex edit ResFileLine
SELECT ResFileLine.rowid AS RowKey, ResFileLine.* FROM ResFileLine WHERE LineIndex = :LineIndex

-- @query LineIdentSym_By_LineIndex
SELECT LineIdentSym FROM ResFileLine WHERE LineIndex = :LineIndex

-- @query IsTextModified_All edit ResourceText
SELECT ResourceText.rowid AS RowKey, ResourceText.* FROM ResourceText WHERE Modified <> 0

-- @query Added_Fields edit ResFileLine
SELECT ResFileLine.rowid AS RowKey, ResFileLine.LineIndex, ResFileLine.Added FROM ResFileLine WHERE Added <> 0

-- Translations and project -----------------------------------------------------

-- @query Translation_Ids
SELECT Lang_Id FROM Translations ORDER BY rowid
-- @old
SELECT Language, SubLanguage FROM Translations ORDER BY rowid

-- @query TranslationInfoTable
SELECT Translations.* FROM Translations ORDER BY rowid

-- @query FileName edit Translations
SELECT rowid AS RowKey, FileName, FileTime, FileDate, FileSize, FileStatus FROM Translations
WHERE Lang_Id = :LanguageId + 1024 * :SubLanguageId
-- @old
SELECT rowid AS RowKey, FileName, FileTime, FileDate, FileSize, FileStatus FROM Translations
WHERE Language = :LanguageId AND SubLanguage = :SubLanguageId

-- @query Translation edit Translations
SELECT rowid AS RowKey, Translations.* FROM Translations
WHERE Lang_Id = :LanguageId + 1024 * :SubLanguageId
-- @old
SELECT rowid AS RowKey, Translations.* FROM Translations
WHERE Language = :LanguageId AND SubLanguage = :SubLanguageId

-- @query FileVersion
SELECT FileVersion FROM Project ORDER BY rowid LIMIT 1

-- Dialogs ----------------------------------------------------------------------

-- @query Dialog_By_Ident edit Dialogs
SELECT Dialogs.rowid AS RowKey, Dialogs.* FROM Dialogs
JOIN ResFileLine ON ResFileLine.LineIndex = Dialogs.LineIndex
WHERE Dialogs.Name_ID = :DlgIdent AND Dialogs.Lang_Id = 0 AND ResFileLine.Added = 0
ORDER BY ResFileLine.Line
-- @old
SELECT Dialogs.rowid AS RowKey, Dialogs.* FROM Dialogs
JOIN ResFileLine ON ResFileLine.LineIndex = Dialogs.LineIndex
WHERE Dialogs.Name_ID = :DlgIdent AND ResFileLine.Added = 0
ORDER BY ResFileLine.Line

-- @query Dialogs_By_LineIndex edit Dialogs
SELECT Dialogs.rowid AS RowKey, Dialogs.* FROM Dialogs WHERE LineIndex = :LineIndex

-- @query Dialog_By_LineIndex
SELECT Name_ID, cx, cy, LineIndex FROM Dialogs WHERE LineIndex = :LineIndex AND Lang_Id = 0
-- @old
SELECT Name_ID, cx, cy, LineIndex FROM Dialogs WHERE LineIndex = :LineIndex

-- @query Dialog_ItemIdent_By_LineIndex edit DialogControl
SELECT DialogControl.rowid AS RowKey, DialogControl.* FROM DialogControl
WHERE LineIndex = :LineIndex AND Lang_Id = 0
-- @old
SELECT DialogControl.rowid AS RowKey, DialogControl.* FROM DialogControl
WHERE LineIndex = :LineIndex

-- @query Dialog_Controls_By_LineIndex edit DialogControl
SELECT DialogControl.rowid AS RowKey, DialogControl.* FROM DialogControl WHERE LineIndex = :LineIndex

-- @query Dialog_Control_By_LineIndex_LangId edit DialogControl
SELECT DialogControl.rowid AS RowKey, DialogControl.* FROM DialogControl
WHERE LineIndex = :LineIndex AND Lang_Id = :Lang_Id
-- @old
SELECT DialogControl.rowid AS RowKey, DialogControl.* FROM DialogControl
WHERE LineIndex = :LineIndex AND :Lang_Id = 0

-- @query Dialog_Controls_By_DlgLineIndex_ItemIdent
SELECT DialogControl.LineIndex, DialogControl.Type, ResourceText.SourceText, DialogControl.Flags,
       DialogControl.x, DialogControl.y, DialogControl.cx, DialogControl.cy
FROM DialogControl
JOIN ResFileLine ON ResFileLine.LineIndex = DialogControl.LineIndex
JOIN ResourceText ON ResourceText.LineIndex = DialogControl.LineIndex
WHERE DialogControl.DlgLine = :DlgLineIndex AND DialogControl.Name_ID = :ItemIdent
  AND DialogControl.Lang_Id = 0 AND ResFileLine.Added = 0
ORDER BY ResFileLine.Line
-- @old
SELECT DialogControl.LineIndex, DialogControl.Type, ResourceText.SourceText, DialogControl.Flags,
       DialogControl.x, DialogControl.y, DialogControl.cx, DialogControl.cy
FROM DialogControl
JOIN ResFileLine ON ResFileLine.LineIndex = DialogControl.LineIndex
JOIN ResourceText ON ResourceText.LineIndex = DialogControl.LineIndex
WHERE DialogControl.DlgLine = :DlgLineIndex AND DialogControl.Name_ID = :ItemIdent
  AND ResFileLine.Added = 0
ORDER BY ResFileLine.Line

-- @query Dialog_Controls_StrLess_By_DlgLineIndex_ItemIdent
SELECT DialogControl.LineIndex, DialogControl.Type, DialogControl.Flags,
       DialogControl.x, DialogControl.y, DialogControl.cx, DialogControl.cy
FROM DialogControl
JOIN ResFileLine ON ResFileLine.LineIndex = DialogControl.LineIndex
LEFT JOIN ResourceText ON ResourceText.LineIndex = DialogControl.LineIndex
WHERE DialogControl.DlgLine = :DlgLineIndex AND DialogControl.Name_ID = :ItemIdent
  AND DialogControl.Lang_Id = 0 AND ResFileLine.Added = 0 AND ResourceText.LineIndex IS NULL
ORDER BY ResFileLine.Line
-- @old
SELECT DialogControl.LineIndex, DialogControl.Type, DialogControl.Flags,
       DialogControl.x, DialogControl.y, DialogControl.cx, DialogControl.cy
FROM DialogControl
JOIN ResFileLine ON ResFileLine.LineIndex = DialogControl.LineIndex
LEFT JOIN ResourceText ON ResourceText.LineIndex = DialogControl.LineIndex
WHERE DialogControl.DlgLine = :DlgLineIndex AND DialogControl.Name_ID = :ItemIdent
  AND ResFileLine.Added = 0 AND ResourceText.LineIndex IS NULL
ORDER BY ResFileLine.Line

-- @query Dialog_Controls_By_Dialog_LineIndex
SELECT DialogControl.Name_ID, DialogControl.LineIndex, DialogControl.Class, DialogControl.x,
       DialogControl.y, DialogControl.cx, DialogControl.cy, DialogControl.Type, DialogControl.Flags
FROM DialogControl JOIN ResFileLine ON ResFileLine.LineIndex = DialogControl.LineIndex
WHERE DialogControl.DlgLine = :DlgLineIndex AND DialogControl.Lang_Id = 0
ORDER BY ResFileLine.Line
-- @old
SELECT DialogControl.Name_ID, DialogControl.LineIndex, DialogControl.Class, DialogControl.x,
       DialogControl.y, DialogControl.cx, DialogControl.cy, DialogControl.Type, DialogControl.Flags
FROM DialogControl JOIN ResFileLine ON ResFileLine.LineIndex = DialogControl.LineIndex
WHERE DialogControl.DlgLine = :DlgLineIndex
ORDER BY ResFileLine.Line

-- @query Dialog_LineIndex_By_DlgItemIndex
SELECT DlgLine FROM DialogControl WHERE LineIndex = :LineIndex AND Lang_Id = 0
-- @old
SELECT DlgLine FROM DialogControl WHERE LineIndex = :LineIndex

-- @query Dialog_LineIndex_By_DlgCaptionIndex
SELECT DlgLine FROM DlgCaption WHERE LineIndex = :LineIndex

-- @query Dialog_Caption
SELECT ResourceText.SourceText, ResourceText.LineIndex FROM Dialogs
JOIN DlgCaption ON DlgCaption.DlgLine = Dialogs.LineIndex
JOIN ResourceText ON ResourceText.LineIndex = DlgCaption.LineIndex
WHERE Dialogs.Name_ID = :DlgIdent AND Dialogs.Lang_Id = 0
-- @old
SELECT ResourceText.SourceText, ResourceText.LineIndex FROM Dialogs
JOIN DlgCaption ON DlgCaption.DlgLine = Dialogs.LineIndex
JOIN ResourceText ON ResourceText.LineIndex = DlgCaption.LineIndex
WHERE Dialogs.Name_ID = :DlgIdent

-- @query Dialog_Control
SELECT DialogControl.LineIndex, ResFileLine.LineIdentSym, DialogControl.x, DialogControl.y,
       DialogControl.cx, DialogControl.cy
FROM Dialogs
JOIN DialogControl ON DialogControl.DlgLine = Dialogs.LineIndex
JOIN ResFileLine ON ResFileLine.LineIndex = DialogControl.LineIndex
WHERE Dialogs.Name_ID = :DlgIdent AND Dialogs.Lang_Id = 0 AND DialogControl.Lang_Id = 0
  AND DialogControl.Name_ID = :ItemIdent AND ResFileLine.LineIdentSym = :ItemIdentSym
ORDER BY ResFileLine.Line
-- @old
SELECT DialogControl.LineIndex, ResFileLine.LineIdentSym, DialogControl.x, DialogControl.y,
       DialogControl.cx, DialogControl.cy
FROM Dialogs
JOIN DialogControl ON DialogControl.DlgLine = Dialogs.LineIndex
JOIN ResFileLine ON ResFileLine.LineIndex = DialogControl.LineIndex
WHERE Dialogs.Name_ID = :DlgIdent AND DialogControl.Name_ID = :ItemIdent
  AND ResFileLine.LineIdentSym = :ItemIdentSym
ORDER BY ResFileLine.Line

-- @query ResourceStrings_Of_DialogControls
SELECT ResourceText.* FROM DialogControl
JOIN ResourceText ON ResourceText.LineIndex = DialogControl.LineIndex
JOIN ResFileLine ON ResFileLine.LineIndex = DialogControl.LineIndex
WHERE DialogControl.DlgLine = :DlgLineIndex AND DialogControl.Lang_Id = 0
ORDER BY ResFileLine.Line
-- @old
SELECT ResourceText.* FROM DialogControl
JOIN ResourceText ON ResourceText.LineIndex = DialogControl.LineIndex
JOIN ResFileLine ON ResFileLine.LineIndex = DialogControl.LineIndex
WHERE DialogControl.DlgLine = :DlgLineIndex
ORDER BY ResFileLine.Line

-- @query ResourceString_Of_DialogCaption
SELECT ResourceText.* FROM DlgCaption
JOIN ResourceText ON ResourceText.LineIndex = DlgCaption.LineIndex
WHERE DlgCaption.DlgLine = :DlgLineIndex

-- Menus ------------------------------------------------------------------------

-- @query ResourceStrings_Of_Menu
SELECT ResourceText.* FROM MenuItem
JOIN ResourceText ON ResourceText.LineIndex = MenuItem.LineIndex
JOIN ResFileLine ON ResFileLine.LineIndex = MenuItem.LineIndex
WHERE MenuItem.MenuLine = :MenuLineIndex
ORDER BY ResFileLine.Line

-- @query Menu_Ident_By_LineIndex
SELECT Name_ID FROM Menu WHERE LineIndex = :LineIndex

-- @query Menu_LineIndex_By_MenuItemIndex
SELECT MenuLine FROM MenuItem WHERE LineIndex = :LineIndex

-- @query MenuItem_By_LineIndex edit MenuItem
SELECT MenuItem.rowid AS RowKey, MenuItem.* FROM MenuItem WHERE LineIndex = :LineIndex

-- @query MenuItem_By_MenuResIndex_MenuItemIdent
SELECT MenuItem.LineIndex, ResourceText.SourceText FROM MenuItem
JOIN ResFileLine ON ResFileLine.LineIndex = MenuItem.LineIndex
LEFT JOIN ResourceText ON ResourceText.LineIndex = MenuItem.LineIndex
WHERE MenuItem.MenuLine = :MenuLineIndex AND MenuItem.Name_ID = :ItemIdent AND ResFileLine.Added = 0
ORDER BY ResFileLine.Line

-- @query MenuItem_Line
SELECT ResourceText.SourceText, MenuItem.LineIndex FROM Menu
JOIN MenuItem ON MenuItem.MenuLine = Menu.LineIndex
JOIN ResFileLine ON ResFileLine.LineIndex = MenuItem.LineIndex
LEFT JOIN ResourceText ON ResourceText.LineIndex = MenuItem.LineIndex
WHERE Menu.Name_ID = :MenuIdent AND MenuItem.Name_ID = :ItemIdent
ORDER BY ResFileLine.Line

-- @query PopupItem_By_MenuIdent
SELECT MenuItem.LineIndex FROM Menu
JOIN MenuItem ON MenuItem.MenuLine = Menu.LineIndex
JOIN ResFileLine ON ResFileLine.LineIndex = MenuItem.LineIndex
WHERE Menu.Name_ID = :MenuIdent AND ResFileLine.LineIdentSym = :ItemIdentSym
ORDER BY ResFileLine.Line

-- Identifiers of a line ----------------------------------------------------------

-- @query MenuItem_Ident_By_LineIndex
SELECT Name_ID FROM MenuItem WHERE LineIndex = :LineIndex

-- @query Stringtable_String_Ident_By_LineIndex
SELECT Name_ID FROM StringtableString WHERE LineIndex = :LineIndex

-- @query Bitmap_Ident_By_LineIndex
SELECT Name_ID FROM Bitmap WHERE LineIndex = :LineIndex

-- String tables and bitmaps ------------------------------------------------------

-- @query StringTable_SourceString_By_ItemIdent
SELECT ResourceText.SourceText, ResourceText.LineIndex FROM StringtableString
JOIN ResFileLine ON ResFileLine.LineIndex = StringtableString.LineIndex
JOIN ResourceText ON ResourceText.LineIndex = StringtableString.LineIndex
WHERE StringtableString.Name_ID = :ItemIdent AND ResFileLine.Added = 0
ORDER BY ResFileLine.Line

-- @query StringtableString_By_Ident edit ResourceText
SELECT ResourceText.rowid AS RowKey, ResourceText.SourceText, ResourceText.LineIndex,
       ResourceText.Modified, ResourceText.SourceText_Old
FROM StringtableString JOIN ResourceText ON ResourceText.LineIndex = StringtableString.LineIndex
WHERE StringtableString.Name_ID = :Name_ID

-- @query Bitmap_By_ItemIdent
SELECT ResourceText.SourceText, ResourceText.LineIndex FROM Bitmap
JOIN ResFileLine ON ResFileLine.LineIndex = Bitmap.LineIndex
JOIN ResourceText ON ResourceText.LineIndex = Bitmap.LineIndex
WHERE Bitmap.Name_ID = :ItemIdent AND ResFileLine.Added = 0
ORDER BY ResFileLine.Line

-- @query BitmapString_By_Ident edit ResourceText
SELECT ResourceText.rowid AS RowKey, ResourceText.SourceText, ResourceText.LineIndex,
       ResourceText.Modified, ResourceText.SourceText_Old
FROM Bitmap JOIN ResourceText ON ResourceText.LineIndex = Bitmap.LineIndex
WHERE Bitmap.Name_ID = :Name_ID

-- Version resources --------------------------------------------------------------

-- @query VersionValue_By_VersionIndex_ItemIdent
SELECT ResourceText.SourceText, VersionBlockValues.LineIndex FROM VersionBlockValues
JOIN ResFileLine ON ResFileLine.LineIndex = VersionBlockValues.LineIndex
LEFT JOIN ResourceText ON ResourceText.LineIndex = VersionBlockValues.LineIndex
WHERE VersionBlockValues.VersResLine = :VersionLineIndex AND VersionBlockValues.Value = :ItemIdent
  AND ResFileLine.Added = 0
ORDER BY ResFileLine.Line

-- @query VersionBlockHeader_By_VersionIndex
SELECT ResourceText.SourceText, VersionBlockHeader.LineIndex FROM VersionBlockHeader
JOIN ResFileLine ON ResFileLine.LineIndex = VersionBlockHeader.LineIndex
LEFT JOIN ResourceText ON ResourceText.LineIndex = VersionBlockHeader.LineIndex
WHERE VersionBlockHeader.VersResLine = :VersionLineIndex AND ResFileLine.Added = 0
ORDER BY ResFileLine.Line

-- @query VersionBlockHeader_By_LineIndex edit VersionBlockHeader
SELECT VersionBlockHeader.rowid AS RowKey, VersionBlockHeader.* FROM VersionBlockHeader
WHERE LineIndex = :LineIndex

-- @query VersionValue_By_LineIndex edit VersionBlockValues
SELECT VersionBlockValues.rowid AS RowKey, VersionBlockValues.* FROM VersionBlockValues
WHERE LineIndex = :LineIndex

-- @query VersionValue_By_ResIdent_ValueIdent
SELECT VersionBlockValues.LineIndex FROM Version
JOIN VersionBlockValues ON VersionBlockValues.VersResLine = Version.LineIndex
WHERE Version.Name_ID = :VersIdent AND VersionBlockValues.Value = :ValueIdent

-- @query Version_BlockHeaders edit VersionBlockHeader
SELECT VersionBlockHeader.rowid AS RowKey, VersionBlockHeader.LineIndex FROM VersionBlockHeader
JOIN ResFileLine ON ResFileLine.LineIndex = VersionBlockHeader.LineIndex
WHERE ResFileLine.Added = 0
ORDER BY ResFileLine.Line

-- Resource lists -----------------------------------------------------------------

-- @query Dialogs_Line_Id
SELECT Dialogs.Name_ID, Dialogs.LineIndex FROM Dialogs
JOIN ResFileLine ON ResFileLine.LineIndex = Dialogs.LineIndex
WHERE Dialogs.Lang_Id = 0
ORDER BY ResFileLine.Line
-- @old
SELECT Dialogs.Name_ID, Dialogs.LineIndex FROM Dialogs
JOIN ResFileLine ON ResFileLine.LineIndex = Dialogs.LineIndex
ORDER BY ResFileLine.Line

-- @query Menus_Line_Id
SELECT Menu.Name_ID, Menu.LineIndex FROM Menu
JOIN ResFileLine ON ResFileLine.LineIndex = Menu.LineIndex
ORDER BY ResFileLine.Line

-- @query Versions_Line_Id
SELECT Version.Name_ID, Version.LineIndex FROM Version
JOIN ResFileLine ON ResFileLine.LineIndex = Version.LineIndex
ORDER BY ResFileLine.Line

-- Bookmarks ----------------------------------------------------------------------

-- @query Bookmark_ID_and_Name
SELECT ID, Name FROM Bookmark ORDER BY ID

-- @query Bookmark_By_ID edit Bookmark
SELECT rowid AS RowKey, ID, LineIndex, Name, Window, Lang_Id FROM Bookmark WHERE ID = :ID
-- @old
SELECT rowid AS RowKey, ID, LineIndex, Name, Window, Language, SubLanguage FROM Bookmark WHERE ID = :ID

-- Purge after an update: the candidates are the rows whose line is old or gone;
-- the caller deletes those the update did not keep. ----------------------------

-- @query Obsolete_ResLineAndStringtableString edit StringtableString
SELECT StringtableString.rowid AS RowKey, StringtableString.LineIndex FROM StringtableString
LEFT JOIN ResFileLine ON ResFileLine.LineIndex = StringtableString.LineIndex
WHERE ResFileLine.LineIndex IS NULL OR ResFileLine.Added = 0

-- @query Dialog_Captions_Old edit DlgCaption
SELECT DlgCaption.rowid AS RowKey, DlgCaption.LineIndex FROM DlgCaption
LEFT JOIN ResFileLine ON ResFileLine.LineIndex = DlgCaption.LineIndex
WHERE ResFileLine.LineIndex IS NULL OR ResFileLine.Added = 0

-- @query Dialog_Controls_Old edit DialogControl
SELECT DialogControl.rowid AS RowKey, DialogControl.LineIndex FROM DialogControl
LEFT JOIN ResFileLine ON ResFileLine.LineIndex = DialogControl.LineIndex
WHERE ResFileLine.LineIndex IS NULL OR ResFileLine.Added = 0

-- @query DialogRes edit Dialogs
SELECT Dialogs.rowid AS RowKey, Dialogs.LineIndex FROM Dialogs
LEFT JOIN ResFileLine ON ResFileLine.LineIndex = Dialogs.LineIndex
WHERE ResFileLine.LineIndex IS NULL OR ResFileLine.Added = 0

-- @query Obsolete_Strings_At_TableResourceText edit ResourceText
SELECT ResourceText.rowid AS RowKey, ResourceText.LineIndex FROM ResourceText
LEFT JOIN ResFileLine ON ResFileLine.LineIndex = ResourceText.LineIndex
WHERE ResFileLine.LineIndex IS NULL OR ResFileLine.Added = 0

-- @query Bitmaps_Old edit Bitmap
SELECT Bitmap.rowid AS RowKey, Bitmap.LineIndex FROM Bitmap
LEFT JOIN ResFileLine ON ResFileLine.LineIndex = Bitmap.LineIndex
WHERE ResFileLine.LineIndex IS NULL OR ResFileLine.Added = 0

-- @query Obsolete_ResLine edit ResFileLine
SELECT ResFileLine.rowid AS RowKey, ResFileLine.LineIndex FROM ResFileLine WHERE Added = 0

-- @query VersionValues edit VersionBlockValues
SELECT VersionBlockValues.rowid AS RowKey, VersionBlockValues.LineIndex FROM VersionBlockValues
JOIN ResFileLine ON ResFileLine.LineIndex = VersionBlockValues.LineIndex
WHERE ResFileLine.Added = 0

-- @query Versions edit Version
SELECT Version.rowid AS RowKey, Version.LineIndex FROM Version
JOIN ResFileLine ON ResFileLine.LineIndex = Version.LineIndex
WHERE ResFileLine.Added = 0

-- @query Bookmarks edit Bookmark
SELECT Bookmark.rowid AS RowKey, Bookmark.LineIndex FROM Bookmark
JOIN ResFileLine ON ResFileLine.LineIndex = Bookmark.LineIndex
WHERE ResFileLine.Added = 0
