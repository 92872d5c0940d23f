// Writing translated scripts from a project database.

#include "project/TranslationWriter.h"
#include "projectdb/Schema.h"
#include "projectdb/Translations.h"
#include "projectdb/temp_project.h"
#include "rcscript/CodePages.h"
#include "rcscript/Messages.h"
#include "writer_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qln {
namespace {

using test::StoredLine;

constexpr int kGerman = 7, kRussian = 25, kSubDefault = 1;
const std::string kRule(76, '/');

class WriterTest : public ::testing::Test {
protected:
    WriterTest() : dbPath_(test::CopyTemplate(dir_)), project_(dbPath_) {}

    void AddGerman(int codePage = 1252) { ASSERT_TRUE(AddLanguage(project_, kGerman, kSubDefault, codePage)); }

    // Writes German to out.rc and returns the bytes.
    std::string WriteGerman(const WriteOptions& options = {})
    {
        WriteResult result = WriteTranslatedScript(out(), source(), project_, kGerman, kSubDefault, options);
        EXPECT_EQ(result.status, WriteStatus::Written) << result.message;
        return test::ReadBytes(out());
    }

    std::filesystem::path out() const { return dir_ / "out.rc"; }
    std::filesystem::path source() const { return dir_ / "demo.rc"; }

    test::TempDir dir_;
    std::filesystem::path dbPath_;
    CProjectDatabase project_;
};

std::string Lines(std::initializer_list<std::string_view> lines)
{
    std::string s;
    for (auto l : lines) {
        s += l;
        s += "\r\n";
    }
    return s;
}

// The whole file: header, lines with their indentation and empty lines, the
// regenerated LANGUAGE and code page lines, and the footer.
TEST_F(WriterTest, WritesHeaderIndentedLinesAndFooter)
{
    test::StoreLines(project_, {
        {9, "#include \"", "resource.h", "\""},
        {94, "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US", nullptr, ""},
        {106, "#pragma code_page(1252)", nullptr, ""},
        {8, "IDR_MAIN MENU", nullptr, ""},
        {6, "BEGIN", nullptr, ""},
        {3, "POPUP \"", "&File", "\""},
        {6, "BEGIN", nullptr, ""},
        {4, "MENUITEM \"", "E&xit", "\", ID_APP_EXIT"},
        {39, "MENUITEM SEPARATOR", nullptr, ""},
        {7, "END", nullptr, ""},
        {7, "END", nullptr, ""},
        {13, "IDD_ABOUT DIALOGEX 0, 0, 186, 95", nullptr, ""},
        {1, "CAPTION \"", "About", "\""},
        {6, "BEGIN", nullptr, ""},
        {19, "LTEXT \"", "&Name:", "\", IDC_NAME, 7, 7, 40, 8"},
        {7, "END", nullptr, ""},
        {5, "STRINGTABLE", nullptr, ""},
        {6, "BEGIN", nullptr, ""},
        {70, "IDS_HELLO \"", "Hello", "\""},
        {7, "END", nullptr, ""},
        {73, "", nullptr, ""},
    });
    AddGerman(1250);
    ASSERT_TRUE(project_.SetTranslation(15, kGerman, kSubDefault, "&Datei", false));
    ASSERT_TRUE(project_.SetTranslation(17, kGerman, kSubDefault, "&Beenden", false));

    const std::string expected =
        Lines({kRule, "//  Windows Dezuvive Zadozirodi Quillon Version 4.0", "//  This is a translated resource file.",
               "//  Source File Name:  " + source().string(), kRule, ""}) +
        Lines({"#include \"resource.h\"", "LANGUAGE  LANG_GERMAN, SUBLANG_GERMAN", "#pragma code_page(1250)", "",
               "IDR_MAIN MENU", "BEGIN", "   POPUP \"&Datei\"", "BEGIN", "  MENUITEM \"&Beenden\", ID_APP_EXIT",
               "MENUITEM SEPARATOR", "END", "END", "", "IDD_ABOUT DIALOGEX 0, 0, 186, 95", "CAPTION \"About\"",
               "BEGIN", "  LTEXT \"&Name:\", IDC_NAME, 7, 7, 40, 8", "END", "", "STRINGTABLE", "BEGIN",
               "  IDS_HELLO \"Hello\"", "END", ""}) +
        Lines({"", "", kRule, "//  End of file ", kRule});
    EXPECT_EQ(WriteGerman(), expected);
}

// Which text goes between the quotes.
TEST_F(WriterTest, ChoosesTranslationOrSourceText)
{
    struct Case {
        const char* name;
        int kind;
        const char* before;
        const char* source;
        const char* behind;
        const char* translation;  // nullptr: none stored
        bool exclude;
        const char* written;
    };
    const Case cases[] = {
        {"translated", 70, "IDS_A \"", "Open", "\"", "Offnen", false, "  IDS_A \"Offnen\""},
        {"untranslated", 70, "IDS_B \"", "Close", "\"", nullptr, false, "  IDS_B \"Close\""},
        {"empty translation", 70, "IDS_C \"", "Save", "\"", "", false, "  IDS_C \"Save\""},
        {"excluded despite translation", 70, "IDS_D \"", "Quillon", "\"", "Kwillon", true, "  IDS_D \"Quillon\""},
        {"escapes kept as written", 70, "IDS_E \"", "Say \"\"hi\"\"\\n", "\"", "Sag \\\"hallo\\\"\\t", false,
         "  IDS_E \"Sag \\\"hallo\\\"\\t\""},
        {"include keeps its name", 9, "#include \"", "res\\\\demo.rc2", "\"", "other.rc2", false,
         "#include \"res\\\\demo.rc2\""},
        {"bare include name", 9, "#include ", "afxres.h", "", nullptr, false, "#include afxres.h"},
        {"empty caption", 25, "GROUPBOX \"", "", "\", IDC_G, 1, 2, 3, 4", "", false,
         "  GROUPBOX \"\", IDC_G, 1, 2, 3, 4"},
    };
    std::vector<StoredLine> lines;
    for (const Case& c : cases)
        lines.push_back({c.kind, c.before, c.source, c.behind});
    test::StoreLines(project_, lines);
    AddGerman();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto index = static_cast<std::int32_t>(10 + i);
        if (cases[i].translation) {
            ASSERT_TRUE(project_.SetTranslation(index, kGerman, kSubDefault, cases[i].translation, false));
        }
        if (cases[i].exclude) {
            ASSERT_TRUE(project_.SetExclude(index, true));
        }
    }
    const std::string written = WriteGerman();
    for (const Case& c : cases)
        EXPECT_NE(written.find("\r\n" + std::string(c.written) + "\r\n"), std::string::npos)
            << c.name << "\n" << written;
}

