// Export to .xlsx and .csv and import back: layouts, header checks, language
// columns, matching, marking, and that a failed import changes nothing.

#include "worksheet_support.h"

#include "rcscript/Messages.h"

#include <minizip/unzip.h>

#include <cstdlib>
#include <unistd.h>

namespace qln::test {
namespace {

// Progress that runs a step on every report.
class CallbackProgress final : public Progress {
public:
    explicit CallbackProgress(std::function<bool()> onReport) : onReport_(std::move(onReport)) {}
    void Report(std::uint64_t, std::uint64_t) override { cancelled_ = onReport_(); }
    bool Cancelled() override { return cancelled_; }

private:
    std::function<bool()> onReport_;
    bool cancelled_ = false;
};

void WriteCsvGrid(const std::filesystem::path& file, const SheetGrid& grid)
{
    std::string text;
    for (const auto& row : grid.rows)
        AppendCsvRecord(text, std::vector<std::string_view>(row.begin(), row.end()));
    WriteFile(file, text);
}

// Index of the sheet row whose Id column reads `id` (first match).
std::size_t SheetRow(const SheetGrid& grid, const std::string& id)
{
    for (std::size_t r = 1; r < grid.rows.size(); ++r)
        if (grid.cell(r, 2) == id)
            return r;
    ADD_FAILURE() << "no row " << id;
    return 0;
}

void SetCell(SheetGrid& grid, std::size_t row, std::size_t column, const std::string& text)
{
    if (grid.rows[row].size() <= column)
        grid.rows[row].resize(column + 1);
    grid.rows[row][column] = text;
}

// One part of a zip archive as text ("" when missing).
std::string ZipPart(const std::filesystem::path& file, const std::string& part)
{
    std::string data;
    unzFile zip = unzOpen64(file.c_str());
    if (!zip)
        return data;
    if (unzLocateFile(zip, part.c_str(), 1) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
        char buffer[4096];
        for (int n; (n = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0;)
            data.append(buffer, static_cast<std::size_t>(n));
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return data;
}

class WorksheetExchange : public SampleProject {
protected:
    std::filesystem::path Export(const std::string& name, const WorksheetColumns& columns,
                                 const TextTableFilter& filter = {})
    {
        const auto file = dir / name;
        const WorksheetExportResult result = ExportWorksheet(*project, file, columns, filter);
        EXPECT_TRUE(result.ok) << result.message;
        return file;
    }
    std::vector<std::vector<std::string>> Translations()
    {
        std::vector<std::vector<std::string>> all;
        for (const TextTableRow& row : LoadTextTable(*project, TextTableFilter{}).rows)
            all.push_back(row.translations);
        return all;
    }
    std::string Flag(const std::string& ident, const std::string& language)
    {
        return Value(project->path(), "SELECT \"" + language + "_Modified\" FROM ResourceText WHERE LineIndex = " +
                                          std::to_string(StringLine(ident)));
    }
};

TEST_F(WorksheetExchange, ExportedColumnsFollowTheChoiceAndTheFilter)
{
    struct Case {
        const char* name;
        WorksheetColumns columns;
        bool hideStrings;
        std::vector<std::string> header;
        std::size_t rows;
    };
    const Case cases[] = {
        {"everything", {true, true, {kFrench, kGerman}}, false,
         {"Resource Ident", "Item Type", "Id", "Source Text", "German", "French"}, 16},
        {"source only", {false, true, {}}, false, {"Source Text"}, 16},
        {"identifiers only", {true, false, {}}, false, {"Resource Ident", "Item Type", "Id"}, 16},
        {"identifiers and source", {true, true, {}}, false, {"Resource Ident", "Item Type", "Id", "Source Text"}, 16},
        {"no language that is not a translation", {false, false, {kFrench, {17, 1}}}, false, {"French"}, 16},
        {"strings hidden", {true, true, {kGerman}}, true,
         {"Resource Ident", "Item Type", "Id", "Source Text", "German"}, 13},
    };
    for (const Case& c : cases)
        for (const char* ext : {".xlsx", ".csv"}) {
            SCOPED_TRACE(std::string(c.name) + ext);
            TextTableFilter filter;
            filter.strings = !c.hideStrings;
            const SheetGrid grid = ReadSheetFile(Export(std::string("out") + ext, c.columns, filter));
            ASSERT_FALSE(grid.rows.empty());
            EXPECT_EQ(grid.rows[0], c.header);
            // A workbook does not keep rows whose cells are all empty.
            if (c.columns.identifiers || c.columns.source || std::string(ext) == ".csv") {
                EXPECT_EQ(grid.rows.size(), c.rows + 1);
            }
            for (std::size_t r = 1; r < grid.rows.size() && c.hideStrings; ++r)
                EXPECT_NE(grid.cell(r, 1), "Stringtable String") << "strings were hidden";
        }
}

TEST_F(WorksheetExchange, TextsThatLookLikeTheFormatsEscapesSurviveAWorkbook)
{
    const std::string tricky = "_x0041_ and _x00e9_, not _x12_ nor _xZZZZ_\ttab";
    Translate("IDS_HELLO", kGerman, tricky);
    const SheetGrid grid = ReadSheetFile(Export("tricky.xlsx", AllColumns(*project)));
    EXPECT_EQ(grid.cell(SheetRow(grid, "IDS_HELLO"), 4), tricky);
}

TEST_F(WorksheetExchange, WorkbookHasAGreyBorderedHeaderAndLanguageFonts)
{
    project->db().exec("UPDATE Translations SET FontName = 'MS Mincho' WHERE LanguageStr = 'French'");
    const std::string styles = ZipPart(Export("styled.xlsx", AllColumns(*project)), "xl/styles.xml");
    EXPECT_NE(styles.find("FFC0C0C0"), std::string::npos) << styles;
    EXPECT_NE(styles.find("<left style=\"thin\">"), std::string::npos);
    EXPECT_NE(styles.find("<bottom style=\"thin\">"), std::string::npos);
    EXPECT_NE(styles.find("MS Mincho"), std::string::npos);
}

TEST_F(WorksheetExchange, ImportWritesExactlyTheChangedCellsAndClearsTheirFlags)
{
    ASSERT_TRUE(project->SetTranslation(StringLine("IDS_HELLO"), kGerman.primary, kGerman.sub, "Hallo, Welt", true));
    ASSERT_TRUE(project->SetTranslation(StringLine("IDS_SIZE"), kGerman.primary, kGerman.sub, "Größe: %d", true));
    SheetGrid grid = ReadSheetFile(Export("sheet.csv", AllColumns(*project)));
    SetCell(grid, SheetRow(grid, "IDS_HELLO"), 4, "Hallo, Erde");   // changed
    SetCell(grid, SheetRow(grid, "ID_APP_EXIT"), 5, "&Quitter");     // new
    SetCell(grid, 3, 4, "Urheberrecht");                             // the second of two IDC_STATIC items
    WriteCsvGrid(dir / "changed.csv", grid);

    std::vector<std::vector<std::string>> expected = Translations();
    expected[6][1] = "&Quitter";
    expected[2][0] = "Urheberrecht";
    expected[9][0] = "Hallo, Erde";

    const WorksheetImportResult result = ImportWorksheet(*project, dir / "changed.csv");
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.imported, 3u);
    EXPECT_EQ(result.matched, 16u);
    EXPECT_EQ(result.message, "3 text resources imported from Excel file.");
    EXPECT_EQ(Translations(), expected);
    EXPECT_EQ(Flag("IDS_HELLO", "German"), "0");  // written: flag cleared
    EXPECT_EQ(Flag("IDS_SIZE", "German"), "1");   // same text: left alone

    // The same sheet again differs nowhere.
    const WorksheetImportResult again = ImportWorksheet(*project, dir / "changed.csv");
    EXPECT_EQ(again.imported, 0u);
    EXPECT_EQ(again.message, msg::WorksheetNothingDiffers);
}

TEST_F(WorksheetExchange, XlsxImportRestoresTextsChangedSinceTheExport)
{
    const auto file = Export("sheet.xlsx", AllColumns(*project));
    Translate("IDS_HELLO", kGerman, "verändert");
    Translate("IDS_SIZE", kGerman, "neu");  // empty in the sheet: stays
    const WorksheetImportResult result = ImportWorksheet(*project, file);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.imported, 1u);
    const TextTable table = LoadTextTable(*project, TextTableFilter{});
    EXPECT_EQ(table.rows[9].translations[0], "Hallo, Welt");
    EXPECT_EQ(table.rows[10].translations[0], "neu");
}

TEST_F(WorksheetExchange, SheetsThatCannotBeImportedAreRefusedWithTheirMessage)
{
    WriteFile(dir / "broken.xlsx", "this is no zip archive");
    WriteFile(dir / "notes.txt", "Resource Ident,Item Type,Id,Source Text,German\r\n");
    struct Case {
        std::filesystem::path file;
        std::string message;
    };
    const Case cases[] = {
        {Export("noids.xlsx", {false, true, {kGerman}}),
         msg::Format(msg::WorksheetWrongHeader, {(dir / "noids.xlsx").string()})},
        {Export("source.csv", {false, true, {}}),
         msg::Format(msg::WorksheetWrongHeader, {(dir / "source.csv").string()})},
        {Export("nolang.xlsx", {true, true, {}}), std::string(msg::WorksheetNoLanguage)},
        {dir / "notes.txt", msg::Format(msg::ImportUnsupportedType, {(dir / "notes.txt").string(), ".txt"})},
    };
    const std::string before = Snapshot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.string());
        const WorksheetImportResult result = ImportWorksheet(*project, c.file);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, c.message);
    }
    const WorksheetImportResult broken = ImportWorksheet(*project, dir / "broken.xlsx");
    EXPECT_FALSE(broken.ok);
    EXPECT_TRUE(broken.message.starts_with(msg::Format(msg::ImportReadError, {(dir / "broken.xlsx").string()})))
        << broken.message;
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(WorksheetExchange, LanguageColumnsResolveByNameUnknownOnesAreSkipped)
{
    WriteFile(dir / "langs.csv",
              "Resource Ident,Item Type,Id,Source Text,Klingon,French,German\r\n"
              "STRINGTABLE,Stringtable String,IDS_HELLO,\"Hello, world\",nuqneH,Bonjour,\r\n"
              "STRINGTABLE,Stringtable String,IDS_UNKNOWN,Gone,x,y,z\r\n"
              "STRINGTABLE,Stringtable String,IDS_EMPTY,,x,y,z\r\n");
    const WorksheetImportResult result = ImportWorksheet(*project, dir / "langs.csv");
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.notices, std::vector<std::string>{msg::Format(msg::WorksheetUnknownLanguage, {"Klingon"})});
    EXPECT_EQ(result.imported, 1u);  // the unknown string is skipped, the excluded one too
    EXPECT_EQ(result.matched, 2u);
    const TextTable table = LoadTextTable(*project, TextTableFilter{});
    EXPECT_EQ(table.rows[9].translations, (std::vector<std::string>{"Hallo, Welt", "Bonjour"}));
    EXPECT_EQ(table.rows[11].translations, (std::vector<std::string>{"", ""}));

    WriteFile(dir / "nomatch.csv", "Resource Ident,Item Type,Id,Source Text,German\r\nX,Y,Z,,text\r\n");
    EXPECT_EQ(ImportWorksheet(*project, dir / "nomatch.csv").message, msg::WorksheetNoMatch);
}

