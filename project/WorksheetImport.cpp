// Reading a worksheet back into the project: header check, language
// columns, rows matched by their identifiers, all in one transaction.

#include "project/SheetFile.h"
#include "project/Worksheet.h"

#include "projectdb/DefaultCodePage.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Statements.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <algorithm>

namespace qln {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kReportEvery = 1000;
constexpr std::size_t kFirstLanguageColumn = 4;

// A language column of the sheet that will be imported.
struct ImportColumn {
    std::size_t column;   // in the sheet
    LanguagePair language;
    std::string name;
    bool isNew = false;   // to be added to the project
    int tableIndex = -1;  // in the loaded text table
};

bool HeaderIsValid(const SheetGrid& grid)
{
    constexpr std::string_view expected[] = {kHeaderResourceIdent, kHeaderItemType, kHeaderId, kHeaderSourceText};
    for (std::size_t c = 0; c < std::size(expected); ++c)
        if (grid.cell(0, c) != expected[c])
            return false;
    return true;
}

std::string StoredSourceFile(CProjectDatabase& project)
{
    sql::Statement& st = project.Query(stmt::ProjectSourceFile);
    std::string name = st.step() ? st.columnText(0) : std::string{};
    st.reset();
    return name;
}

std::string ScriptName(CProjectDatabase& project)
{
    const std::string name = StoredSourceFile(project);
    return name.empty() ? project.path().string() : name;
}

// The language columns of the header (from column 5 up to the first empty
// cell) that can be imported; unknown and refused languages are left out
// with a notice.
std::vector<ImportColumn> ResolveColumns(CProjectDatabase& project, const SheetGrid& grid,
                                         const WorksheetImportOptions& options, WorksheetImportResult& result)
{
    const std::vector<LanguagePair> existing = ListLanguages(project);
    std::vector<ImportColumn> columns;
    for (std::size_t c = kFirstLanguageColumn; !grid.cell(0, c).empty(); ++c) {
        const std::string& name = grid.cell(0, c);
        const auto language = LanguageFromDisplayName(name);
        if (!language) {
            result.notices.push_back(msg::Format(msg::WorksheetUnknownLanguage, {name}));
            continue;
        }
        auto same = [&](const auto& other) {
            return other.primary == language->primary && other.sub == language->sub;
        };
        if (options.onlyLanguage && !same(*options.onlyLanguage))
            continue;
        if (std::any_of(columns.begin(), columns.end(), [&](const ImportColumn& ic) { return same(ic.language); }))
            continue;  // a language named twice: its first column counts
        ImportColumn column{c, *language, name};
        column.isNew = std::none_of(existing.begin(), existing.end(), same) ||
                       !HasLanguageColumn(project, language->primary, language->sub);
        if (column.isNew && options.confirmAddLanguage &&
            !options.confirmAddLanguage(msg::Format(msg::WorksheetAskAddLanguage, {name, ScriptName(project)})))
            continue;
        columns.push_back(std::move(column));
    }
    return columns;
}

// Adds a translation inside the caller's transaction (the Translations row
// and its two columns), so that a failed import takes it back as well.
bool AddLanguageInTransaction(CProjectDatabase& project, const ImportColumn& column)
{
    const int primary = column.language.primary, sub = column.language.sub;
    std::optional<std::string> stored = StoredSourceFile(project);
    if (stored->empty())
        stored.reset();
    const fs::path script = ScriptPathForDatabase(project.path(), stored);
    return AddLanguage(project, primary, sub, DefaultTranslationCodePage(script, primary, sub));
}

// After columns were added (and perhaps rolled back), the project must read
// its layout again and drop statements prepared against the old one.
class LayoutGuard {
public:
    explicit LayoutGuard(CProjectDatabase& project) : project_(project) {}
    ~LayoutGuard()
    {
        if (!changed)
            return;
        project_.InvalidateLayout();
        project_.db().clearCache();
    }
    LayoutGuard(const LayoutGuard&) = delete;
    LayoutGuard& operator=(const LayoutGuard&) = delete;
    bool changed = false;

private:
    CProjectDatabase& project_;
};

std::string FinalMessage(const WorksheetImportResult& r, bool markOnly)
{
    const std::string count = std::to_string(r.imported);
    if (markOnly) {
        if (r.matched == 0)
            return std::string(msg::WorksheetNoMatchMarked);
        return r.imported == 0 ? std::string(msg::WorksheetNothingMarked) : msg::Format(msg::WorksheetMarked, {count});
    }
    if (r.matched == 0)
        return std::string(msg::WorksheetNoMatch);
    return r.imported == 0 ? std::string(msg::WorksheetNothingDiffers) : msg::Format(msg::WorksheetImported, {count});
}

// Matches every data row and stores (or marks) the texts that differ; false
// when cancelled.
bool ImportRows(CProjectDatabase& project, const SheetGrid& grid, std::vector<ImportColumn>& columns,
                bool markOnly, Progress& progress, WorksheetImportResult& result)
{
    TextTableFilter all;  // every kind, excluded texts too (they are skipped below)
    const TextTable table = LoadTextTable(project, all);
    std::vector<sql::Statement> updates;
    for (ImportColumn& column : columns) {
        column.tableIndex = table.languageIndex(column.language.primary, column.language.sub);
        const std::string text = sql::QuoteIdentifier(column.name);
        const std::string flag = sql::QuoteIdentifier(LanguageFlagColumn(column.name));
        updates.push_back(project.db().prepare("UPDATE ResourceText SET " + text + " = :Text, " + flag +
                                               " = 0 WHERE LineIndex = :LineIndex"));
    }
    TextRowMatcher matcher(table);
    const std::size_t total = grid.rows.size();
    for (std::size_t r = 1; r < total; ++r) {
        if (r % kReportEvery == 0) {
            progress.Report(r, total);
            if (progress.Cancelled())
                return false;
        }
        const int found = matcher.match(grid.cell(r, 0), grid.cell(r, 1), grid.cell(r, 2), &grid.cell(r, 3));
        if (found < 0)
            continue;
        ++result.matched;
        const TextTableRow& row = table.rows[static_cast<std::size_t>(found)];
        if (row.excluded)
            continue;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const ImportColumn& column = columns[i];
            const std::string& text = grid.cell(r, column.column);
            if (text.empty() || column.tableIndex < 0 ||
                text == row.translations[static_cast<std::size_t>(column.tableIndex)])
                continue;
            ++result.imported;
            if (markOnly) {
                result.marked.push_back({row.lineIndex, column.language});
                continue;
            }
            sql::Statement& update = updates[i];
            update.reset();
            update.bind(":Text", text).bind(":LineIndex", row.lineIndex);
            update.run();
        }
    }
    progress.Report(total, total);
    return !progress.Cancelled();
}

}  // namespace

