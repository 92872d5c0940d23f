#pragma once
// Building a project database from a resource script: every statement becomes
// a ResFileLine row, every text a ResourceText row, and every dialog, control,
// caption, menu, menu item, string, bitmap, version resource, block, value and
// LANGUAGE statement a row of its kind's table, all joined by the line's
// LineIndex. The whole build runs in one transaction.

#include "project/Progress.h"
#include "project/ScriptReader.h"
#include "projectdb/Lifecycle.h"
#include "rcscript/RcStatement.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class CProjectDatabase;

// The per-line step of a build: each statement is a new line.
class BuildLineStore final : public LineStore {
public:
    explicit BuildLineStore(CProjectDatabase& db) : db_(db) {}
    std::uint32_t StoreLine(const CRcStatement& statement, const CRcParser& parser, std::int32_t line,
                            ScriptReader& reader) override;

private:
    void AppendKindRow(const CRcStatement& statement, const CRcParser& parser, std::int32_t lineIndex);

    CProjectDatabase& db_;
};

// What a build left to tell.
struct BuildReport {
    int code = 0;                // 0 or the failure's code (parser, file, database)
    std::string message;         // text to show for a failure; empty: fail without message
    std::vector<std::string> missingIncludes;
    std::vector<UnrecognisedLine> unrecognisedLines;
    std::string warning;         // the missing include files and unrecognised lines, when there are any
    int stopLine = 0;            // physical line where reading stopped (error or unknown character)
    std::int32_t lines = 0;      // statements read (the last Line)
};

// Fills an open, empty project database from the script, in one transaction
// that is committed only when the whole script was read. Returns 0 or the
// failure's code; `report` receives the details.
int BuildFromScript(const std::filesystem::path& script, CProjectDatabase& db, Progress& progress = NoProgress(),
                    BuildReport* report = nullptr);

// The text shown for a build's result code (empty for success, for lack of
// memory and for a cancelled build). `stopLine`, when known, is added for
// parser errors.
std::string BuildErrorMessage(int code, std::string_view script, int stopLine);

// The message listing include files that could not be read.
std::string MissingIncludesMessage(const std::vector<std::string>& paths);

// What a reading of a script warns of: the include files that could not be
// read, then one line per dialog line kept without being understood. Empty
// when there is nothing to tell.
std::string ReadingWarning(const std::vector<std::string>& missingIncludes,
                           const std::vector<UnrecognisedLine>& unrecognisedLines);

struct BuildResult {
    std::unique_ptr<CProjectDatabase> database;  // the opened or new database
    bool created = false;
    std::int32_t fileVersion = 0;
    int code = 0;           // the build's or the engine's code when it failed
    std::string message;    // text to show on failure (may be empty)
    BuildReport report;     // details of the build, when one ran

    bool ok() const noexcept { return database != nullptr; }
};

// The document's operation: opens the database when it exists; otherwise
// copies the template, builds the database from the script and writes the
// Project row (source path, stamp, version 8, Status 1, option flags). A
// failed build leaves no database file behind.
BuildResult BuildProjectDatabase(const std::filesystem::path& script, const std::filesystem::path& database,
                                 Progress& progress = NoProgress(),
                                 const std::filesystem::path& templatePath = DefaultTemplatePath(),
                                 const ProjectOptions& options = {});

}  // namespace qln
