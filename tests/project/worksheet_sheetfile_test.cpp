// Reading sheet files: CSV quoting, and .xlsx parts as other programs write
// them (shared and inline strings, gaps, cells without references).

#include "worksheet_support.h"

#include <minizip/zip.h>

namespace qln::test {
namespace {

using Grid = std::vector<std::vector<std::string>>;

TEST(SheetCsv, ParsesQuotingLineEndsAndEmptyFields)
{
    const std::pair<const char*, Grid> cases[] = {
        {"a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}},
        {"a,b\nc,d", {{"a", "b"}, {"c", "d"}}},
        {"\"x, y\",\"say \"\"hi\"\"\"\n", {{"x, y", "say \"hi\""}}},
        {"\"two\r\nlines\",z\r\n", {{"two\r\nlines", "z"}}},
        {",,\r\n", {{"", "", ""}}},
        {"a\r\n\r\nb\r\n", {{"a"}, {""}, {"b"}}},
        {"\"\"\n", {{""}}},
        {"", {}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseCsv(text).rows, expected) << text;
    EXPECT_THROW(ParseCsv("\"open,field\n"), SheetReadError);
}

TEST(SheetCsv, RecordsQuoteOnlyWhereNeededAndReadBack)
{
    const std::vector<std::string_view> fields = {"plain", "with, comma", "with \"quote\"", "line\nbreak", "", "Größe"};
    std::string text;
    AppendCsvRecord(text, fields);
    EXPECT_EQ(text, "plain,\"with, comma\",\"with \"\"quote\"\"\",\"line\nbreak\",,Größe\r\n");
    const SheetGrid grid = ParseCsv(text);
    ASSERT_EQ(grid.rows.size(), 1u);
    EXPECT_EQ(grid.rows[0], std::vector<std::string>(fields.begin(), fields.end()));
}

// Writes a zip archive with the given parts.
void WriteZip(const std::filesystem::path& file, const std::vector<std::pair<std::string, std::string>>& parts)
{
    zipFile zip = zipOpen64(file.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const auto& [name, data] : parts) {
        ASSERT_EQ(zipOpenNewFileInZip(zip, name.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                      Z_DEFAULT_COMPRESSION),
                  ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())), ZIP_OK);
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
}

constexpr const char* kWorkbook =
    R"(<?xml version="1.0"?><x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><x:sheets>)"
    R"(<x:sheet name="Texts" sheetId="1" r:id="rId7"/><x:sheet name="Other" sheetId="2" r:id="rId8"/>)"
    R"(</x:sheets></x:workbook>)";
constexpr const char* kRelations =
    R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId8" Target="worksheets/other.xml" Type="ws"/>)"
    R"(<Relationship Id="rId7" Target="/xl/worksheets/texts.xml" Type="ws"/></Relationships>)";
constexpr const char* kShared =
    R"(<?xml version="1.0"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<si><t>Resource Ident</t></si><si><r><t>Rich </t></r><r><rPr><b/></rPr><t>text</t></r>)"
    R"(<rPh sb="0" eb="1"><t>ignored</t></rPh></si><si><t>Tab_x0009_and &amp; amp</t></si></sst>)";
// Prefixed names, cells with and without references, gaps between rows
// and cells, inline strings, numbers and booleans.
constexpr const char* kSheet =
    R"(<?xml version="1.0"?><x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<x:sheetData><x:row r="1"><x:c r="A1" t="s"><x:v>0</x:v></x:c><x:c r="C1" t="s"><x:v>1</x:v></x:c></x:row>)"
    R"(<x:row r="3"><x:c t="inlineStr"><x:is><x:t>inline</x:t></x:is></x:c><x:c><x:v>42</x:v></x:c>)"
    R"(<x:c r="E3" t="b"><x:v>1</x:v></x:c><x:c t="s"><x:v>2</x:v></x:c></x:row>)"
    R"(<x:row><x:c r="B4" t="str"><x:v>formula result</x:v></x:c></x:row></x:sheetData></x:worksheet>)";

TEST(SheetXlsx, ReadsTheFirstSheetWithGapsSharedAndInlineStrings)
{
    TempDir dir;
    WriteZip(dir / "book.xlsx", {{"xl/workbook.xml", kWorkbook},
                                 {"xl/_rels/workbook.xml.rels", kRelations},
                                 {"xl/sharedStrings.xml", kShared},
                                 {"xl/worksheets/texts.xml", kSheet},
                                 {"xl/worksheets/other.xml", "<worksheet/>"}});
    const Grid expected = {
        {"Resource Ident", "", "Rich text"},
        {},
        {"inline", "42", "", "", "TRUE", "Tab\tand & amp"},
        {"", "formula result"},
    };
    EXPECT_EQ(ReadXlsx(dir / "book.xlsx").rows, expected);
    // A workbook under the old extension is recognised by its content.
    std::filesystem::copy_file(dir / "book.xlsx", dir / "book.xls");
    EXPECT_EQ(ReadSheetFile(dir / "book.xls").rows, expected);
}

TEST(SheetXlsx, DamagedWorkbooksFailWithAReason)
{
    TempDir dir;
    const std::string badShared = R"(<sheetData><row><c t="s"><v>5</v></c></row></sheetData>)";
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> parts;
        const char* reason;
    };
    const Case cases[] = {
        {"no workbook part", {{"xl/worksheets/sheet1.xml", kSheet}}, "no part xl/workbook.xml"},
        {"broken XML", {{"xl/workbook.xml", "<workbook>"}, {"xl/worksheets/sheet1.xml", "<a><b></a>"}},
         "not well-formed"},
        {"missing shared string", {{"xl/workbook.xml", "<workbook/>"}, {"xl/worksheets/sheet1.xml", badShared}},
         "shared string"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = dir / (std::string(c.name) + ".xlsx");
        WriteZip(file, c.parts);
        try {
            ReadXlsx(file);
            ADD_FAILURE() << "read without error";
        } catch (const SheetReadError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace qln::test
