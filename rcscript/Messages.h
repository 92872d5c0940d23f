#pragma once
// Every message the core shows to a user, in one place. %1 and %2 are
// placeholders filled with Format().

#include <string>
#include <string_view>
#include <initializer_list>

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

// --- Project database: translation languages -----------------------------------
inline constexpr std::string_view LanguageAlreadyExists = "The language  %1  already exists. ";
inline constexpr std::string_view AddLanguageFailed = "Error: can not add language to database !";
inline constexpr std::string_view NoTranslationToDelete = "There is no translation to delete.";
inline constexpr std::string_view AskDeleteTranslation = "Do you realy want to delete the translation %1 ?";
inline constexpr std::string_view TranslationFileIsSource =
    "Select Translation File Name\nThe file name you have specified is the name of the source resource "
    "file.\nPlease use a  different file name.";
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
// the written script, %3 the text, %4 the code page.
inline constexpr std::string_view WriteUnrepresentable =
    "Save \"%1\" translation file.\nLine %2: the text \"%3\" cannot be written in code page %4.\nNothing was "
    "written for this language. Change the text or the code page of the translation.";
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
// %1 the script path.
inline constexpr std::string_view BuildParserError = "Build Translation File Database.\nParser Error at file %1.";
inline constexpr std::string_view BuildParserErrorPopup =
    "Build Translation File Database.\nParser Error (Menu Popup) at file %1.";
inline constexpr std::string_view BuildDatabaseError =
    "Build Translation File Database.\nError while creating database %1.";

// Replaces %1, %2, ... in `pattern` by the given arguments.
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace qln::msg
