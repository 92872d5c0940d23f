// Every batch operation on a copy of the demo project, with the log text it
// writes and its exit code; bad input leaves every file as it was.

#include "app/batch_support.h"
#include "projectdb/FileStamp.h"
#include "projectdb/Languages.h"
#include "rcscript/Messages.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

// A demo copy with its database and a German translation.
class DemoProject : public DemoCopy {
public:
    DemoProject()
    {
        Run({"/C", "demo.rc"}, 0);
        Run({"/A", "demo_rc.mdb", "German", "demo_de.rc"}, 0);
    }
    fs::path db() const { return *this / "demo_rc.mdb"; }
    std::string Log(const std::vector<std::string>& args, int exitCode)
    {
        std::vector<std::string> all = args;
        all.insert(all.end(), {"/LOG", "run.log"});
        Run(all, exitCode);
        return ReadText(*this / "run.log");
    }
};

TEST(BatchOperations, CreateAddWriteAndAsk)
{
    DemoCopy dir;
    EXPECT_EQ(dir.Run({"/C", "demo.rc"}, 0).out,
              "QLN: Create database file.\nQLN: Create database file demo_rc.mdb successful for resource file "
              "demo.rc.\n");
    const fs::path db = dir / "demo_rc.mdb";
    EXPECT_EQ(QueryValue(db, "SELECT Status FROM Project"), "1");
    EXPECT_GT(std::stoi(QueryValue(db, "SELECT count(*) FROM ResourceText")), 50);

    EXPECT_EQ(dir.Run({"/A", "demo_rc.mdb", "0407", "demo_de.rc"}, 0).out,
              "QLN: Add language\nQLN: Add language 'German' to demo_rc.mdb successful.\n");
    dir.Run({"-AddLang", "demo_rc.mdb", "French Canadian", "fr/demo_fr.rc", "65001"}, 2);  // no folder fr
    fs::create_directory(dir / "fr");
    dir.Run({"-AddLang", "demo_rc.mdb", "French Canadian", "fr/demo_fr.rc", "65001"}, 0);
    EXPECT_EQ(QueryValue(db, "SELECT group_concat(LanguageStr || ':' || CodePage || ':' || FileName, ' ') FROM "
                             "(SELECT * FROM Translations ORDER BY Lang_Id)"),
              "German:1252:demo_de.rc French Canadian:65001:" + (dir / "fr" / "demo_fr.rc").string());
    // Adding a translation leaves the project incomplete.
    EXPECT_EQ(QueryValue(db, "SELECT Status FROM Project"), "2");

    EXPECT_EQ(dir.Run({"/L", "demo_rc.mdb", "german"}, 0).out,
              "QLN: Has translation ?\n     Database: demo_rc.mdb\n     Language: german\n     -->  Yes\n");
    EXPECT_EQ(dir.Run({"/L", "demo_rc.mdb", "1036"}, 1).out,
              "QLN: Has translation ?\n     Database: demo_rc.mdb\n     Language: 1036\n     -->  No\n");

    EXPECT_EQ(dir.Run({"/RC", "demo_rc.mdb", "German", "demo_de.rc"}, 0).out,
              "QLN:  Write translated resource file.\nQLN: Write translated file successful.\n  Language:  "
              "'German'\n  Database: demo_rc.mdb\n  Translated resource file: demo_de.rc\n");
    const std::string german = ReadText(dir / "demo_de.rc");
    EXPECT_NE(german.find("LANGUAGE  LANG_GERMAN, SUBLANG_GERMAN"), std::string::npos);
    EXPECT_NE(german.find("//  Source File Name:  " + (dir / "demo.rc").string() + "\r\n"), std::string::npos);
    dir.Run({"/RC", "demo_rc.mdb", "0c0c", "fr/demo_fr.rc"}, 0);
    EXPECT_NE(ReadText(dir / "fr" / "demo_fr.rc").find("#pragma code_page(65001)"), std::string::npos);

    EXPECT_EQ(dir.Run({"/D", "demo_rc.mdb"}, 0).out,
              "QLN:  Check datatabase if UpToDate.\n     demo_rc.mdb\n   (Yes)  Database check successful. "
              "Database is UpToDate.\n");
}

