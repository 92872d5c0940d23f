#pragma once
// Reading the first worksheet of a spreadsheet file as a grid of text cells,
// and writing CSV. Formats by extension (case-blind): .xlsx (and .xlsm),
// .xls (legacy binary workbooks) and .csv (UTF-8, RFC 4180 quoting, comma
// separated; a byte-order mark is skipped).

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

// Rows of cells; rows[0] is the sheet's first row. Missing cells and rows
// (gaps in a sparse sheet) read as empty strings; rows may differ in length.
struct SheetGrid {
    std::vector<std::vector<std::string>> rows;

    // The cell at (row, column), both 0-based; "" outside the grid.
    const std::string& cell(std::size_t row, std::size_t column) const;
};

// A file that cannot be read as a worksheet; what() tells why.
class SheetReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class SheetFormat { Unknown, Xlsx, Xls, Csv };

// The format an extension names (".xlsx", "CSV", ...; with or without the dot).
SheetFormat SheetFormatOf(const std::filesystem::path& file);

SheetGrid ReadXlsx(const std::filesystem::path& file);
SheetGrid ReadXls(const std::filesystem::path& file);
SheetGrid ReadCsv(const std::filesystem::path& file);
// Parses CSV text (no byte-order mark).
SheetGrid ParseCsv(std::string_view text);
// By extension; SheetReadError for an unknown one.
SheetGrid ReadSheetFile(const std::filesystem::path& file);

// One CSV record with RFC 4180 quoting, ended by CR LF.
void AppendCsvRecord(std::string& out, const std::vector<std::string_view>& fields);

}  // namespace qln
