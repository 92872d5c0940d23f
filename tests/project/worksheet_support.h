#pragma once
// A small project with every kind of text and two translations, for the
// text table and worksheet tests.

#include "build_support.h"

#include "project/SheetFile.h"
#include "project/TextTable.h"
#include "project/Worksheet.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace qln::test {

inline constexpr const char* kSampleScript = R"(LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US

IDD_ABOUT DIALOG 0, 0, 200, 100
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION
CAPTION "About Demo"
FONT 8, "MS Shell Dlg"
BEGIN
    LTEXT "Demo, Version 1.0", IDC_STATIC, 10, 10, 100, 8
    LTEXT "Copyright ""2024""", IDC_STATIC, 10, 20, 100, 8
    DEFPUSHBUTTON "OK", IDOK, 140, 80, 50, 14
END

IDR_MAIN MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "&Open...\tCtrl+O", ID_FILE_OPEN
        MENUITEM SEPARATOR
        MENUITEM "E&xit", ID_APP_EXIT
    END
    POPUP "&Help"
    BEGIN
        MENUITEM "&About...", ID_APP_ABOUT
    END
END

STRINGTABLE
BEGIN
    IDS_HELLO "Hello, world"
    IDS_SIZE "Größe: %d"
    IDS_EMPTY ""
END

IDB_LOGO BITMAP "res\\logo.bmp"

VS_VERSION_INFO VERSIONINFO
 FILEVERSION 1,0,0,1
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        BLOCK "040904b0"
        BEGIN
            VALUE "FileDescription", "Demo Application"
            VALUE "FileVersion", "1.0"
        END
    END
END
)";

inline constexpr LanguagePair kGerman{7, 1};
inline constexpr LanguagePair kFrench{12, 1};

// The sample project built in a temporary folder, with German and French
// added and a few texts translated.
class SampleProject : public ::testing::Test {
protected:
    void SetUp() override
    {
        BuildResult built = BuildText(dir, kSampleScript, "demo.rc");
        ASSERT_TRUE(built.ok()) << built.message;
        project = std::move(built.database);
        ASSERT_TRUE(AddLanguage(*project, kGerman.primary, kGerman.sub, 1252));
        ASSERT_TRUE(AddLanguage(*project, kFrench.primary, kFrench.sub, 1252));
        Translate("IDS_HELLO", kGerman, "Hallo, Welt");
        Translate("IDS_SIZE", kFrench, "Taille : %d");
    }

    // LineIndex of the string with that identifier.
    std::int32_t StringLine(const std::string& ident)
    {
        return std::stoi(Value(project->path(), "SELECT LineIndex FROM StringtableString WHERE Name_ID = '" +
                                                    ident + "'"));
    }
    void Translate(const std::string& stringIdent, LanguagePair language, const std::string& text)
    {
        ASSERT_TRUE(project->SetTranslation(StringLine(stringIdent), language.primary, language.sub, text, false));
    }
    // Every text of every row as one string, to compare whole projects.
    std::string Snapshot()
    {
        std::string all;
        for (const Row& row : Rows(project->path(), "SELECT * FROM ResourceText ORDER BY LineIndex")) {
            for (const std::string& field : row)
                all += field + "|";
            all += "\n";
        }
        for (const Row& row : Rows(project->path(), "SELECT LanguageStr FROM Translations ORDER BY rowid"))
            all += row[0] + "\n";
        return all;
    }

    TempDir dir;
    std::unique_ptr<CProjectDatabase> project;
};

}  // namespace qln::test
