#pragma once
// The batch operations of qln40, one function per command switch, and the
// dispatch that checks the command line and runs the one operation it names.
// Every function logs its messages and returns a process exit code
// (batchexit in BatchSupport.h).

#include "app/BatchSupport.h"
#include "projectdb/ProjectFileLock.h"

#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class CBatchCommandLineInfo;

int RunIsTranslated(const BatchRun& run);   // /T  db language
int RunIsUpToDate(const BatchRun& run);     // /D  db  or  /D rc db
int RunHasLanguage(const BatchRun& run);    // /L  db language
int RunCreateDb(const BatchRun& run);       // /C  rc
int RunAddLang(const BatchRun& run);        // /A  db language file [code page]
int RunWriteRc(const BatchRun& run);        // /RC db language file
int RunListLids(const BatchRun& run);       // /LIDS file
int RunCompact(const BatchRun& run);        // /COMP db
// Operations provided by the update and exchange parts (BatchExchange.cpp).
int RunUpdate(const BatchRun& run);         // /U  db  or  /U rc db
int RunExport(const BatchRun& run);         // /E  from to [languages]
int RunImport(const BatchRun& run);         // /I  from language to

struct BatchOperation {
    int commandId;
    std::string_view usage;       // the usage line shown with a missing parameter
    std::string_view usageExtra;  // a second usage line, or empty
    int maxParams;                // -1: any number
    unsigned fileParams;          // bit i set: parameter i names a file
    int (*run)(const BatchRun&);
};

// Every command switch's operation, in the order of the usage text.
std::span<const BatchOperation> BatchOperations();
// The operation of a command id; nullptr for LOG and unknown ids.
const BatchOperation* FindOperation(int commandId);

// Runs the one operation the command line names: checks that there is one
// command and that its parameters are complete, then calls it. A database
// failure that reaches here is logged and ends as a failed operation.
int RunBatchCommand(const CBatchCommandLineInfo& info, BatchLog& log);

// Locks the project databases the command works on for its whole run:
// shared for those it reads, exclusive for those it writes. Nothing (and a
// logged "in use by another process") when another process holds one past
// the wait.
std::optional<std::vector<ProjectFileLock>> LockCommandFiles(int commandId, const std::vector<std::string>& params,
                                                             BatchLog& log);

// Why the log file the command line names must not be created (it is
// created anew): the message, or empty when it may be. Refused are the files
// the command reads or writes, the files of the projects it works on (script,
// includes, database), and any existing project database or resource script.
std::string LogFileRefusal(const CBatchCommandLineInfo& info);

// The usage lines of every command.
void PrintUsage(std::FILE* out);

}  // namespace qln
