// Writing the text table into a workbook (.xlsx, with libxlsxwriter) or a
// CSV file.

#include "project/SheetFile.h"
#include "project/Worksheet.h"

#include "projectdb/ProjectDatabase.h"
#include "projectdb/SafeFile.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <xlsxwriter.h>

#include <cctype>
#include <fstream>
#include <map>
#include <memory>
#include <system_error>

namespace qln {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kReportEvery = 1000;

// The sheet's columns: header texts and, per language column, the index into
// the table's languages (-1 for identifier and source columns).
struct Layout {
    std::vector<std::string> headers;
    std::vector<int> languageOf;
    bool identifiers = false;
    bool source = false;
};

Layout MakeLayout(const TextTable& table, const WorksheetColumns& columns)
{
    Layout layout;
    layout.identifiers = columns.identifiers;
    layout.source = columns.source;
    if (columns.identifiers)
        for (std::string_view h : {kHeaderResourceIdent, kHeaderItemType, kHeaderId}) {
            layout.headers.emplace_back(h);
            layout.languageOf.push_back(-1);
        }
    if (columns.source) {
        layout.headers.emplace_back(kHeaderSourceText);
        layout.languageOf.push_back(-1);
    }
    for (std::size_t m = 0; m < table.languages.size(); ++m) {
        const TextTableLanguage& language = table.languages[m];
        for (const LanguagePair& chosen : columns.languages)
            if (chosen.primary == language.primary && chosen.sub == language.sub) {
                layout.headers.push_back(language.displayName);
                layout.languageOf.push_back(static_cast<int>(m));
                break;
            }
    }
    return layout;
}

// The cells of one row in the layout's column order.
std::vector<std::string_view> Cells(const Layout& layout, const TextTableRow& row)
{
    std::vector<std::string_view> cells;
    cells.reserve(layout.headers.size());
    if (layout.identifiers) {
        cells.emplace_back(row.resourceIdent);
        cells.emplace_back(row.itemType());
        cells.emplace_back(row.idText);
    }
    if (layout.source)
        cells.emplace_back(row.sourceText);
    for (const int m : layout.languageOf)
        if (m >= 0)
            cells.emplace_back(row.translations[static_cast<std::size_t>(m)]);
    return cells;
}

// Reports progress; true when the user cancelled.
bool Cancelled(Progress& progress, std::size_t done, std::size_t total)
{
    if (done % kReportEvery != 0)
        return false;
    progress.Report(done, total);
    return progress.Cancelled();
}

// A cell text in which a literal "_xHHHH_" is kept from being read as the
// format's escape of a character: its underscore is written as _x005F_.
const std::string& EscapeLiteralEscapes(std::string& text)
{
    auto isHex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    for (std::size_t i = text.find("_x"); i != std::string::npos; i = text.find("_x", i + 1)) {
        if (i + 7 <= text.size() && text[i + 6] == '_' && isHex(text[i + 2]) && isHex(text[i + 3]) &&
            isHex(text[i + 4]) && isHex(text[i + 5])) {
            text.replace(i, 1, "_x005F_");
            i += 6;
        }
    }
    return text;
}

struct WorkbookCloser {
    void operator()(lxw_workbook* workbook) const
    {
        if (workbook)
            workbook_close(workbook);
    }
};

// Writes the sheet; an error text, or empty when written. `cancelled` is set
// when the user stopped it.
std::string WriteXlsx(const fs::path& file, const Layout& layout, const TextTable& table,
                      const std::map<std::int32_t, LanguageFont>& fonts, Progress& progress, bool& cancelled)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;  // rows go to disk as they are written
    options.use_zip64 = LXW_TRUE;
    const std::string name = file.string();
    std::unique_ptr<lxw_workbook, WorkbookCloser> workbook(workbook_new_opt(name.c_str(), &options));
    if (!workbook)
        return "the workbook cannot be created";
    lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), nullptr);
    if (!sheet)
        return "the worksheet cannot be created";

    // Grey header with a thin border on all four sides.
    lxw_format* header = workbook_add_format(workbook.get());
    format_set_bg_color(header, 0xC0C0C0);
    format_set_pattern(header, LXW_PATTERN_SOLID);
    format_set_border(header, LXW_BORDER_THIN);
    // Each language column in its language's font, when it has one.
    std::vector<lxw_format*> columnFormat(layout.headers.size(), nullptr);
    for (std::size_t c = 0; c < layout.headers.size(); ++c) {
        const int m = layout.languageOf[c];
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             m >= 0 || layout.headers[c] == kHeaderSourceText ? 48 : 22, nullptr);
        if (m < 0)
            continue;
        const TextTableLanguage& language = table.languages[static_cast<std::size_t>(m)];
        const auto font = fonts.find(language.primary + 1024 * language.sub);
        if (font == fonts.end())
            continue;
        columnFormat[c] = workbook_add_format(workbook.get());
        format_set_font_name(columnFormat[c], font->second.fontName.c_str());
    }

    for (std::size_t c = 0; c < layout.headers.size(); ++c)
        if (const lxw_error e = worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c),
                                                       layout.headers[c].c_str(), header))
            return lxw_strerror(e);
    std::string cell;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const std::vector<std::string_view> cells = Cells(layout, table.rows[r]);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (cells[c].empty())
                continue;
            cell.assign(cells[c]);
            const lxw_error e = worksheet_write_string(sheet, static_cast<lxw_row_t>(r + 1), static_cast<lxw_col_t>(c),
                                                       EscapeLiteralEscapes(cell).c_str(), columnFormat[c]);
            if (e)
                return lxw_strerror(e);
        }
        if (Cancelled(progress, r + 1, table.rows.size())) {
            cancelled = true;
            return {};
        }
    }
    const lxw_error e = workbook_close(workbook.release());
    return e ? lxw_strerror(e) : std::string{};
}

