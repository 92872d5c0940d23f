#include "projectdb/FileChecks.h"

#include "projectdb/Sql.h"
#include "rcscript/Messages.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace qln {

namespace fs = std::filesystem;

bool SameFile(const fs::path& a, const fs::path& b)
{
    struct stat sa {}, sb {};
    if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    std::error_code ec1, ec2;
    const fs::path ca = fs::weakly_canonical(fs::absolute(a, ec1), ec1);
    const fs::path cb = fs::weakly_canonical(fs::absolute(b, ec2), ec2);
    return !ec1 && !ec2 && ca == cb;
}

std::string NotARegularFileCause(const fs::path& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::strerror(errno);
    if (S_ISDIR(st.st_mode))
        return std::strerror(EISDIR);
    if (!S_ISREG(st.st_mode))
        return std::string(msg::NotARegularFile);
    return {};
}

std::string CauseLine(const fs::path& file, std::string_view cause)
{
    return msg::Format(msg::CauseLine, {file.string(), cause});
}

std::string CauseLine(const fs::path& file, int errnoValue)
{
    return CauseLine(file, std::strerror(errnoValue));
}

std::string CauseLine(const fs::path& file, sql::Database& db, const sql::Error& error)
{
    // Only these results come from a failed call of the system; after others
    // the system's error number is not defined.
    const int code = error.code();
    const bool fromSystem = code == SQLITE_CANTOPEN || code == SQLITE_IOERR || code == SQLITE_READONLY ||
                            code == SQLITE_PERM || code == SQLITE_FULL;
    const int systemError = fromSystem ? sqlite3_system_errno(db.handle()) : 0;
    return systemError != 0 ? CauseLine(file, systemError) : CauseLine(file, error.what());
}

std::string WithCause(std::string_view message, const fs::path& file, int errnoValue)
{
    return std::string(message) + "\n" + CauseLine(file, errnoValue);
}

namespace {

// The tables of the format, those read by every operation first.
constexpr std::string_view kProjectTables[] = {
    "Project", "Translations", "ResFileLine", "ResourceText", "IncludeFile", "Dialogs", "DialogControl",
    "DlgCaption", "Menu", "MenuItem", "StringtableString", "Bitmap", "Version", "VersionBlockHeader",
    "VersionBlockValues", "Source File Language", "Settings", "Bookmark", "QueryCatalogue",
};
constexpr std::size_t kReadTableCount = 5;

}  // namespace

std::vector<std::string> MissingProjectTables(sql::Database& db, TableNeed need)
{
    std::vector<std::string> missing;
    sql::Statement st = db.prepare("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    const std::size_t count = need == TableNeed::Read ? kReadTableCount : std::size(kProjectTables);
    for (std::size_t i = 0; i < count; ++i) {
        st.reset();
        st.bind(1, kProjectTables[i]);
        if (!st.step())
            missing.emplace_back(kProjectTables[i]);
    }
    return missing;
}

std::vector<std::string> MissingProjectTables(const fs::path& database, TableNeed need)
{
    try {
        sql::Database db(database, sql::Database::Mode::ReadOnly);
        return MissingProjectTables(db, need);
    } catch (const sql::Error&) {
        const std::size_t count = need == TableNeed::Read ? kReadTableCount : std::size(kProjectTables);
        return {std::begin(kProjectTables), std::begin(kProjectTables) + count};
    }
}

std::string MissingTablesLine(const std::vector<std::string>& tables)
{
    return msg::Format(msg::MissingTables, {msg::JoinLines(tables, ", ")});
}

}  // namespace qln
