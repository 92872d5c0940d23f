// Importing translations from translated scripts: matching by identifiers,
// filling only empty translations, decoding, includes and the messages.

#include "import_support.h"
#include "writer_support.h"

#include "project/ImportScript.h"
#include "project/TranslationWriter.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <gtest/gtest.h>

namespace qln {
namespace {

namespace fs = std::filesystem;
using test::TranslationsOf;

constexpr LanguagePair kGerman{7, 1};
constexpr LanguagePair kRussian{25, 1};

// German translation in code page 1252 (bytes \xDC = Ü, \xF6 = ö, \xDF = ß,
// \xFC = ü). The strings come in another order, IDS_FOUR is unknown to the
// project and the bitmap names another file.
const std::string kGermanScript =
    "LANGUAGE LANG_GERMAN, SUBLANG_GERMAN\n"
    "#pragma code_page(1252)\n"
    "IDD_ABOUT DIALOGEX 0, 0, 230, 100\n"
    "CAPTION \"\xDC" "ber\"\n"
    "BEGIN\n"
    "    LTEXT \"Name:\", IDC_STATIC, 5, 5, 60, 8\n"
    "    LTEXT \"Gr\xF6\xDF" "e:\", IDC_STATIC, 5, 20, 60, 8\n"
    "    DEFPUSHBUTTON \"OK\", IDOK, 5, 40, 50, 14\n"
    "END\n"
    "IDR_MAIN MENU\n"
    "BEGIN\n"
    "    POPUP \"&Datei\"\n"
    "    BEGIN\n"
    "        MENUITEM \"\xD6&" "ffnen\", ID_FILE_OPEN\n"
    "    END\n"
    "    POPUP \"&Bearbeiten\"\n"
    "    BEGIN\n"
    "        MENUITEM \"&Kopieren\", ID_EDIT_COPY\n"
    "    END\n"
    "END\n"
    "STRINGTABLE\n"
    "BEGIN\n"
    "    IDS_TWO \"Zwei\"\n"
    "    IDS_FOUR \"Vier\"\n"
    "    IDS_ONE \"Eins\"\n"
    "    IDS_THREE \"Drei\"\n"
    "END\n"
    "IDB_LOGO BITMAP \"logo_de.bmp\"\n"
    "VS_VERSION_INFO VERSIONINFO\n"
    "BEGIN\n"
    "    BLOCK \"StringFileInfo\"\n"
    "    BEGIN\n"
    "        BLOCK \"040704E4\"\n"
    "        BEGIN\n"
    "            VALUE \"FileDescription\", \"Vorf\xFChrung\"\n"
    "        END\n"
    "    END\n"
    "END\n";

TEST(ImportScript, FillsEmptyTranslationsMatchedByIdentifiersOnce)
{
    test::TempDir dir;
    const fs::path db = test::EnglishProject(dir);
    {
        CProjectDatabase project(db);
        ASSERT_EQ(NewTranslation(project, 7, 1, 1252, {}).status, LanguageStatus::Ok);
        const std::string three = test::Value(db, "SELECT LineIndex FROM ResourceText WHERE SourceText = 'Three'");
        ASSERT_TRUE(project.SetTranslation(std::stoi(three), 7, 1, "Drei (checked)", false));
    }
    test::WriteFile(dir / "app_de.rc", kGermanScript);

    const ImportResult result = ImportTranslatedScript(db, dir / "app_de.rc", kGerman);
    ASSERT_EQ(result.status, ImportStatus::Imported) << result.message;
    EXPECT_FALSE(result.languageAdded);

    struct Expect {
        const char* source;
        const char* translation;
        const char* flag;
    };
    const Expect expected[] = {
        {"About", "\xC3\x9C" "ber", "0"},
        {"Name:", "Name:", "0"},  // the n-th IDC_STATIC of the dialog meets the n-th
        {"Size:", "Gr\xC3\xB6\xC3\x9F" "e:", "0"},
        {"OK", "OK", "0"},
        {"&File", "&Datei", "1"},  // imported popup texts are to be checked
        {"&Edit", "&Bearbeiten", "1"},
        {"&Open", "\xC3\x96&" "ffnen", "0"},
        {"&Copy", "&Kopieren", "0"},
        {"One", "Eins", "0"},  // by identifier, not by position
        {"Two", "Zwei", "0"},
        {"Three", "Drei (checked)", "0"},  // an existing translation stays
        {"logo.bmp", "logo_de.bmp", "0"},
        {"Demo", "Vorf\xC3\xBChrung", "0"},
    };
    const auto translations = TranslationsOf(db, "German");
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.source);
        ASSERT_TRUE(translations.count(e.source));
        EXPECT_EQ(translations.at(e.source).text, e.translation);
        EXPECT_EQ(translations.at(e.source).flag, e.flag);
    }
    EXPECT_EQ(result.imported, 12);
    EXPECT_EQ(result.matched, 13);  // IDS_FOUR is not in the project
    EXPECT_EQ(result.message, msg::Format(msg::ImportTextDone, {(dir / "app_de.rc").string(), "12"}));
    EXPECT_TRUE(result.notes.empty());

