-- The project database template (format version 8).
--
-- Declared types keep the field types apart and give SQLite the right
-- affinity at the same time:
--   LONG INTEGER   Long, 32-bit signed            (integer affinity)
--   SHORT INTEGER  Integer, 16-bit signed         (integer affinity)
--   BYTE INTEGER   Byte, 0..255, used for flags   (integer affinity)
--   TEXT           Text                           (text affinity)
--   MEMO TEXT      Memo, long text                (text affinity)
--   INTEGER        counter (row id alias)
-- Identifiers compare without regard to case, as the resource compiler does.
-- Every lookup that the stored queries make by line index, identifier or
-- update marker has an index, so no per-line operation scans a table.

CREATE TABLE ResFileLine (
    LineIndex     LONG INTEGER NOT NULL,
    Line          LONG INTEGER,
    LineIdentSym  LONG INTEGER,
    BeforeStr     MEMO TEXT,
    BehindStr     MEMO TEXT,
    Added         SHORT INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX ResFileLine_LineIndex ON ResFileLine (LineIndex);
CREATE INDEX ResFileLine_Line ON ResFileLine (Line);
CREATE INDEX ResFileLine_Added_Line ON ResFileLine (Added, Line);
CREATE INDEX ResFileLine_Kind ON ResFileLine (LineIdentSym, Added);

CREATE TABLE ResourceText (
    LineIndex       LONG INTEGER NOT NULL,
    SourceText      MEMO TEXT,
    SourceText_Old  MEMO TEXT,
    Exclude         BYTE INTEGER NOT NULL DEFAULT 0,
    Modified        BYTE INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX ResourceText_LineIndex ON ResourceText (LineIndex);
CREATE INDEX ResourceText_Modified ON ResourceText (Modified) WHERE Modified <> 0;

CREATE TABLE Dialogs (
    LineIndex  LONG INTEGER NOT NULL,
    Lang_Id    LONG INTEGER NOT NULL DEFAULT 0,
    Name_ID    TEXT COLLATE NOCASE,
    cx         LONG INTEGER,
    cy         LONG INTEGER,
    cx_prev    LONG INTEGER,
    cy_prev    LONG INTEGER,
    Flags      LONG INTEGER NOT NULL DEFAULT 0,
    Modified   BYTE INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX Dialogs_LineIndex_Lang ON Dialogs (LineIndex, Lang_Id);
CREATE INDEX Dialogs_Lang ON Dialogs (Lang_Id);
CREATE INDEX Dialogs_Name ON Dialogs (Name_ID);

CREATE TABLE DialogControl (
    LineIndex  LONG INTEGER NOT NULL,
    DlgLine    LONG INTEGER,
    Lang_Id    LONG INTEGER NOT NULL DEFAULT 0,
    Name_ID    TEXT COLLATE NOCASE,
    Class      TEXT,
    Type       LONG INTEGER,
    Flags      LONG INTEGER,
    x          LONG INTEGER,
    y          LONG INTEGER,
    cx         LONG INTEGER,
    cy         LONG INTEGER,
    x_prev     LONG INTEGER,
    y_prev     LONG INTEGER,
    cx_prev    LONG INTEGER,
    cy_prev    LONG INTEGER,
    Modified   BYTE INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX DialogControl_LineIndex_Lang ON DialogControl (LineIndex, Lang_Id);
CREATE INDEX DialogControl_Lang ON DialogControl (Lang_Id);
CREATE INDEX DialogControl_DlgLine ON DialogControl (DlgLine, Name_ID);

CREATE TABLE DlgCaption (
    LineIndex  LONG INTEGER NOT NULL,
    DlgLine    LONG INTEGER
);
CREATE UNIQUE INDEX DlgCaption_LineIndex ON DlgCaption (LineIndex);
CREATE INDEX DlgCaption_DlgLine ON DlgCaption (DlgLine);

CREATE TABLE Menu (
    LineIndex  LONG INTEGER NOT NULL,
    Name_ID    TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX Menu_LineIndex ON Menu (LineIndex);
CREATE INDEX Menu_Name ON Menu (Name_ID);

CREATE TABLE MenuItem (
    LineIndex  LONG INTEGER NOT NULL,
    MenuLine   LONG INTEGER,
    Level      SHORT INTEGER,
    Name_ID    TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX MenuItem_LineIndex ON MenuItem (LineIndex);
CREATE INDEX MenuItem_MenuLine ON MenuItem (MenuLine, Name_ID);
CREATE INDEX MenuItem_Name ON MenuItem (Name_ID);

CREATE TABLE StringtableString (
    LineIndex  LONG INTEGER NOT NULL,
    Name_ID    TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX StringtableString_LineIndex ON StringtableString (LineIndex);
CREATE INDEX StringtableString_Name ON StringtableString (Name_ID);

CREATE TABLE Bitmap (
    LineIndex  LONG INTEGER NOT NULL,
    Name_ID    TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX Bitmap_LineIndex ON Bitmap (LineIndex);
CREATE INDEX Bitmap_Name ON Bitmap (Name_ID);

CREATE TABLE Version (
    LineIndex  LONG INTEGER NOT NULL,
    Name_ID    TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX Version_LineIndex ON Version (LineIndex);
CREATE INDEX Version_Name ON Version (Name_ID);

CREATE TABLE VersionBlockHeader (
    LineIndex    LONG INTEGER NOT NULL,
    VersResLine  LONG INTEGER
);
CREATE UNIQUE INDEX VersionBlockHeader_LineIndex ON VersionBlockHeader (LineIndex);
CREATE INDEX VersionBlockHeader_VersResLine ON VersionBlockHeader (VersResLine);

CREATE TABLE VersionBlockValues (
    LineIndex        LONG INTEGER NOT NULL,
    VersResLine      LONG INTEGER,
    BlockHeaderLine  LONG INTEGER,
    Value            TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX VersionBlockValues_LineIndex ON VersionBlockValues (LineIndex);
CREATE INDEX VersionBlockValues_VersResLine ON VersionBlockValues (VersResLine, Value);
CREATE INDEX VersionBlockValues_BlockHeaderLine ON VersionBlockValues (BlockHeaderLine);

CREATE TABLE IncludeFile (
    LineIndex  LONG INTEGER,
    Name_ID    TEXT,
    FileTime   LONG INTEGER,
    FileDate   LONG INTEGER,
    FileSize   LONG INTEGER
);
CREATE INDEX IncludeFile_LineIndex ON IncludeFile (LineIndex);

CREATE TABLE "Source File Language" (
    LineIndex  LONG INTEGER,
    Lang_Id    LONG INTEGER,
    CodePage   SHORT INTEGER,
    CharSet    SHORT INTEGER,
    FontName   TEXT
);
CREATE INDEX SourceFileLanguage_LineIndex ON "Source File Language" (LineIndex);

CREATE TABLE Translations (
    Lang_Id      LONG INTEGER,
    LanguageStr  TEXT,
    CodePage     SHORT INTEGER,
    CharSet      SHORT INTEGER,
    FontName     TEXT,
    FileName     MEMO TEXT,
    FileTime     LONG INTEGER,
    FileDate     LONG INTEGER,
    FileSize     LONG INTEGER,
    FileStatus   LONG INTEGER
);
CREATE UNIQUE INDEX Translations_Lang ON Translations (Lang_Id);

CREATE TABLE Project (
    SourceFile   MEMO TEXT,
    FileTime     LONG INTEGER,
    FileDate     LONG INTEGER,
    FileSize     LONG INTEGER,
    FileVersion  LONG INTEGER,
    Status       LONG INTEGER
);
INSERT INTO Project (FileVersion, Status) VALUES (8, 1);

CREATE TABLE Settings (
    SettingIdent  TEXT COLLATE NOCASE NOT NULL,
    Lang_Id       LONG INTEGER NOT NULL DEFAULT 0,
    StrValue      MEMO TEXT,
    NumValue      LONG INTEGER
);
CREATE UNIQUE INDEX Settings_Ident_Lang ON Settings (SettingIdent, Lang_Id);

CREATE TABLE Bookmark (
    ID         INTEGER PRIMARY KEY AUTOINCREMENT,
    LineIndex  LONG INTEGER,
    Name       TEXT,
    Window     TEXT,
    Lang_Id    LONG INTEGER
);
CREATE INDEX Bookmark_LineIndex ON Bookmark (LineIndex);

-- Planner statistics of a large project (about 100,000 lines). Without them
-- SQLite would take "Added = 0" for a selective condition and walk all old
-- lines in a lookup by identifier; with them it looks rows up by the
-- identifier or line index. Format: rows, then rows per key prefix.
ANALYZE;
DELETE FROM sqlite_stat1;
INSERT INTO sqlite_stat1 (tbl, idx, stat) VALUES
    ('ResFileLine', 'ResFileLine_LineIndex', '100000 1'),
    ('ResFileLine', 'ResFileLine_Line', '100000 1'),
    ('ResFileLine', 'ResFileLine_Added_Line', '100000 100000 1'),
    ('ResFileLine', 'ResFileLine_Kind', '100000 5000 5000'),
    ('ResourceText', 'ResourceText_LineIndex', '60000 1'),
    ('ResourceText', 'ResourceText_Modified', '100 100'),
    ('Dialogs', 'Dialogs_LineIndex_Lang', '2000 2 1'),
    ('Dialogs', 'Dialogs_Lang', '2000 50'),
    ('Dialogs', 'Dialogs_Name', '2000 2'),
    ('DialogControl', 'DialogControl_LineIndex_Lang', '20000 2 1'),
    ('DialogControl', 'DialogControl_Lang', '20000 100'),
    ('DialogControl', 'DialogControl_DlgLine', '20000 20 2'),
    ('DlgCaption', 'DlgCaption_LineIndex', '1000 1'),
    ('DlgCaption', 'DlgCaption_DlgLine', '1000 1'),
    ('Menu', 'Menu_LineIndex', '100 1'),
    ('Menu', 'Menu_Name', '100 1'),
    ('MenuItem', 'MenuItem_LineIndex', '5000 1'),
    ('MenuItem', 'MenuItem_MenuLine', '5000 50 2'),
    ('MenuItem', 'MenuItem_Name', '5000 2'),
    ('StringtableString', 'StringtableString_LineIndex', '20000 1'),
    ('StringtableString', 'StringtableString_Name', '20000 1'),
    ('Bitmap', 'Bitmap_LineIndex', '100 1'),
    ('Bitmap', 'Bitmap_Name', '100 1'),
    ('Version', 'Version_LineIndex', '10 1'),
    ('Version', 'Version_Name', '10 1'),
    ('VersionBlockHeader', 'VersionBlockHeader_LineIndex', '20 1'),
    ('VersionBlockHeader', 'VersionBlockHeader_VersResLine', '20 2'),
    ('VersionBlockValues', 'VersionBlockValues_LineIndex', '200 1'),
    ('VersionBlockValues', 'VersionBlockValues_VersResLine', '200 20 1'),
    ('VersionBlockValues', 'VersionBlockValues_BlockHeaderLine', '200 10'),
    ('IncludeFile', 'IncludeFile_LineIndex', '10 1'),
    ('Source File Language', 'SourceFileLanguage_LineIndex', '10 1'),
    ('Translations', 'Translations_Lang', '10 1'),
    ('Settings', 'Settings_Ident_Lang', '50 5 1'),
    ('Bookmark', 'Bookmark_LineIndex', '50 1');

-- The stored queries, opened by name. EditTable names the table whose rows
-- an edit or delete through the query changes; such a query yields that
-- table's row id as RowKey. SqlTextOld, when set, replaces SqlText in
-- databases of format versions 6 and 7.
CREATE TABLE QueryCatalogue (
    Name        TEXT PRIMARY KEY COLLATE NOCASE,
    SqlText     MEMO TEXT NOT NULL,
    SqlTextOld  MEMO TEXT,
    EditTable   TEXT
);