TEST(BatchOperations, AddLanguageWithoutCodePageFollowsTheSourceEncoding)
{
    DemoCopy dir;
    // A UTF-8 source with a text that no Japanese code page holds.
    WriteText(dir / "utf8.rc", "#pragma code_page(65001)\nLANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n"
                               "STRINGTABLE\nBEGIN\n    1 \"Fran\xC3\xA7" "ais\"\nEND\n");
    dir.Run({"/C", "utf8.rc"}, 0);
    dir.Run({"/A", "utf8_rc.mdb", "Japanese", "utf8_ja.rc"}, 0);
    dir.Run({"/A", "utf8_rc.mdb", "Russian", "utf8_ru.rc", "1251"}, 0);  // a code page given is kept
    EXPECT_EQ(QueryValue(dir / "utf8_rc.mdb", "SELECT group_concat(LanguageStr || ':' || CodePage, ' ') FROM "
                                              "(SELECT * FROM Translations ORDER BY Lang_Id)"),
              "Japanese:65001 Russian:1251");
    dir.Run({"/RC", "utf8_rc.mdb", "Japanese", "utf8_ja.rc"}, 0);
    EXPECT_NE(ReadText(dir / "utf8_ja.rc").find("\"Fran\xC3\xA7" "ais\""), std::string::npos);

    // The demo's source is in 1252: the language's own code page.
    dir.Run({"/C", "demo.rc"}, 0);
    dir.Run({"/A", "demo_rc.mdb", "Japanese", "demo_ja.rc"}, 0);
    EXPECT_EQ(QueryValue(dir / "demo_rc.mdb", "SELECT CodePage FROM Translations"), "932");
}

// Like Save, writing a translated script stores its name and stamp with the
// language, so that a later change of the file can be noticed.
TEST(BatchOperations, WritingStoresTheNameAndStampOfTheWrittenScript)
{
    DemoProject dir;
    const std::string stored = "SELECT FileName || ' ' || FileTime || ' ' || FileDate || ' ' || FileSize FROM "
                               "Translations";
    EXPECT_EQ(QueryValue(dir.db(), stored), "");
    auto expected = [](const std::string& name, const fs::path& file) {
        const std::optional<FileStamp> stamp = ReadFileStamp(file);
        EXPECT_TRUE(stamp) << file;
        return stamp ? name + " " + std::to_string(stamp->time) + " " + std::to_string(stamp->date) + " " +
                           std::to_string(stamp->size)
                     : std::string();
    };
    dir.Run({"/RC", "demo_rc.mdb", "German", "demo_de.rc"}, 0);
    EXPECT_EQ(QueryValue(dir.db(), stored), expected("demo_de.rc", dir / "demo_de.rc"));

    // Written elsewhere, that file is the translation's script from then on.
    fs::create_directory(dir / "out");
    dir.Run({"/RC", "demo_rc.mdb", "German", "out/de.rc"}, 0);
    EXPECT_EQ(QueryValue(dir.db(), stored), expected((dir / "out" / "de.rc").string(), dir / "out" / "de.rc"));
}

TEST(BatchOperations, CreateNamesTheDialogLinesItDoesNotUnderstand)
{
    DemoCopy dir;
    WriteText(dir / "odd.rc", "D DIALOGEX 0, 0, 100, 50\nBEGIN\n    SLIDER \"Volume\", 2, 1, 2, 3, 4\nEND\n");
    EXPECT_EQ(dir.Run({"/C", "odd.rc"}, 0).out,
              "QLN: Create database file.\nUnknown dialog statement kept without its texts: odd.rc (line 3)\n"
              "QLN: Create database file odd_rc.mdb successful for resource file odd.rc.\n");
}

