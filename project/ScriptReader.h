#pragma once
// The statement loop shared by building a project database and updating it:
// a script is parsed statement by statement, every statement is numbered
// (ResFileLine.Line) and handed to a LineStore, which stores it (build) or
// merges it into the rows already there (update). Include lines naming a file
// of the project's include list are followed: the included file is read in
// place of the include line: its lines take the numbers from the include
// line's on, and the lines behind it continue after them.
//
// Paths are resolved explicitly (the process's current directory is never
// changed): an include name is taken relative to the directory of the file
// that names it, with backslashes as separators and, when the exact path does
// not exist, a case-insensitive match.

#include "projectdb/LineIndexSet.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class CProjectDatabase;
class CRcParser;
class Progress;
struct CRcStatement;
struct DecodedScript;

enum class ReadMode { Build = 0, Update = 1 };

// Reading codes besides the parser's (rcerr in RcParser.h).
inline constexpr int kReadCancelled = -89;  // the user cancelled

// Longest include name that is followed, in bytes.
inline constexpr std::size_t kMaxIncludeName = 260;
// Deepest nesting of followed includes.
inline constexpr int kMaxIncludeDepth = 32;

// A line of a dialog body that no rule understood: stored as it is, without
// texts to translate, and named to the user.
struct UnrecognisedLine {
    std::string file;  // the script or include file, as the reader names it
    int line = 0;      // its physical line
};

// An identifier row of the database: a resource and its line.
struct IdentifiedLine {
    std::uint32_t lineIndex = 0;
    std::string nameId;
};

// Rows already in the database that an update looks lines up in (dialogs,
// menus, strings, version resources); a build leaves them empty.
struct ReadCaches {
    std::vector<IdentifiedLine> dialogs, menus, strings, versions;
};

class ScriptReader;

// The per-line step of the loop.
class LineStore {
public:
    virtual ~LineStore() = default;
    // Stores `statement`, numbered `line`, and returns the LineIndex the line
    // has now. New line indexes come from reader.NewLineIndex(). The parser
    // gives the nesting depth the statement was read at.
    virtual std::uint32_t StoreLine(const CRcStatement& statement, const CRcParser& parser, std::int32_t line,
                                    ScriptReader& reader) = 0;
    // Reading an include file starts; when it fails, IncludeAbandoned follows
    // and the store forgets what it kept in memory since IncludeStarted (the
    // reader has already taken back the rows and line indexes).
    virtual void IncludeStarted() {}
    virtual void IncludeAbandoned() {}
    // Reading the include file succeeded (includes nest: each IncludeStarted
    // is closed by exactly one IncludeFinished or IncludeAbandoned).
    virtual void IncludeFinished() {}
};

// Runs inside the caller's transaction: an include file that fails half way
// is taken back through a savepoint.
class ScriptReader {
public:
    // `used` holds the line indexes already in the database; it grows as
    // indexes are handed out.
    ScriptReader(CProjectDatabase& db, LineIndexSet& used, LineStore& store, ReadMode mode, Progress& progress);

    // Include lines whose file name, upper-cased, contains one of these
    // entries (compared upper-cased; empty entries are ignored) are followed.
    void SetIncludeExtensions(const std::vector<std::string>& extensions);
    ReadCaches& caches() noexcept { return caches_; }
    ReadMode mode() const noexcept { return mode_; }
    CProjectDatabase& database() noexcept { return db_; }

    // Reads the top-level script: decodes it (byte-order mark, code page) and
    // runs the statement loop with the counter at 0. Returns 0, kReadCancelled,
    // rcerr::CantOpen (openError() tells why) or the parser's error code.
    int ReadFile(const std::filesystem::path& script);
    // The same for a script the caller has already read and decoded.
    int ReadDecoded(const std::filesystem::path& script, const DecodedScript& decoded);

    // The statement loop over one decoded file whose includes resolve against
    // `directory`. The counter starts at `startCounter`; each statement parsed
    // increments it and is stored under the new value.
    int ReadScriptFile(const std::string& text, const std::filesystem::path& directory, std::int32_t startCounter);

    // The smallest free line index at or above the current file's candidate;
    // it is taken into the used set and the candidate moves past it.
    std::uint32_t NewLineIndex();

    // --- After reading ------------------------------------------------------------
    // Full paths of include files that could not be read.
    const std::vector<std::string>& missingIncludes() const noexcept { return missing_; }
    bool includesMissing() const noexcept { return !missing_.empty(); }
    // Dialog lines that were kept without being understood, in reading order.
    const std::vector<UnrecognisedLine>& unrecognisedLines() const noexcept { return unrecognised_; }
    // Bytes of all files read (the progress total).
    std::uint64_t byteTotal() const noexcept { return total_; }
    // The statement counter: the Line of the last statement read.
    std::int32_t counter() const noexcept { return counter_; }
    // Physical line of the statement that stopped reading with an error, or of
    // the unknown character that ended it early (0 when neither happened).
    int stopLine() const noexcept { return stopLine_; }
    const std::string& openError() const noexcept { return openError_; }
    // The file whose statements are being read (its canonical path); empty
    // when none is.
    std::filesystem::path currentFile() const;

private:
    struct FileCursor;

    bool WantsInclude(const CRcStatement& statement) const;
    // Reads the include in place of the include line; false when it could not
    // be read (the line is then stored as it is).
    bool FollowInclude(const CRcStatement& statement, const std::filesystem::path& directory);
    // Moves the cursor to a physical line, reports and polls for cancelling.
    void Advance(FileCursor& cursor, int sourceLine);

    CProjectDatabase& db_;
    LineIndexSet& used_;
    LineStore& store_;
    ReadMode mode_;
    Progress& progress_;
    ReadCaches caches_;
    std::vector<std::string> extensions_;
    std::vector<std::filesystem::path> openFiles_;  // the file being read and the files including it

    std::int32_t counter_ = 0;
    std::uint32_t candidate_ = 10;
    std::uint32_t firstIndex_ = 0;  // first line index stored for the current file (0 = none yet)
    std::uint64_t total_ = 0;
    std::uint64_t position_ = 0;
    bool cancelled_ = false;
    std::vector<std::string> missing_;
    std::vector<UnrecognisedLine> unrecognised_;
    std::string currentFile_;  // the file being read, for unrecognised_
    int stopLine_ = 0;
    std::string openError_;
};

// "a\\\\b.h" -> "a\\b.h": doubled backslashes of an include name collapsed.
std::string CollapseBackslashes(std::string_view name);

}  // namespace qln
