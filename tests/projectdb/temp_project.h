#pragma once
// Test helpers beside db_fixture.h: template copies at a given path, a
// folder's file names, and a file's bytes.

#include "db_fixture.h"
#include "projectdb/Lifecycle.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qln::test {

// A copy of the template at `path`.
inline void CopyTemplateTo(const std::filesystem::path& path)
{
    std::filesystem::copy_file(TemplatePath(), path, std::filesystem::copy_options::overwrite_existing);
}

// Names of the files in a folder, sorted.
inline std::vector<std::string> FilesIn(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The first column of the first row of a query.
inline std::int64_t CountOf(sql::Database& db, const std::string& sqlText)
{
    sql::Statement st = db.prepare(sqlText);
    st.step();
    return st.columnInt64(0);
}

// Appends `count` lines with texts from line index 10 on, in one transaction.
inline void AppendTextLines(CProjectDatabase& db, int count, std::size_t width)
{
    sql::Transaction t(db.db());
    for (int i = 0; i < count; ++i) {
        db.AppendLine(10 + i, i, 0, 70, std::string(width, 'x'), "");
        db.AppendText(10 + i, "text " + std::to_string(i), false);
    }
    t.commit();
}

// A database from the template with `count` text lines of which every second
// line was deleted again, so that compaction has space to give back.
inline void MakeFragmentedDatabase(const std::filesystem::path& path, int count, std::size_t width)
{
    CopyTemplateTo(path);
    CProjectDatabase db(path);
    AppendTextLines(db, count, width);
    db.db().exec("DELETE FROM ResFileLine WHERE LineIndex % 2 = 0");
}

inline std::string FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A request to open demo.rc (an empty script) in `dir` with the built template.
inline OpenRequest DemoRequest(const TempDir& dir)
{
    OpenRequest request;
    request.script = dir / "demo.rc";
    request.database = dir / "demo_rc.mdb";
    request.templatePath = TemplatePath();
    WriteFile(request.script, "");
    return request;
}

}  // namespace qln::test