    // The same script again: everything it has is translated now.
    const ImportResult second = ImportTranslatedScript(db, dir / "app_de.rc", kGerman);
    EXPECT_EQ(second.status, ImportStatus::Nothing);
    EXPECT_EQ(second.message, msg::Format(msg::ImportTextNothing, {(dir / "app_de.rc").string()}));
    EXPECT_EQ(TranslationsOf(db, "German"), translations);
}

TEST(ImportScript, CyrillicScriptInItsOwnCodePageIntoAWesternProject)
{
    test::TempDir dir;
    const fs::path db = test::EnglishProject(dir);
    // 1251 bytes: "Файл" and "Один"; the LANGUAGE statement names the code page.
    test::WriteFile(dir / "app_ru.rc",
                    "LANGUAGE LANG_RUSSIAN, SUBLANG_DEFAULT\n"
                    "IDR_MAIN MENU\nBEGIN\n    POPUP \"&\xD4\xE0\xE9\xEB\"\n    BEGIN\n"
                    "        MENUITEM \"&Open\", ID_FILE_OPEN\n    END\nEND\n"
                    "STRINGTABLE\nBEGIN\n    IDS_ONE \"\xCE\xE4\xE8\xED\"\nEND\n");

    // Through the document's open database, which is open again afterwards.
    auto project = std::make_unique<CProjectDatabase>(db);
    const ImportResult result = ImportTranslatedScript(project, dir / "app_ru.rc", kRussian);
    ASSERT_EQ(result.status, ImportStatus::Imported) << result.message;
    EXPECT_TRUE(result.languageAdded);
    ASSERT_TRUE(project);
    EXPECT_EQ(ListLanguages(*project).size(), 1u);
    const auto translations = TranslationsOf(db, "Russian");
    EXPECT_EQ(translations.at("&File").text, "&\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB");
    EXPECT_EQ(translations.at("One").text, "\xD0\x9E\xD0\xB4\xD0\xB8\xD0\xBD");
    EXPECT_EQ(translations.at("&Open").text, "&Open");  // the same as the source: still a translation
    EXPECT_EQ(translations.at("Two").text, "NULL");
    // The new language's code page is the one its texts need.
    EXPECT_EQ(test::Value(db, "SELECT CodePage FROM Translations"), "1251");
}

