#include "project/ImportScript.h"

#include "project/DatabaseExchange.h"
#include "project/ImportAlignment.h"
#include "project/ProjectBuild.h"
#include "project/ScriptReader.h"
#include "projectdb/DefaultCodePage.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectFileLock.h"
#include "projectdb/FileChecks.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/SafeFile.h"
#include "projectdb/Translations.h"
#include "rcscript/AsciiText.h"
#include "rcscript/Messages.h"
#include "rcscript/RcParser.h"
#include "rcscript/ScriptDecoder.h"

#include <algorithm>
#include <cctype>
#include <new>

namespace qln {

namespace fs = std::filesystem;

namespace {

// Collects the statements of the translated script that have a place in the
// project; nothing is stored while the script is read. Returns line index 0
// for every statement, so the reader records no include-file rows in the
// project. A statement takes its slot whether it has a text or not, just as
// the build stores a row for it either way: controls, captions, popups and
// named menu items always, strings, bitmaps and version values with a text.
class ImportLineStore final : public LineStore {
public:
    std::uint32_t StoreLine(const CRcStatement& statement, const CRcParser&, std::int32_t,
                            ScriptReader& reader) override
    {
        const int k = statement.kind;
        if (k == kind::Menu || k == kind::Dialog || k == kind::DialogEx || k == kind::VersionInfo) {
            resource_ = ToLowerAscii(statement.NameId());
            return 0;
        }
        if (std::optional<TextKey> key = KeyOf(statement)) {
            std::string text = statement.HasText() ? std::string(statement.SourceText()) : std::string();
            statements_.push_back({std::move(*key), std::move(text), reader.currentFile().string(),
                                   statement.sourceLine});
        }
        return 0;
    }
    void IncludeStarted() override { marks_.push_back(statements_.size()); }
    void IncludeFinished() override { marks_.pop_back(); }
    void IncludeAbandoned() override
    {
        statements_.resize(marks_.back());
        marks_.pop_back();
    }

    const std::vector<ScriptStatement>& statements() const { return statements_; }

private:
    std::optional<TextKey> KeyOf(const CRcStatement& statement) const
    {
        const int k = statement.kind;
        const std::string name = ToLowerAscii(statement.NameId());
        if (k == kind::Caption)
            return TextKey{Lookup::Caption, resource_, {}, 0};
        if (IsDialogControlKind(k))
            return TextKey{Lookup::Control, resource_, name, k};
        if (k == kind::Popup)
            return TextKey{Lookup::Popup, resource_, {}, 0};
        if (k == kind::MenuItem && !name.empty())
            return TextKey{Lookup::MenuItem, resource_, name, 0};
        if (!statement.HasText() || name.empty())
            return std::nullopt;
        if (k == kind::StringTableEntry)
            return TextKey{Lookup::String, {}, name, 0};
        if (k == kind::Bitmap)
            return TextKey{Lookup::Bitmap, {}, name, 0};
        if (k == kind::Value)
            return TextKey{Lookup::VersionValue, resource_, name, 0};
        return std::nullopt;
    }

