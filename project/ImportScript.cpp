#include "project/ImportScript.h"

#include "project/DatabaseExchange.h"
#include "project/ProjectBuild.h"
#include "project/ScriptReader.h"
#include "projectdb/FileChecks.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/SafeFile.h"
#include "projectdb/Translations.h"
#include "rcscript/AsciiText.h"
#include "rcscript/CodePages.h"
#include "rcscript/Messages.h"
#include "rcscript/RcParser.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <new>
#include <tuple>

namespace qln {

namespace fs = std::filesystem;

namespace {

// How a text statement is looked up in the project (one stored query each).
enum class Lookup { Caption, Control, Popup, MenuItem, String, Bitmap, VersionValue };

// The identifiers a text is found by. Identifiers compare without regard to
// case, as the database's Name_ID fields do.
struct TextKey {
    Lookup lookup;
    std::string resource;  // dialog, menu or version resource (empty for strings and bitmaps)
    std::string item;      // control, menu item, string, bitmap or value name
    int lineKind = 0;      // a control's line kind

    auto tie() const { return std::tie(lookup, resource, item, lineKind); }
    bool operator<(const TextKey& other) const { return tie() < other.tie(); }
};

struct ImportedText {
    TextKey key;
    std::string text;
};

// Collects the texts of the translated script; nothing is stored while the
// script is read. Returns line index 0 for every statement, so the reader
// records no include-file rows in the project.
class ImportLineStore final : public LineStore {
public:
    std::uint32_t StoreLine(const CRcStatement& statement, const CRcParser&, std::int32_t, ScriptReader&) override
    {
        const int k = statement.kind;
        if (k == kind::Menu || k == kind::Dialog || k == kind::DialogEx || k == kind::VersionInfo) {
            resource_ = ToLowerAscii(statement.NameId());
            return 0;
        }
        if (!statement.HasText() || statement.SourceText().empty())
            return 0;
        const std::string name = ToLowerAscii(statement.NameId());
        std::optional<TextKey> key;
        if (k == kind::Caption)
            key = TextKey{Lookup::Caption, resource_, {}, 0};
        else if (IsDialogControlKind(k))
            key = TextKey{Lookup::Control, resource_, name, k};
        else if (k == kind::Popup)
            key = TextKey{Lookup::Popup, resource_, {}, 0};
        else if (k == kind::MenuItem && !name.empty())
            key = TextKey{Lookup::MenuItem, resource_, name, 0};
        else if (k == kind::StringTableEntry && !name.empty())
            key = TextKey{Lookup::String, {}, name, 0};
        else if (k == kind::Bitmap && !name.empty())
            key = TextKey{Lookup::Bitmap, {}, name, 0};
        else if (k == kind::Value && !name.empty())
            key = TextKey{Lookup::VersionValue, resource_, name, 0};
        if (key)
            texts_.push_back({std::move(*key), std::string(statement.SourceText())});
        return 0;
    }
    void IncludeStarted() override { marks_.push_back(texts_.size()); }
    void IncludeFinished() override { marks_.pop_back(); }
    void IncludeAbandoned() override
    {
        texts_.resize(marks_.back());
        marks_.pop_back();
    }