// UTF-16LE with byte-order mark.
std::string Utf16Le(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST(ImportScript, ANewLanguageKeepsTheUnicodeOfItsScriptOrOfTheSource)
{
    test::TempDir dir;
    // A UTF-8 source whose untranslated texts no Japanese code page can hold.
    const BuildResult built = test::BuildText(dir,
                                              "#pragma code_page(65001)\nLANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n"
                                              "STRINGTABLE\nBEGIN\n    IDS_HELLO \"Hello\"\n"
                                              "    IDS_FRENCH \"Fran\xC3\xA7" "ais\"\nEND\n",
                                              "app.rc");
    ASSERT_TRUE(built.ok()) << built.message;
    const fs::path db = LongDatabasePath(dir / "app.rc");
    test::WriteFile(dir / "app_ja.rc", "#pragma code_page(65001)\nLANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n"
                                       "STRINGTABLE\nBEGIN\n    IDS_HELLO \"\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB"
                                       "\xE3\x81\xA1\xE3\x81\xAF\"\nEND\n");
    test::WriteFile(dir / "app_el.rc",
                    Utf16Le(u"STRINGTABLE\nBEGIN\n    IDS_HELLO \"\u0393\u03B5\u03B9\u03B1\"\nEND\n"));
    // An 8-bit script (1251 by its LANGUAGE) into a UTF-8 project.
    test::WriteFile(dir / "app_ru.rc", "LANGUAGE LANG_RUSSIAN, SUBLANG_DEFAULT\n"
                                       "STRINGTABLE\nBEGIN\n    IDS_HELLO \"\xCF\xF0\xE8\xE2\xE5\xF2\"\nEND\n");
    const struct {
        const char* script;
        LanguagePair language;
        const char* codePage;
    } cases[] = {{"app_ja.rc", {17, 1}, "65001"}, {"app_el.rc", {8, 1}, "1200"}, {"app_ru.rc", kRussian, "65001"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        const ImportResult result = ImportTranslatedScript(db, dir / c.script, c.language);
        ASSERT_EQ(result.status, ImportStatus::Imported) << result.message;
        EXPECT_EQ(test::Value(db, "SELECT CodePage FROM Translations WHERE Lang_Id = " +
                                      std::to_string(c.language.primary + 1024 * c.language.sub)),
                  c.codePage);
        CProjectDatabase project(db);
        const WriteResult written = WriteTranslatedScript(dir / ("out_" + std::string(c.script)), dir / "app.rc",
                                                          project, c.language.primary, c.language.sub);
        EXPECT_EQ(written.status, WriteStatus::Written) << written.message;
    }
    const std::string japanese = test::ReadBytes(dir / "out_app_ja.rc");
    EXPECT_NE(japanese.find("IDS_FRENCH \"Fran\xC3\xA7" "ais\""), std::string::npos);
    EXPECT_NE(japanese.find("#pragma code_page(65001)"), std::string::npos);
}

TEST(ImportScript, IncludedFilesOfTheIncludeListAreRead)
{
    test::TempDir dir;
    const fs::path db = test::EnglishProject(dir);
    fs::create_directories(dir / "res");
    test::WriteFile(dir / "res" / "Strings.RC2", "STRINGTABLE\nBEGIN\n    IDS_TWO \"Zwei\"\nEND\n");
    // A file that fails half way is taken back whole, with what it included.
    test::WriteFile(dir / "inner.rc2", "IDB_LOGO BITMAP \"logo_de.bmp\"\n");
    test::WriteFile(dir / "broken.rc2", "STRINGTABLE\nBEGIN\n    IDS_THREE \"Drei\"\nEND\n#include \"inner.rc2\"\n"
                                        "M MENU\nBEGIN\n  POPUP \"&F\" \"x\"\nEND\n");
    test::WriteFile(dir / "app_de.rc",
                    "STRINGTABLE\nBEGIN\n    IDS_ONE \"Eins\"\nEND\n"
                    "#include \"res\\\\strings.rc2\"\n#include \"broken.rc2\"\n");
    {
        CProjectDatabase project(db);
        project.SetSetting("RES_INCLUDES", 0, 0, std::string("RC2, DLG"), std::nullopt);
    }
    const ImportResult result = ImportTranslatedScript(db, dir / "app_de.rc", kGerman);
    ASSERT_EQ(result.status, ImportStatus::Imported) << result.message;
    EXPECT_EQ(result.imported, 2);
    EXPECT_EQ(TranslationsOf(db, "German").at("Two").text, "Zwei");
    EXPECT_EQ(TranslationsOf(db, "German").at("Three").text, "NULL");
    EXPECT_EQ(TranslationsOf(db, "German").at("logo.bmp").text, "NULL");
    ASSERT_EQ(result.notes.size(), 1u);
    EXPECT_NE(result.notes[0].find("broken.rc2"), std::string::npos);
    EXPECT_EQ(result.notes[0].rfind("The following resource file(s) could not be found", 0), 0u);
    // The import leaves no include-file rows behind.
    EXPECT_EQ(test::Value(db, "SELECT count(*) FROM IncludeFile"), "0");

    // Without the list the include is not read.
    const ImportResult unlisted = ImportTranslatedScript(db, dir / "app_de.rc", LanguagePair{12, 1},
                                                         {.includeExtensions = std::vector<std::string>{}});
    EXPECT_EQ(unlisted.imported, 1);
}

}  // namespace
}  // namespace qln