TEST(BatchOperations, IsTranslatedCountsTheTextsThatAreNotExcluded)
{
    DemoProject dir;
    const std::string amount = QueryValue(dir.db(), "SELECT count(*) FROM ResourceText WHERE Exclude = 0");
    const std::string header = "QLN: Is translated ?\n     Database: demo_rc.mdb\n     Language: German\n";
    // Adding German filled the version block names.
    const std::string blocks = QueryValue(dir.db(), "SELECT count(*) FROM ResourceText WHERE German <> ''");
    EXPECT_EQ(dir.Log({"/T", "demo_rc.mdb", "German"}, 1),
              header + "     -->  No\n    amount = " + amount + ",  translated = " + blocks +
                  ",  not actual (modified) = 0  \n");

    // Everything but one text translated, two of them flagged as not actual.
    Execute(dir.db(), "UPDATE ResourceText SET German = 'x' || SourceText WHERE coalesce(German, '') = ''");
    Execute(dir.db(), "UPDATE ResourceText SET German = NULL WHERE LineIndex = (SELECT min(LineIndex) FROM "
                      "ResourceText WHERE Exclude = 0)");
    Execute(dir.db(), "UPDATE ResourceText SET German_Modified = 1 WHERE LineIndex IN (SELECT LineIndex FROM "
                      "ResourceText WHERE Exclude = 0 ORDER BY LineIndex DESC LIMIT 2)");
    const std::string missingOne = std::to_string(std::stoi(amount) - 1);
    EXPECT_EQ(dir.Log({"-translated", "demo_rc.mdb", "0407"}, 1),
              "QLN: Is translated ?\n     Database: demo_rc.mdb\n     Language: 0407\n     -->  No\n    amount = " +
                  amount + ",  translated = " + missingOne + ",  not actual (modified) = 2  \n");

    // An excluded text does not count, translated or not.
    Execute(dir.db(), "UPDATE ResourceText SET Exclude = 1 WHERE German IS NULL");
    EXPECT_EQ(dir.Log({"/T", "demo_rc.mdb", "German"}, 0),
              header + "     -->  Yes\n    amount = " + missingOne + ",  translated = " + missingOne +
                  ",  not actual (modified) = 2  \n");
}

TEST(BatchOperations, UpToDateFollowsTheScriptAndItsIncludes)
{
    DemoProject dir;
    const std::string withScript = "QLN: Check datatabase if UpToDate.\n     Resource file:  demo.rc\n     Database: "
                                   "demo_rc.mdb\n";
    const std::string yes = "   (Yes)  Database check successful. Database is UpToDate.\n";
    const std::string no = "   (No)   Database check successful. Database is not UpToDate.\n";
    EXPECT_EQ(dir.Log({"/D", "demo.rc", "demo_rc.mdb"}, 0), withScript + yes);

    // An include file newer than its stored stamp; sizes are not compared.
    Execute(dir.db(), "INSERT INTO IncludeFile (LineIndex, Name_ID, FileTime, FileDate, FileSize) VALUES (10, "
                      "'resource.h', 0, 0, 1)");
    EXPECT_EQ(dir.Log({"/D", "demo.rc", "demo_rc.mdb"}, 1), withScript + no);
    Execute(dir.db(), "UPDATE IncludeFile SET FileDate = 65535");
    dir.Log({"/D", "demo_rc.mdb"}, 0);

    // The script grew.
    WriteText(dir / "demo.rc", ReadText(dir / "demo.rc") + "\r\n");
    EXPECT_EQ(dir.Log({"-UpToDate", "demo_rc.mdb"}, 1),
              "QLN:  Check datatabase if UpToDate.\n     demo_rc.mdb\n" + no);

    // A project marked as waiting for its update stays out of date.
    DemoProject marked;
    Execute(marked.db(), "UPDATE Project SET Status = 4");
    marked.Log({"/D", "demo_rc.mdb"}, 1);
}

