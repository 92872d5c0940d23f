#include "project/SheetFile.h"

#include "rcscript/AsciiText.h"

#include <freexl.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

namespace qln {

namespace fs = std::filesystem;

const std::string& SheetGrid::cell(std::size_t row, std::size_t column) const
{
    static const std::string empty;
    if (row >= rows.size() || column >= rows[row].size())
        return empty;
    return rows[row][column];
}

SheetFormat SheetFormatOf(const fs::path& file)
{
    std::string ext = file.extension().string();
    if (ext.empty())
        ext = file.string();  // a bare extension ("csv")
    if (!ext.empty() && ext.front() == '.')
        ext.erase(0, 1);
    ext = ToLowerAscii(ext);
    if (ext == "xlsx" || ext == "xlsm")
        return SheetFormat::Xlsx;
    if (ext == "xls")
        return SheetFormat::Xls;
    if (ext == "csv")
        return SheetFormat::Csv;
    return SheetFormat::Unknown;
}

SheetGrid ParseCsv(std::string_view text)
{
    SheetGrid grid;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;      // inside a quoted field
    bool recordOpen = false;  // something of the current record was read
    auto endField = [&] {
        record.push_back(std::move(field));
        field.clear();
    };
    auto endRecord = [&] {
        endField();
        grid.rows.push_back(std::move(record));
        record.clear();
        recordOpen = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        recordOpen = true;
        switch (c) {
        case '"':
            quoted = true;
            break;
        case ',':
            endField();
            break;
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endRecord();
            break;
        case '\n':
            endRecord();
            break;
        default:
            field += c;
        }
    }
    if (quoted)
        throw SheetReadError("a quoted field is not closed");
    if (recordOpen)
        endRecord();
    return grid;
}

void AppendCsvRecord(std::string& out, const std::vector<std::string_view>& fields)
{
    bool first = true;
    for (const std::string_view f : fields) {
        if (!first)
            out += ',';
        first = false;
        if (f.find_first_of(",\"\r\n") == std::string_view::npos) {
            out += f;
            continue;
        }
        out += '"';
        for (const char c : f) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    out += "\r\n";
}

SheetGrid ReadCsv(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw SheetReadError("the file cannot be opened");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw SheetReadError("the file cannot be read");
    std::string_view view(text);
    if (view.starts_with("\xEF\xBB\xBF"))
        view.remove_prefix(3);
    return ParseCsv(view);
}

namespace {

struct FreeXlCloser {
    void operator()(const void* handle) const { freexl_close(handle); }
};

std::string NumberText(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

}  // namespace

SheetGrid ReadXls(const fs::path& file)
{
    const void* raw = nullptr;
    const int rc = freexl_open(file.c_str(), &raw);
    std::unique_ptr<const void, FreeXlCloser> handle(raw);
    if (rc != FREEXL_OK)
        throw SheetReadError("not a readable .xls workbook (FreeXL error " + std::to_string(rc) + ")");
    unsigned int rowCount = 0;
    unsigned short columnCount = 0;
    if (freexl_select_active_worksheet(raw, 0) != FREEXL_OK ||
        freexl_worksheet_dimensions(raw, &rowCount, &columnCount) != FREEXL_OK)
        throw SheetReadError("the workbook has no readable worksheet");
    SheetGrid grid;
    grid.rows.resize(rowCount);
    for (unsigned int r = 0; r < rowCount; ++r) {
        auto& row = grid.rows[r];
        row.resize(columnCount);
        for (unsigned short c = 0; c < columnCount; ++c) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(raw, r, c, &value) != FREEXL_OK)
                throw SheetReadError("a cell cannot be read");
            switch (value.type) {
            case FREEXL_CELL_INT: row[c] = std::to_string(value.value.int_value); break;
            case FREEXL_CELL_DOUBLE: row[c] = NumberText(value.value.double_value); break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME: row[c] = value.value.text_value ? value.value.text_value : ""; break;
            default: break;
            }
        }
    }
    return grid;
}

SheetGrid ReadSheetFile(const fs::path& file)
{
    switch (SheetFormatOf(file)) {
    case SheetFormat::Xlsx: return ReadXlsx(file);
    case SheetFormat::Xls: {
        // A workbook saved in the new format under the old extension is a zip.
        std::ifstream in(file, std::ios::binary);
        char magic[4] = {};
        in.read(magic, 4);
        if (in && std::string_view(magic, 4) == std::string_view("PK\x03\x04", 4))
            return ReadXlsx(file);
        return ReadXls(file);
    }
    case SheetFormat::Csv: return ReadCsv(file);
    default: throw SheetReadError("unsupported file type");
    }
}

}  // namespace qln
