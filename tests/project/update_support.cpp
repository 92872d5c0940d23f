#include "update_support.h"

#include "projectdb/ProjectDatabase.h"
#include "projectdb/Sql.h"
#include "projectdb/Translations.h"

#include <algorithm>
#include <chrono>

namespace qln::test {

namespace fs = std::filesystem;

void MakeNewer(const fs::path& file, int seconds)
{
    fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(seconds));
}

void RewriteScript(const fs::path& script, const std::string& text)
{
    const auto before = fs::last_write_time(script);
    WriteFile(script, text);
    fs::last_write_time(script, std::max(before, fs::last_write_time(script)) + std::chrono::seconds(4));
}

UpdateResult Update(const fs::path& script, const fs::path& database, Progress* progress)
{
    UpdateRequest request;
    request.script = script;
    request.database = database;
    request.progress = progress;
    request.batch = true;
    return UpdateDatabase(request);
}

std::string Reversed(std::string text)
{
    std::reverse(text.begin(), text.end());
    return "~" + text;
}

void TranslateAll(const fs::path& database)
{
    CProjectDatabase db(database);
    ASSERT_TRUE(AddLanguage(db, kGerman, kGermanSub, 1252));
    std::vector<std::pair<std::int32_t, std::string>> texts;
    for (const Row& row : Rows(database, "SELECT LineIndex, SourceText FROM ResourceText WHERE SourceText <> ''"))
        texts.emplace_back(std::stoi(row[0]), row[1]);
    sql::Transaction transaction(db.db());
    for (const auto& [lineIndex, text] : texts)
        ASSERT_TRUE(db.SetTranslation(lineIndex, kGerman, kGermanSub, Reversed(text), false));
    transaction.commit();
}

Dump DumpDatabase(const fs::path& database, bool withStamp)
{
    Dump dump;
    for (const Row& table : Rows(database, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                                           "'sqlite_%' AND name <> 'QueryCatalogue'")) {
        std::string query = "SELECT * FROM " + sql::QuoteIdentifier(table[0]);
        if (table[0] == "Project" && !withStamp)
            query = "SELECT SourceFile, FileVersion FROM Project";
        std::vector<Row> rows = Rows(database, query);
        std::sort(rows.begin(), rows.end());
        dump[table[0]] = std::move(rows);
    }
    return dump;
}

std::map<std::string, TextState> Texts(const fs::path& database)
{
    std::map<std::string, TextState> texts;
    for (const Row& row : Rows(database, "SELECT LineIndex, SourceText, German, German_Modified, SourceText_Old "
                                         "FROM ResourceText"))
        texts[row[0]] = {row[1], row[2], row[3], row[4]};
    return texts;
}

}  // namespace qln::test