    std::string resource_;
    std::vector<ScriptStatement> statements_;
    std::vector<std::size_t> marks_;
};

// The source text and the translation of a project line.
struct LineTexts {
    std::string source;
    std::string translation;
};

std::optional<LineTexts> ReadLineTexts(CProjectDatabase& project, std::int32_t lineIndex, const std::string& column)
{
    sql::Statement& st = project.Query("GetResTextRecord_ByLine");
    st.bind(":LineIndex", lineIndex);
    std::optional<LineTexts> texts;
    if (st.step())
        texts = LineTexts{st.columnText(st.columnIndex("SourceText")), st.columnText(st.columnIndex(column))};
    st.reset();
    return texts;
}

// "file, line(s) 12, 30" for each file, one file a line, in script order.
std::string UnalignedPlaces(const std::vector<const ScriptStatement*>& statements)
{
    std::vector<std::string> places;
    std::string file, lines;
    auto flush = [&] {
        if (!lines.empty())
            places.push_back(msg::Format(msg::ImportUnalignedLines, {file, lines}));
    };
    for (const ScriptStatement* s : statements) {
        if (s->file != file) {
            flush();
            file = s->file;
            lines.clear();
        }
        lines += (lines.empty() ? "" : ", ") + std::to_string(s->sourceLine);
    }
    flush();
    return msg::JoinLines(places);
}

struct MatchCounts {
    int imported = 0;
    int matched = 0;
    std::vector<const ScriptStatement*> unaligned;  // with a text, in script order
};

// Pairs the collected statements with the project's lines and fills the
// empty translations. A statement without a text imports nothing, and a line
// whose source text is empty is no text to translate; either still takes its
// slot. Imported popup texts are flagged not actual, to be checked.
MatchCounts MatchTexts(CProjectDatabase& project, const std::vector<ScriptStatement>& statements,
                       LanguagePair language)
{
    const std::string column(*LanguageDisplayName(language.primary, language.sub));
    const Alignment alignment = AlignStatements(project, statements);
    MatchCounts counts;
    for (const AlignedLine& pair : alignment.pairs) {
        const ScriptStatement& statement = statements[pair.statement];
        if (statement.text.empty())
            continue;
        const std::optional<LineTexts> texts = ReadLineTexts(project, pair.lineIndex, column);
        if (!texts || texts->source.empty())
            continue;
        ++counts.matched;
        if (!texts->translation.empty())
            continue;
        const bool notActual = statement.key.lookup == Lookup::Popup;
        if (project.SetTranslation(pair.lineIndex, language.primary, language.sub, statement.text, notActual))
            ++counts.imported;
    }
    for (const std::size_t i : alignment.unaligned)
        if (!statements[i].text.empty())
            counts.unaligned.push_back(&statements[i]);
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

// Adds the language to the work copy of `database` when it is new, in
// `codePage` or else the default for the project's source script; false when
// that failed.
bool EnsureLanguage(CProjectDatabase& project, const fs::path& database, LanguagePair language,
                    std::optional<int> codePage, ImportResult& result)
{
    if (IsTranslation(project, language))
        return true;
    if (!codePage) {
        const fs::path sourceScript = ScriptPathForDatabase(database, ReadStoredSourceFile(database));
        codePage = DefaultTranslationCodePage(sourceScript, language.primary, language.sub);
    }
    const LanguageResult added = NewTranslation(project, language.primary, language.sub, *codePage, {});
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
                              const ImportStep& fill, std::optional<int> newLanguageCodePage)
{
    ImportResult result;
    const ProjectFileLock lock = ProjectFileLock::Take(database, LockMode::Exclusive);
    if (lock.status() == LockStatus::InUse) {
        result.status = ImportStatus::Failed;
        result.message = DatabaseInUseMessage(database);
        return result;
    }
    try {
        TempFileBeside work(database);
        CopyDatabaseFile(database, work.path());
        {
            CProjectDatabase project(work.path());
            if (!EnsureLanguage(project, database, language, newLanguageCodePage, result)) {
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
    DecodedScript decoded;
    std::string openError;
    if (!LoadScriptFile(script, decoded, openError))
        return FailedImport({}, script, std::move(openError));
    // A new language keeps the script's Unicode encoding: its texts may need it.
    const std::optional<int> codePage = UnicodeCodePage(decoded.codePage);
    const auto fill = [&](CProjectDatabase& project, ImportResult& result) {
        LineIndexSet used;
        ImportLineStore store;
        ScriptReader reader(project, used, store, ReadMode::Update, progress);
        reader.SetIncludeExtensions(options.includeExtensions ? *options.includeExtensions
                                                              : ProjectIncludeExtensions(project));
        const int code = reader.ReadDecoded(script, decoded);
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
        const std::vector<ScriptStatement>& statements = store.statements();
        result.read = static_cast<int>(std::count_if(statements.begin(), statements.end(),
                                                     [](const ScriptStatement& s) { return !s.text.empty(); }));
        const MatchCounts counts = MatchTexts(project, statements, language);
        result.imported = counts.imported;
        result.matched = counts.matched;
        result.unaligned = static_cast<int>(counts.unaligned.size());
        if (!counts.unaligned.empty())
            result.notes.push_back(msg::Format(
                msg::ImportUnaligned, {std::to_string(counts.unaligned.size()), UnalignedPlaces(counts.unaligned)}));
        return true;
    };
    return ImportOnWorkCopy(database, script, language, fill, codePage);
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