    std::vector<ImportedText>& texts() { return texts_; }

private:
    std::string resource_;
    std::vector<ImportedText> texts_;
    std::vector<std::size_t> marks_;
};

// The lines of the project a key stands for, in script order.
std::vector<std::int32_t> FindLines(CProjectDatabase& project, const TextKey& key)
{
    sql::Statement* st = nullptr;
    switch (key.lookup) {
    case Lookup::Caption:
        st = &project.Query("Dialog_Caption");
        st->bind(":DlgIdent", key.resource);
        break;
    case Lookup::Control:
        st = &project.Query("Dialog_Control");
        st->bind(":DlgIdent", key.resource).bind(":ItemIdent", key.item).bind(":ItemIdentSym", key.lineKind);
        break;
    case Lookup::Popup:
        st = &project.Query("PopupItem_By_MenuIdent");
        st->bind(":MenuIdent", key.resource).bind(":ItemIdentSym", kind::Popup);
        break;
    case Lookup::MenuItem:
        st = &project.Query("MenuItem_Line");
        st->bind(":MenuIdent", key.resource).bind(":ItemIdent", key.item);
        break;
    case Lookup::String:
        st = &project.Query("StringtableString_By_Ident");
        st->bind(":Name_ID", key.item);
        break;
    case Lookup::Bitmap:
        st = &project.Query("BitmapString_By_Ident");
        st->bind(":Name_ID", key.item);
        break;
    case Lookup::VersionValue:
        st = &project.Query("VersionValue_By_ResIdent_ValueIdent");
        st->bind(":VersIdent", key.resource).bind(":ValueIdent", key.item);
        break;
    }
    std::vector<std::int32_t> lines;
    const int column = st->columnIndex("LineIndex");
    while (st->step())
        lines.push_back(static_cast<std::int32_t>(st->columnInt64(column)));
    st->reset();
    return lines;
}

// True when the line's translation column is still empty.
bool TranslationEmpty(CProjectDatabase& project, std::int32_t lineIndex, const std::string& column)
{
    sql::Statement& st = project.Query("GetResTextRecord_ByLine");
    st.bind(":LineIndex", lineIndex);
    bool empty = false;
    if (st.step())
        empty = st.columnText(st.columnIndex(column)).empty();
    st.reset();
    return empty;
}

struct MatchCounts {
    int imported = 0;
    int matched = 0;
};

// Matches the collected texts against the project and fills the empty
// translations. Several texts can share a key (controls named IDC_STATIC, the
// popups of a menu): the n-th text of a key in the script matches the n-th
// line of that key in the project. Where such a shared key has a different
// number of lines in the two, the pairing is uncertain and the imported text
// is flagged not actual, as every imported popup text is.
MatchCounts MatchTexts(CProjectDatabase& project, const std::vector<ImportedText>& texts, LanguagePair language)
{
    const std::string column(*LanguageDisplayName(language.primary, language.sub));
    std::map<TextKey, int> inScript;
    for (const ImportedText& t : texts)
        ++inScript[t.key];
    std::map<TextKey, std::vector<std::int32_t>> lines;
    std::map<TextKey, std::size_t> used;
    MatchCounts counts;
    for (const ImportedText& t : texts) {
        auto found = lines.find(t.key);
        if (found == lines.end())
            found = lines.emplace(t.key, FindLines(project, t.key)).first;
        const std::vector<std::int32_t>& candidates = found->second;
        const std::size_t n = used[t.key]++;
        if (n >= candidates.size())
            continue;
        ++counts.matched;
        const std::int32_t lineIndex = candidates[n];
        if (!TranslationEmpty(project, lineIndex, column))
            continue;
        const bool uncertain =
            candidates.size() > 1 && static_cast<std::size_t>(inScript[t.key]) != candidates.size();
        const bool notActual = t.key.lookup == Lookup::Popup || uncertain;
        if (project.SetTranslation(lineIndex, language.primary, language.sub, t.text, notActual))
            ++counts.imported;
    }
    return counts;
}

std::vector<std::string> ProjectIncludeExtensions(CProjectDatabase& project)
{
    if (!project.UsesLangId())
        return {};
    auto setting = project.GetSetting("RES_INCLUDES", 0, 0);
    if (!setting || !setting->text)
        return {};
    return SplitIncludeExtensions(*setting->text);
}

bool IsTranslation(CProjectDatabase& project, LanguagePair language)
{
    const auto languages = ListLanguages(project);
    return std::any_of(languages.begin(), languages.end(), [&](const LanguagePair& l) {
        return l.primary == language.primary && l.sub == language.sub;
    });
}

// Adds the language to the work copy when it is new; false when that failed.
bool EnsureLanguage(CProjectDatabase& project, LanguagePair language, ImportResult& result)
{
    if (IsTranslation(project, language))
        return true;
    const LanguageResult added =
        NewTranslation(project, language.primary, language.sub, CodePageNumber(language.primary, language.sub), {});
    result.languageAdded = added.status == LanguageStatus::Ok;
    return result.languageAdded;
}

}  // namespace

ImportFileType ClassifyImportFile(const fs::path& file)
{
    std::string ext = file.extension().string();
    if (!ext.empty())
        ext.erase(0, 1);
    ext = ToLowerAscii(ext);
    if (ext == "xls" || ext == "xlsx" || ext == "csv")
        return ImportFileType::Worksheet;
    if (ext == "mdb")
        return ImportFileType::Database;
    if (ext.rfind("rc", 0) == 0)
        return ImportFileType::Script;
    return ImportFileType::Unsupported;
}

std::string UnsupportedImportMessage(const fs::path& file)
{
    std::string ext = file.extension().string();
    if (!ext.empty())
        ext.erase(0, 1);
    return msg::Format(msg::ImportUnsupportedType, {file.string(), ext});
}

std::vector<std::string> SplitIncludeExtensions(std::string_view list)
{
    std::vector<std::string> items;
    std::string item;
    for (char c : list) {
        if (c == ' ' || c == ',' || c == ';' || c == '\t') {
            if (!item.empty())
                items.push_back(std::move(item));
            item.clear();
        } else {
            item += c;
        }
    }
    if (!item.empty())
        items.push_back(std::move(item));
    return items;
}

namespace {

// A failure to make, fill or put in place the work copy: the project database
// is named, with the cause, never the file the texts come from.
ImportResult FailedWorkCopy(ImportResult result, const fs::path& database, std::string_view cause)
{
    result.status = ImportStatus::Failed;
    result.imported = 0;
    result.languageAdded = false;
    result.message = msg::Format(msg::ImportWriteError, {database.string()}) + "\n" + CauseLine(database, cause);
    return result;
}

}  // namespace

ImportResult ImportOnWorkCopy(const fs::path& database, const fs::path& source, LanguagePair language,
                              const ImportStep& fill)
{
    ImportResult result;
    try {
        TempFileBeside work(database);
        CopyDatabaseFile(database, work.path());
        {
            CProjectDatabase project(work.path());
            if (!EnsureLanguage(project, language, result)) {
                result.status = ImportStatus::Failed;
                result.message = std::string(msg::AddLanguageFailed);
                return result;
            }
            sql::Transaction transaction(project.db());
            if (!fill(project, result)) {
                if (result.status == ImportStatus::Cancelled)
                    result.languageAdded = false;
                return result;
            }
            if (result.imported > 0)
                RecomputeProjectStatus(project);
            transaction.commit();
        }
        std::error_code ec;
        work.Commit(ec);
        if (ec)
            return FailedWorkCopy(std::move(result), database, ec.message());
    } catch (const sql::Error& e) {
        return FailedWorkCopy(std::move(result), database, e.what());
    } catch (const fs::filesystem_error& e) {
        return FailedWorkCopy(std::move(result), database, e.code().message());
    } catch (const std::bad_alloc&) {
        return FailedImport(std::move(result), source, std::string(msg::ErrorNoMemory));
    }
    result.status = result.imported > 0 ? ImportStatus::Imported : ImportStatus::Nothing;
    result.message = result.imported > 0
                         ? msg::Format(msg::ImportTextDone, {source.string(), std::to_string(result.imported)})
                         : msg::Format(msg::ImportTextNothing, {source.string()});
    return result;
}

ImportResult ImportTranslatedScript(const fs::path& database, const fs::path& script, LanguagePair language,
                                    const ScriptImportOptions& options)
{
    if (script.empty() || !LanguageDisplayName(language.primary, language.sub))
        return {};
    Progress& progress = options.progress ? *options.progress : NoProgress();
    progress.Status(msg::Format(msg::ImportProgressTitle, {script.string()}));
    return ImportOnWorkCopy(database, script, language, [&](CProjectDatabase& project, ImportResult& result) {
        LineIndexSet used;
        ImportLineStore store;
        ScriptReader reader(project, used, store, ReadMode::Update, progress);
        reader.SetIncludeExtensions(options.includeExtensions ? *options.includeExtensions
                                                              : ProjectIncludeExtensions(project));
        const int code = reader.ReadFile(script);
        if (reader.includesMissing())
            result.notes.push_back(MissingIncludesMessage(reader.missingIncludes()));
        if (code == kReadCancelled) {
            result.status = ImportStatus::Cancelled;
            return false;
        }
        if (code != 0) {
            std::string cause = code == rcerr::CantOpen ? reader.openError()
                                                        : BuildErrorMessage(code, script.string(), reader.stopLine());
            result = FailedImport(std::move(result), script, std::move(cause));
            return false;
        }
        result.read = static_cast<int>(store.texts().size());
        const MatchCounts counts = MatchTexts(project, store.texts(), language);
        result.imported = counts.imported;
        result.matched = counts.matched;
        return true;
    });
}

ImportResult FailedImport(ImportResult result, const fs::path& source, std::string cause)
{
    result.status = ImportStatus::Failed;
    result.imported = 0;
    result.languageAdded = false;
    if (!cause.empty())
        result.notes.push_back(std::move(cause));
    result.message = msg::Format(msg::ImportReadError, {source.string()});
    return result;
}

ImportResult ImportWithDatabaseClosed(std::unique_ptr<CProjectDatabase>& project, const fs::path& source,
                                      const std::function<ImportResult(const fs::path&)>& run)
{
    if (!project)
        return {};
    const fs::path database = project->path();
    project.reset();
    ImportResult result = run(database);
    try {
        project = std::make_unique<CProjectDatabase>(database);
    } catch (const sql::Error& e) {
        result = FailedImport(std::move(result), source, DatabaseErrorMessage(e));
    }
    return result;
}

ImportResult ImportTranslatedScript(std::unique_ptr<CProjectDatabase>& project, const fs::path& script,
                                    LanguagePair language, const ScriptImportOptions& options)
{
    return ImportWithDatabaseClosed(project, script, [&](const fs::path& database) {
        return ImportTranslatedScript(database, script, language, options);
    });
}

}  // namespace qln
