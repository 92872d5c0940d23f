// CProjectDatabase on real database files: appends, texts and translations
// by language, option flags, settings, file stamps, deleting sets of rows,
// and the flagging pass with hostile language names.

#include "db_fixture.h"

#include "projectdb/Statements.h"

#include <sqlite3.h>

#include <fstream>
#include <utime.h>

namespace qln::test {
namespace {

struct RecordLayerTest : ::testing::Test {
    TempDir dir;
    std::filesystem::path file = CopyTemplate(dir);
    CProjectDatabase pdb{file};

    std::int64_t scalar(const std::string& text)
    {
        auto& st = pdb.db().cached(text);
        EXPECT_TRUE(st.step()) << text;
        std::int64_t v = st.columnInt64(0);
        st.reset();
        return v;
    }
    std::optional<std::string> text(const std::string& sqlText)
    {
        auto& st = pdb.db().cached(sqlText);
        EXPECT_TRUE(st.step()) << sqlText;
        auto v = st.columnOptText(0);
        st.reset();
        return v;
    }
};

TEST_F(RecordLayerTest, AppendsLeaveEmptyTextsNull)
{
    pdb.AppendLine(10, 1, 0, 70, "", "");
    pdb.AppendLine(11, 2, 1, 70, "IDS_X \"", "\"");
    pdb.AppendText(10, "", true);
    pdb.AppendText(11, "x", false);
    pdb.AppendBookmark(10, "", "", 7, 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM ResFileLine WHERE BeforeStr IS NULL AND BehindStr IS NULL"), 1);
    EXPECT_EQ(text("SELECT BeforeStr FROM ResFileLine WHERE LineIndex = 11"), "IDS_X \"");
    EXPECT_EQ(scalar("SELECT Added FROM ResFileLine WHERE LineIndex = 11"), 1);
    EXPECT_EQ(text("SELECT SourceText FROM ResourceText WHERE LineIndex = 10"), std::nullopt);
    EXPECT_EQ(scalar("SELECT Exclude + 2 * Modified FROM ResourceText WHERE LineIndex = 10"), 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM Bookmark WHERE Name IS NULL AND Window IS NULL AND Lang_Id = 1031"), 1);

    pdb.SetProjectFile("/src/demo.rc", {123, 0x6000, 0x5821}, 8);
    pdb.SetProjectFile("", {124, 0x6001, 0x5822}, 8);  // keeps the stored path
    EXPECT_EQ(text("SELECT SourceFile FROM Project"), "/src/demo.rc");
    EXPECT_EQ(scalar("SELECT FileSize FROM Project"), 124);
    EXPECT_EQ(scalar("SELECT count(*) FROM Project"), 1);
}

TEST_F(RecordLayerTest, TranslationsByDisplayName)
{
    FillSample(pdb);
    AddTranslationColumns(pdb.db(), "English US", LangIdOf(9, 1));
    ASSERT_TRUE(pdb.SetTranslation(li::Hello, 7, 1, "Hallo", false));
    ASSERT_TRUE(pdb.SetTranslation(li::Hello, 9, 1, "Hi", true));
    auto german = pdb.GetText(li::Hello, 7, 1);
    ASSERT_TRUE(german);
    EXPECT_EQ(german->sourceText, "Hello");
    EXPECT_EQ(german->translation, "Hallo");
    EXPECT_FALSE(german->notActual);
    EXPECT_FALSE(german->exclude);
    auto english = pdb.GetText(li::Hello, 9, 1);
    ASSERT_TRUE(english);
    EXPECT_EQ(english->translation, "Hi");
    EXPECT_TRUE(english->notActual);
    // Another sublanguage with the same display name shares the column.
    EXPECT_EQ(pdb.GetText(li::Hello, 7, 5)->translation, "Hallo");

    // An untranslated text reads back as null; storing "" keeps an empty text.
    EXPECT_EQ(pdb.GetText(li::Caption, 7, 1)->translation, std::nullopt);
    ASSERT_TRUE(pdb.SetTranslation(li::Caption, 7, 1, "", false));
    EXPECT_EQ(pdb.GetText(li::Caption, 7, 1)->translation, "");

    // Lines without a text.
    EXPECT_FALSE(pdb.GetText(li::Dialog, 7, 1));
    EXPECT_FALSE(pdb.SetTranslation(li::Dialog, 7, 1, "x", false));
    // A language that is no translation of this project.
    EXPECT_THROW(pdb.GetText(li::Hello, 12, 1), sql::Error);
}

TEST_F(RecordLayerTest, LanguageWithoutDisplayNameLeavesTheDatabaseAlone)
{
    FillSample(pdb);
    pdb.db().exec("ALTER TABLE QueryCatalogue RENAME TO Hidden");
    pdb.InvalidateLayout();
    const auto before = sqlite3_total_changes(pdb.db().handle());
    EXPECT_FALSE(pdb.GetText(li::Hello, 99, 1));
    EXPECT_FALSE(pdb.SetTranslation(li::Hello, 99, 1, "x", false));
    EXPECT_EQ(sqlite3_total_changes(pdb.db().handle()), before);
    // A language with a name does reach the database (and misses the catalogue).
    EXPECT_THROW(pdb.GetText(li::Hello, 7, 1), sql::Error);
}

TEST_F(RecordLayerTest, SourceTextChangeAndFlaggingPass)
{
    FillSample(pdb);
    AddTranslationColumns(pdb.db(), "French", LangIdOf(12, 1));
    pdb.SetTranslation(li::StrOne, 7, 1, "Eins", false);
    pdb.SetTranslation(li::StrTwo, 12, 1, "", false);  // empty: nothing to flag
    pdb.SetTranslation(li::Copy, 7, 1, "Kopieren", false);
    ASSERT_TRUE(pdb.SetSourceText(li::StrOne, "One!", "One"));
    ASSERT_TRUE(pdb.SetSourceText(li::StrTwo, "Two!", "Two"));
    EXPECT_FALSE(pdb.SetSourceText(9999, "x", "y"));
    EXPECT_EQ(text("SELECT SourceText_Old FROM ResourceText WHERE LineIndex = 49"), "One");
    EXPECT_EQ(pdb.OpenQuery("IsTextModified_All").size(), 2u);

    pdb.FlagModifiedTexts();
    EXPECT_EQ(scalar("SELECT count(*) FROM ResourceText WHERE Modified <> 0"), 0);
    EXPECT_TRUE(pdb.GetText(li::StrOne, 7, 1)->notActual);
    EXPECT_FALSE(pdb.GetText(li::StrTwo, 7, 1)->notActual);   // no German text
    EXPECT_FALSE(pdb.GetText(li::StrTwo, 12, 1)->notActual);  // empty French text
    EXPECT_FALSE(pdb.GetText(li::Copy, 7, 1)->notActual);     // source unchanged
    EXPECT_EQ(pdb.GetText(li::StrOne, 7, 1)->sourceText, "One!");
}

// Display names end up as column names. A crafted Translations row with
// quotes, brackets and SQL in its name must neither break nor inject.
TEST_F(RecordLayerTest, HostileLanguageNamesCannotInject)
{
    FillSample(pdb);
    const std::string hostile[] = {
        "Evil\" = 1, SourceText = NULL; DROP TABLE ResFileLine; --",
        "[German]",
        "x'); DELETE FROM ResourceText; --",
        "SELECT FROM WHERE",
    };
    std::int32_t langId = 500;
    for (const auto& name : hostile) {
        AddTranslationColumns(pdb.db(), name, ++langId);
        pdb.db().cached("UPDATE ResourceText SET " + sql::QuoteIdentifier(name) + " = ?1 WHERE LineIndex = ?2")
            .bind(1, name).bind(2, li::Hello).run();
    }
    pdb.SetSourceText(li::Hello, "Hello!", "Hello");
    pdb.FlagModifiedTexts();

    EXPECT_EQ(scalar("SELECT count(*) FROM ResFileLine"), 18);
    EXPECT_EQ(scalar("SELECT count(*) FROM ResourceText"), 13);
    EXPECT_EQ(text("SELECT SourceText FROM ResourceText WHERE LineIndex = 56"), "Hello!");
    for (const auto& name : hostile) {
        Recordset row = pdb.OpenQuery("GetResTextRecord_ByLine", {{"LineIndex", li::Hello}});
        EXPECT_EQ(row.getText(name), name);
        EXPECT_EQ(row.getInt64(name + "_Modified"), 1) << name;
    }
    EXPECT_EQ(scalar("SELECT count(*) FROM ResourceText WHERE \"German_Modified\" = 1"), 0);
}

TEST_F(RecordLayerTest, OptionFlagsAreCreatedOnFirstWrite)
{
    for (auto name : ProjectOptionNames) {
        EXPECT_FALSE(pdb.GetOption(name)) << name;
        EXPECT_TRUE(pdb.SetOption(name, name != "IncludeEdit")) << name;
        EXPECT_EQ(FieldTypeOf(pdb.db(), "Project", name), FieldType::Byte) << name;
        EXPECT_EQ(pdb.GetOption(name), name != "IncludeEdit") << name;
    }
    EXPECT_TRUE(pdb.SetOption("IncludeEdit", true));
    EXPECT_EQ(pdb.GetOption("IncludeEdit"), true);
    // Anything else is no option and creates nothing.
    EXPECT_FALSE(pdb.SetOption("FileVersion", true));
    EXPECT_FALSE(pdb.SetOption("Bogus", true));
    EXPECT_FALSE(HasField(pdb.db(), "Project", "Bogus"));
    EXPECT_EQ(pdb.GetFileVersion(), 8);

    CProjectDatabase reopened(file);
    EXPECT_EQ(reopened.GetOption("MenuEdit"), true);
    // Without a Project row the flag is not found and cannot be stored.
    reopened.db().exec("DELETE FROM Project");
    EXPECT_FALSE(reopened.GetOption("MenuEdit"));
    EXPECT_FALSE(reopened.SetOption("MenuEdit", true));
}

TEST_F(RecordLayerTest, SettingsAppendOnceThenEdit)
{
    EXPECT_FALSE(pdb.GetSetting("WIDTH_LANG_COLUMN", 7, 1));
    pdb.SetSetting("WIDTH_LANG_COLUMN", 7, 1, std::nullopt, 120);
    EXPECT_EQ(scalar("SELECT count(*) FROM Settings"), 1);
    pdb.SetSetting("WIDTH_LANG_COLUMN", 7, 1, std::nullopt, 140);
    pdb.SetSetting("WIDTH_LANG_COLUMN", 9, 1, std::nullopt, 90);
    pdb.SetSetting("RES_INCLUDES", 0, 0, std::string("a.rc;b.rc"), std::nullopt);
    EXPECT_EQ(scalar("SELECT count(*) FROM Settings"), 3);
    auto german = pdb.GetSetting("WIDTH_LANG_COLUMN", 7, 1);
    ASSERT_TRUE(german);
    EXPECT_EQ(german->number, 140);
    EXPECT_FALSE(german->text);
    EXPECT_EQ(pdb.GetSetting("WIDTH_LANG_COLUMN", 9, 1)->number, 90);
    EXPECT_EQ(pdb.GetSetting("RES_INCLUDES", 0, 0)->text, "a.rc;b.rc");
    EXPECT_EQ(scalar("SELECT Lang_Id FROM Settings WHERE NumValue = 140"), 1031);
}

TEST_F(RecordLayerTest, SourceChangedComparesSizeAndStamp)
{
    const FileStamp stored{100, 0x6000, 0x5821};
    pdb.SetProjectFile("demo.rc", stored, 8);
    struct Case {
        FileStamp current;
        bool changed;
        const char* what;
    };
    const Case cases[] = {
        {stored, false, "same stamp"},
        {{101, 0x6000, 0x5821}, true, "size differs"},
        {{100, 0x6000, 0x5822}, true, "later date"},
        {{100, 0x0000, 0x5820}, false, "earlier date, same size"},
        {{100, 0x6001, 0x5821}, true, "same date, later time"},
        {{100, 0x5FFF, 0x5821}, false, "same date, earlier time"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pdb.SourceChanged(c.current), c.changed) << c.what;
    pdb.db().exec("DELETE FROM Project");
    EXPECT_FALSE(pdb.SourceChanged({1, 1, 1}));
}

TEST_F(RecordLayerTest, IncludesChangedByStampOnly)
{
    std::filesystem::create_directories(dir / "src/Res");
    const auto script = dir / "src/demo.rc";
    const auto header = dir / "src/Res/Resource.h";
    std::ofstream(header) << "#define X 1\n";
    const auto now = ReadFileStamp(header);
    ASSERT_TRUE(now);
    // Written the way scripts name it: backslash, other case.
    pdb.AppendIncludeFile(60, "res\\RESOURCE.H", {now->size + 5, now->time, now->date});
    pdb.AppendIncludeFile(61, "missing.h", {0, 0, 0});
    EXPECT_FALSE(pdb.IncludesChanged(script));  // same stamp; size is not compared

    pdb.db().exec("UPDATE IncludeFile SET FileDate = FileDate - 1 WHERE LineIndex = 60");
    EXPECT_TRUE(pdb.IncludesChanged(script));
    pdb.db().exec("UPDATE IncludeFile SET FileDate = FileDate + 2 WHERE LineIndex = 60");
    EXPECT_FALSE(pdb.IncludesChanged(script));
}

TEST_F(RecordLayerTest, DeleteNotKeptRemovesOnlyLinesNotKept)
{
    FillSample(pdb);
    const std::set<std::int64_t> kept = {li::StrTwo, li::Open};
    auto isKept = [&](std::int64_t lineIndex) { return kept.count(lineIndex) > 0; };
    EXPECT_EQ(pdb.DeleteNotKept("Obsolete_ResLineAndStringtableString", isKept), 1u);
    EXPECT_EQ(scalar("SELECT LineIndex FROM StringtableString"), li::StrTwo);
    EXPECT_EQ(pdb.DeleteNotKept(stmt::OldMenuItems, isKept), 3u);
    EXPECT_EQ(scalar("SELECT group_concat(LineIndex) FROM MenuItem"), li::Open);
    // Rows whose line is gone are candidates too.
    pdb.db().exec("DELETE FROM ResFileLine WHERE LineIndex = " + std::to_string(li::Logo));
    EXPECT_EQ(pdb.DeleteNotKept("Bitmaps_Old", [](std::int64_t) { return true; }), 0u);
    EXPECT_EQ(pdb.DeleteNotKept("Bitmaps_Old", isKept), 1u);
    EXPECT_EQ(scalar("SELECT count(*) FROM Bitmap"), 0);
    EXPECT_THROW(pdb.DeleteNotKept(stmt::IncludeLines, isKept), sql::Error);  // read only

    // After the purge, the kept lines go back to rest.
    pdb.db().exec("UPDATE ResFileLine SET Added = 1 WHERE LineIndex IN (48, 52)");
    EXPECT_EQ(pdb.OpenQuery("Added_Fields").size(), 2u);
    pdb.ClearAddedMarkers();
    EXPECT_TRUE(pdb.OpenQuery("Added_Fields").empty());
}

TEST_F(RecordLayerTest, LinesKindsAndIdentifiers)
{
    FillSample(pdb);
    EXPECT_EQ(pdb.GetLineKind(li::PopupFile), 3);
    EXPECT_FALSE(pdb.GetLineKind(9999));
    const std::tuple<std::int32_t, IdentTable, const char*> idents[] = {
        {li::Open, IdentTable::MenuItem, "ID_FILE_OPEN"},
        {li::StrOne, IdentTable::StringtableString, "IDS_ONE"},
        {li::Hello, IdentTable::DialogControl, "IDC_HELLO"},
        {li::Logo, IdentTable::Bitmap, "IDB_LOGO"},
        {li::Menu, IdentTable::Menu, "IDR_MAIN"},
    };
    for (const auto& [line, table, ident] : idents)
        EXPECT_EQ(pdb.GetIdentifier(line, table), ident);
    EXPECT_FALSE(pdb.GetIdentifier(li::Open, IdentTable::Bitmap));
    EXPECT_EQ(pdb.GetStatus(), 1);
    pdb.SetStatus(4);
    EXPECT_EQ(pdb.GetStatus(), 4);
    ASSERT_TRUE(pdb.SetExclude(li::Hello, true));
    EXPECT_TRUE(pdb.GetText(li::Hello, 7, 1)->exclude);
}

TEST(RecordLayerVersions, BookmarksReadBackToTheSameLanguageInBothLayouts)
{
    for (bool old : {false, true}) {
        TempDir dir;
        auto file = old ? CopyTemplateVersion7(dir) : CopyTemplate(dir);
        CProjectDatabase pdb(file);
        EXPECT_EQ(pdb.UsesLangId(), !old);
        auto id = pdb.AppendBookmark(52, "mark", "text", 9, 2);
        Recordset row = pdb.OpenQuery("Bookmark_By_ID", {{"ID", id}});
        ASSERT_EQ(row.size(), 1u);
        int primary = old ? row.getInt("Language") : PrimaryOf(row.getInt("Lang_Id"));
        int sub = old ? row.getInt("SubLanguage") : SubOf(row.getInt("Lang_Id"));
        EXPECT_EQ(primary, 9);
        EXPECT_EQ(sub, 2);
        if (old) {
            DialogRecord layout{.lineIndex = 1, .langId = German};
            EXPECT_THROW(pdb.AppendDialog(layout), std::logic_error);
        }
    }
}

TEST(DatabaseError, MessageCarriesCodeAndEngineText)
{
    sql::Database db(":memory:", sql::Database::Mode::Create);
    try {
        db.exec("SELECT * FROM Missing");
        FAIL();
    } catch (const sql::Error& e) {
        EXPECT_EQ(DatabaseErrorMessage(e), "Dao Error (1):\nno such table: Missing");
    }
}

// --- Line index allocation ------------------------------------------------------------

TEST(LineIndexAllocation, SmallestFreeValueAtOrAboveStart)
{
    LineIndexSet set;
    EXPECT_EQ(CProjectDatabase::AllocateLineIndex(set, 10), 10u);
    for (std::uint32_t v : {1u, 2u, 4u})
        set.insert(v);
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {{1, 3}, {3, 3}, {4, 5}, {0, 0}, {2, 3}, {6, 6}};
    for (const auto& [start, expected] : cases)
        EXPECT_EQ(CProjectDatabase::AllocateLineIndex(set, start), expected) << start;
    set.insert(3);  // joins the runs 1-2 and 4
    EXPECT_EQ(set.allocate(1), 5u);
    set.insert(3);
    EXPECT_EQ(set.size(), 4u);
    EXPECT_TRUE(set.contains(3));
    EXPECT_FALSE(set.contains(5));
}

// Against the rule itself: rescan from the beginning until no element equals c.
TEST(LineIndexAllocation, AgreesWithTheLinearRule)
{
    std::vector<std::uint32_t> plain;
    LineIndexSet set;
    std::uint32_t seed = 12345;
    auto random = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) % 200; };
    auto linear = [&](std::uint32_t c) {
        for (bool again = true; again;) {
            again = false;
            for (auto v : plain)
                if (v == c) {
                    ++c;
                    again = true;
                    break;
                }
        }
        return c;
    };
    std::uint32_t start = 10;
    for (int i = 0; i < 400; ++i) {
        if (i % 7 == 0)
            start = random();  // sometimes start over somewhere else
        const std::uint32_t expected = linear(start);
        const std::uint32_t got = set.allocate(start);
        ASSERT_EQ(got, expected) << "step " << i;
        plain.push_back(got);
        set.insert(got);
        if (i % 3 == 0) {  // values loaded from elsewhere, in any order
            auto v = random();
            plain.push_back(v);
            set.insert(v);
        }
        start = got;
    }
}

TEST_F(RecordLayerTest, LoadLineIndexesReadsEveryStoredLine)
{
    FillSample(pdb);
    LineIndexSet set;
    pdb.LoadLineIndexes(set);
    EXPECT_EQ(set.size(), 18u);
    EXPECT_EQ(set.allocate(10), 10u);
    EXPECT_EQ(set.allocate(li::AfxInclude), li::Include + 1);
}

// --- File stamps --------------------------------------------------------------------

TEST(FileStamps, MsDosDateAndTimeInLocalTime)
{
    const char* oldTz = std::getenv("TZ");
    std::string saved = oldTz ? oldTz : "";
    setenv("TZ", "UTC", 1);
    tzset();
    struct Case {
        std::time_t when;
        std::uint16_t date, time;
    };
    const Case cases[] = {
        {315532800, (0 << 9) | (1 << 5) | 1, 0},                                   // 1980-01-01 00:00:00
        {1709214331, (44 << 9) | (2 << 5) | 29, (13 << 11) | (45 << 5) | 15},     // 2024-02-29 13:45:31
        {1709214330, (44 << 9) | (2 << 5) | 29, (13 << 11) | (45 << 5) | 15},     // two-second steps
        {100, (0 << 9) | (1 << 5) | 1, 0},                                         // before 1980: clamped
    };
    for (const auto& c : cases) {
        auto dos = ToDosDateTime(c.when);
        EXPECT_EQ(dos.date, c.date) << c.when;
        EXPECT_EQ(dos.time, c.time) << c.when;
    }
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    EXPECT_EQ(ToDosDateTime(1709214331).time, (14 << 11) | (45 << 5) | 15);  // local time, UTC+1

    TempDir dir;
    auto path = dir / "a.rc";
    std::ofstream(path) << "12345";
    utimbuf times{1709214331, 1709214331};
    ASSERT_EQ(utime(path.c_str(), &times), 0);
    auto stamp = ReadFileStamp(path);
    ASSERT_TRUE(stamp);
    EXPECT_EQ(*stamp, (FileStamp{5, (14 << 11) | (45 << 5) | 15, (44 << 9) | (2 << 5) | 29}));
    EXPECT_FALSE(ReadFileStamp(dir / "none.rc"));
    EXPECT_FALSE(ReadFileStamp(dir.path()));

    if (oldTz)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

}  // namespace
}  // namespace qln::test
