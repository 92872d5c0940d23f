#pragma once
// Every message the core shows to a user, in one place. %1 and %2 are
// placeholders filled with Format().

#include <string>
#include <string_view>
#include <initializer_list>
#include <vector>

namespace qln::msg {

// --- Reading resource scripts -------------------------------------------------
// Parser error texts; the file name follows after one blank.
inline constexpr std::string_view ParserErrorResourceFile = "Parser Error: Resource File ";
inline constexpr std::string_view ParserErrorUserResource =
    "Parser Error: Can't find name of file from user resource. Build file failed at";
inline constexpr std::string_view ParserErrorPopup = "Parser Error: Menu Popup, build file failed at";
inline constexpr std::string_view ParserErrorMenuItem = "Parser Error: Menu Menuitem, build file failed at";
inline constexpr std::string_view ParserErrorLanguage = "Parser Error: LANGUAGE statement at file";
inline constexpr std::string_view ParserErrorOutput = "Parser Error: Write to output stream (internal error).";
inline constexpr std::string_view ErrorNoMemory = "Error: Not enough memory !";
inline constexpr std::string_view ErrorCantRead = "Error: Can't read";
inline constexpr std::string_view ErrorCantChangeDir = "Error: Can't change directory to";
inline constexpr std::string_view ErrorCantOpenFile = "Error: Can't open file '%1'.";
inline constexpr std::string_view ErrorUnknown = "Error: Unknown error accrued at file  ";
// A parser error text followed by the physical line of the failing statement.
inline constexpr std::string_view ParserErrorAtLine = "%1 (line %2)";

// --- Reading resource scripts: code pages and decoding ------------------------
// A code page as listed to the user: %1 its name, %2 its number.
inline constexpr std::string_view CodePageDisplay = "%1,   Code page:  %2";
// Reading a script file failed: %1 the file, %2 the cause.
inline constexpr std::string_view ScriptOpenFailed = "Error: Can't open file '%1'. %2";
inline constexpr std::string_view ScriptReadFailed = "Error: Can't read %1. %2";
// How a script was decoded: %1 a code page number, %2 where it came from.
inline constexpr std::string_view EncodingUtf8 = "UTF-8";
inline constexpr std::string_view EncodingWithBom = "%1 (BOM)";
inline constexpr std::string_view EncodingUtf16NoBom = "%1 (no BOM)";
inline constexpr std::string_view EncodingLineEndsRepaired = "%1, line ends repaired";
inline constexpr std::string_view EncodingCodePage = "CP%1 (%2)";
inline constexpr std::string_view EncodingAscii = "ASCII, CP%1 (%2)";
inline constexpr std::string_view EncodingFromPragma = "#pragma code_page";
inline constexpr std::string_view EncodingFromLanguage = "LANGUAGE";
inline constexpr std::string_view EncodingFromDefault = "default";

// --- Files: why an operation on a file failed ------------------------------------
// The line after a failure message: %1 the file, %2 the cause as the system reports it.
inline constexpr std::string_view CauseLine = "     %1: %2";
inline constexpr std::string_view NotARegularFile = "Not a regular file";

// --- Project database: translation languages -----------------------------------
inline constexpr std::string_view LanguageAlreadyExists = "The language  %1  already exists. ";
inline constexpr std::string_view AddLanguageFailed = "Error: can not add language to database !";
inline constexpr std::string_view NoTranslationToDelete = "There is no translation to delete.";
inline constexpr std::string_view AskDeleteTranslation = "Do you realy want to delete the translation %1 ?";
inline constexpr std::string_view TranslationFileIsSource =
    "Select Translation File Name\nThe file name you have specified is the name of the source resource "
    "file.\nPlease use a  different file name.";
// %1 the file: the database or a file the script includes.
inline constexpr std::string_view TranslationFileIsProjectFile =
    "Select Translation File Name\n%1 is a file the project reads (its database or a file its script "
    "includes).\nPlease use a different file name.";
inline constexpr std::string_view TranslationFileInvalid = "Translation File Name\n%1 is not a valid file name.";
inline constexpr std::string_view TranslationFileInUse = "The file name %1 is already use by an other translation.";
inline constexpr std::string_view TranslationFileExists =
    "There exists already a file %1.\nDo you realy want to use the file name ?";
// One line per character set in MissingCharSets; lines are joined by ",\n".
inline constexpr std::string_view MissingCharSetLine = "  - %1";
inline constexpr std::string_view MissingCharSets =
    "Fonts with the following character sets are not available\non your local machine:\n\n%1\n\n"
    "Not all languages can be shown with the required\ncharacter set.";

// --- Project database: record access ---------------------------------------------
// %1 the engine's error code, %2 its message.
inline constexpr std::string_view DaoError = "Dao Error (%1):\n%2";

// --- Project database: lifecycle -----------------------------------------------
inline constexpr std::string_view NotProjectDatabase =
    "Open Database.\n%1 is not a resource file database.\nCannot open file.";
inline constexpr std::string_view AskBuildDatabase =
    "Open file %1.\nQuillon will build a database file %2 first.\nDo you want to procced ?";
inline constexpr std::string_view StatusBuildDatabase = "Build Database %1.";
inline constexpr std::string_view TemplateMissing =
    "Can not find  file \"%1\" at the Quillon directory.\nExecute the Quillon Setup program to complete the files.";
inline constexpr std::string_view VersionTooOld =
    "Error: File Version !\nThe database file\n   %1\nis from an older  beta version and not supported.\n"
    "Delete the file and open the resource file again.";
inline constexpr std::string_view VersionTooNew =
    "Can not open database !\n\nThee database '%1' is from a newer of Quillon.\nPlease ask for the current version.";
inline constexpr std::string_view UpdateNeedsConversion =
    "Update database !\n    %1\n\nThe database file has to be converted into the current QLN database format.\n"
    "To update the database close all open documents. From the Tools menu choose \"Update Database...\".";
inline constexpr std::string_view LoadingFile = "Loading File: %1";
inline constexpr std::string_view ConvertDialogTitle = "Convert Quillon Database";
inline constexpr std::string_view ConvertDialogFilter = "QLN Database (*.mdb)|*.mdb||";
inline constexpr std::string_view AlreadyActualVersion =
    "The database file '%1' is the actual database version for this Quillon version. "
    "The database has not to be converted.";
inline constexpr std::string_view AskConvertDatabase =
    "Convert database '%1'.\n\nDo you want to convert the database to the new QLN database format ?";
inline constexpr std::string_view StatusConvertDatabase = "Convert Database File %1 ";
inline constexpr std::string_view ConvertSucceeded =
    "Database  %1 successful converted !\n(The old database file is strored in %2.)";
inline constexpr std::string_view ConvertFailed = "Error !\n: Database  %1 not converted.";
inline constexpr std::string_view CompactDialogTitle = "Compact Database";
inline constexpr std::string_view CompactDialogFilter = "Microsoft Accesss Databases (*.mdb)|*.mdb||";
// %1 path, %2 size before, %3 size after (bytes).
inline constexpr std::string_view CompactSucceeded = "Compact Database !\nFile: %1\nSize:  %2 -> %3";
inline constexpr std::string_view CompactFailed = "Error: Compacting database failed !";

// --- Translation project: writing translated scripts -----------------------------
inline constexpr std::string_view WriteHeaderRule =
    "////////////////////////////////////////////////////////////////////////////";
inline constexpr std::string_view WriteHeaderProgram = "//  Windows Dezuvive Zadozirodi Quillon Version 4.0";
inline constexpr std::string_view WriteHeaderTranslated = "//  This is a translated resource file.";
inline constexpr std::string_view WriteHeaderSource = "//  Source File Name:  %1";
inline constexpr std::string_view WriteFooterEnd = "//  End of file ";
inline constexpr std::string_view StatusSaveFile = "Save File  %1";
// %1 the language's translation column name, %2 the path.
inline constexpr std::string_view WriteBadPath =
    "Save \"%1\" translation file.\nError: bad path \"%2\".\nCan not write translated resource file. Please check "
    "for correct path.";
// A text the language's code page cannot hold: %1 the language, %2 the line of
// the written script, %3 the text, %4 the code page, %5 which code pages hold
// the texts (WriteUtf8HoldsAll or WriteOthersHoldAll).
inline constexpr std::string_view WriteUnrepresentable =
    "Save \"%1\" translation file.\nLine %2: the text \"%3\" cannot be written in code page %4.\nNothing was "
    "written for this language. Change the text, or the code page of the translation: %5\nA translation's code "
    "page is set in its settings (Translation > Settings, page Code Page) and kept in the CodePage field of its row "
    "in the Translations table of the project database; in batch mode /A takes it as its fourth parameter when it "
    "adds the language (/A <database> <language> <file> 65001).";
inline constexpr std::string_view WriteUtf8HoldsAll = "code page 65001 (UTF-8) holds every text.";
// %1 the other code pages that hold every text of the translation, e.g. "1250, 1252".
inline constexpr std::string_view WriteOthersHoldAll =
    "code page 65001 (UTF-8) holds every text, and these hold every text of this translation too: %1.";
// %1 the language, %2 the code page.
inline constexpr std::string_view WriteUnknownCodePage =
    "Save \"%1\" translation file.\nThe code page %2 is not supported. Change the code page of the translation.";
// The translation cannot be written at all: %1 the language (or its identifier).
inline constexpr std::string_view WriteNoTranslation = "Save translation file.\nThe project has no translation %1.";
// Texts of the file error causes 0 to 14 (3 is the bad path above).
inline constexpr std::string_view FileErrorNone = "No error occurred.";
inline constexpr std::string_view FileErrorGeneric = "An unspecified error occurred.";
inline constexpr std::string_view FileErrorNotFound = "The file could not be located.";
inline constexpr std::string_view FileErrorTooManyOpen = "The permitted number of open files was exceeded.";
inline constexpr std::string_view FileErrorAccessDenied = "The file could not be accessed.";
inline constexpr std::string_view FileErrorInvalidFile = "There was an attempt to use an invalid file handle.";
inline constexpr std::string_view FileErrorRemoveCurrentDir = "The current working directory cannot be removed.";
inline constexpr std::string_view FileErrorDirectoryFull = "There are no more directory entries.";
inline constexpr std::string_view FileErrorBadSeek = "There was an error trying to set the file pointer.";
inline constexpr std::string_view FileErrorHardware = "There was a hardware error.";
inline constexpr std::string_view FileErrorSharing = "SHARE.EXE was not loaded, or a shared region was locked.";
inline constexpr std::string_view FileErrorLock = "There was an attempt to lock a region that was already locked.";
inline constexpr std::string_view FileErrorDiskFull = "The disk is full.";
inline constexpr std::string_view FileErrorEndOfFile = "The end of file was reached.";

// --- Translation project: building the database from a script -------------------
// %1 the paths of the include files, one per line.
inline constexpr std::string_view MissingIncludes =
    "The following resource file(s) could not be found for including into the translation file:\n%1 ";
// A dialog line kept as it is because no rule understands it: %1 the file, %2 its line.
inline constexpr std::string_view UnrecognisedDialogLine =
    "Unknown dialog statement kept without its texts: %1 (line %2)";
// %1 the script path.
inline constexpr std::string_view BuildParserError = "Build Translation File Database.\nParser Error at file %1.";
inline constexpr std::string_view BuildParserErrorPopup =
    "Build Translation File Database.\nParser Error (Menu Popup) at file %1.";
inline constexpr std::string_view BuildDatabaseError =
    "Build Translation File Database.\nError while creating database %1.";

// --- Translation project: importing from translated scripts and databases ------
// %1 the file, %2 its extension.
inline constexpr std::string_view ImportUnsupportedType =
    "Import text from %1\nUnsupported file type '%2'. Can not import text from this file.";
inline constexpr std::string_view ImportProgressTitle = "Import text from %1.";
inline constexpr std::string_view ImportReadError = "Error reading from %1\nCan not import resource text.";
// %1 the project database the texts were to go to.
inline constexpr std::string_view ImportWriteError = "Error writing to %1\nCan not import resource text.";
// %1 the file, %2 the number of texts imported.
inline constexpr std::string_view ImportTextDone = "Import text from  %1\n\n%2 text resources imported.";
inline constexpr std::string_view ImportTextNothing =
    "Import text from %1.\n\nNo identical resources found or identical resouces already translated.\nNo text "
    "imported.";
// %1 the number of texts, %2 where they are: one line per file, ImportUnalignedLines.
inline constexpr std::string_view ImportUnaligned =
    "%1 text(s) not imported: the script and the project have a different number of items with the same "
    "identifiers, and these could not be paired one to one:\n%2";
// %1 the file, %2 its line numbers.
inline constexpr std::string_view ImportUnalignedLines = "%1, line(s) %2";
inline constexpr std::string_view ImportDbIsCurrent = "%1\nThe import database is the current database !";
inline constexpr std::string_view ImportDbNoTranslation = "%1\nDatabase contains no translation. No text to import.";
// %1 the database, %2 the language asked for.
inline constexpr std::string_view ImportDbLacksLanguage =
    "%1\nDatabase contains no %2 translation. No text to import.";
inline constexpr std::string_view ImportDbFinished =
    "%1\nImport text from database finished. Do you want to close the open import database document ?";

// --- Translation project: exporting to a database ----------------------------------
inline constexpr std::string_view ExportDbDialogTitle = "Export Text to Database File";
inline constexpr std::string_view ExportDbIsCurrent =
    "%1\nYou have selected the current database. Please choose another file name for the export database file.";
inline constexpr std::string_view ExportDbExists = "%1\nThe file already exists.\n\nDo you want to overwrite ?";
inline constexpr std::string_view ExportDbIsOpen =
    "%1\nThe file is currenly openend by Quillon. Please choose a new file name for the export database file.";
// %1 the project database, %2 the export file.
inline constexpr std::string_view ExportDbCopyFailed = "%1\nCan not copy file to\n%2.";
inline constexpr std::string_view ExportDbDone = "%1\nCreating export database successful.";
// %1 the project database, %2 the language asked for.
inline constexpr std::string_view ExportDbNoSuchLanguage = "%1\nThe database has no %2 translation.";

// --- Batch command line ------------------------------------------------------------
// Written to standard error for an unknown switch in batch mode.
inline constexpr std::string_view BatchUnknownCommandFlag = "Unknow command flag '%1'\n";
inline constexpr std::string_view BatchMissingParameter = "Error:  Missing parameter.";
inline constexpr std::string_view BatchTooManyParameters = "Error:  Too many parameters.";
// %1 the command switches given.
inline constexpr std::string_view BatchOneCommandOnly = "Error:  Only one command per call: %1";
inline constexpr std::string_view BatchUsageTitle =
    "Usage:  qln40 [file]  or  qln40 /<command> <parameters> [/LOG <logfile>]";
inline constexpr std::string_view BatchUsageLanguage =
    "  <language>: a name (\"German\", \"English US\"), an identifier (\"0407\") or a decimal language id";
inline constexpr std::string_view BatchUsageExitCodes =
    "  Exit codes: 0 done or yes, 1 no, 2 failed, 3 wrong command line";
inline constexpr std::string_view UsageTranslated = "Command 'Is Translated':   /T  <filename.mdb>  <language>";
inline constexpr std::string_view UsageUpToDate =
    "Command 'Is UpToDate':   /D  <dbfilename.mdb>  or   /D  <rcfilename.rc>  <dbfilename.mdb>";
inline constexpr std::string_view UsageHasLanguage = "Command 'Has Language':   /L  <filename.mdb>  <language>";
inline constexpr std::string_view UsageExport =
    "Command 'Export to Database':   /E  <src_dbfilename.mdb> <dest_bfilename.mdb>  [language 1] [language 2]  "
    "......";
inline constexpr std::string_view UsageImport =
    "Command 'Import from Database':   /I  <from_dbfilename.mdb> <language> <to_bfilename.mdb>";
inline constexpr std::string_view UsageCreateDb = "Command 'Create Database':   /C  <resfilename.rc>";
inline constexpr std::string_view UsageUpdate =
    "Command 'Update Database':   /U  <dbfilename.mdb>  or   /U  <rcfilename.rc>  <dbfilename.mdb>";
inline constexpr std::string_view UsageAddLang =
    "Command 'New Translation':   /A  <dbfilename.mdb> <language> <translated_res_filename.rc>";
inline constexpr std::string_view UsageAddLangCodePage =
    "                             [code page]  (optional; the language's own code page when left out)";
inline constexpr std::string_view UsageWriteRc =
    "Command 'Write Translated RC File':   /RC  <dbfilename.mdb> <language> <resfilename.rc>";
inline constexpr std::string_view UsageLogFile = "Log file:   /LOG  <logfilename>   (after the command)";
inline constexpr std::string_view UsageListLids = "Command 'List Local Language Ids':   /LIDS  <filename>";
inline constexpr std::string_view UsageCompact = "Command 'Compact Database':   /COMP  <dbfilename.mdb>";
inline constexpr std::string_view BatchTranslatedHeader = "QLN: Is translated ?\n     Database: %1\n     Language: %2";
inline constexpr std::string_view BatchYes = "     -->  Yes";
inline constexpr std::string_view BatchNo = "     -->  No";
// %1 texts, %2 translated texts, %3 texts flagged as not actual.
inline constexpr std::string_view BatchTranslatedCounts =
    "    amount = %1,  translated = %2,  not actual (modified) = %3  ";
inline constexpr std::string_view BatchUpToDateHeader = "QLN:  Check datatabase if UpToDate.\n     %1";
inline constexpr std::string_view BatchUpToDateHeaderScript =
    "QLN: Check datatabase if UpToDate.\n     Resource file:  %1\n     Database: %2";
inline constexpr std::string_view BatchUpToDateYes = "   (Yes)  Database check successful. Database is UpToDate.";
inline constexpr std::string_view BatchUpToDateNo =
    "   (No)   Database check successful. Database is not UpToDate.";
inline constexpr std::string_view BatchHasLanguageHeader = "QLN: Has translation ?\n     Database: %1\n     Language: %2";
inline constexpr std::string_view BatchExportHeader = "QLN:  Export to database.";
inline constexpr std::string_view BatchExportSucceeded = "QLN: Export successful.\n     From: %1\n     To:  %2";
inline constexpr std::string_view BatchExportLanguage = "     Language:  %1";
inline constexpr std::string_view BatchImportHeader = "QLN: Import text from database.";
inline constexpr std::string_view BatchImportSucceeded = "QLN: Successful import of '%1' text from %2 to %3.";
inline constexpr std::string_view BatchCreateHeader = "QLN: Create database file.";
inline constexpr std::string_view BatchCreateExists = "Warning: Database %1  for resource file %2 already exists.";
inline constexpr std::string_view BatchCreateSucceeded =
    "QLN: Create database file %1 successful for resource file %2.";
inline constexpr std::string_view BatchUpdateHeader = "QLN: Update database.  File:  %1";
inline constexpr std::string_view BatchUpdateHeaderScript =
    "QLN:  Update database.\n     Resource file: %1\n     Database: %2";
inline constexpr std::string_view BatchUpdateSucceeded = "     Update successful.";
inline constexpr std::string_view BatchUpdateFailed = "QLN Warning:  Database not updated.";
inline constexpr std::string_view BatchAddLangHeader = "QLN: Add language";
inline constexpr std::string_view BatchAddLangSucceeded = "QLN: Add language '%1' to %2 successful.";
inline constexpr std::string_view BatchWriteHeader = "QLN:  Write translated resource file.";
inline constexpr std::string_view BatchWriteSucceeded =
    "QLN: Write translated file successful.\n  Language:  '%1'\n  Database: %2\n  Translated resource file: %3";
inline constexpr std::string_view BatchListLidsHeader = "QLNCommand 'List Local Language Ids'";
// %1 identifier string, %2 display name.
inline constexpr std::string_view BatchListLidsLine = " %1\t\t\t\t\t\t%2";
inline constexpr std::string_view BatchCompactHeader = "QLN: Compact database. File:  %1";
inline constexpr std::string_view BatchCompactSucceeded = "     Compacting database successful.";
inline constexpr std::string_view BatchCompactNotDone = "QLN Warning:  Database not compacted.";
inline constexpr std::string_view BatchCompactFailed = "QLN Error: Failed to compact database %1";
inline constexpr std::string_view BatchFileNotFound = "QLN Error:  File not found ! %1";
inline constexpr std::string_view BatchWrongFileType = "Error: Wrong file type ! %1";
inline constexpr std::string_view BatchNotQlnDatabase = "QLN Error: File is not a QLN database.\n     %1";
// %1 the language, %2 the database.
inline constexpr std::string_view BatchLanguageNotInDatabase = "QLN Warning: Language '%1' not exists in database.\n   %2  ";
inline constexpr std::string_view BatchLanguageInvalid = "QLN Error:  Language parameter '%1' not valid !";
inline constexpr std::string_view BatchCodePageInvalid = "QLN Error:  Code page parameter '%1' not valid !";
// %1 the database engine's error text.
inline constexpr std::string_view BatchDaoException = "QLN Error:  DAO Exception.\n    %1";
inline constexpr std::string_view BatchCommandFailed = "QLN Error:  Command failed !";
inline constexpr std::string_view BatchUnknownFlag = "QLN Error:  Unknown Flag /%1 !";
inline constexpr std::string_view BatchReadOnlyDatabase = "QLN Error:  The database is read-only.\n     %1";
// %1 the file, %2 the cause.
inline constexpr std::string_view BatchCannotWriteFile = "QLN Error:  Can not write file %1.\n     %2";
// A log file name that is refused before the log is created: %1 the name.
inline constexpr std::string_view BatchLogIsCommandFile =
    "QLN Error:  The log file %1 is a file this command reads or writes.\n     The log is created anew: name "
    "another log file.";
inline constexpr std::string_view BatchLogIsProjectFile =
    "QLN Error:  The log file %1 is an existing project database or resource script.\n     The log is created "
    "anew: name another log file.";
// %1 the export database named on the command line.
inline constexpr std::string_view BatchExportTargetExists =
    "QLN Error:  The export database %1 already exists.\n     Export writes a new database only: remove the file "
    "or name another one.";

// --- Translation project: worksheet export and import -------------------------
// %1 the file, %2 its extension.
inline constexpr std::string_view ExportUnsupportedType =
    "Export text to %1\nUnsupported file type '%2'. Can not export text to this file.";
inline constexpr std::string_view ExportAborted = "Exporting text aborted.";
// %1 the file, %2 the cause.
inline constexpr std::string_view WorksheetWriteFailed = "Can not write the file %1.\n%2";
inline constexpr std::string_view WorksheetWrongHeader =
    "Import Text \nThe excel file '%1'\nwas not exported from Quillon (header is not correct).\nCan not import "
    "text from this file.";
inline constexpr std::string_view WorksheetNoLanguage =
    "Import Text\nThe Excel file has no translation text. Can not import text.";
inline constexpr std::string_view WorksheetUnknownLanguage =
    "Error: Unknown Language\nThe file header contains a language string '%1' which is not known by Quillon. The "
    "text at this column can not be imported.";
// %1 the language, %2 the script.
inline constexpr std::string_view WorksheetAskAddLanguage =
    "Import '%1' text.\nThere exists no %1 translation for the resource file\n  %2.\nDo you want to add the "
    "translation ?";
inline constexpr std::string_view WorksheetAddLanguageFailed =
    "Error:  Add '%1' language.\nThe language could not be added to the database of the resource file %2.";
inline constexpr std::string_view WorksheetImported = "%1 text resources imported from Excel file.";
inline constexpr std::string_view WorksheetNothingDiffers = "Import Text.\nNo text imported. Current text is actual.";
inline constexpr std::string_view WorksheetNoMatch = "No resources with the same ID found. No text imported.";
inline constexpr std::string_view WorksheetMarked = "%1 text items marked.";
inline constexpr std::string_view WorksheetNothingMarked =
    "No import text found which differs from the current translation text. No text items marked.";
inline constexpr std::string_view WorksheetNoMatchMarked = "No resources with the same ID found. No text marked.";
inline constexpr std::string_view WorksheetImportAborted = "Import text aborted. No text imported.";

// --- Translation project: following changes of the source script ------------------
inline constexpr std::string_view UpdateCommandPrompt = "Update database\nUpdate";
inline constexpr std::string_view RefreshStatusPrompt = "Checking for source file changes";
// Title of an out-of-date project: %1 the title; with the script's file name %2.
inline constexpr std::string_view OutOfDateTitle = "%1 (Update database !)";
inline constexpr std::string_view OutOfDateTitleWithScript = "%1 (Update database !) (%2)";
// %1 the script path.
inline constexpr std::string_view AskUpdateChangedSource =
    "The source file %1 has changed.\nDo you want to update the database now ?";
// %1 the script paths, one per line.
inline constexpr std::string_view ChangedSources =
    "The following source file(s) has changed:\n%1.\n\nUse update command to update the databases. ";
inline constexpr std::string_view IncludeListChanged =
    "Resource files for including into the project is changed.\nThe database has to be updated !\n\n"
    "To update the database choose 'Update Database' at the 'Translation' menu.";
// %1 the script path.
inline constexpr std::string_view UpdateProgressTitle = "Update %1";
inline constexpr std::string_view UpdateSucceeded = "\n\nUpdate of %1  successful.";
inline constexpr std::string_view UpdateCancelled = "Update file canceled !\nFile: %1";
inline constexpr std::string_view UpdateFailed = "Error updateing resource file %1 !";
inline constexpr std::string_view UpdateIncludeOpenError = "Open file error.\nCan not open include file %1.";
inline constexpr std::string_view UpdateMemoryError = "Memory Error\nNot enough memory !";
inline constexpr std::string_view UpdateParserError = "Parser Error\nError while parsing resource file %1.";

// --- Translation checks ----------------------------------------------------------
// %1 and %2 list the placeholders of the source and of the translation.
inline constexpr std::string_view CheckPlaceholderCount = "Placeholders differ: the source has %1, the translation %2.";
inline constexpr std::string_view CheckPlaceholderOrder =
    "Placeholders in another order: the source has %1, the translation %2.";
inline constexpr std::string_view CheckPlaceholderNone = "none";
// %1 the hotkey letter, %2 the other text that uses it.
inline constexpr std::string_view CheckHotkeyDuplicate = "Hotkey '%1' is also used by \"%2\".";
inline constexpr std::string_view CheckHotkeyMissing = "The source has the hotkey '%1', the translation none.";
inline constexpr std::string_view CheckHotkeyTwice = "More than one hotkey marker in one text.";
inline constexpr std::string_view CheckLeadingBlanks = "Leading blanks differ from the source.";
inline constexpr std::string_view CheckTrailingBlanks = "Trailing blanks differ from the source.";
// %1 and %2 the counts in the source and in the translation.
inline constexpr std::string_view CheckLineBreaks = "The source has %1 line break(s) (\\n), the translation %2.";
inline constexpr std::string_view CheckTabs = "The source has %1 tab(s) (\\t), the translation %2.";
inline constexpr std::string_view CheckEllipsisLost = "The source ends with an ellipsis, the translation does not.";
inline constexpr std::string_view CheckEllipsisAdded = "The translation ends with an ellipsis, the source does not.";
// %1 and %2 the final characters of the source and of the translation.
inline constexpr std::string_view CheckPunctuation = "The source ends with %1, the translation with %2.";
inline constexpr std::string_view CheckPunctuationNone = "no mark";
inline constexpr std::string_view CheckUntranslated = "Not translated.";
// %1 the code page, %2 the character.
inline constexpr std::string_view CheckEncoding =
    "Code page %1 cannot hold the character '%2': the translated script cannot be written.";
// %1 pixels needed, %2 pixels the control has, %3 the font.
inline constexpr std::string_view CheckClippedWidth =
    "Clipped: the text needs %1 pixels, the control is %2 wide (%3).";
inline constexpr std::string_view CheckClippedHeight =
    "Clipped: the lines need %1 pixels, the control is %2 high (%3).";
// %1 the other control's text or identifier.
inline constexpr std::string_view CheckOverlap =
    "Overlaps \"%1\" in this language's layout, but not in the source's.";
inline constexpr std::string_view CheckEncodingInvalid = "The text is not valid UTF-8.";
// qln-check's own messages. %1 the program name.
inline constexpr std::string_view CheckUsage =
    "usage: %1 DATABASE [LANGUAGE ...] [--checks LIST] [--format text|json|junit] [--max-severity info|warning|error]\n"
    "       %1 --pseudo DATABASE LANGUAGE [--expand PERCENT] [--as-translated]\n"
    "checks: %2\n"
    "Exit codes: 0 no finding above the threshold, 1 findings above it, 2 error.";
inline constexpr std::string_view CheckUnknownCheck = "Unknown check '%1'.";
inline constexpr std::string_view CheckUnknownFormat = "Unknown output format '%1'.";
inline constexpr std::string_view CheckUnknownSeverity = "Unknown severity '%1'.";
inline constexpr std::string_view CheckBadExpand = "Expansion '%1' is not a percentage from 0 to 300.";
inline constexpr std::string_view CheckLanguageNotInProject = "The project %1 has no translation %2.";
inline constexpr std::string_view CheckSummary = "%1 finding(s) in %2 text(s) checked.";
// %1 texts filled, %2 the language, %3 texts left as they were.
inline constexpr std::string_view PseudoSummary = "%1 text(s) of %2 pseudo-translated; %3 kept.";
// --- Project files under concurrent use, damaged databases -------------------------
// %1 the database.
inline constexpr std::string_view DatabaseInUse =
    "The database %1 is in use by another process.\nTry again when the other operation has finished.";
inline constexpr std::string_view BatchDatabaseInUse =
    "QLN Error:  The database %1 is in use by another process.\n     Try again when the other operation has "
    "finished.";
// %1 the table names, separated by commas.
inline constexpr std::string_view MissingTables = "     Missing table(s): %1";
// --- Translation views: text table and translation bar ---------------------------
inline constexpr std::string_view IdColumn = "Id";
inline constexpr std::string_view SourceTextColumn = "Source Text";
// %1 the source languages, joined with ", ".
inline constexpr std::string_view SourceTextColumnWithLanguages = "Source Text (%1)";
inline constexpr std::string_view TextTableTitle = "Text Table";
// %1 the top row's number.
inline constexpr std::string_view ScrollTip = "Line %1";
inline constexpr std::string_view ReloadingTextTable = "Reloading Text Table";
inline constexpr std::string_view AddingDialogRows = "Dialog Resources  to Text Table Window";
inline constexpr std::string_view AddingMenuRows = "Menu Resources  to Text Table Window";
inline constexpr std::string_view AddingStringRows = "Stringtable Resources  to Text Table Window";
inline constexpr std::string_view AddingExcludedRows = "Add Excluded Text to Text Table Window";
// %1 the translated, %2 the modified percentage.
inline constexpr std::string_view ProgressPane = "Translated: %1%  Modified: %2%";
inline constexpr std::string_view FilterDialogs = "&Dialog Resources";
inline constexpr std::string_view FilterMenus = "&Menu Resources";
inline constexpr std::string_view FilterStrings = "Stringt&able Resource";
inline constexpr std::string_view FilterVersions = "&VersionInfo Resources";
inline constexpr std::string_view FilterBitmaps = "&Bitmap Resources";
inline constexpr std::string_view FilterIncludes = "File &Includes";
inline constexpr std::string_view FilterExcluded = "&Excluded Text";
inline constexpr std::string_view FilterModifiedOnly = "Modified and Not Translated (only)";
inline constexpr std::string_view CommandTranslate = "Translate";
inline constexpr std::string_view CommandExcludeItem = "Exclude &Item";
inline constexpr std::string_view CommandNextItem = "&Next Item";
inline constexpr std::string_view CommandPreviousItem = "&Previous Item";
inline constexpr std::string_view CommandBlockHeader = "Version Block Header...";
inline constexpr std::string_view CommandShowChangedSource = "Show Changed Source Text...";
inline constexpr std::string_view ShowChangedSourceHint = "Shows the old and the current source text.";
inline constexpr std::string_view ContextViewDialog = "View Dialog...";
inline constexpr std::string_view ContextViewMenu = "View Menu...";
inline constexpr std::string_view ContextCaptionViewDialog = "\"Caption\": View Dialog...";
inline constexpr std::string_view ContextItemViewDialog = "Dialog Item: View Dialog...";
inline constexpr std::string_view ContextMenuItemViewMenu = "MenuItem: View Menu...";
inline constexpr std::string_view ContextPopupViewMenu = "\"Popup\": View Menu...";
inline constexpr std::string_view ContextViewBitmap = "View Bitmap...";
inline constexpr std::string_view ContextBookmark = "&Bookmark...";
inline constexpr std::string_view ContextExclude = "Exclude From Translation";
inline constexpr std::string_view TranslationBarTitle = "Translation";
inline constexpr std::string_view BarOkNext = "OK Next";
inline constexpr std::string_view BarOk = "OK";
inline constexpr std::string_view BarCancelNext = "Cancel Next";
inline constexpr std::string_view BarCopy = "Copy";
inline constexpr std::string_view BarChar = "Char";
inline constexpr std::string_view BarSourceText = "Src Text";
// A version block header: %1 the language, %2 the code page.
inline constexpr std::string_view BlockHeaderDisplay = "%1,   Code page:  %2";
inline constexpr std::string_view SpecialCharactersTitle = "Special Characters";
inline constexpr std::string_view SourceTextDialogTitle = "Source Text";
inline constexpr std::string_view SourceTextPrevious = "Prev.:";
inline constexpr std::string_view SourceTextCurrent = "Current:";
inline constexpr std::string_view SourceTextClose = "Close";
inline constexpr std::string_view NoOldSourceText =
    "View old source text.\n\nItem is just marked as modified for a recheck.\nThere is no old source text.";
inline constexpr std::string_view BlockHeaderTitle = "Version Block Header";
inline constexpr std::string_view BlockHeaderLanguage = "Language:";
inline constexpr std::string_view BlockHeaderCodePage = "Code page:";
inline constexpr std::string_view BlockHeaderName = "Block name:";
// --- Workbench: option pages and dialogs -------------------------------------------
// %1 the extension list as typed (lower case).
inline constexpr std::string_view IncludeExtensionsBadCharacters = "Include extension(s) '%1' contains not allowed characters";
// %1 the refused extension.
inline constexpr std::string_view IncludeExtensionRefused =
    "Include extension '%1' is not accepted as a resource include file";
inline constexpr std::string_view SourceSettingsTitle = "Source Text Settings";
// %1 the language's display name.
inline constexpr std::string_view TranslationSettingsTitle = "%1  Translation Settings";
inline constexpr std::string_view TranslationFileLabel = "%1 Resource &File Name:";
inline constexpr std::string_view ToolbarSettingsTitle = "Toolbar Settings";
inline constexpr std::string_view ToolbarsColumn = "Toolbars";
inline constexpr std::string_view ImportDialogTitle = "Import Text from File";
inline constexpr std::string_view ImportFilterWorksheet = "Microsoft Excel File (*.xls)|*.xls|";
inline constexpr std::string_view ImportFilterDatabase = "Database File (*.mdb)|*.mdb|";
inline constexpr std::string_view ImportFilterScript =
    "Resource Script File (*.rc)|*.rc|QLN 2.x Translated RC File (*.rc*)|*.rc*|";
// Column choice of the worksheet export: the identifier and source entries.
inline constexpr std::string_view ExportColumnIds = "\"Id's\"";
inline constexpr std::string_view ExportColumnSource = "\"Source\"";
// Offered once a worksheet is written, in place of closing the spreadsheet program.
inline constexpr std::string_view ExportOpenWorkbook = "%1\n%2 rows exported.\n\nDo you want to open the file ?";

// --- Workbench: start-up, main window, project document ---------------------------
// The module with the workbench's windows could not be loaded: %1 its path, %2 why.
inline constexpr std::string_view WorkbenchModuleMissing = "The workbench window cannot be started: %1\n%2";
// Started without batch switches where there is no display: %1 the file named, if any.
inline constexpr std::string_view WorkbenchNoDisplay =
    "The workbench window needs a display (DISPLAY or WAYLAND_DISPLAY is not set).";
inline constexpr std::string_view WorkbenchNoDisplayFile =
    "The workbench window needs a display (DISPLAY or WAYLAND_DISPLAY is not set); %1 was not opened.";
inline constexpr std::string_view OpenFileFilter =
    "Resource Script File (*.rc)|*.rc|Resource Script File (*.rc2)|*.rc2|Database File (*.mdb)|*.mdb|All Files "
    "(*.*)|*.*||";
inline constexpr std::string_view AskSaveChanges = "Save changes to %1?";
inline constexpr std::string_view StatusReady = "Ready";
inline constexpr std::string_view AboutTitle = "About Quillon";
inline constexpr std::string_view AboutText =
    "Quillon Version 4.0\n\nTranslates the texts of resource scripts (.rc) into other languages.";
// Title of a project's window: %1 the file, %2 the project state.
inline constexpr std::string_view ProjectTitleWithState = "%1  [%2]";
inline constexpr std::string_view TreePanePlaceholder =
    "Resource tree\n\nThe dialogs, menus, string tables, version information and bitmaps of the script will be "
    "listed here.";
inline constexpr std::string_view TextPanePlaceholder =
    "Text table\n\nEvery text of the script will be shown here with its translations, one row per text.";
inline constexpr std::string_view TranslationBarPlaceholder =
    "Translation bar\n\nThe source text of the selected row and its translation will be edited here.";
// The main window's title with the active project: %1 the program, %2 the project's title.
inline constexpr std::string_view MainTitleWithProject = "%1 - %2";
// The project file list: its window, columns, states and commands.
inline constexpr std::string_view ProjectFilesTitle = "Project Files";
inline constexpr std::string_view ProjectFilesColumnFile = "File";
inline constexpr std::string_view ProjectFilesColumnSize = "Size";
inline constexpr std::string_view ProjectFilesColumnState = "State";
inline constexpr std::string_view ProjectFilesColumnTranslations = "Translations";
inline constexpr std::string_view ProjectFilesColumnDirectory = "Directory";
inline constexpr std::string_view StateNoTranslation = "No Translation";
inline constexpr std::string_view StateNotComplete = "Not Complete";
inline constexpr std::string_view StateTranslated = "Translated";
inline constexpr std::string_view StateChanged = "Changed";
inline constexpr std::string_view ProjectListOpenPrompt = "Open a resource file from the project list\nOpen";
inline constexpr std::string_view ProjectListRemovePrompt = "Remove a file from the project list\nRemove";
// Names of the bars, as the window titles and the Toolbars list show them.
inline constexpr std::string_view BarEditToolbar = "Edit Toolbar";
inline constexpr std::string_view BarTranslation = "Translation";
inline constexpr std::string_view BarProjectFileList = "Project File List";
inline constexpr std::string_view BarStatusbar = "Statusbar";
inline constexpr std::string_view BarLanguageToolbar = "Language Toolbar";
inline constexpr std::string_view BarDialogEdit = "Dialog Edit";
inline constexpr std::string_view LanguageToolbarTitle = "Language";
// The language list of the language toolbar: the source texts come first.
inline constexpr std::string_view LanguageSourceText = "Source Text";
// A command whose window comes with a later part of the workbench.
inline constexpr std::string_view CommandNotAvailable = "Not available yet";
// The settings file could not be written: %1 the file.
inline constexpr std::string_view SettingsNotWritten = "The settings could not be saved to %1.";

// --- Workbench: translation checks ------------------------------------------------
inline constexpr std::string_view CheckDockTitle = "Check Results";
// Column headers of the check results.
inline constexpr std::string_view CheckColumnSeverity = "Severity";
inline constexpr std::string_view CheckColumnCheck = "Check";
inline constexpr std::string_view CheckColumnResource = "Resource";
inline constexpr std::string_view CheckColumnId = "Id";
inline constexpr std::string_view CheckColumnSource = "Source Text";
inline constexpr std::string_view CheckColumnTranslation = "Translation";
inline constexpr std::string_view CheckColumnMessage = "Message";
// %1 the number of findings, %2 the language, %3 the texts checked.
inline constexpr std::string_view CheckStatus = "%1 finding(s) in %2 (%3 texts checked)";
inline constexpr std::string_view CheckNoTranslation = "The project has no translation to check.";

// --- Dialog preview ---------------------------------------------------------
// Title of a dialog's preview window: %1 the dialog, %2 the project's title.
inline constexpr std::string_view PreviewTitle = "Dialog: %1  (%2)";
// The language pane while a preview is active: the source, or %1 the language.
inline constexpr std::string_view PreviewSourcePane = "Source Dialog";
inline constexpr std::string_view PreviewLanguagePane = "%1 Dialog";
// The preview's context menu.
inline constexpr std::string_view PreviewStringAtTable = "String at Table";
inline constexpr std::string_view PreviewBookmark = "&Bookmark...";
// String Resource found the text filtered out of the text table.
inline constexpr std::string_view PreviewTextNotVisible =
    "The text of the selected item is not visible at the 'Text Table' window.";

// --- Dialog layout editor ------------------------------------------------------
// Edit mode refused for a database older than format 8: %1 the database file.
inline constexpr std::string_view EditObsoleteFormat =
    "Obsolete database format:  %1\n\nTo edit the dialog layout the database file has to be converted into the "
    "new 4.x Quillon database format.\nTo convert the database, please close all open documents and from the "
    "'Tools' menu choose 'Convert Database...'.";
// Unsaved layout changes on a language switch or on closing: %1 the dialog.
inline constexpr std::string_view EditSaveQuestion =
    "Changes at dialog %1.\n\nDo you want to save current dialog template ?";
// Rows of a layout that could not be written: %1 the dialog, %2 the causes.
inline constexpr std::string_view EditRowsNotSaved = "Parts of the layout of dialog %1 could not be saved:\n\n%2";
inline constexpr std::string_view EditModePane = "Edit";
inline constexpr std::string_view EditDialogBarTitle = "Pos. && Size";
// The rows and columns of the position and size bar.
inline constexpr std::string_view EditBarSource = "Source";
inline constexpr std::string_view EditBarCurrent = "Current";
inline constexpr std::string_view EditBarColumns[] = {"x", "y", "cx", "cy"};

// --- Menu view and bitmap view ------------------------------------------------
// Window titles: %1 the menu's or the bitmap's name, %2 the project's title.
inline constexpr std::string_view MenuViewTitle = "Menu: %1  (%2)";
inline constexpr std::string_view BitmapViewTitle = "Bitmap: %1  (%2)";
inline constexpr std::string_view ViewSourceLanguage = "View with &Source Language";
inline constexpr std::string_view ViewTranslated = "View &Translated";
inline constexpr std::string_view ContextStringAtTable = "String at Table";
inline constexpr std::string_view ContextFileNameAtTable = "File Name at Table";
inline constexpr std::string_view ItemNotInTextTable =
    "The text of the selected item is not visible at the 'Text Table' window.";
inline constexpr std::string_view BitmapTooLarge = "Bitmap is too large.";
// %1 the bitmap's file name.
inline constexpr std::string_view BitmapFileNotFound = "%1\n(Bitmap file not found)";
inline constexpr std::string_view SourceBitmapPane = "Source Bitmap";
inline constexpr std::string_view BitmapPaneSuffix = "Bitmap";
// --- Resource tree ----------------------------------------------------------
inline constexpr std::string_view TreeRoot = "Resources";
// Group nodes: %1 the number of resources of the kind.
inline constexpr std::string_view TreeDialogs = "Dialogs (%1)";
inline constexpr std::string_view TreeMenus = "Menus (%1)";
inline constexpr std::string_view TreeStrings = "Strings (%1)";
inline constexpr std::string_view TreeBitmaps = "Bitmaps (%1)";
inline constexpr std::string_view TreeVersions = "Versions (%1)";
inline constexpr std::string_view TreeIncludes = "Includes (%1)";
// A group whose kind the text table hides.
inline constexpr std::string_view TreeDialogsHidden = "Dialogs (hidden)";
inline constexpr std::string_view TreeMenusHidden = "Menus (hidden)";
inline constexpr std::string_view TreeStringsHidden = "Strings (hidden)";
inline constexpr std::string_view TreeBitmapsHidden = "Bitmaps (hidden)";
inline constexpr std::string_view TreeVersionsHidden = "Versions (hidden)";
inline constexpr std::string_view TreeIncludesHidden = "Includes (hidden)";
// Labels of the nodes below a resource.
inline constexpr std::string_view TreeCaption = "\"Caption\"";
inline constexpr std::string_view TreePopup = "POPUP";
inline constexpr std::string_view TreeBlockHeader = "\"Block Header\"";
// --- Find, replace and bookmarks ----------------------------------------------
inline constexpr std::string_view FindTitle = "Find Text";
inline constexpr std::string_view ReplaceTitle = "Replace";
inline constexpr std::string_view BookmarkTitle = "Bookmark";
inline constexpr std::string_view FindWhere = "&Where:";
inline constexpr std::string_view FindWhat = "&What:";
inline constexpr std::string_view FindChangedItems = "Changed &Items";
inline constexpr std::string_view FindMatchCase = "&Match Case";
inline constexpr std::string_view FindWholeWord = "Match Whole Word &Only";
inline constexpr std::string_view FindNextButton = "&Find Next";
inline constexpr std::string_view FindMarkAll = "Mark &All";
inline constexpr std::string_view FindCancel = "&Cancel";
inline constexpr std::string_view FindSourceEntry = "\"Source\"";
inline constexpr std::string_view ReplaceFindWhat = "&Find what:";
inline constexpr std::string_view ReplaceWith = "Re&place with:";
inline constexpr std::string_view ReplaceFindNext = "Find &Next";
inline constexpr std::string_view ReplaceButton = "&Replace";
inline constexpr std::string_view ReplaceAllButton = "Replace &All";
// %1 the search text.
inline constexpr std::string_view NoMatchesFound = "No matches found with \"%1\".";
inline constexpr std::string_view NoChangedSourceFound = "No changed source text found !";
inline constexpr std::string_view ReplaceNotFound = "'%1' not found.";
// %1 the search text, %2 how many times it was replaced.
inline constexpr std::string_view ReplacedTimes = "%1 replaced  %2 times.";
inline constexpr std::string_view BookmarkNameLabel = "&Name:";
inline constexpr std::string_view BookmarkList = "&Bookmarks:";
inline constexpr std::string_view BookmarkAdd = "&Add";
inline constexpr std::string_view BookmarkDelete = "&Delete";
inline constexpr std::string_view BookmarkGoTo = "&Go To";
inline constexpr std::string_view BookmarkClose = "&Close";
inline constexpr std::string_view BookmarkResourceGroup = "Resource";
// %1 the resource, %2 the item type, %3 the item's identifier.
inline constexpr std::string_view BookmarkResourceLine = "%1    %2 %3";
// %1 the language's display name.
inline constexpr std::string_view BookmarkLanguageLine = "Language: %1";
inline constexpr std::string_view BookmarkMissingTranslation =
    "Go to bookmark.\nThere is no \"%1\" translation any more. Can not go to bookmark.";
inline constexpr std::string_view BookmarkNotVisible =
    "The text of the selected item is not visible at the 'Text Table' window.";

// Replaces %1, %2, ... in `pattern` by the given arguments.
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args);

// The items of a list shown in one message, one per line (or joined by `separator`).
std::string JoinLines(const std::vector<std::string>& items, std::string_view separator = "\n");

}  // namespace qln::msg