// No text lines: the lines as stored, framed by header and footer; a script
// without a code page statement gets one in front, and a LANGUAGE statement
// written with numbers stays in numbers.
TEST_F(WriterTest, ScriptWithoutTextsAndWithoutCodePageLine)
{
    test::StoreLines(project_, {{65, "#define IDC_X 100", nullptr, ""}, {94, "LANGUAGE 9, 1", nullptr, ""}});
    AddGerman(1252);
    const std::string written = WriteGerman();
    const std::string body = Lines({"", "#pragma code_page(1252)", "#define IDC_X 100", "LANGUAGE  0x07, 0x01", "", "", kRule, "//  End of file ", kRule});
    ASSERT_GE(written.size(), body.size());
    EXPECT_EQ(written.substr(0, kRule.size() + 2), kRule + "\r\n");
    EXPECT_EQ(written.substr(written.size() - body.size()), body);
}

// A layout row of the language replaces exactly the coordinates, whatever
// comes before and after them; other languages' rows and lines without a row
// are left alone.
TEST_F(WriterTest, LanguageLayoutReplacesCoordinates)
{
    test::StoreLines(project_, {
        {13, "IDD_A DIALOGEX 0, 0, 186, 95", nullptr, ""},
        {6, "BEGIN", nullptr, ""},
        {26, "DEFPUSHBUTTON \"", "OK", "\", IDOK, 10 + 2, 6, 50, 14, WS_GROUP"},
        {2, "CONTROL \"", "Check", "\", IDC_C, \"Button\", BS_AUTOCHECKBOX | WS_TABSTOP, 5, 6, 70, 8, "
                                  "WS_EX_STATICEDGE, 0x12"},
        {28, "EDITTEXT IDC_E, 5, 30, 100, 12, ES_AUTOHSCROLL", nullptr, ""},
        {19, "LTEXT \"", "Plain", "\", IDC_P, 1, 2, 3, 4"},
        {7, "END", nullptr, ""},
    });
    AddGerman();
    ASSERT_TRUE(project_.SetTranslation(12, kGerman, kSubDefault, "Bestatigen lang", false));
    const std::int32_t german = LangIdOf(kGerman, kSubDefault);
    project_.AppendDialog({.lineIndex = 10, .langId = german, .nameId = "IDD_A", .cx = 1234, .cy = 99});
    project_.AppendDialogControl({.lineIndex = 12, .langId = german, .x = 8, .y = 60, .cx = 1000, .cy = 15});
    project_.AppendDialogControl({.lineIndex = 13, .langId = german, .x = 1, .y = 2, .cx = 3, .cy = 4});
    project_.AppendDialogControl({.lineIndex = 14, .langId = german, .x = 7, .y = 31, .cx = 90, .cy = 13});
    project_.AppendDialogControl({.lineIndex = 15, .langId = LangIdOf(12, 1), .x = 0, .y = 0, .cx = 0, .cy = 0});

    const std::string written = WriteGerman();
    for (const char* line : {"IDD_A DIALOGEX 0, 0, 1234, 99",
                             "  DEFPUSHBUTTON \"Bestatigen lang\", IDOK, 8, 60, 1000, 15, WS_GROUP",
                             "  CONTROL \"Check\", IDC_C, \"Button\", BS_AUTOCHECKBOX | WS_TABSTOP, 1, 2, 3, 4, "
                             "WS_EX_STATICEDGE, 0x12",
                             "  EDITTEXT IDC_E, 7, 31, 90, 13, ES_AUTOHSCROLL", "  LTEXT \"Plain\", IDC_P, 1, 2, 3, 4"})
        EXPECT_NE(written.find("\r\n" + std::string(line) + "\r\n"), std::string::npos) << line << "\n" << written;
}

