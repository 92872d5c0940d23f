// Updating a project database from its changed script: what is kept, what is
// flagged, what is purged, and what a failed update leaves behind.

#include "update_support.h"

#include "projectdb/FileStamp.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* BaseScript = R"rc(LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
IDD_ONE DIALOGEX 0, 0, 200, 100
CAPTION "One"
BEGIN
    LTEXT "&Name:", IDC_NAME, 5, 6, 50, 8
    EDITTEXT IDC_EDIT, 60, 6, 100, 12
    PUSHBUTTON "OK", IDOK, 5, 20, 40, 14
END
IDD_TWO DIALOG 0, 0, 120, 60
CAPTION "Two"
BEGIN
    DEFPUSHBUTTON "Close", IDCANCEL, 5, 5, 40, 14
END
IDR_MENU MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "E&xit", ID_APP_EXIT
    END
    POPUP "&Help"
    BEGIN
        MENUITEM "&About", ID_ABOUT
    END
END
STRINGTABLE
BEGIN
    IDS_HELLO "Hello"
    IDS_BYE "Bye"
    IDS_LATER "Later"
END
)rc";

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// Steps taken one after the other, each followed by the change test.
struct ChangeStep {
    const char* name;
    std::function<void()> act;
    bool changed;
};
void ExpectChangeTests(const fs::path& db, const fs::path& script, const std::vector<ChangeStep>& steps)
{
    for (const ChangeStep& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        CProjectDatabase pdb(db);
        EXPECT_EQ(IsSourceChanged(pdb, script), step.changed);
    }
}

// A built and translated project: every text in German except IDS_LATER, a
// German layout for IDD_ONE and two of its controls, bookmarks on two strings.
struct Project {
    TempDir dir;
    fs::path script = dir / "app.rc";
    fs::path db = dir / "app_rc.mdb";

    Project()
    {
        const BuildResult built = BuildText(dir, BaseScript);
        EXPECT_TRUE(built.ok()) << built.message;
    }
    void Prepare()
    {
        TranslateAll(db);
        CProjectDatabase pdb(db);
        pdb.db().exec("UPDATE ResourceText SET German = NULL, German_Modified = 0 WHERE SourceText = 'Later'");
        const std::int32_t german = LangIdOf(kGerman, kGermanSub);
        DialogRecord dialog{Index("IDD_ONE"), german, "IDD_ONE", 230, 110};
        pdb.AppendDialog(dialog);
        for (const char* control : {"IDC_NAME", "IDC_EDIT"}) {
            DialogControlRecord row;
            row.lineIndex = Index(control);
            row.dlgLine = Index("IDD_ONE");
            row.langId = german;
            row.nameId = control;
            row.x = 9;
            pdb.AppendDialogControl(row);
        }
        pdb.AppendBookmark(Index("IDS_HELLO"), "hello", "text", kGerman, kGermanSub);
        pdb.AppendBookmark(Index("IDS_BYE"), "bye", "text", kGerman, kGermanSub);
    }
    // LineIndex of the line that contains `what` (its text or identifier).
    std::int32_t Index(const std::string& what) const
    {
        const std::string value = Value(db, "SELECT l.LineIndex FROM ResFileLine l LEFT JOIN ResourceText t USING "
                                            "(LineIndex) WHERE instr(coalesce(l.BeforeStr, '') || coalesce("
                                            "t.SourceText, '') || coalesce(l.BehindStr, ''), '" + what + "') > 0");
        return value.empty() ? -1 : std::stoi(value);
    }
    std::string Text(std::int32_t lineIndex) const
    {
        const auto texts = Texts(db);
        auto it = texts.find(std::to_string(lineIndex));
        return it == texts.end() ? "<none>"
                                 : it->second.source + "|" + it->second.german + "|" + it->second.flag + "|" +
                                       it->second.old;
    }
    UpdateResult UpdateTo(const std::string& text)
    {
        RewriteScript(script, text);
        return Update(script, db);
    }
};

