#include "projectdb/ShortJournalNames.h"

#include <sqlite3.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <set>

namespace qln {

namespace {

sqlite3_vfs* g_system = nullptr;
sqlite3_vfs g_layer{};

// The engine keeps the name it opened a file by for the file's life (it syncs
// the folder by it), so every mapped name stays in this set.
const char* Keep(std::string name)
{
    static std::mutex mutex;
    static std::set<std::string> names;
    std::lock_guard guard(mutex);
    return names.insert(std::move(name)).first->c_str();
}

// The name to hand on: the engine's own pointer when nothing changes.
const char* Mapped(const char* name)
{
    if (!name)
        return name;
    const std::string path(name);
    const std::string mapped = ShortJournalName(path);
    return mapped == path ? name : Keep(mapped);
}

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    // The main database keeps its name (and its query parameters); only
    // the engine's side files can have names longer than the file they serve.
    const bool sideFile = (flags & SQLITE_OPEN_MAIN_DB) == 0;
    return g_system->xOpen(g_system, sideFile ? Mapped(name) : name, file, flags, outFlags);
}

int Delete(sqlite3_vfs*, const char* name, int syncDir)
{
    return g_system->xDelete(g_system, Mapped(name), syncDir);
}

int Access(sqlite3_vfs*, const char* name, int flags, int* result)
{
    return g_system->xAccess(g_system, Mapped(name), flags, result);
}

int FullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    return g_system->xFullPathname(g_system, name, size, out);
}

void* DlOpen(sqlite3_vfs*, const char* name) { return g_system->xDlOpen(g_system, name); }
void DlError(sqlite3_vfs*, int size, char* out) { g_system->xDlError(g_system, size, out); }
void (*DlSym(sqlite3_vfs*, void* handle, const char* symbol))(void)
{
    return g_system->xDlSym(g_system, handle, symbol);
}
void DlClose(sqlite3_vfs*, void* handle) { g_system->xDlClose(g_system, handle); }
int Randomness(sqlite3_vfs*, int size, char* out) { return g_system->xRandomness(g_system, size, out); }
int Sleep(sqlite3_vfs*, int micros) { return g_system->xSleep(g_system, micros); }
int CurrentTime(sqlite3_vfs*, double* now) { return g_system->xCurrentTime(g_system, now); }
int GetLastError(sqlite3_vfs*, int size, char* out) { return g_system->xGetLastError(g_system, size, out); }
int CurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* now) { return g_system->xCurrentTimeInt64(g_system, now); }

}  // namespace

std::string NameHash(std::string_view text)
{
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(h));
    return digits;
}

std::string ShortJournalName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    if (path.size() - start <= NAME_MAX)
        return path;
    // No '-' in the name: the system layer takes the text before a journal
    // name's last '-' for its database, to copy the database's permissions.
    return path.substr(0, start) + ".q" + NameHash(std::string_view(path).substr(start)) + ".journal";
}

void InstallShortJournalNames()
{
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_initialize();
        g_system = sqlite3_vfs_find(nullptr);
        if (!g_system)
            return;
        g_layer.iVersion = 2;
        g_layer.szOsFile = g_system->szOsFile;
        g_layer.mxPathname = g_system->mxPathname;
        g_layer.zName = "qln-short-journal";
        g_layer.xOpen = Open;
        g_layer.xDelete = Delete;
        g_layer.xAccess = Access;
        g_layer.xFullPathname = FullPathname;
        g_layer.xDlOpen = DlOpen;
        g_layer.xDlError = DlError;
        g_layer.xDlSym = DlSym;
        g_layer.xDlClose = DlClose;
        g_layer.xRandomness = Randomness;
        g_layer.xSleep = Sleep;
        g_layer.xCurrentTime = CurrentTime;
        g_layer.xGetLastError = GetLastError;
        g_layer.xCurrentTimeInt64 = CurrentTimeInt64;
        sqlite3_vfs_register(&g_layer, 1);
    });
}

}  // namespace qln
