#pragma once
// Helpers shared by the update tests: scripts rewritten with a newer stamp,
// translations stored through the record layer, and whole databases read
// back as rows for comparison.

#include "build_support.h"
#include "project/ProjectUpdate.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace qln::test {

inline constexpr int kGerman = 7, kGermanSub = 1;

// Writes `text` over the script and makes its stamp newer than before.
void RewriteScript(const std::filesystem::path& script, const std::string& text);
// Moves the file's last-write time `seconds` forward.
void MakeNewer(const std::filesystem::path& file, int seconds = 4);

UpdateResult Update(const std::filesystem::path& script, const std::filesystem::path& database,
                    Progress* progress = nullptr);

// Adds German to the project and translates every text that is not empty
// into the text reversed (a marker no source text has by chance).
void TranslateAll(const std::filesystem::path& database);
std::string Reversed(std::string text);

// Every table of the database as sorted rows, keyed by table name. Project
// leaves out its stamp and status when `withStamp` is false.
using Dump = std::map<std::string, std::vector<Row>>;
Dump DumpDatabase(const std::filesystem::path& database, bool withStamp = true);

// The texts by LineIndex: source, translation, flag, old source.
struct TextState {
    std::string source, german, flag, old;
    friend bool operator==(const TextState&, const TextState&) = default;
};
std::map<std::string, TextState> Texts(const std::filesystem::path& database);

}  // namespace qln::test
