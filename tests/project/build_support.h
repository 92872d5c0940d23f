#pragma once
// Helpers shared by the build tests: scripts written into temporary folders,
// built into real project databases, and rows read back as text.

#include "projectdb/temp_project.h"
#include "project/ProjectBuild.h"

#include <filesystem>
#include <string>
#include <vector>

namespace qln::test {

using Row = std::vector<std::string>;

// The rows of a query on a database file, every field as text ("NULL" for null).
std::vector<Row> Rows(const std::filesystem::path& database, const std::string& query);
// The first field of the first row ("" when there is no row).
std::string Value(const std::filesystem::path& database, const std::string& query);

// Writes `text` to dir/name and builds its database (dir/name_rc.mdb style)
// from the real template.
BuildResult BuildText(const TempDir& dir, const std::string& text, const std::string& name = "app.rc");
BuildResult BuildFile(const std::filesystem::path& script, const std::filesystem::path& database,
                      Progress& progress = NoProgress());

// The kinds of the stored lines in script order.
std::vector<int> Kinds(const std::filesystem::path& database);

}  // namespace qln::test