TEST(BatchOperations, UpdateKeepsTranslationsAndFlagsChangedTexts)
{
    DemoProject dir;
    Execute(dir.db(), "UPDATE ResourceText SET German = '&Umrechnen' WHERE SourceText = '&Convert'");
    EXPECT_EQ(dir.Log({"/U", "demo_rc.mdb"}, 0), "QLN: Update database.  File:  demo_rc.mdb\n     Update successful.\n");

    std::string script = ReadText(dir / "demo.rc");
    const auto at = script.find("\"&Convert\",IDC_CONVERT");
    ASSERT_NE(at, std::string::npos);
    script.replace(at, 10, "\"Con&vert now\"");
    WriteText(dir / "demo.rc", script);
    dir.Run({"/D", "demo_rc.mdb"}, 1);
    EXPECT_EQ(dir.Log({"-update", "demo.rc", "demo_rc.mdb"}, 0),
              "QLN:  Update database.\n     Resource file: demo.rc\n     Database: demo_rc.mdb\n     Update "
              "successful.\n");
    EXPECT_EQ(QueryValue(dir.db(), "SELECT German || ' ' || German_Modified FROM ResourceText WHERE SourceText = "
                                   "'Con&vert now'"),
              "&Umrechnen 1");
    dir.Run({"/D", "demo_rc.mdb"}, 0);

    // A script the parser stops in leaves the database as it was.
    const std::string before = ReadText(dir.db());
    WriteText(dir / "demo.rc", script + "\r\n1 MENU\r\nBEGIN\r\n  POPUP\r\nEND\r\n");
    const std::string log = dir.Log({"/U", "demo_rc.mdb"}, 2);
    EXPECT_NE(log.find("QLN Warning:  Database not updated.\n"), std::string::npos) << log;
    EXPECT_EQ(ReadText(dir.db()), before);
}

TEST(BatchOperations, CompactAndListLanguageIds)
{
    DemoProject dir;
    Execute(dir.db(), "CREATE TABLE Filler (x); INSERT INTO Filler WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                      "SELECT i + 1 FROM n WHERE i < 20000) SELECT hex(randomblob(40)) FROM n; DROP TABLE Filler");
    const auto before = fs::file_size(dir.db());
    EXPECT_EQ(dir.Log({"/COMP", "demo_rc.mdb"}, 0),
              "QLN: Compact database. File:  demo_rc.mdb\n     Compacting database successful.\n");
    EXPECT_LT(fs::file_size(dir.db()), before);
    dir.Run({"/T", "demo_rc.mdb", "German"}, 1);

    dir.Run({"-ListLIDS", "ids.txt"}, 0);
    const std::string ids = ReadText(dir / "ids.txt");
    EXPECT_EQ(ids.substr(0, ids.find('\n')), "QLNCommand 'List Local Language Ids'");
    EXPECT_EQ(std::count(ids.begin(), ids.end(), '\n'), 1 + static_cast<long>(LanguageTable().size()));
    EXPECT_NE(ids.find("\n 0407\t\t\t\t\t\tGerman\n"), std::string::npos);
    EXPECT_NE(ids.find("\n 1809\t\t\t\t\t\tEnglish Irish\n"), std::string::npos);
}

