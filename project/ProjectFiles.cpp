#include "project/ProjectFiles.h"

#include "project/ScriptReader.h"
#include "projectdb/FileChecks.h"
#include "projectdb/FileStamp.h"
#include "projectdb/ProjectDatabase.h"
#include "rcscript/AsciiText.h"
#include "rcscript/Messages.h"
#include "rcscript/RcParser.h"
#include "rcscript/ScriptDecoder.h"

#include <algorithm>
#include <string>

namespace qln {

namespace fs = std::filesystem;

namespace {

fs::path FolderOf(const fs::path& file)
{
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

std::vector<std::string> ColumnTexts(CProjectDatabase& project, std::string_view query)
{
    std::vector<std::string> texts;
    sql::Statement st = project.db().prepare(query);
    while (st.step())
        if (!st.isNull(0))
            texts.push_back(st.columnText(0));
    return texts;
}

}  // namespace

void ProjectFileSet::Add(const fs::path& path, bool anyCase)
{
    files_.push_back({path, anyCase});
}

const ProjectFile* ProjectFileSet::AddInclude(const fs::path& baseDir, std::string_view writtenName)
{
    const std::string name = CollapseBackslashes(writtenName);
    std::string slashed = name;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (slashed.empty())
        return nullptr;
    const fs::path exact = fs::path(slashed).is_absolute() ? fs::path(slashed) : baseDir / slashed;
    const auto resolved = ResolveScriptReference(baseDir, name);
    std::error_code ec;
    if (!resolved) {
        // Not there yet: a file made under this name (in any case) would be read.
        Add(exact, true);
        return nullptr;
    }
    Add(*resolved, !fs::exists(exact, ec));
    return &files_.back();
}

bool ProjectFileSet::Contains(const fs::path& candidate) const
{
    return std::any_of(files_.begin(), files_.end(), [&](const ProjectFile& file) {
        if (SameFile(file.path, candidate))
            return true;
        return file.anyCase && EqualsNoCase(file.path.filename().string(), candidate.filename().string()) &&
               SameFile(FolderOf(file.path), FolderOf(candidate));
    });
}

ProjectFileSet FilesProjectReads(CProjectDatabase& project, const fs::path& script)
{
    ProjectFileSet set;
    set.Add(project.path());
    set.Add(script);
    const std::vector<std::string> lines = ColumnTexts(
        project, "SELECT ResourceText.SourceText FROM ResFileLine JOIN ResourceText ON ResourceText.LineIndex = "
                 "ResFileLine.LineIndex WHERE ResFileLine.LineIdentSym IN (9, 10)");
    const std::vector<std::string> followed = ColumnTexts(project, "SELECT Name_ID FROM IncludeFile");

    // A followed file's own include names are relative to its folder: each
    // folder found adds a place to look, up to the deepest nesting followed.
    std::vector<fs::path> folders{FolderOf(script)};
    ProjectFileSet found;
    for (std::size_t round = 0; round < folders.size() && round <= kMaxIncludeDepth; ++round) {
        for (const std::string& name : followed) {
            const ProjectFile* file = found.AddInclude(folders[round], name);
            if (!file)
                continue;
            const fs::path folder = FolderOf(file->path);
            if (std::none_of(folders.begin(), folders.end(), [&](const fs::path& f) { return SameFile(f, folder); }))
                folders.push_back(folder);
        }
    }
    for (const fs::path& folder : folders) {
        for (const std::string& name : followed)
            set.AddInclude(folder, name);
        for (const std::string& name : lines)
            set.AddInclude(folder, name);
    }
    return set;
}

std::string TranslationFileRefusal(CProjectDatabase& project, const fs::path& script, const fs::path& candidate)
{
    if (SameFile(candidate, script))
        return std::string(msg::TranslationFileIsSource);
    if (FilesProjectReads(project, script).Contains(candidate))
        return msg::Format(msg::TranslationFileIsProjectFile, {candidate.string()});
    return {};
}

ProjectFileSet FilesScriptReads(const fs::path& script)
{
    ProjectFileSet set;
    set.Add(script);
    DecodedScript decoded;
    std::string error;
    if (!LoadScriptFile(script, decoded, error))
        return set;
    CRcParser parser(std::move(decoded.text));
    CRcStatement statement;
    const fs::path folder = FolderOf(script);
    do {
        parser.ParseStatement(statement);
        if ((statement.kind == kind::Include || statement.kind == kind::RcInclude) && statement.HasText())
            set.AddInclude(folder, statement.SourceText());
    } while (statement.error == 0 && statement.kind != kind::EndOfInput);
    return set;
}

}  // namespace qln