TEST_F(WorksheetExchange, ALanguageThatIsNoTranslationIsAddedOnlyWhenAgreed)
{
    WriteFile(dir / "ja.csv",
              "Resource Ident,Item Type,Id,Source Text,Japanese,German\r\n"
              "IDR_MAIN,Menu Item,ID_APP_EXIT,E&xit,終了(&X),Beenden\r\n");
    std::vector<std::string> questions;
    WorksheetImportOptions refuse;
    refuse.confirmAddLanguage = [&](const std::string& question) {
        questions.push_back(question);
        return false;
    };
    const WorksheetImportResult refused = ImportWorksheet(*project, dir / "ja.csv", refuse);
    ASSERT_TRUE(refused.ok) << refused.message;
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], msg::Format(msg::WorksheetAskAddLanguage, {"Japanese", (dir / "demo.rc").string()}));
    EXPECT_EQ(refused.imported, 1u);
    EXPECT_EQ(ListLanguages(*project).size(), 2u);

    const WorksheetImportResult batch = ImportWorksheet(*project, dir / "ja.csv");  // no question: added
    ASSERT_TRUE(batch.ok) << batch.message;
    EXPECT_EQ(batch.imported, 1u);
    ASSERT_EQ(batch.addedLanguages.size(), 1u);
    EXPECT_EQ(batch.addedLanguages[0].primary, 17);
    const TextTable table = LoadTextTable(*project, TextTableFilter{});
    ASSERT_EQ(table.languages.size(), 3u);
    EXPECT_EQ(table.rows[6].translations, (std::vector<std::string>{"Beenden", "", "終了(&X)"}));
}

