#include "project/ProjectBuild.h"

#include "projectdb/DeferredIndexes.h"
#include "projectdb/Languages.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/CodePages.h"
#include "rcscript/Messages.h"
#include "rcscript/RcParser.h"

#include <new>

namespace qln {

namespace fs = std::filesystem;

std::uint32_t BuildLineStore::StoreLine(const CRcStatement& statement, const CRcParser& parser, std::int32_t line,
                                        ScriptReader& reader)
{
    const std::uint32_t index = reader.NewLineIndex();
    const auto lineIndex = static_cast<std::int32_t>(index);
    const int k = statement.kind;
    db_.AppendLine(lineIndex, line, 0, k, statement.BeforeStr(), statement.BehindStr());
    if (statement.HasText()) {
        const std::string_view text = statement.SourceText();
        // Include and bitmap file names are never translated, nor is an empty text.
        const bool exclude = k == kind::Include || k == kind::RcInclude || k == kind::Bitmap || text.empty();
        db_.AppendText(lineIndex, text, exclude);
    }
    AppendKindRow(statement, parser, lineIndex);
    return index;
}

void BuildLineStore::AppendKindRow(const CRcStatement& statement, const CRcParser& parser, std::int32_t lineIndex)
{
    const int k = statement.kind;
    const bool text = statement.HasText();
    const std::string_view name = statement.NameId();
    if (IsDialogControlKind(k)) {
        DialogControlRecord control;
        control.lineIndex = lineIndex;
        control.dlgLine = db_.currentStatementLine;
        control.nameId = name;
        if (statement.faceLen > 0)
            control.className = statement.text.substr(statement.facePos, statement.faceLen);
        control.type = k;
        control.flags = static_cast<std::int32_t>(statement.flagBits);
        control.x = statement.x;
        control.y = statement.y;
        control.cx = statement.cx;
        control.cy = statement.cy;
        db_.AppendDialogControl(control);
        return;
    }
    switch (k) {
    case kind::Caption:
        db_.AppendDialogCaption(lineIndex, db_.currentStatementLine);
        break;
    case kind::Popup:
    case kind::MenuItem:
        // The record layer stores the depth minus one: 0 for the menu's top level.
        db_.AppendMenuItem(lineIndex, db_.currentStatementLine, parser.Depth(), name);
        break;
    case kind::Menu:
        db_.AppendMenuResource(lineIndex, name);
        db_.currentStatementLine = lineIndex;
        break;
    case kind::Dialog:
    case kind::DialogEx: {
        DialogRecord dialog;
        dialog.lineIndex = lineIndex;
        dialog.nameId = name;
        dialog.cx = statement.cx;
        dialog.cy = statement.cy;
        db_.AppendDialog(dialog);
        db_.currentStatementLine = lineIndex;
        break;
    }
    case kind::Bitmap:
        if (text)
            db_.AppendBitmap(lineIndex, name);
        break;
    case kind::StringTableEntry:
        if (text)
            db_.AppendStringtableString(lineIndex, name);
        break;
    case kind::VersionInfo:
        db_.AppendVersion(lineIndex, name);
        db_.currentStatementLine = lineIndex;
        break;
    case kind::Block:
        if (text)
            db_.AppendBlockHeader(lineIndex, db_.currentStatementLine);
        db_.currentBlockLine = lineIndex;
        break;
    case kind::Value:
        if (text && !name.empty())
            db_.AppendBlockValue(lineIndex, db_.currentStatementLine, db_.currentBlockLine, name);
        break;
    case kind::Language:
        db_.AppendSourceLanguage(lineIndex, statement.language, statement.subLanguage,
                                 CodePageNumber(statement.language, statement.subLanguage),
                                 LanguageCharSet(statement.language, statement.subLanguage), {});
        break;
    default:
        break;
    }
}

int BuildFromScript(const fs::path& script, CProjectDatabase& db, Progress& progress, BuildReport* report)
{
    BuildReport local;
    BuildReport& out = report ? *report : local;
    out = BuildReport{};
    int code = 0;
    try {
        sql::Transaction transaction(db.db());
        // Rows arrive in script order, not in the order of most indexes: an
        // empty database gets its indexes made once, after the last row.
        DeferredIndexes deferred(db.db(), kScriptTables);
        LineIndexSet used;
        db.LoadLineIndexes(used);
        BuildLineStore store(db);
        ScriptReader reader(db, used, store, ReadMode::Build, progress);
        code = reader.ReadFile(script);
        out.stopLine = reader.stopLine();
        out.missingIncludes = reader.missingIncludes();
        out.unrecognisedLines = reader.unrecognisedLines();
        out.lines = reader.counter();
        if (code == rcerr::CantOpen)
            out.message = reader.openError();
        if (code == 0) {
            deferred.Restore();
            transaction.commit();
        }
    } catch (const sql::Error& e) {
        code = e.code() != 0 ? e.code() : rcerr::CantRead;
        out.message = DatabaseErrorMessage(e);
    } catch (const std::bad_alloc&) {
        code = rcerr::NoMemory;
    }
    out.code = code;
    if (out.message.empty())
        out.message = BuildErrorMessage(code, script.string(), out.stopLine);
    out.warning = ReadingWarning(out.missingIncludes, out.unrecognisedLines);
    return code;
}

std::string BuildErrorMessage(int code, std::string_view script, int stopLine)
{
    std::string text;
    switch (code) {
    case 0:
    case rcerr::NoMemory:
    case kReadCancelled:
        return text;
    case rcerr::CantOpen:
    case rcerr::CantChangeDir:
        return ParserErrorText(code, script);
    case rcerr::Popup:
    case rcerr::Output:
        text = msg::Format(msg::BuildParserErrorPopup, {script});
        break;
    default:
        if (code >= rcerr::ResourceFile && code <= rcerr::MenuItem)
            text = msg::Format(msg::BuildParserError, {script});
        else
            text = msg::Format(msg::BuildDatabaseError, {script});
        break;
    }
    if (stopLine > 0)
        text = msg::Format(msg::ParserErrorAtLine, {text, std::to_string(stopLine)});
    return text;
}

std::string MissingIncludesMessage(const std::vector<std::string>& paths)
{
    return msg::Format(msg::MissingIncludes, {msg::JoinLines(paths)});
}

std::string ReadingWarning(const std::vector<std::string>& missingIncludes,
                           const std::vector<UnrecognisedLine>& unrecognisedLines)
{
    std::vector<std::string> parts;
    if (!missingIncludes.empty())
        parts.push_back(MissingIncludesMessage(missingIncludes));
    for (const UnrecognisedLine& line : unrecognisedLines)
        parts.push_back(msg::Format(msg::UnrecognisedDialogLine, {line.file, std::to_string(line.line)}));
    return msg::JoinLines(parts);
}

BuildResult BuildProjectDatabase(const fs::path& script, const fs::path& database, Progress& progress,
                                 const fs::path& templatePath, const ProjectOptions& options)
{
    BuildResult result;
    OpenRequest request;
    request.script = script;
    request.database = database;
    request.templatePath = templatePath;
    request.options = options;
    request.status = [&progress](std::string_view text) { progress.Status(text); };
    request.build = [&](CProjectDatabase& db) {
        // The new database is a temporary file, synced once before it takes
        // its name and thrown away if anything fails: syncing each
        // transaction on the way would only cost time.
        db.db().exec("PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY");
        const int code = BuildFromScript(script, db, progress, &result.report);
        if (code == 0)
            db.SetStatus(kStatusNoTranslation);
        return code;
    };
    OpenResult opened = OpenOrCreate(request);
    result.database = std::move(opened.database);
    result.created = opened.created;
    result.fileVersion = opened.fileVersion;
    if (opened.buildError != 0) {
        result.code = opened.buildError;
        result.message = result.report.message;
    } else if (!result.ok()) {
        // The database file could not be made: it is named, with the cause.
        result.code = opened.errorCode;
        result.message = opened.message.empty() ? msg::Format(msg::BuildDatabaseError, {database.string()})
                                                : opened.message;
        if (!opened.cause.empty())
            result.message += "\n" + opened.cause;
    }
    return result;
}

}  // namespace qln