TEST(Update, IdenticalResaveChangesNothingAndASecondUpdateFindsNothing)
{
    Project p;
    p.Prepare();
    const Dump before = DumpDatabase(p.db, false);
    RewriteScript(p.script, BaseScript);
    {
        CProjectDatabase pdb(p.db);
        EXPECT_TRUE(IsSourceChanged(pdb, p.script));
    }
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const UpdateResult result = Update(p.script, p.db);
        ASSERT_TRUE(result.ok()) << result.message << "\n" << result.errorDetail;
        const UpdateCounts& c = result.report.counts;
        EXPECT_EQ(c.matchedByContent, c.oldLines);
        EXPECT_EQ(c.rewritten + c.newLines + c.changedTexts + c.changedLayouts + c.renumbered, 0u);
        EXPECT_EQ(result.report.purgedLines, 0u);
        Dump after = DumpDatabase(p.db, false);
        EXPECT_EQ(after, before);
        CProjectDatabase pdb(p.db);
        EXPECT_FALSE(IsSourceChanged(pdb, p.script));
    }
    // The new stamp is recorded and the status recomputed (IDS_LATER is untranslated).
    const FileStamp stamp = ReadFileStamp(p.script).value();
    EXPECT_EQ(Rows(p.db, "SELECT FileSize, FileDate, FileTime, Status FROM Project"),
              (std::vector<Row>{{std::to_string(stamp.size), std::to_string(stamp.date), std::to_string(stamp.time),
                                 std::to_string(kStatusIncomplete)}}));
}