TEST_F(WorksheetExchange, MarkingModeCountsAndMarksWithoutWriting)
{
    SheetGrid grid = ReadSheetFile(Export("sheet.csv", AllColumns(*project)));
    SetCell(grid, SheetRow(grid, "IDS_SIZE"), 4, "Größe: %d Punkte");
    SetCell(grid, SheetRow(grid, "IDOK"), 5, "OK");
    WriteCsvGrid(dir / "marks.csv", grid);
    const std::string before = Snapshot();
    WorksheetImportOptions mark;
    mark.markOnly = true;
    const WorksheetImportResult result = ImportWorksheet(*project, dir / "marks.csv", mark);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.message, "2 text items marked.");
    EXPECT_EQ(Snapshot(), before);
    ASSERT_EQ(result.marked.size(), 2u);
    const TextTable table = LoadTextTable(*project, TextTableFilter{});
    EXPECT_EQ(result.marked[0].lineIndex, table.rows[3].lineIndex);
    EXPECT_EQ(result.marked[0].language.primary, kFrench.primary);
    EXPECT_EQ(result.marked[1].lineIndex, StringLine("IDS_SIZE"));
    EXPECT_EQ(result.marked[1].language.primary, kGerman.primary);

    const WorksheetImportResult none = ImportWorksheet(*project, Export("same.csv", AllColumns(*project)), mark);
    EXPECT_EQ(none.message, msg::WorksheetNothingMarked);
}

