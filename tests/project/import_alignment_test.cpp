// Importing a translated script whose dialogs repeat identifiers: every
// statement takes its own slot, empty texts included; where the script and the
// project disagree in the number of controls, what cannot be paired one to
// one is reported with its lines instead of guessed.

#include "import_support.h"

#include "project/ImportScript.h"
#include "rcscript/Messages.h"

#include <gtest/gtest.h>

namespace qln {
namespace {

namespace fs = std::filesystem;

constexpr LanguagePair kGerman{7, 1};

// "Größen" in UTF-8, to be spliced into script literals.
#define GROESSEN "Gr\xC3\xB6\xC3\x9F" "en"

// Source text and German translation of every text line, in script order.
std::vector<test::Row> GermanByLine(const fs::path& db)
{
    return test::Rows(db, "SELECT ResourceText.SourceText, ResourceText.German FROM ResFileLine "
                          "JOIN ResourceText ON ResourceText.LineIndex = ResFileLine.LineIndex "
                          "WHERE ResFileLine.LineIdentSym <> 1 ORDER BY ResFileLine.Line");
}

std::string Dialog(const std::string& body)
{
    return "IDD_PAGE DIALOGEX 0, 0, 200, 200\nCAPTION \"Page\"\nBEGIN\n" + body + "END\n";
}

ImportResult ImportGerman(const test::TempDir& dir, const fs::path& db, const std::string& script)
{
    test::WriteFile(dir / "page_de.rc", script);
    return ImportTranslatedScript(db, dir / "page_de.rc", kGerman);
}

// The note that lists the texts not imported, at these lines of page_de.rc.
std::string UnalignedNote(const test::TempDir& dir, int count, const std::string& lines)
{
    const std::string file = fs::canonical(dir / "page_de.rc").string();
    const std::string place = msg::Format(msg::ImportUnalignedLines, {file, lines});
    return msg::Format(msg::ImportUnaligned, {std::to_string(count), place});
}

TEST(ImportAlignment, EmptyTextsTakeTheirSlotAndEmptySourcesGetNoTranslation)
{
    test::TempDir dir;
    const BuildResult built = test::BuildText(dir,
                                              Dialog("    GROUPBOX \"\", IDC_STATIC, 0, 0, 90, 20\n"
                                                     "    GROUPBOX \"Colors\", IDC_STATIC, 0, 20, 90, 20\n"
                                                     "    GROUPBOX \"Fonts\", IDC_STATIC, 0, 40, 90, 20\n"
                                                     "    GROUPBOX \"\", IDC_STATIC, 0, 60, 90, 20\n"
                                                     "    GROUPBOX \"Sizes\", IDC_STATIC, 0, 80, 90, 20\n"
                                                     "    GROUPBOX \"Lines\", IDC_STATIC, 0, 100, 90, 20\n"
                                                     "    GROUPBOX \"\", IDC_STATIC, 0, 120, 90, 20\n"
                                                     "    LTEXT \"Name:\", IDC_STATIC, 100, 0, 50, 8\n"
                                                     "    LTEXT \"\", IDC_STATIC, 100, 10, 50, 8\n"
                                                     "    LTEXT \"Size:\", IDC_STATIC, 100, 20, 50, 8\n"),
                                              "page.rc");
    ASSERT_TRUE(built.ok()) << built.message;
    const fs::path db = LongDatabasePath(dir / "page.rc");
    // The translator filled one empty box and left one label empty.
    const ImportResult result =
        ImportGerman(dir, db,
                     Dialog("    GROUPBOX \"\", IDC_STATIC, 0, 0, 90, 20\n"
                            "    GROUPBOX \"Farben\", IDC_STATIC, 0, 20, 90, 20\n"
                            "    GROUPBOX \"Schriften\", IDC_STATIC, 0, 40, 90, 20\n"
                            "    GROUPBOX \"Rahmen\", IDC_STATIC, 0, 60, 90, 20\n"
                            "    GROUPBOX \"" GROESSEN "\", IDC_STATIC, 0, 80, 90, 20\n"
                            "    GROUPBOX \"Linien\", IDC_STATIC, 0, 100, 90, 20\n"
                            "    GROUPBOX \"\", IDC_STATIC, 0, 120, 90, 20\n"
                            "    LTEXT \"\", IDC_STATIC, 100, 0, 50, 8\n"
                            "    LTEXT \"\", IDC_STATIC, 100, 10, 50, 8\n"
                            "    LTEXT \"Gr\xC3\xB6\xC3\x9F" "e:\", IDC_STATIC, 100, 20, 50, 8\n"));
    ASSERT_EQ(result.status, ImportStatus::Imported) << result.message;
    // An empty source text is stored as none.
    const std::vector<test::Row> expected = {
        {"NULL", "NULL"},       {"Colors", "Farben"},
        {"Fonts", "Schriften"}, {"NULL", "NULL"},  // never a translation where the source has no text
        {"Sizes", GROESSEN}, {"Lines", "Linien"},
        {"NULL", "NULL"},       {"Name:", "NULL"},  // an empty text is no translation
        {"NULL", "NULL"},       {"Size:", "Gr\xC3\xB6\xC3\x9F" "e:"},
    };
    EXPECT_EQ(GermanByLine(db), expected);
    EXPECT_EQ(result.imported, 6);  // with the caption
    EXPECT_EQ(result.unaligned, 0);
    EXPECT_TRUE(result.notes.empty());
}

// A dialog whose IDC_STATIC boxes lie between controls of their own identifiers.
constexpr const char* kPageBody = "    GROUPBOX \"General\", IDC_STATIC, 0, 0, 90, 20\n"
                                  "    CHECKBOX \"Bold\", IDC_BOLD, 0, 20, 90, 10\n"
                                  "    GROUPBOX \"Colors\", IDC_STATIC, 0, 30, 90, 20\n"
                                  "    LTEXT \"Red\", IDC_STATIC, 0, 50, 90, 8\n"
                                  "    CHECKBOX \"Italic\", IDC_ITALIC, 0, 60, 90, 10\n"
                                  "    GROUPBOX \"Sizes\", IDC_STATIC, 0, 70, 90, 20\n"
                                  "    GROUPBOX \"Lines\", IDC_STATIC, 0, 90, 90, 20\n";

TEST(ImportAlignment, OneControlMoreOrFewerLeavesOnlyItsStretchUnpaired)
{
    const struct {
        const char* trace;
        const char* body;
        std::vector<test::Row> expected;
        int unaligned;  // the statements of page_de.rc at these lines
        const char* lines;
    } cases[] = {
        {"one box more behind IDC_ITALIC",
         "    GROUPBOX \"Allgemein\", IDC_STATIC, 0, 0, 90, 20\n"
         "    CHECKBOX \"Fett\", IDC_BOLD, 0, 20, 90, 10\n"
         "    GROUPBOX \"Farben\", IDC_STATIC, 0, 30, 90, 20\n"
         "    LTEXT \"Rot\", IDC_STATIC, 0, 50, 90, 8\n"
         "    CHECKBOX \"Kursiv\", IDC_ITALIC, 0, 60, 90, 10\n"
         "    GROUPBOX \"Neu\", IDC_STATIC, 0, 70, 90, 20\n"
         "    GROUPBOX \"" GROESSEN "\", IDC_STATIC, 0, 90, 90, 20\n"
         "    GROUPBOX \"Linien\", IDC_STATIC, 0, 110, 90, 20\n",
         {{"General", "Allgemein"}, {"Bold", "Fett"}, {"Colors", "Farben"}, {"Red", "Rot"}, {"Italic", "Kursiv"},
          {"Sizes", "NULL"}, {"Lines", "NULL"}},
         3, "9, 10, 11"},
        // Every statement of the script finds its line; only the project has one left over.
        {"the box Colors missing",
         "    GROUPBOX \"Allgemein\", IDC_STATIC, 0, 0, 90, 20\n"
         "    CHECKBOX \"Fett\", IDC_BOLD, 0, 20, 90, 10\n"
         "    LTEXT \"Rot\", IDC_STATIC, 0, 50, 90, 8\n"
         "    CHECKBOX \"Kursiv\", IDC_ITALIC, 0, 60, 90, 10\n"
         "    GROUPBOX \"" GROESSEN "\", IDC_STATIC, 0, 70, 90, 20\n"
         "    GROUPBOX \"Linien\", IDC_STATIC, 0, 90, 90, 20\n",
         {{"General", "Allgemein"}, {"Bold", "Fett"}, {"Colors", "NULL"}, {"Red", "Rot"}, {"Italic", "Kursiv"},
          {"Sizes", GROESSEN}, {"Lines", "Linien"}},
         0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.trace);
        test::TempDir dir;
        ASSERT_TRUE(test::BuildText(dir, Dialog(kPageBody), "page.rc").ok());
        const fs::path db = LongDatabasePath(dir / "page.rc");
        const ImportResult result = ImportGerman(dir, db, Dialog(c.body));
        ASSERT_EQ(result.status, ImportStatus::Imported) << result.message;
        EXPECT_EQ(GermanByLine(db), c.expected);
        EXPECT_EQ(result.unaligned, c.unaligned);
        if (c.unaligned == 0)
            EXPECT_TRUE(result.notes.empty());
        else
            EXPECT_EQ(result.notes, std::vector<std::string>{UnalignedNote(dir, c.unaligned, c.lines)});
    }
}

TEST(ImportAlignment, WithoutNeighboursToPairByNothingIsGuessed)
{
    test::TempDir dir;
    const fs::path db = test::EnglishProject(dir);
    // Three IDC_STATIC labels where the project has two, and nothing between
    // them to tell which is new. The popups of the menu still pair.
    test::WriteFile(dir / "page_de.rc",
                    "IDD_ABOUT DIALOGEX 0, 0, 200, 100\nBEGIN\n"
                    "    LTEXT \"Titel:\", IDC_STATIC, 5, 0, 50, 8\n"
                    "    LTEXT \"Name:\", IDC_STATIC, 5, 5, 50, 8\n"
                    "    LTEXT \"Gr\xC3\xB6\xC3\x9F" "e:\", IDC_STATIC, 5, 20, 50, 8\n"
                    "    DEFPUSHBUTTON \"OK\", IDOK, 5, 40, 50, 14\nEND\n"
                    "IDR_MAIN MENU\nBEGIN\n    POPUP \"&Datei\"\n    BEGIN\n        MENUITEM \"\", ID_FILE_OPEN\n"
                    "    END\n    POPUP \"&Bearbeiten\"\n    BEGIN\n        MENUITEM \"&Kopieren\", ID_EDIT_COPY\n"
                    "    END\nEND\n");
    const ImportResult result = ImportTranslatedScript(db, dir / "page_de.rc", kGerman);
    ASSERT_EQ(result.status, ImportStatus::Imported) << result.message;
    const auto translations = test::TranslationsOf(db, "German");
    EXPECT_EQ(translations.at("Name:").text, "NULL");
    EXPECT_EQ(translations.at("Size:").text, "NULL");
    EXPECT_EQ(translations.at("OK").text, "OK");
    EXPECT_EQ(translations.at("&File").text, "&Datei");
    EXPECT_EQ(translations.at("&Edit").text, "&Bearbeiten");
    EXPECT_EQ(translations.at("&Open").text, "NULL");
    EXPECT_EQ(translations.at("&Copy").text, "&Kopieren");
    EXPECT_EQ(result.imported, 4);
    EXPECT_EQ(result.unaligned, 3);
    EXPECT_EQ(result.notes, std::vector<std::string>{UnalignedNote(dir, 3, "3, 4, 5")});
}

}  // namespace
}  // namespace qln
