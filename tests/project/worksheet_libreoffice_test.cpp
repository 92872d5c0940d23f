// Workbooks against a real spreadsheet program: LibreOffice reads every cell
// of an exported workbook, and workbooks LibreOffice saved (shared strings,
// empty cells; .xlsx and the legacy .xls) import.

#include "worksheet_support.h"

#include <atomic>
#include <cstdlib>

namespace qln::test {
namespace {

bool HaveSoffice()
{
    return std::system("command -v soffice >/dev/null 2>&1") == 0;
}

std::string Quoted(const std::filesystem::path& p)
{
    return "'" + p.string() + "'";
}

// Converts `file` with LibreOffice into `outDir`; the converted file's path.
std::filesystem::path Convert(const std::filesystem::path& file, const std::string& target, const std::string& infilter,
                              const std::filesystem::path& outDir)
{
    static std::atomic<int> counter{0};
    // A private profile, so that parallel runs do not share one.
    const auto profile = std::filesystem::temp_directory_path() /
                         ("qln-lo-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::string command = "soffice --headless --norestore -env:UserInstallation=file://" + profile.string();
    if (!infilter.empty())
        command += " --infilter='" + infilter + "'";
    command += " --convert-to '" + target + "' --outdir " + Quoted(outDir) + " " + Quoted(file) + " >/dev/null 2>&1";
    const int rc = std::system(command.c_str());
    std::error_code ec;
    std::filesystem::remove_all(profile, ec);
    EXPECT_EQ(rc, 0) << command;
    const std::string extension = target.substr(0, target.find(':'));
    return outDir / (file.stem().string() + "." + extension);
}

class WorksheetLibreOffice : public SampleProject {
protected:
    void SetUp() override
    {
        if (!HaveSoffice())
            GTEST_SKIP() << "LibreOffice (soffice) is not installed";
        SampleProject::SetUp();
        Translate("IDS_HELLO", kFrench, "Bonjour — 日本語, «ça»");
    }
};

TEST_F(WorksheetLibreOffice, ReadsBackEveryCellOfAnExportedWorkbook)
{
    const auto file = dir / "texts.xlsx";
    const WorksheetExportResult exported = ExportWorksheet(*project, file, AllColumns(*project), TextTableFilter{});
    ASSERT_TRUE(exported.ok) << exported.message;
    std::filesystem::create_directories(dir / "lo");
    // Comma, double quote, UTF-8.
    const auto csv = Convert(file, "csv:Text - txt - csv (StarCalc):44,34,76", "", dir / "lo");
    const SheetGrid grid = ReadCsv(csv);

    const TextTable table = LoadTextTable(*project, TextTableFilter{});
    ASSERT_EQ(grid.rows.size(), table.rows.size() + 1);
    EXPECT_EQ(grid.rows[0],
              (std::vector<std::string>{"Resource Ident", "Item Type", "Id", "Source Text", "German", "French"}));
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const TextTableRow& row = table.rows[r];
        const std::vector<std::string> expected = {row.resourceIdent, std::string(row.itemType()), row.idText,
                                                   row.sourceText, row.translations[0], row.translations[1]};
        for (std::size_t c = 0; c < expected.size(); ++c)
            EXPECT_EQ(grid.cell(r + 1, c), expected[c]) << "row " << r + 1 << " column " << c;
    }
}

TEST_F(WorksheetLibreOffice, WorkbooksSavedByLibreOfficeImport)
{
    // The translator's sheet: exported, three cells changed, saved as CSV
    // and turned into .xlsx and .xls by LibreOffice (every column as text).
    const auto exported = dir / "texts.csv";
    ASSERT_TRUE(ExportWorksheet(*project, exported, AllColumns(*project), TextTableFilter{}).ok);
    SheetGrid grid = ReadCsv(exported);
    grid.rows[5].resize(6);
    grid.rows[5][4] = "&Datei";                 // popup &File
    grid.rows[8].resize(6);
    grid.rows[8][5] = "&Aide — ?";              // popup &Help
    grid.rows[16].resize(6);
    grid.rows[16][4] = "1.0";                   // FileVersion: stays a text, not a number
    std::string text;
    for (const auto& row : grid.rows)
        AppendCsvRecord(text, std::vector<std::string_view>(row.begin(), row.end()));
    const auto changed = dir / "changed.csv";
    WriteFile(changed, text);
    std::filesystem::create_directories(dir / "lo");
    const std::string asText = "CSV:44,34,76,1,1/2/2/2/3/2/4/2/5/2/6/2";
    const auto xlsx = Convert(changed, "xlsx", asText, dir / "lo");
    const auto xls = Convert(changed, "xls:MS Excel 97", asText, dir / "lo");

    // Both carry the same cells as the CSV they came from.
    for (const auto& file : {xlsx, xls}) {
        SCOPED_TRACE(file.filename().string());
        const SheetGrid read = ReadSheetFile(file);
        for (std::size_t r = 0; r < grid.rows.size(); ++r)
            for (std::size_t c = 0; c < 6; ++c)
                EXPECT_EQ(read.cell(r, c), grid.cell(r, c)) << r << "," << c;
    }

    const WorksheetImportResult result = ImportWorksheet(*project, xlsx);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.imported, 3u);
    const TextTable table = LoadTextTable(*project, TextTableFilter{});
    EXPECT_EQ(table.rows[4].translations[0], "&Datei");
    EXPECT_EQ(table.rows[7].translations[1], "&Aide — ?");
    EXPECT_EQ(table.rows[15].translations[0], "1.0");

    // The .xls carries the same texts: nothing differs any more.
    const WorksheetImportResult again = ImportWorksheet(*project, xls);
    ASSERT_TRUE(again.ok) << again.message;
    EXPECT_EQ(again.matched, 16u);
    EXPECT_EQ(again.imported, 0u);
}

}  // namespace
}  // namespace qln::test