// The code page decides the encoding, and the written script reads back to the
// same texts.
TEST_F(WriterTest, EncodingsReadBackToTheSameTexts)
{
    struct Case {
        int codePage;
        std::string_view bom;
        const char* translation;
    };
    const Case cases[] = {
        {1200, "\xFF\xFE", "Привет, 世界 \"\"ok\"\""},
        {65001, "", "Grüße – 世界"},
        {1251, "", "Привет \\\"мир\\\""},
        {1252, "", "Größe €"},
    };
    test::StoreLines(project_, {{106, "#pragma code_page(1252)", nullptr, ""},
                                {5, "STRINGTABLE", nullptr, ""},
                                {6, "BEGIN", nullptr, ""},
                                {70, "IDS_A \"", "Hello", "\""},
                                {70, "IDS_B \"", "Plain", "\""},
                                {7, "END", nullptr, ""}});
    AddGerman();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        ASSERT_TRUE(SetCodePage(project_, kGerman, kSubDefault, c.codePage));
        ASSERT_TRUE(project_.SetTranslation(13, kGerman, kSubDefault, c.translation, false));
        const std::string bytes = WriteGerman();
        EXPECT_EQ(bytes.substr(0, c.bom.size()), c.bom);
        if (c.codePage != 65001 && c.codePage != 1200) {
            EXPECT_NE(FindInvalidUtf8(bytes), std::string::npos) << "8-bit output expected";
        }
        test::ParsedScript parsed = test::ParseScriptBytes(bytes);
        EXPECT_EQ(parsed.error, 0);
        EXPECT_EQ(parsed.encoding, c.codePage);
        EXPECT_EQ(parsed.Texts(), (std::vector<std::string>{c.translation, "Plain"}));
    }
}

