// The project databases a batch command works on, locked for the whole
// command: shared for those it only reads, exclusive for those it writes.

#include "app/BatchOperations.h"

#include "app/BatchCommandLine.h"
#include "app/BatchLog.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectFileLock.h"
#include "projectdb/SafeFile.h"
#include "rcscript/Messages.h"

#include <algorithm>

namespace qln {

namespace fs = std::filesystem;

namespace {

struct LockNeed {
    fs::path database;  // as named on the command line
    fs::path resolved;
    LockMode mode;
};

std::vector<LockNeed> LocksOfCommand(int commandId, const std::vector<std::string>& params)
{
    std::vector<LockNeed> needs;
    auto need = [&needs](const fs::path& file, LockMode mode) {
        // Scripts, workbooks and other files are no project to lock.
        if (HasDatabaseExtension(file))
            needs.push_back({file, ResolvedTarget(file), mode});
    };
    // D and U name the database last when they name a script first.
    const std::string& scriptOrDatabase = params.size() < 2 ? params[0] : params[1];
    switch (commandId) {
    case batchcmd::Translated:
    case batchcmd::HasLanguage:
        need(params[0], LockMode::Shared);
        break;
    case batchcmd::UpToDate:
        need(scriptOrDatabase, LockMode::Shared);
        break;
    case batchcmd::Update:
        need(scriptOrDatabase, LockMode::Exclusive);
        break;
    case batchcmd::AddLang:
    case batchcmd::WriteRc:  // records the written file's name and stamp
    case batchcmd::Compact:
        need(params[0], LockMode::Exclusive);
        break;
    case batchcmd::CreateDb:
        if (!HasDatabaseExtension(params[0]))
            need(DatabasePathForScript(params[0]), LockMode::Exclusive);
        break;
    case batchcmd::Export:
        need(params[0], LockMode::Shared);
        need(params[1], LockMode::Exclusive);
        break;
    case batchcmd::Import:
        need(params[0], LockMode::Shared);
        need(params[2], LockMode::Exclusive);
        break;
    default:
        break;
    }
    // One lock per file, the stronger mode, always taken in the same order so
    // that two commands on the same two files cannot wait for each other.
    std::sort(needs.begin(), needs.end(), [](const LockNeed& a, const LockNeed& b) {
        return a.resolved != b.resolved ? a.resolved < b.resolved : a.mode > b.mode;
    });
    needs.erase(std::unique(needs.begin(), needs.end(),
                            [](const LockNeed& a, const LockNeed& b) { return a.resolved == b.resolved; }),
                needs.end());
    return needs;
}

}  // namespace

std::optional<std::vector<ProjectFileLock>> LockCommandFiles(int commandId, const std::vector<std::string>& params,
                                                             BatchLog& log)
{
    std::vector<ProjectFileLock> locks;
    if (params.empty())
        return locks;
    for (const LockNeed& need : LocksOfCommand(commandId, params)) {
        ProjectFileLock lock = ProjectFileLock::Take(need.database, need.mode);
        if (lock.status() == LockStatus::InUse) {
            log.Error(msg::Format(msg::BatchDatabaseInUse, {need.database.string()}));
            return std::nullopt;
        }
        // Without a lock file (a missing or read-only folder) the command
        // reports the folder itself; nobody can write a project there.
        if (lock.held())
            locks.push_back(std::move(lock));
    }
    return locks;
}

}  // namespace qln