WorksheetImportResult ImportWorksheet(CProjectDatabase& project, const fs::path& file,
                                      const WorksheetImportOptions& options, Progress& progress)
{
    WorksheetImportResult result;
    if (SheetFormatOf(file) == SheetFormat::Unknown) {
        result.message = msg::Format(msg::ImportUnsupportedType, {file.string(), file.extension().string()});
        return result;
    }
    SheetGrid grid;
    try {
        grid = ReadSheetFile(file);
    } catch (const std::exception& e) {
        result.message = msg::Format(msg::ImportReadError, {file.string()}) + "\n" + e.what();
        return result;
    }
    if (!HeaderIsValid(grid)) {
        result.message = msg::Format(msg::WorksheetWrongHeader, {file.string()});
        return result;
    }
    if (grid.cell(0, kFirstLanguageColumn).empty()) {
        result.message = std::string(msg::WorksheetNoLanguage);
        return result;
    }

    LayoutGuard layout(project);
    try {
        std::vector<ImportColumn> columns = ResolveColumns(project, grid, options, result);
        if (columns.empty() && options.onlyLanguage) {
            result.message = std::string(msg::WorksheetNoLanguage);  // no column of the language asked for
            return result;
        }
        sql::Transaction transaction(project.db());
        std::vector<LanguagePair> added;
        for (auto it = columns.begin(); it != columns.end();) {
            if (!it->isNew) {
                ++it;
                continue;
            }
            layout.changed = true;
            if (AddLanguageInTransaction(project, *it)) {
                added.push_back(it->language);
                ++it;
            } else {
                result.notices.push_back(msg::Format(msg::WorksheetAddLanguageFailed, {it->name, ScriptName(project)}));
                it = columns.erase(it);
            }
        }
        if (!ImportRows(project, grid, columns, options.markOnly, progress, result)) {
            transaction.rollback();
            result = WorksheetImportResult{};
            result.cancelled = true;
            result.message = std::string(msg::WorksheetImportAborted);
            return result;
        }
        transaction.commit();
        result.addedLanguages = std::move(added);
    } catch (const sql::Error& e) {
        const auto notices = std::move(result.notices);
        result = WorksheetImportResult{};
        result.notices = notices;
        result.message = DatabaseErrorMessage(e);
        return result;
    }
    result.ok = true;
    result.message = FinalMessage(result, options.markOnly);
    return result;
}

}  // namespace qln