// A sheet that changes texts and adds Japanese.
class AtomicImport : public WorksheetExchange {
protected:
    void SetUp() override
    {
        WorksheetExchange::SetUp();
        WriteFile(dir / "big.csv",
                  "Resource Ident,Item Type,Id,Source Text,German,Japanese\r\n"
                  "STRINGTABLE,Stringtable String,IDS_HELLO,,Hallo!,こんにちは\r\n"
                  "IDR_MAIN,Menu Item,ID_APP_EXIT,,Beenden,終了\r\n");
        before = Snapshot();
    }
    std::string before;
};

TEST_F(AtomicImport, ADatabaseFailureTakesBackEveryTextAndTheAddedLanguage)
{
    project->db().exec("CREATE TRIGGER refuse BEFORE UPDATE OF German ON ResourceText "
                       "WHEN NEW.German = 'Beenden' BEGIN SELECT RAISE(ABORT, 'refused'); END");
    before = Snapshot();
    const WorksheetImportResult result = ImportWorksheet(*project, dir / "big.csv");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("refused"), std::string::npos) << result.message;
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(ListLanguages(*project).size(), 2u);
    EXPECT_EQ(LoadTextTable(*project, TextTableFilter{}).languages.size(), 2u);
}

TEST_F(AtomicImport, ACancelledImportStoresNothing)
{
    CallbackProgress cancel([] { return true; });
    const WorksheetImportResult result = ImportWorksheet(*project, dir / "big.csv", {}, cancel);
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(AtomicImport, AKilledImportLeavesTheDatabaseAsItWas)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto database = project->path();
    const auto sheet = dir / "big.csv";
    project.reset();
    EXPECT_EXIT(
        {
            CProjectDatabase db(database);
            // Killed after every row was written, before the commit.
            CallbackProgress kill([]() -> bool { ::_exit(9); });
            ImportWorksheet(db, sheet, {}, kill);
            ::_exit(0);
        },
        ::testing::ExitedWithCode(9), "");
    project = std::make_unique<CProjectDatabase>(database);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(ImportWorksheet(*project, sheet).imported, 4u);  // and the file is still usable
}

}  // namespace
}  // namespace qln::test