// A text the code page cannot hold: nothing is written, the previous file
// stays, and the message names the language, the line and the text.
TEST_F(WriterTest, UnrepresentableTextWritesNothing)
{
    test::StoreLines(project_, {{106, "#pragma code_page(1252)", nullptr, ""},
                                {5, "STRINGTABLE", nullptr, ""},
                                {6, "BEGIN", nullptr, ""},
                                {70, "IDS_A \"", "Hello", "\""},
                                {7, "END", nullptr, ""}});
    AddGerman(1252);
    ASSERT_TRUE(project_.SetTranslation(13, kGerman, kSubDefault, "Hallo Привет", false));
    test::WriteFile(out(), "previous");
    WriteResult result = WriteTranslatedScript(out(), source(), project_, kGerman, kSubDefault);
    EXPECT_EQ(result.status, WriteStatus::Unrepresentable);
    EXPECT_EQ(result.Code(), 0);
    // Header 6 lines, the pragma, an empty line before STRINGTABLE, STRINGTABLE, BEGIN, then the string.
    // The message tells which code pages would hold every text.
    EXPECT_EQ(result.message,
              msg::Format(msg::WriteUnrepresentable,
                          {"German", "11", "Hallo Привет", "1252", msg::Format(msg::WriteOthersHoldAll, {"1251"})}));
    EXPECT_EQ(test::ReadBytes(out()), "previous");
    EXPECT_EQ(test::FilesIn(dir_.path()), (std::vector<std::string>{"demo_rc.mdb", "out.rc"}));

    // A text that only Unicode holds.
    ASSERT_TRUE(project_.SetTranslation(13, kGerman, kSubDefault, "Hallo Привет Ελλάδα", false));
    result = WriteTranslatedScript(out(), source(), project_, kGerman, kSubDefault);
    EXPECT_EQ(result.message, msg::Format(msg::WriteUnrepresentable,
                                          {"German", "11", "Hallo Привет Ελλάδα", "1252", msg::WriteUtf8HoldsAll}));
    EXPECT_NE(result.message.find("65001"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(out()), "previous");
}

TEST_F(WriterTest, RefusesLanguagesWithoutColumnOrVersion)
{
    test::StoreLines(project_, {{73, "", nullptr, ""}});
    EXPECT_EQ(WriteTranslatedScript(out(), source(), project_, kGerman, kSubDefault).status,
              WriteStatus::NotWritable);
    AddGerman();
    project_.db().exec("UPDATE Project SET FileVersion = NULL");
    EXPECT_EQ(WriteTranslatedScript(out(), source(), project_, kGerman, kSubDefault).status,
              WriteStatus::NotWritable);
    EXPECT_FALSE(std::filesystem::exists(out()));
}

TEST(LanguageStatementTest, SymbolsOrNumbers)
{
    EXPECT_EQ(LanguageStatement(7, 1), "LANGUAGE  LANG_GERMAN, SUBLANG_GERMAN");
    EXPECT_EQ(LanguageStatement(26, 2), "LANGUAGE  LANG_SERBO_CROATIAN, SUBLANG_SERBO_CROATIAN_CYRILLIC");
    // Not in the language table: a compiler still understands the numbers.
    EXPECT_EQ(LanguageStatement(9, 7), "LANGUAGE  0x09, 0x07");
}

// --- Every translation, file names and stamps ------------------------------------

class WriteAllTest : public WriterTest {
protected:
    void SetUp() override
    {
        test::StoreLines(project_, {{94, "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US", nullptr, ""},
                                    {5, "STRINGTABLE", nullptr, ""},
                                    {6, "BEGIN", nullptr, ""},
                                    {70, "IDS_A \"", "Hello", "\""},
                                    {7, "END", nullptr, ""}});
    }
};

TEST_F(WriteAllTest, DefaultNamesAreUniqueAndStampsStored)
{
    AddGerman();
    ASSERT_TRUE(AddLanguage(project_, kRussian, kSubDefault, 1251));
    ASSERT_TRUE(AddLanguage(project_, 12, 1, 1252));
    // French already uses the name German would get by default.
    ASSERT_TRUE(SetTranslationFile(project_, 12, 1, {"DEMO_0407.rc", {}}));
    ASSERT_TRUE(SetTranslationFile(project_, kRussian, kSubDefault, {"sub\\ru.rc", {}}));
    std::filesystem::create_directory(dir_ / "sub");

    int beeps = 0;
    TranslationsWriteResult result = WriteTranslations(project_, source(), {.beep = [&] { ++beeps; }});
    EXPECT_EQ(result.written, 3);
    EXPECT_EQ(beeps, 1);
    const struct {
        int primary;
        const char* name;
        std::filesystem::path path;
    } expected[] = {{kGerman, "demo_0407_2.rc", dir_ / "demo_0407_2.rc"},
                    {kRussian, "sub\\ru.rc", dir_ / "sub" / "ru.rc"},
                    {12, "DEMO_0407.rc", dir_ / "DEMO_0407.rc"}};
    for (const auto& e : expected) {
        auto stored = GetTranslationFile(project_, e.primary, 1);
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->fileName, e.name);
        auto stamp = ReadFileStamp(e.path);
        ASSERT_TRUE(stamp) << e.path;
        EXPECT_EQ(stored->stamp, *stamp);
        EXPECT_GT(stamp->size, 0);
    }
    EXPECT_NE(test::ReadBytes(dir_ / "sub" / "ru.rc").find("LANGUAGE  LANG_RUSSIAN, SUBLANG_DEFAULT"),
              std::string::npos);
    EXPECT_EQ(DefaultTranslationFileName(project_, source(), kGerman, kSubDefault), "demo_0407_2.rc");
}

