#pragma once
// Helpers of the import tests: a small English project with one resource of
// each kind, and the translations of a database read back by source text.

#include "build_support.h"

#include "projectdb/Sql.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace qln::test {

// The English source: a dialog with two labels named IDC_STATIC, a menu with
// two popups, three strings, a bitmap and a version resource.
inline constexpr const char* kEnglishScript = R"(LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
IDD_ABOUT DIALOGEX 0, 0, 200, 100
CAPTION "About"
BEGIN
    LTEXT "Name:", IDC_STATIC, 5, 5, 50, 8
    LTEXT "Size:", IDC_STATIC, 5, 20, 50, 8
    DEFPUSHBUTTON "OK", IDOK, 5, 40, 50, 14
END
IDR_MAIN MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "&Open", ID_FILE_OPEN
    END
    POPUP "&Edit"
    BEGIN
        MENUITEM "&Copy", ID_EDIT_COPY
    END
END
STRINGTABLE
BEGIN
    IDS_ONE "One"
    IDS_TWO "Two"
    IDS_THREE "Three"
END
IDB_LOGO BITMAP "logo.bmp"
VS_VERSION_INFO VERSIONINFO
FILEVERSION 1,0,0,1
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        BLOCK "040904E4"
        BEGIN
            VALUE "FileDescription", "Demo"
        END
    END
END
)";

struct Translation {
    std::string text;  // "NULL" when there is none
    std::string flag;
    bool operator==(const Translation&) const = default;
};

// Source text -> translation and flag of the language column `column`.
inline std::map<std::string, Translation> TranslationsOf(const std::filesystem::path& database,
                                                         const std::string& column)
{
    std::map<std::string, Translation> out;
    const std::string q = sql::QuoteIdentifier(column), f = sql::QuoteIdentifier(column + "_Modified");
    for (const Row& row : Rows(database, "SELECT SourceText, " + q + ", " + f +
                                             " FROM ResourceText WHERE SourceText IS NOT NULL"))
        out[row[0]] = {row[1], row[2]};
    return out;
}

// A project built from kEnglishScript in `dir`; returns the database path
// (the database is closed).
inline std::filesystem::path EnglishProject(const TempDir& dir, const std::string& name = "app.rc")
{
    BuildResult built = BuildText(dir, kEnglishScript, name);
    EXPECT_TRUE(built.ok()) << built.message;
    return LongDatabasePath(dir / name);
}

}  // namespace qln::test
