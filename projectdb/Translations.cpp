#include "projectdb/Translations.h"

#include "projectdb/FileChecks.h"
#include "projectdb/ProjectDatabase.h"
#include "rcscript/Messages.h"

#include <algorithm>
#include <system_error>

namespace qln {

namespace fs = std::filesystem;

namespace {

// The condition that selects one language's Translations row, by format.
struct LanguageFilter {
    bool langId;
    int primary;
    int sub;

    std::string condition() const
    {
        return langId ? "Lang_Id = :LangId" : "Language = :Lang AND SubLanguage = :SubLang";
    }
    std::string where() const { return " WHERE " + condition(); }
    void bind(sql::Statement& st) const
    {
        if (langId) {
            st.bind(":LangId", LangIdOf(primary, sub));
        } else {
            st.bind(":Lang", primary);
            st.bind(":SubLang", sub);
        }
    }
};

LanguageFilter FilterFor(CProjectDatabase& project, int primary, int sub)
{
    return {project.UsesLangId(), primary, sub};
}

// True when a translation with this identifier or display name exists.
bool TranslationExists(CProjectDatabase& project, int primary, int sub, std::string_view name)
{
    sql::Database& db = project.db();
    LanguageFilter filter = FilterFor(project, primary, sub);
    sql::Statement st =
        db.prepare("SELECT 1 FROM Translations WHERE (" + filter.condition() + ") OR LanguageStr = :Name");
    filter.bind(st);
    st.bind(":Name", name);
    return st.step();
}

void InsertTranslationRow(CProjectDatabase& project, int primary, int sub, std::string_view name, int codePage)
{
    sql::Database& db = project.db();
    if (project.UsesLangId()) {
        sql::Statement st =
            db.prepare("INSERT INTO Translations (LanguageStr, CodePage, Lang_Id) VALUES (:Name, :CodePage, :LangId)");
        st.bind(":Name", name).bind(":CodePage", codePage).bind(":LangId", LangIdOf(primary, sub));
        st.run();
    } else {
        sql::Statement st = db.prepare("INSERT INTO Translations (LanguageStr, CodePage, Language, SubLanguage) "
                                       "VALUES (:Name, :CodePage, :Lang, :SubLang)");
        st.bind(":Name", name).bind(":CodePage", codePage).bind(":Lang", primary).bind(":SubLang", sub);
        st.run();
    }
}

// Every version BLOCK line gets the new language's block name as its
// translation: the language's identifier and the code-page half for the code
// page the language is written in.
void StoreVersionBlockNames(sql::Database& db, std::string_view name, int primary, int sub, int codePage)
{
    sql::Statement blocks = db.prepare("SELECT ResourceText.LineIndex, ResourceText.SourceText FROM ResourceText "
                                       "WHERE LineIndex IN (SELECT VersionBlockHeader.LineIndex FROM "
                                       "VersionBlockHeader JOIN ResFileLine ON ResFileLine.LineIndex = "
                                       "VersionBlockHeader.LineIndex WHERE ResFileLine.Added = 0)");
    sql::Statement store = db.prepare("UPDATE ResourceText SET " + sql::QuoteIdentifier(name) + " = :Block, " +
                                      sql::QuoteIdentifier(LanguageFlagColumn(name)) +
                                      " = 0 WHERE LineIndex = :LineIndex");
    const std::string language = LanguageIdentString(primary, sub);
    while (blocks.step()) {
        store.bind(":Block", language + TranslatedBlockCodePage(blocks.columnText(1), primary, sub, codePage));
        store.bind(":LineIndex", blocks.columnInt64(0));
        store.run();
        store.reset();
    }
}

std::string Text(std::string_view pattern, std::string_view arg) { return msg::Format(pattern, {arg}); }

}  // namespace

bool HasLanguageColumn(CProjectDatabase& project, int primary, int sub)
{
    sql::Database& db = project.db();
    auto name = LanguageDisplayName(primary, sub);
    if (!name)
        return false;
    sql::Statement st = db.prepare("SELECT 1 FROM pragma_table_info('ResourceText') WHERE name = ?1");
    st.bind(1, *name);
    return st.step();  // exact, case-sensitive comparison
}

void CreateLanguageColumns(sql::Database& db, std::string_view displayName)
{
    db.resetCached();
    std::string flag = LanguageFlagColumn(displayName);
    if (!HasField(db, "ResourceText", displayName))
        db.exec("ALTER TABLE ResourceText ADD COLUMN " + sql::QuoteIdentifier(displayName) + " " +
                std::string(DeclMemo));
    if (!HasField(db, "ResourceText", flag))
        db.exec("ALTER TABLE ResourceText ADD COLUMN " + sql::QuoteIdentifier(flag) + " " + std::string(DeclByte));
}

namespace {

// Tells the project to read its layout again when the columns may have changed.
// Cached statements are dropped as well: one prepared before the change still
// reports the old result columns until it is stepped again.
class LayoutChange {
public:
    explicit LayoutChange(CProjectDatabase& project) : project_(project) {}
    ~LayoutChange()
    {
        project_.InvalidateLayout();
        project_.db().clearCache();
    }
    LayoutChange(const LayoutChange&) = delete;
    LayoutChange& operator=(const LayoutChange&) = delete;

private:
    CProjectDatabase& project_;
};

// The row and the columns of a new language, inside the caller's transaction;
// false when the language has no name or a translation of that identifier or
// name exists.
bool AppendLanguage(CProjectDatabase& project, int primary, int sub, int codePage)
{
    auto name = LanguageDisplayName(primary, sub);
    if (!name || TranslationExists(project, primary, sub, *name))
        return false;
    InsertTranslationRow(project, primary, sub, *name, codePage);
    CreateLanguageColumns(project.db(), *name);
    return true;
}

}  // namespace

bool AddLanguage(CProjectDatabase& project, int primary, int sub, int codePage)
{
    LayoutChange layout(project);
    sql::Transaction transaction(project.db());
    if (!AppendLanguage(project, primary, sub, codePage))
        return false;
    transaction.commit();
    return true;
}

LanguageResult NewTranslation(CProjectDatabase& project, int primary, int sub, int codePage,
                              const fs::path& translationFile)
{
    LanguageResult result;
    result.message = std::string(msg::AddLanguageFailed);
    auto name = LanguageDisplayName(primary, sub);
    if (!name)
        return result;
    LayoutChange layout(project);
    try {
        sql::Database& db = project.db();
        if (HasLanguageColumn(project, primary, sub) || TranslationExists(project, primary, sub, *name)) {
            result.status = LanguageStatus::AlreadyExists;
            result.message = Text(msg::LanguageAlreadyExists, *name);
            return result;
        }
        sql::Transaction transaction(db);
        if (!AppendLanguage(project, primary, sub, codePage))
            return result;
        LanguageFilter filter = FilterFor(project, primary, sub);
        sql::Statement st = db.prepare("UPDATE Translations SET FileName = :File" + filter.where());
        st.bind(":File", translationFile.string());
        filter.bind(st);
        st.run();
        StoreVersionBlockNames(db, *name, primary, sub, codePage);
        transaction.commit();
    } catch (const sql::Error& e) {
        result.errorCode = e.code();
        result.message += "\n" + CauseLine(project.path(), project.db(), e);
        return result;
    }
    result.status = LanguageStatus::Ok;
    result.message.clear();
    return result;
}

LanguageResult DeleteLanguage(CProjectDatabase& project, int primary, int sub)
{
    LanguageResult result;
    LayoutChange layout(project);
    try {
        sql::Database& db = project.db();
        if (ListLanguages(project).empty()) {
            result.status = LanguageStatus::NoTranslation;
            result.message = std::string(msg::NoTranslationToDelete);
            return result;
        }
        // Only a translation of exactly this language is deleted: another language
        // with the same display name must not lose its columns.
        LanguageFilter filter = FilterFor(project, primary, sub);
        auto name = LanguageDisplayName(primary, sub);
        {
            sql::Statement exists = db.prepare("SELECT 1 FROM Translations" + filter.where());
            filter.bind(exists);
            if (!name || !exists.step())
                return result;
        }
        sql::Transaction transaction(db);
        db.resetCached();
        for (const std::string& column : {std::string(*name), LanguageFlagColumn(*name)})
            if (HasField(db, "ResourceText", column))
                db.exec("ALTER TABLE ResourceText DROP COLUMN " + sql::QuoteIdentifier(column));
        sql::Statement st = db.prepare("DELETE FROM Translations" + filter.where());
        filter.bind(st);
        st.run();
        transaction.commit();
    } catch (const sql::Error& e) {
        result.errorCode = e.code();
        result.message = DatabaseErrorMessage(e);
        return result;
    }
    result.status = LanguageStatus::Ok;
    return result;
}

std::vector<LanguagePair> ListLanguages(CProjectDatabase& project)
{
    sql::Database& db = project.db();
    std::vector<LanguagePair> languages;
    if (project.UsesLangId()) {
        sql::Statement st = db.prepare("SELECT Lang_Id FROM Translations ORDER BY rowid");
        while (st.step()) {
            auto id = static_cast<std::int32_t>(st.columnInt64(0));
            languages.push_back({PrimaryOf(id), SubOf(id)});
        }
    } else {
        sql::Statement st = db.prepare("SELECT Language, SubLanguage FROM Translations ORDER BY rowid");
        while (st.step())
            languages.push_back({st.columnInt(0), st.columnInt(1)});
    }
    return languages;
}

std::optional<int> GetCodePage(CProjectDatabase& project, int primary, int sub)
{
    sql::Database& db = project.db();
    LanguageFilter filter = FilterFor(project, primary, sub);
    sql::Statement st = db.prepare("SELECT CodePage FROM Translations" + filter.where());
    filter.bind(st);
    if (st.step() && !st.isNull(0))
        return st.columnInt(0);
    return std::nullopt;
}

bool SetCodePage(CProjectDatabase& project, int primary, int sub, int codePage)
{
    sql::Database& db = project.db();
    LanguageFilter filter = FilterFor(project, primary, sub);
    sql::Statement st = db.prepare("UPDATE Translations SET CodePage = :CodePage" + filter.where());
    st.bind(":CodePage", codePage);
    filter.bind(st);
    st.run();
    return db.changes() > 0;
}

std::optional<TranslationFile> GetTranslationFile(CProjectDatabase& project, int primary, int sub)
{
    sql::Database& db = project.db();
    LanguageFilter filter = FilterFor(project, primary, sub);
    sql::Statement st =
        db.prepare("SELECT FileName, FileTime, FileDate, FileSize FROM Translations" + filter.where());
    filter.bind(st);
    if (!st.step())
        return std::nullopt;
    TranslationFile file;
    file.fileName = st.columnText(0);
    file.stamp.time = static_cast<std::uint16_t>(st.columnInt64(1));
    file.stamp.date = static_cast<std::uint16_t>(st.columnInt64(2));
    file.stamp.size = st.columnInt64(3);
    return file;
}

bool SetTranslationFile(CProjectDatabase& project, int primary, int sub, const TranslationFile& file)
{
    sql::Database& db = project.db();
    LanguageFilter filter = FilterFor(project, primary, sub);
    sql::Statement st = db.prepare(
        "UPDATE Translations SET FileName = :File, FileTime = :Time, FileDate = :Date, FileSize = :Size" +
        filter.where());
    st.bind(":File", file.fileName)
        .bind(":Time", file.stamp.time)
        .bind(":Date", file.stamp.date)
        .bind(":Size", file.stamp.size);
    filter.bind(st);
    st.run();
    return db.changes() > 0;
}

FileNameCheckResult CheckTranslationFileName(CProjectDatabase& project, const fs::path& sourceScript,
                                             const fs::path& candidate)
{
    sql::Database& db = project.db();
    FileNameCheckResult result;
    std::string shown = candidate.string();
    if (SameFile(candidate, sourceScript)) {
        result.check = FileNameCheck::IsSourceFile;
        result.message = std::string(msg::TranslationFileIsSource);
        return result;
    }
    std::string leaf = candidate.filename().string();
    std::error_code ec;
    fs::path dir = candidate.has_parent_path() ? candidate.parent_path() : fs::path(".");
    if (leaf.empty() || leaf == "." || leaf == ".." || shown.find('\0') != std::string::npos ||
        !fs::is_directory(dir, ec) || fs::is_directory(candidate, ec)) {
        result.check = FileNameCheck::Invalid;
        result.message = Text(msg::TranslationFileInvalid, shown);
        return result;
    }
    // Stored names are relative to the script's folder (and may use backslashes).
    std::error_code absoluteError;
    const fs::path scriptDir = fs::absolute(sourceScript, absoluteError).parent_path();
    sql::Statement st = db.prepare("SELECT FileName FROM Translations WHERE FileName IS NOT NULL");
    while (st.step()) {
        std::string used = st.columnText(0);
        std::replace(used.begin(), used.end(), '\\', '/');
        const fs::path usedPath = fs::path(used).is_absolute() ? fs::path(used) : scriptDir / used;
        if (!used.empty() && SameFile(usedPath, candidate)) {
            result.check = FileNameCheck::InUse;
            result.message = Text(msg::TranslationFileInUse, shown);
            return result;
        }
    }
    if (fs::exists(candidate, ec)) {
        result.check = FileNameCheck::AskOverwrite;
        result.message = Text(msg::TranslationFileExists, shown);
    }
    return result;
}

std::map<std::int32_t, LanguageFont> LoadFonts(CProjectDatabase& project)
{
    sql::Database& db = project.db();
    std::map<std::int32_t, LanguageFont> fonts;
    bool langId = project.UsesLangId();
    std::string idExpr = langId ? "Lang_Id" : "coalesce(Language, 0) + 1024 * coalesce(SubLanguage, 0)";
    // Source languages first, so that a translation's own font wins.
    for (std::string_view table : {"\"Source File Language\"", "Translations"}) {
        sql::Statement st =
            db.prepare("SELECT " + idExpr + ", FontName, CharSet FROM " + std::string(table));
        while (st.step()) {
            std::string font = st.columnText(1);
            if (font.size() > 1)
                fonts[static_cast<std::int32_t>(st.columnInt64(0))] = {font, st.isNull(2) ? 1 : st.columnInt(2)};
        }
    }
    return fonts;
}

std::string MissingCharSetsMessage(const std::map<std::int32_t, LanguageFont>& fonts,
                                   const std::set<int>& availableCharSets)
{
    std::set<int> reported;
    std::vector<std::string> lines;
    for (const auto& [id, font] : fonts) {
        if (font.charSet == 1 || availableCharSets.count(font.charSet) || !reported.insert(font.charSet).second)
            continue;
        const CharSetEntry* entry = FindCharSet(font.charSet);
        std::string name = entry ? std::string(entry->name) : std::to_string(font.charSet);
        lines.push_back(msg::Format(msg::MissingCharSetLine, {name}));
    }
    return lines.empty() ? std::string() : msg::Format(msg::MissingCharSets, {msg::JoinLines(lines, ",\n")});
}

int ComputeProjectStatus(CProjectDatabase& project)
{
    sql::Database& db = project.db();
    std::vector<LanguagePair> languages = ListLanguages(project);
    if (languages.empty())
        return kStatusNoTranslation;
    for (const LanguagePair& lang : languages) {
        auto name = LanguageDisplayName(lang.primary, lang.sub);
        std::string translated = "0";
        if (name && HasField(db, "ResourceText", *name))
            translated = "count(CASE WHEN coalesce(ResourceText." + sql::QuoteIdentifier(*name) +
                         ", '') <> '' THEN 1 END)";
        sql::Statement st = db.prepare("SELECT count(*), " + translated +
                                       " FROM ResourceText JOIN ResFileLine ON ResFileLine.LineIndex = "
                                       "ResourceText.LineIndex WHERE coalesce(ResourceText.Exclude, 0) = 0");
        if (st.step() && st.columnInt64(1) < st.columnInt64(0))
            return kStatusIncomplete;
    }
    return kStatusTranslated;
}

int RecomputeProjectStatus(CProjectDatabase& project)
{
    sql::Database& db = project.db();
    sql::Statement current = db.prepare("SELECT Status FROM Project ORDER BY rowid LIMIT 1");
    if (current.step() && !current.isNull(0) && current.columnInt(0) == kStatusUpdateNeeded)
        return kStatusUpdateNeeded;
    int status = ComputeProjectStatus(project);
    sql::Statement st = db.prepare("UPDATE Project SET Status = :Status");
    st.bind(":Status", status);
    st.run();
    return status;
}

}  // namespace qln