TEST(BatchOperations, BadInputChangesNothing)
{
    DemoProject dir;
    WriteText(dir / "notes.mdb", "just text\n");
    WriteText(dir / "broken.rc", "STRINGTABLE\r\nBEGIN\r\n 1 \"a\"\r\nEND\r\n1 MENU\r\nBEGIN\r\n  POPUP\r\n  "
                                 "BEGIN\r\n  END\r\nEND\r\n");
    fs::copy_file(dir.db(), dir / "locked.mdb");
    fs::permissions(dir / "locked.mdb", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::copy_file(dir.db(), dir / "future.mdb");
    Execute(dir / "future.mdb", "UPDATE Project SET FileVersion = 9");

    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string message;  // part of the log
    };
    const Case cases[] = {
        {{"/T", "missing.mdb", "German"}, 2, "QLN Error:  File not found ! missing.mdb\n"},
        {{"/T", "demo.rc", "German"}, 2, "Error: Wrong file type ! demo.rc\n"},
        {{"/L", "notes.mdb", "German"}, 2, "QLN Error: File is not a QLN database.\n     notes.mdb\n"},
        {{"/T", "future.mdb", "German"}, 2, msg::Format(msg::VersionTooNew, {"future.mdb"}) + "\n"},
        {{"/T", "demo_rc.mdb", "Klingon"}, 3, "QLN Error:  Language parameter 'Klingon' not valid !\n"},
        {{"/T", "demo_rc.mdb", "French"}, 2, "QLN Warning: Language 'French' not exists in database.\n   demo_rc.mdb  \n"},
        {{"/RC", "demo_rc.mdb", "Italian", "it.rc"}, 2, "QLN Warning: Language 'Italian' not exists in database."},
        {{"/RC", "demo_rc.mdb", "German", "./demo.rc"}, 3, std::string(msg::TranslationFileIsSource)},
        {{"/A", "demo_rc.mdb", "German", "de2.rc"}, 2, "The language  German  already exists. \n"},
        {{"/A", "demo_rc.mdb", "0407", "de2.rc"}, 2, "The language  German  already exists. \n"},
        {{"/A", "demo_rc.mdb", "Italian", "demo.rc"}, 3, std::string(msg::TranslationFileIsSource)},
        {{"/A", "demo_rc.mdb", "Italian", "it.rc", "12345"}, 3, "QLN Error:  Code page parameter '12345' not valid !\n"},
        {{"/A", "demo_rc.mdb", "Elvish", "it.rc"}, 3, "QLN Error:  Language parameter 'Elvish' not valid !\n"},
        {{"/A", "locked.mdb", "Italian", "it.rc"}, 2, "QLN Error:  The database is read-only.\n     locked.mdb\n"},
        {{"/RC", "locked.mdb", "German", "de.rc"}, 2, "QLN Error:  The database is read-only.\n     locked.mdb\n"},
        {{"/COMP", "locked.mdb"}, 2, "QLN Error:  The database is read-only.\n     locked.mdb\nQLN Warning:  "
                                     "Database not compacted.\n"},
        {{"/COMP", "notes.mdb"}, 2, "QLN Error: File is not a QLN database.\n     notes.mdb\nQLN Warning:  Database "
                                    "not compacted.\n"},
        {{"/C", "missing.rc"}, 2, "QLN Error:  File not found ! missing.rc\n"},
        {{"/C", "demo_rc.mdb"}, 2, "Error: Wrong file type ! demo_rc.mdb\n"},
        {{"/C", "demo.rc"}, 2, "Warning: Database demo_rc.mdb  for resource file demo.rc already exists.\n"},
        {{"/C", "broken.rc"}, 2, "Parser Error (Menu Popup) at file broken.rc. (line 7)\nQLN Error:  Command failed !\n"},
        {{"/D", "demo_rc.mdb", "demo.rc"}, 2, "Error: Wrong file type ! demo_rc.mdb\n"},
        {{"/U", "locked.mdb"}, 2, "QLN Error:  The database is read-only.\n     locked.mdb\n"},
        {{"/I", "demo_rc.mdb", "French", "locked.mdb"}, 2, "QLN Warning: Language 'French' not exists in database."},
        {{"/E", "demo_rc.mdb", "export.mdb", "French"}, 2, "QLN Warning: Language 'French' not exists in database."},
        {{"/E", "demo_rc.mdb", "demo.rc"}, 2, "Error: Wrong file type ! demo.rc\n"},
    };
    const auto before = Snapshot(dir.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const std::string log = dir.Log(c.args, c.exitCode);
        EXPECT_NE(log.find(c.message), std::string::npos) << log;
        fs::remove(dir / "run.log");
        EXPECT_EQ(Snapshot(dir.path()), before);
    }

    // Without the script the question cannot be answered.
    fs::remove(dir / "demo.rc");
    EXPECT_NE(dir.Log({"/D", "demo_rc.mdb"}, 2).find("QLN Error:  File not found ! "), std::string::npos);
}

TEST(BatchOperations, MessagesToStandardOutputErrorsToStandardErrorOnce)
{
    DemoCopy dir;
    RunResult r = dir.Run({"/T", "missing.mdb", "German"}, 2);
    EXPECT_EQ(r.out, "QLN: Is translated ?\n     Database: missing.mdb\n     Language: German\n");
    EXPECT_EQ(r.err, "QLN Error:  File not found ! missing.mdb\n     missing.mdb: No such file or directory\n");
    // With a log file every message is in the log; errors are on standard error as well.
    r = dir.Run({"/T", "missing.mdb", "German", "/LOG", "run.log"}, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadText(dir / "run.log"), "QLN: Is translated ?\n     Database: missing.mdb\n     Language: German\n" +
                                             r.err);
}