TEST(Update, EditsKeepFlagAndPurge)
{
    struct Case {
        const char* name;
        std::function<std::string(std::string)> edit;
        std::function<void(Project&, const std::map<std::string, std::int32_t>&)> check;
    };
    // Indexes recorded before the update, by the text or identifier of the line.
    const std::vector<std::string> keys = {"IDD_ONE", "IDD_TWO", "\"One\"", "\"Two\"", "IDC_NAME", "IDC_EDIT",
                                           "IDOK", "IDCANCEL", "&File", "&Help", "ID_ABOUT", "IDS_HELLO",
                                           "IDS_BYE", "IDS_LATER"};
    const Case cases[] = {
        {"changed strings keep their translations and are flagged where translated",
         [](std::string s) { return Replace(Replace(s, "\"Bye\"", "\"Good bye\""), "\"Later\"", "\"Much later\""); },
         [](Project& p, const auto& was) {
             EXPECT_EQ(p.Text(was.at("IDS_BYE")), "Good bye|" + Reversed("Bye") + "|1|Bye");
             EXPECT_EQ(p.Text(was.at("IDS_LATER")), "Much later|NULL|0|Later");
             EXPECT_EQ(p.Text(was.at("IDS_HELLO")), "Hello|" + Reversed("Hello") + "|0|NULL");
             EXPECT_EQ(Value(p.db, "SELECT count(*) FROM ResourceText WHERE Modified <> 0"), "0");
         }},
        {"a string whose identifier changed is new; the old one goes with its translation",
         [](std::string s) { return Replace(s, "IDS_HELLO", "IDS_HI"); },
         [](Project& p, const auto& was) {
             EXPECT_EQ(p.Text(was.at("IDS_HELLO")), "<none>");
             EXPECT_EQ(Value(p.db, "SELECT count(*) FROM ResFileLine WHERE LineIndex = " +
                                       std::to_string(was.at("IDS_HELLO"))), "0");
             const std::int32_t hi = p.Index("IDS_HI");
             EXPECT_NE(hi, was.at("IDS_HELLO"));
             EXPECT_EQ(p.Text(hi), "Hello|NULL|NULL|NULL");
             EXPECT_EQ(Value(p.db, "SELECT Name_ID FROM StringtableString WHERE LineIndex = " + std::to_string(hi)),
                       "IDS_HI");
         }},
        {"swapped dialogs keep their line indexes and move",
         [](std::string s) {
             const std::size_t one = s.find("IDD_ONE"), two = s.find("IDD_TWO"), menu = s.find("IDR_MENU");
             return s.substr(0, one) + s.substr(two, menu - two) + s.substr(one, two - one) + s.substr(menu);
         },
         [](Project& p, const auto& was) {
             for (const auto& [key, index] : was)
                 EXPECT_EQ(p.Index(key), index) << key;
             EXPECT_LT(std::stoi(Value(p.db, "SELECT Line FROM ResFileLine WHERE LineIndex = " +
                                                 std::to_string(was.at("IDD_TWO")))),
                       std::stoi(Value(p.db, "SELECT Line FROM ResFileLine WHERE LineIndex = " +
                                                 std::to_string(was.at("IDD_ONE")))));
             EXPECT_EQ(Value(p.db, "SELECT DlgLine FROM DialogControl WHERE Name_ID = 'IDCANCEL'"),
                       std::to_string(was.at("IDD_TWO")));
             EXPECT_EQ(Value(p.db, "SELECT count(*) FROM ResourceText WHERE German_Modified <> 0"), "0");
         }},
        {"a popup whose text changed is a new popup; its items stay",
         [](std::string s) { return Replace(s, "\"&Help\"", "\"&Assistance\""); },
         [](Project& p, const auto& was) {
             EXPECT_EQ(p.Text(was.at("&Help")), "<none>");
             const std::int32_t popup = p.Index("&Assistance");
             EXPECT_NE(popup, was.at("&Help"));
             EXPECT_EQ(p.Text(popup), "&Assistance|NULL|NULL|NULL");
             EXPECT_EQ(Rows(p.db, "SELECT MenuLine, Level FROM MenuItem WHERE LineIndex = " + std::to_string(popup)),
                       (std::vector<Row>{{std::to_string(p.Index("IDR_MENU")), "0"}}));
             EXPECT_EQ(p.Index("ID_ABOUT"), was.at("ID_ABOUT"));
             EXPECT_EQ(p.Text(was.at("ID_ABOUT")), "&About|" + Reversed("&About") + "|0|NULL");
         }},
        {"language layouts survive a change elsewhere",
         [](std::string s) { return Replace(s, "\"Bye\"", "\"Ciao\""); },
         [](Project&, const auto&) {},
        },
        {"a changed dialog size and control position flag the language layouts",
         [](std::string s) {
             return Replace(Replace(s, "0, 0, 200, 100", "0, 0, 210, 100"), "IDC_NAME, 5, 6", "IDC_NAME, 7, 6");
         },
         [](Project& p, const auto& was) {
             const std::string dlg = std::to_string(was.at("IDD_ONE"));
             EXPECT_EQ(Rows(p.db, "SELECT Lang_Id, cx, cy, cx_prev, cy_prev, Modified FROM Dialogs WHERE LineIndex "
                                  "= " + dlg + " ORDER BY Lang_Id"),
                       (std::vector<Row>{{"0", "210", "100", "200", "100", "0"},
                                         {"1031", "230", "110", "200", "100", "1"}}));
             EXPECT_EQ(Rows(p.db, "SELECT Name_ID, Lang_Id, x, x_prev, Modified FROM DialogControl WHERE DlgLine = " +
                                      dlg + " AND Name_ID <> 'IDOK' ORDER BY Name_ID, Lang_Id"),
                       (std::vector<Row>{{"IDC_EDIT", "0", "60", "NULL", "0"},
                                         {"IDC_EDIT", "1031", "9", "NULL", "0"},
                                         {"IDC_NAME", "0", "7", "5", "0"},
                                         {"IDC_NAME", "1031", "9", "NULL", "1"}}));
         }},
        {"bookmarks of purged lines go, others stay",
         [](std::string s) { return Replace(s, "    IDS_BYE \"Bye\"\n", ""); },
         [](Project& p, const auto& was) {
             EXPECT_EQ(Rows(p.db, "SELECT Name, LineIndex FROM Bookmark"),
                       (std::vector<Row>{{"hello", std::to_string(was.at("IDS_HELLO"))}}));
             EXPECT_EQ(p.Text(was.at("IDS_BYE")), "<none>");
             EXPECT_EQ(p.Text(was.at("IDS_LATER")), "Later|NULL|0|NULL");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Project p;
        p.Prepare();
        std::map<std::string, std::int32_t> was;
        for (const std::string& key : keys)
            was[key] = p.Index(key);
        const std::string layoutQuery = "SELECT * FROM Dialogs WHERE Lang_Id <> 0 UNION ALL SELECT LineIndex, "
                                        "Lang_Id, x, cx, Modified, 0, 0, 0, 0 FROM DialogControl WHERE Lang_Id <> 0";
        const std::vector<Row> layouts = Rows(p.db, layoutQuery);
        const UpdateResult result = p.UpdateTo(c.edit(BaseScript));
        ASSERT_TRUE(result.ok()) << result.message << "\n" << result.errorDetail;
        c.check(p, was);
        if (std::string(c.name).find("size") == std::string::npos) {
            EXPECT_EQ(Rows(p.db, layoutQuery), layouts);
        }
        EXPECT_EQ(Value(p.db, "SELECT count(*) FROM ResFileLine WHERE Added <> 0"), "0");
        // Whatever changed, the database now reads like a fresh build of the
        // script: same lines in the same order, same texts.
        TempDir fresh;
        const BuildResult rebuilt = BuildText(fresh, c.edit(BaseScript));
        ASSERT_TRUE(rebuilt.ok());
        const std::string lines = "SELECT l.Line, l.LineIdentSym, l.BeforeStr, t.SourceText, l.BehindStr FROM "
                                  "ResFileLine l LEFT JOIN ResourceText t USING (LineIndex) ORDER BY l.Line";
        EXPECT_EQ(Rows(p.db, lines), Rows(rebuilt.database->path(), lines));
        // And a second update finds nothing to change.
        RewriteScript(p.script, c.edit(BaseScript));
        const Dump settled = DumpDatabase(p.db, false);
        const UpdateResult again = Update(p.script, p.db);
        ASSERT_TRUE(again.ok());
        EXPECT_EQ(again.report.counts.newLines + again.report.counts.rewritten + again.report.purgedLines, 0u);
        EXPECT_EQ(DumpDatabase(p.db, false), settled);
    }
}

TEST(Update, IncludeFilesAreFollowedAndTheirStampsRecorded)
{
    TempDir dir;
    const fs::path script = dir / "app.rc", include = dir / "strings.rc2", db = dir / "app_rc.mdb";
    const std::string text = "#include \"strings.rc2\"\nSTRINGTABLE\nBEGIN\n    IDS_MAIN \"Main\"\nEND\n";
    WriteFile(include, "STRINGTABLE\nBEGIN\n    IDS_INC \"Included\"\nEND\n");
    ASSERT_TRUE(BuildText(dir, text).ok());
    TranslateAll(db);
    const std::string main = Value(db, "SELECT LineIndex FROM ResourceText WHERE SourceText = 'Main'");
    {
        CProjectDatabase pdb(db);
        pdb.SetSetting("RES_INCLUDES", 0, 0, std::string("rc2"), std::nullopt);
        EXPECT_FALSE(IsSourceChanged(pdb, script));
    }
    RewriteScript(script, text);
    UpdateResult result = Update(script, db);
    ASSERT_TRUE(result.ok()) << result.errorDetail;
    EXPECT_TRUE(result.warning.empty());
    const FileStamp stamp = ReadFileStamp(include).value();
    EXPECT_EQ(Rows(db, "SELECT Name_ID, FileDate, FileTime, FileSize FROM IncludeFile"),
              (std::vector<Row>{{"strings.rc2", std::to_string(stamp.date), std::to_string(stamp.time),
                                 std::to_string(stamp.size)}}));
    EXPECT_EQ(Value(db, "SELECT count(*) FROM ResFileLine WHERE LineIdentSym = 9"), "0");
    EXPECT_EQ(Value(db, "SELECT German FROM ResourceText WHERE SourceText = 'Main' AND LineIndex = " + main),
              Reversed("Main"));
    EXPECT_EQ(Value(db, "SELECT coalesce(German, 'NULL') FROM ResourceText WHERE SourceText = 'Included'"), "NULL");

    ExpectChangeTests(db, script, {
        {"after the update", [] {}, false},
        {"include file newer", [&] { MakeNewer(include); }, true},
        {"include file deleted", [&] { fs::remove(include); }, false},
    });
    // Updating without the include lists it and keeps its line as an ordinary one.
    RewriteScript(script, text);
    result = Update(script, db);
    ASSERT_TRUE(result.ok()) << result.errorDetail;
    EXPECT_EQ(result.report.missingIncludes, std::vector<std::string>{include.string()});
    EXPECT_EQ(result.warning, MissingIncludesMessage({include.string()}));
    EXPECT_EQ(Value(db, "SELECT count(*) FROM ResourceText WHERE SourceText = 'Included'"), "0");
    EXPECT_EQ(Value(db, "SELECT count(*) FROM ResFileLine WHERE LineIdentSym = 9"), "1");
    EXPECT_EQ(Value(db, "SELECT count(*) FROM IncludeFile"), "0");
}

TEST(Update, NestedIncludesAreCheckedWhereTheUpdateFoundThem)
{
    // res\part.rc2 names inner.rc2, which lies beside it; a file of the same
    // name beside the script is not the one the update read.
    TempDir dir;
    const fs::path script = dir / "app.rc", db = dir / "app_rc.mdb";
    const fs::path part = dir / "res" / "part.rc2", inner = dir / "res" / "inner.rc2", decoy = dir / "inner.rc2";
    const std::string text = "#include \"res\\\\part.rc2\"\nSTRINGTABLE\nBEGIN\n    IDS_MAIN \"Main\"\nEND\n";
    fs::create_directory(dir / "res");
    WriteFile(part, "#include \"inner.rc2\"\nSTRINGTABLE\nBEGIN\n    IDS_PART \"Part\"\nEND\n");
    WriteFile(inner, "STRINGTABLE\nBEGIN\n    IDS_INNER \"Inner\"\nEND\n");
    WriteFile(decoy, "STRINGTABLE\nBEGIN\n    IDS_DECOY \"Decoy\"\nEND\n");
    ASSERT_TRUE(BuildText(dir, text).ok());
    {
        CProjectDatabase pdb(db);
        pdb.SetSetting("RES_INCLUDES", 0, 0, std::string("RC2"), std::nullopt);
    }
    RewriteScript(script, text);
    ASSERT_TRUE(Update(script, db).ok());
    ASSERT_EQ(Value(db, "SELECT group_concat(SourceText, '|') FROM (SELECT SourceText FROM ResourceText JOIN "
                        "ResFileLine USING (LineIndex) ORDER BY Line)"),
              "Inner|Part|Main");

    ExpectChangeTests(db, script, {
        {"after the update", [] {}, false},
        {"file of the same name beside the script newer", [&] { MakeNewer(decoy); }, false},
        {"nested include newer", [&] { MakeNewer(inner); }, true},
    });
    // The same holds after a second update, which records the files afresh.
    RewriteScript(script, text);
    ASSERT_TRUE(Update(script, db).ok());
    MakeNewer(inner);
    CProjectDatabase pdb(db);
    EXPECT_TRUE(IsSourceChanged(pdb, script));
}

TEST(Update, LineEndsInsideStringsAreNotChanges)
{
    // A string continued over three lines, checked out once with LF and once
    // with CR LF line ends.
    const std::string lf = "STRINGTABLE\nBEGIN\n    IDS_LONG \"first \\\nsecond \\\nthird\"\n"
                           "    IDS_OTHER \"Other\"\nEND\n";
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    TempDir dir;
    const fs::path script = dir / "app.rc", db = dir / "app_rc.mdb";
    ASSERT_TRUE(BuildText(dir, lf).ok());
    TranslateAll(db);
    const std::string query = "SELECT SourceText FROM ResourceText WHERE SourceText LIKE 'first%'";
    ASSERT_EQ(Value(db, query), "first \\\nsecond \\\nthird");
    const auto before = Texts(db);

    RewriteScript(script, crlf);
    UpdateResult result = Update(script, db);
    ASSERT_TRUE(result.ok()) << result.errorDetail;
    EXPECT_EQ(result.report.counts.changedTexts, 0u);
    EXPECT_EQ(result.report.counts.newLines, 0u);
    // Translations stay current; the stored text follows the script as it is now.
    auto after = Texts(db);
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [lineIndex, state] : before) {
        SCOPED_TRACE(state.source);
        TextState expected = state;
        if (state.source.find('\n') != std::string::npos)
            expected.source = "first \\\r\nsecond \\\r\nthird";
        const TextState& now = after[lineIndex];
        EXPECT_EQ((std::vector<std::string>{now.source, now.german, now.flag, now.old}),
                  (std::vector<std::string>{expected.source, expected.german, expected.flag, expected.old}));
    }
    EXPECT_EQ(Value(db, query), "first \\\r\nsecond \\\r\nthird");

    // A real change under the other line ends is still one.
    RewriteScript(script, Replace(lf, "third", "last"));
    result = Update(script, db);
    ASSERT_TRUE(result.ok()) << result.errorDetail;
    EXPECT_EQ(result.report.counts.changedTexts, 1u);
    EXPECT_EQ(Value(db, "SELECT German_Modified FROM ResourceText WHERE SourceText LIKE 'first%'"), "1");
}

TEST(Update, AnIncludeThatFailsHalfWayIsTakenBackWhole)
{
    TempDir dir;
    const fs::path script = dir / "app.rc", part = dir / "part.rc2", db = dir / "app_rc.mdb";
    const std::string text = "#include \"part.rc2\"\nSTRINGTABLE\nBEGIN\n    IDS_MAIN \"Main\"\nEND\n";
    const std::string partText = "STRINGTABLE\nBEGIN\n    IDS_PART \"Part\"\nEND\n#include \"inner.rc2\"\n";
    WriteFile(dir / "inner.rc2", "STRINGTABLE\nBEGIN\n    IDS_INNER \"Inner\"\nEND\n");
    WriteFile(part, partText);
    ASSERT_TRUE(BuildText(dir, text).ok());
    {
        CProjectDatabase pdb(db);
        pdb.SetSetting("RES_INCLUDES", 0, 0, std::string("RC2"), std::nullopt);
    }
    RewriteScript(script, text);
    ASSERT_TRUE(Update(script, db).ok());
    TranslateAll(db);
    EXPECT_EQ(Value(db, "SELECT count(*) FROM ResourceText WHERE German <> ''"), "3");

    // The part now breaks after its own string and the inner include were read.
    WriteFile(part, partText + "M MENU\nBEGIN\n    POPUP \"&File\" \"x\"\nEND\n");
    RewriteScript(script, text);
    const UpdateResult result = Update(script, db);
    ASSERT_TRUE(result.ok()) << result.errorDetail;
    EXPECT_EQ(result.report.missingIncludes, std::vector<std::string>{part.string()});
    // What was matched inside the part is old again and purged: the database
    // reads like a build that does not follow the include.
    TempDir fresh;
    const BuildResult rebuilt = BuildText(fresh, text);
    ASSERT_TRUE(rebuilt.ok());
    const std::string lines = "SELECT l.Line, l.LineIdentSym, l.BeforeStr, t.SourceText, l.BehindStr FROM "
                              "ResFileLine l LEFT JOIN ResourceText t USING (LineIndex) ORDER BY l.Line";
    EXPECT_EQ(Rows(db, lines), Rows(rebuilt.database->path(), lines));
    EXPECT_EQ(Value(db, "SELECT German FROM ResourceText WHERE SourceText = 'Main'"), Reversed("Main"));
    EXPECT_EQ(Value(db, "SELECT count(*) FROM StringtableString"), "1");
}

// Cancels at the n-th poll.
class CancelAt final : public Progress {
public:
    explicit CancelAt(int polls) : left_(polls) {}
    void Report(std::uint64_t, std::uint64_t) override {}
    bool Cancelled() override { return --left_ <= 0; }

private:
    int left_;
};

// Cancels once the whole script has been read.
class CancelAfterReading final : public Progress {
public:
    void Report(std::uint64_t position, std::uint64_t total) override { done_ = position >= total; }
    bool Cancelled() override { return done_; }

private:
    bool done_ = false;
};

TEST(Update, FailedOrRefusedUpdatesLeaveTheDatabaseAsItWas)
{
    std::string big = BaseScript;
    big += "STRINGTABLE\nBEGIN\n";
    for (int i = 0; i < 3000; ++i)
        big += "    IDS_GEN" + std::to_string(i) + " \"Generated text number " + std::to_string(i) + "\"\n";
    big += "END\n";
    CancelAt whileReading(3);
    CancelAfterReading afterReading;
    struct Case {
        const char* name;
        std::string edited;  // empty: the script is deleted
        Progress* progress;
        const char* sql;     // run on the database first
        UpdateOutcome outcome;
        std::string message;  // %1 the script, %2 the database
        std::string detail;   // %1 the script, %2 the database
    };
    const Case cases[] = {
        {"cancelled while reading", Replace(big, "\"Bye\"", "\"Ciao\""), &whileReading, nullptr,
         UpdateOutcome::Cancelled, "Update file canceled !\nFile: %1", ""},
        {"cancelled after reading", Replace(big, "\"Bye\"", "\"Ciao\""), &afterReading, nullptr,
         UpdateOutcome::Cancelled, "Update file canceled !\nFile: %1", ""},
        {"parser error", Replace(big, "POPUP \"&Help\"", "POPUP \"&Help\" \"x\""), nullptr, nullptr,
         UpdateOutcome::Failed, "Error updateing resource file %1 !",
         "Parser Error\nError while parsing resource file %1. (line 20)"},
        {"old format", Replace(big, "\"Bye\"", "\"Ciao\""), nullptr, "UPDATE Project SET FileVersion = 7",
         UpdateOutcome::NeedsConversion, Replace(std::string(msg::UpdateNeedsConversion), "%1", "%2"), ""},
        {"no script", "", nullptr, nullptr, UpdateOutcome::NoScript, "", ""},
        {"newer format", Replace(big, "\"Bye\"", "\"Ciao\""), nullptr, "UPDATE Project SET FileVersion = 9",
         UpdateOutcome::Failed, "Error updateing resource file %1 !",
         Replace(std::string(msg::VersionTooNew), "%1", "%2")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path script = dir / "app.rc", db = dir / "app_rc.mdb";
        ASSERT_TRUE(BuildText(dir, big).ok());
        TranslateAll(db);
        if (c.sql) {
            sql::Database raw(db);
            raw.exec(c.sql);
        }
        const std::string bytes = FileBytes(db);
        if (c.edited.empty())
            fs::remove(script);
        else
            RewriteScript(script, c.edited);
        const std::vector<std::string> files = FilesIn(dir.path());
        const UpdateResult result = UpdateDatabase({script, db, c.progress, true});
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.message, msg::Format(c.message, {script.string(), db.string()}));
        EXPECT_EQ(result.errorDetail, msg::Format(c.detail, {script.string(), db.string()}));
        EXPECT_EQ(FileBytes(db), bytes);
        EXPECT_EQ(FilesIn(dir.path()), files);
    }
}

TEST(Update, ChangeTestAndOutOfDateState)
{
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> touch;
        bool changed;
    };
    const Case cases[] = {
        {"untouched", [](const fs::path&) {}, false},
        {"saved again, newer", [](const fs::path& s) { MakeNewer(s); }, true},
        {"older, same size", [](const fs::path& s) { MakeNewer(s, -3600); }, false},
        {"older, other size",
         [](const fs::path& s) {
             const auto t = fs::last_write_time(s);
             WriteFile(s, FileBytes(s) + "\n");
             fs::last_write_time(s, t - std::chrono::hours(1));
         },
         true},
        {"script gone", [](const fs::path& s) { fs::remove(s); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Project p;
        c.touch(p.script);
        std::vector<bool> heard;
        ProjectChangeState state([&](bool needed) { heard.push_back(needed); });
        CProjectDatabase pdb(p.db);
        EXPECT_EQ(state.CheckOnOpen(pdb, p.script), c.changed);
        EXPECT_EQ(pdb.GetStatus(), c.changed ? kStatusUpdateNeeded : kStatusNoTranslation);
        EXPECT_EQ(heard, c.changed ? std::vector<bool>{true} : std::vector<bool>{});
        // Refresh reports a project only once.
        EXPECT_FALSE(state.Refresh(pdb, p.script));
    }
    // Status 4 survives closing: a reopened project is out of date without a change.
    Project p;
    {
        CProjectDatabase pdb(p.db);
        ProjectChangeState state;
        EXPECT_FALSE(state.CheckOnOpen(pdb, p.script));
        EXPECT_EQ(state.IncludeListChanged(pdb), msg::IncludeListChanged);
        EXPECT_TRUE(state.updateNeeded());
    }
    CProjectDatabase pdb(p.db);
    ProjectChangeState reopened;
    EXPECT_TRUE(reopened.CheckOnOpen(pdb, p.script));
    EXPECT_EQ(OutOfDateTitle("app_rc.mdb", "app.rc"), "app_rc.mdb (Update database !) (app.rc)");
}

}  // namespace
}  // namespace qln::test