// One language failing does not stop the others; a missing folder is a bad path.
TEST_F(WriteAllTest, BadPathIsReportedPerLanguage)
{
    AddGerman();
    ASSERT_TRUE(AddLanguage(project_, kRussian, kSubDefault, 1251));
    ASSERT_TRUE(SetTranslationFile(project_, kGerman, kSubDefault, {"missing/de.rc", {}}));
    ASSERT_TRUE(SetTranslationFile(project_, kRussian, kSubDefault, {"ru.rc", {}}));
    TranslationsWriteResult result = WriteTranslations(project_, source());
    ASSERT_EQ(result.results.size(), 2u);
    EXPECT_EQ(result.written, 1);
    EXPECT_EQ(result.results[0].status, WriteStatus::BadPath);
    EXPECT_EQ(result.results[0].message,
              msg::Format(msg::WriteBadPath, {"German", (dir_ / "missing" / "de.rc").string()}));
    EXPECT_EQ(result.results[1].status, WriteStatus::Written);
    EXPECT_EQ(GetTranslationFile(project_, kGerman, kSubDefault)->stamp, FileStamp{});
}

// --- File errors leave the previous script as it was ------------------------------

// Runs a write in a child process (which may lower its rights or limit file
// sizes first) and returns the file error cause, 0 when it wrote the file.
int WriteInChild(const std::filesystem::path& db, const std::filesystem::path& target, bool dropRights,
                 rlim_t sizeLimit)
{
    pid_t pid = ::fork();
    if (pid == 0) {
        if (dropRights && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(100);
        if (sizeLimit) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{sizeLimit, sizeLimit};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(101);
        }
        int code = 102;
        try {
            CProjectDatabase project(db, sql::Database::Mode::ReadOnly);
            WriteResult result = WriteTranslatedScript(target, "demo.rc", project, kGerman, kSubDefault);
            code = result.status == WriteStatus::Written     ? 0
                   : result.status == WriteStatus::FileError ? result.fileCause
                                                             : 103;
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(WriterTest, FileErrorsKeepThePreviousScript)
{
    std::vector<StoredLine> lines{{5, "STRINGTABLE", nullptr, ""}, {6, "BEGIN", nullptr, ""}};
    for (int i = 0; i < 2000; ++i)
        lines.push_back({70, "IDS_X \"", "A string long enough to fill a few kilobytes of output", "\""});
    lines.push_back({7, "END", nullptr, ""});
    test::StoreLines(project_, lines);
    AddGerman();
    std::filesystem::create_directory(dir_ / "ro");
    ::chmod(dir_.path().c_str(), 0755);
    const std::filesystem::path readOnly = dir_ / "ro" / "de.rc";
    const std::filesystem::path full = dir_ / "de.rc";
    test::WriteFile(readOnly, "previous");
    test::WriteFile(full, "previous");
    ::chmod((dir_ / "ro").c_str(), 0555);

    EXPECT_EQ(WriteInChild(dbPath_, readOnly, true, 0), filecause::AccessDenied);
    EXPECT_EQ(WriteInChild(dbPath_, full, false, 16 * 1024), filecause::DiskFull);
    ::chmod((dir_ / "ro").c_str(), 0755);
    EXPECT_EQ(test::ReadBytes(readOnly), "previous");
    EXPECT_EQ(test::ReadBytes(full), "previous");
    EXPECT_EQ(test::FilesIn(dir_ / "ro"), std::vector<std::string>{"de.rc"});
    EXPECT_EQ(test::FilesIn(dir_.path()), (std::vector<std::string>{"de.rc", "demo_rc.mdb", "ro"}));
    // Once the cause is gone the same write succeeds.
    EXPECT_EQ(WriteInChild(dbPath_, full, false, 0), 0);
    EXPECT_GT(std::filesystem::file_size(full), 16u * 1024u);
}

}  // namespace
}  // namespace qln