TEST(BatchOperations, ExportAndImportBetweenDatabases)
{
    DemoProject dir;
    dir.Run({"/A", "demo_rc.mdb", "French", "demo_fr.rc"}, 0);
    EXPECT_EQ(dir.Log({"/E", "demo_rc.mdb", "export.mdb", "German"}, 0),
              "QLN:  Export to database.\nQLN: Export successful.\n     From: demo_rc.mdb\n     To:  "
              "export.mdb\n     Language:  German\n");
    const fs::path exported = dir / "export.mdb";
    EXPECT_EQ(QueryValue(exported, "SELECT group_concat(LanguageStr) FROM Translations"), "German");

    // A translator fills the export; the import brings the texts home.
    Execute(exported, "UPDATE ResourceText SET German = 'Datei' WHERE SourceText = '&File'");
    const std::string count = QueryValue(exported, "SELECT count(*) FROM ResourceText WHERE German = 'Datei'");
    ASSERT_NE(count, "0");
    EXPECT_EQ(dir.Log({"-Import", "export.mdb", "German", "demo_rc.mdb"}, 0).find(
                  "QLN: Import text from database.\n"),
              0u);
    EXPECT_NE(ReadText(dir / "run.log").find("QLN: Successful import of 'German' text from export.mdb to "
                                             "demo_rc.mdb.\n"),
              std::string::npos);
    EXPECT_EQ(QueryValue(dir.db(), "SELECT count(*) FROM ResourceText WHERE German = 'Datei'"), count);
}

TEST(BatchOperations, ExportAndImportThroughWorkbooksAndCsv)
{
    for (const char* sheet : {"texts.xlsx", "texts.csv"}) {
        SCOPED_TRACE(sheet);
        DemoProject dir;
        dir.Run({"/A", "demo_rc.mdb", "French", "demo_fr.rc"}, 0);
        EXPECT_EQ(dir.Log({"/E", "demo_rc.mdb", sheet, "German"}, 0),
                  std::string("QLN:  Export to database.\nQLN: Export successful.\n     From: demo_rc.mdb\n     To:  ") +
                      sheet + "\n     Language:  German\n");
        ASSERT_TRUE(fs::exists(dir / sheet));

        // A translator's sheet comes back: its German column fills the
        // project; a language the sheet has no column for imports nothing.
        const std::string translated =
            QueryValue(dir.db(), "SELECT count(*) FROM ResourceText WHERE coalesce(German, '') <> ''");
        if (std::string(sheet) == "texts.csv") {
            std::string csv = ReadText(dir / sheet);
            const std::string from = "\"\"\"Popup\"\"\",&File,\r\n";
            ASSERT_NE(csv.find(from), std::string::npos) << csv.substr(0, 400);
            csv.replace(csv.find(from), from.size(), "\"\"\"Popup\"\"\",&File,&Datei\r\n");
            WriteText(dir / sheet, csv);
            dir.Run({"/I", sheet, "French", "demo_rc.mdb"}, 2);
            EXPECT_EQ(QueryValue(dir.db(), "SELECT count(*) FROM ResourceText WHERE French <> ''"), "1");
            dir.Run({"/I", sheet, "German", "demo_rc.mdb"}, 0);
            EXPECT_EQ(QueryValue(dir.db(), "SELECT group_concat(German) FROM ResourceText WHERE SourceText = '&File'"),
                      "&Datei");
            EXPECT_EQ(QueryValue(dir.db(), "SELECT count(*) FROM ResourceText WHERE coalesce(German, '') <> ''"),
                      std::to_string(std::stoi(translated) + 1));
        } else {
            dir.Run({"/I", sheet, "German", "demo_rc.mdb"}, 0);  // nothing differs: nothing imported
            EXPECT_EQ(QueryValue(dir.db(), "SELECT count(*) FROM ResourceText WHERE coalesce(German, '') <> ''"),
                      translated);
        }
    }
}

}  // namespace
}  // namespace qln::test
