#pragma once
// Questions about files that the operations ask before they change anything,
// and the cause lines their failure messages end with.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

namespace sql {
class Database;
class Error;
}

// The same file: device and inode when both exist (hard links, symbolic
// links, "." and ".." all meet there), else the paths after resolving what
// exists of them.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Why `path` is no regular file, as the system reports it ("No such file or
// directory", "Is a directory", ...); empty when it is one.
std::string NotARegularFileCause(const std::filesystem::path& path);

// The line that follows a failure message: the file and the cause, as the
// system reports it.
std::string CauseLine(const std::filesystem::path& file, std::string_view cause);
std::string CauseLine(const std::filesystem::path& file, int errnoValue);
// The cause of a failed statement on `db`: the system's error when the
// engine met one (a file it could not create), else the engine's message.
std::string CauseLine(const std::filesystem::path& file, sql::Database& db, const sql::Error& error);

// Which tables an operation needs: those of the text table and the change
// test to read a project, every table of the format to change or copy one.
enum class TableNeed { Read, All };

// The tables of `need` that the database lacks (a damaged project), in the
// order of the format; empty for a whole one.
std::vector<std::string> MissingProjectTables(sql::Database& db, TableNeed need);
// The same for a database file; every table when it cannot be read at all.
std::vector<std::string> MissingProjectTables(const std::filesystem::path& database, TableNeed need);
// The line naming missing tables, for the message that refuses the database.
std::string MissingTablesLine(const std::vector<std::string>& tables);

// `message` followed by its cause line.
std::string WithCause(std::string_view message, const std::filesystem::path& file, int errnoValue);

}  // namespace qln