std::string WriteCsv(const fs::path& file, const Layout& layout, const TextTable& table, Progress& progress,
                     bool& cancelled)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out)
        return "the file cannot be created";
    std::string text = "\xEF\xBB\xBF";  // UTF-8 byte-order mark: spreadsheet programs then read UTF-8
    std::vector<std::string_view> headers(layout.headers.begin(), layout.headers.end());
    AppendCsvRecord(text, headers);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        AppendCsvRecord(text, Cells(layout, table.rows[r]));
        if (Cancelled(progress, r + 1, table.rows.size())) {
            cancelled = true;
            return {};
        }
    }
    out << text;
    out.close();
    return out ? std::string{} : "the file cannot be written";
}

}  // namespace

WorksheetColumns AllColumns(CProjectDatabase& project)
{
    WorksheetColumns columns;
    columns.languages = ListLanguages(project);
    return columns;
}

WorksheetExportResult ExportWorksheet(CProjectDatabase& project, const fs::path& file,
                                      const WorksheetColumns& columns, const TextTableFilter& filter,
                                      Progress& progress)
{
    WorksheetExportResult result;
    const SheetFormat format = SheetFormatOf(file);
    if (format != SheetFormat::Xlsx && format != SheetFormat::Csv) {
        result.message =
            msg::Format(msg::ExportUnsupportedType, {file.string(), file.extension().string()});
        return result;
    }
    if (!columns.identifiers && !columns.source && columns.languages.empty())
        return result;

    std::string failure;
    bool cancelled = false;
    try {
        // Written beside the file (beside a link's target) and renamed over it.
        TempFileBeside partial(file);
        const TextTable table = LoadTextTable(project, filter);
        const Layout layout = MakeLayout(table, columns);
        if (layout.headers.empty())
            return result;  // only languages that are no translations: nothing chosen
        if (format == SheetFormat::Xlsx)
            failure = WriteXlsx(partial.path(), layout, table, LoadFonts(project), progress, cancelled);
        else
            failure = WriteCsv(partial.path(), layout, table, progress, cancelled);
        result.rows = table.rows.size();
        if (failure.empty() && !cancelled) {
            std::error_code ec;
            partial.Commit(ec);
            if (!ec) {
                result.ok = true;
                return result;
            }
            failure = ec.message();
        }
    } catch (const sql::Error& e) {
        failure = DatabaseErrorMessage(e);
    } catch (const std::exception& e) {
        failure = e.what();
    }
    result.rows = 0;
    result.cancelled = cancelled;
    result.message = cancelled ? std::string(msg::ExportAborted)
                               : msg::Format(msg::WorksheetWriteFailed, {file.string(), failure});
    return result;
}

}  // namespace qln
