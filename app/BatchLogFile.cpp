// The check of the log file name before the log is created (and so any file
// of that name emptied).

#include "app/BatchCommandLine.h"
#include "app/BatchOperations.h"
#include "project/ImportScript.h"
#include "project/ProjectFiles.h"
#include "projectdb/FileChecks.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "rcscript/Messages.h"

namespace qln {

namespace fs = std::filesystem;

namespace {

// The parameters that name files. Without exactly one known command every
// parameter might be one.
std::vector<fs::path> CommandFiles(const CBatchCommandLineInfo& info)
{
    const BatchSwitchEntry* entry = info.switches.size() == 1 ? FindBatchSwitch(info.switches.front()) : nullptr;
    const BatchOperation* op = entry ? FindOperation(entry->commandId) : nullptr;
    std::vector<fs::path> files;
    for (std::size_t i = 0; i < info.params.size(); ++i)
        if (!op || (i < 32 && (op->fileParams & (1u << i)) != 0))
            files.emplace_back(info.params[i]);
    return files;
}

bool IsResourceScript(const fs::path& file)
{
    std::error_code ec;
    return fs::is_regular_file(file, ec) && ClassifyImportFile(file) == ImportFileType::Script;
}

// The files of the project `file` belongs to, when it is a project database
// or a resource script (whose database may be about to be created).
ProjectFileSet ProjectFilesOf(const fs::path& file)
{
    if (IsProjectDatabase(file)) {
        try {
            CProjectDatabase project(file, sql::Database::Mode::ReadOnly);
            return FilesProjectReads(project, ScriptOfDatabase(file));
        } catch (const sql::Error&) {
            // A damaged database is the command's to report; its name is checked anyway.
        }
    }
    ProjectFileSet files;
    if (IsResourceScript(file)) {
        files = FilesScriptReads(file);
        files.Add(LongDatabasePath(file));
        files.Add(ShortDatabasePath(file));
    }
    return files;
}

}  // namespace

std::string LogFileRefusal(const CBatchCommandLineInfo& info)
{
    const fs::path log = info.logFileName;
    for (const fs::path& file : CommandFiles(info)) {
        if (SameFile(log, file) || ProjectFilesOf(file).Contains(log))
            return msg::Format(msg::BatchLogIsCommandFile, {log.string()});
    }
    if (IsProjectDatabase(log) || IsResourceScript(log))
        return msg::Format(msg::BatchLogIsProjectFile, {log.string()});
    return {};
}

}  // namespace qln
