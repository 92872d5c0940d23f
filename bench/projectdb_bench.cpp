// Stores N script lines with their texts (line-index allocation included) in
// a fresh copy of the template, then reads them back in script order, and
// times per-line lookups. Usage: projectdb_bench [lines] (default 1,000,000).

#include "BenchSupport.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Statements.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using qln::bench::Clock;
using qln::bench::SecondsSince;

void report(const char* what, std::size_t rows, double seconds)
{
    std::printf("%-44s %9zu %8.2f s %12.0f per s\n", what, rows, seconds, rows / seconds);
}

}  // namespace

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    const std::size_t lines = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000000;
    const fs::path templatePath = qln::bench::ExecutableFolder() / "qlndb8.mdb";
    const qln::bench::WorkFolder dir("projectdb-bench");
    const fs::path file = dir / "bench_rc.mdb";
    fs::copy_file(templatePath, file, fs::copy_options::overwrite_existing);

    try {
        qln::CProjectDatabase pdb(file);
        qln::LineIndexSet used;
        pdb.LoadLineIndexes(used);

        // Store: allocate an index, append the line and its text.
        auto start = Clock::now();
        {
            qln::sql::Transaction transaction(pdb.db());
            std::uint32_t next = 10;
            std::string before, text;
            for (std::size_t i = 0; i < lines; ++i) {
                const std::uint32_t index = qln::CProjectDatabase::AllocateLineIndex(used, next);
                used.insert(index);
                next = index;
                before = "IDS_STRING" + std::to_string(i) + " \"";
                text = "Text of string number " + std::to_string(i);
                pdb.AppendLine(static_cast<std::int32_t>(index), static_cast<std::int32_t>(i + 1), 0, 70, before,
                               "\"");
                pdb.AppendText(static_cast<std::int32_t>(index), text, false);
            }
            transaction.commit();
        }
        report("append line + text (allocation included)", lines, SecondsSince(start));  // 2 rows each

        // Allocation alone when every index from 10 up is taken and each
        // search starts at 10 again: the linear rule would scan the set.
        start = Clock::now();
        std::uint64_t sum = 0;
        for (std::size_t i = 0; i < lines; ++i)
            sum += used.allocate(10);
        report("allocate from start 10 in a full set", lines, SecondsSince(start));

        // Read back in script order.
        start = Clock::now();
        std::size_t rows = 0, bytes = 0;
        auto& texts = pdb.Query("ResourceTextTable");
        while (texts.step()) {
            bytes += texts.columnText(1).size();
            ++rows;
        }
        texts.reset();
        report("read texts in script order", rows, SecondsSince(start));

        start = Clock::now();
        rows = 0;
        auto& all = pdb.Query(qln::stmt::LinesInOrder);
        while (all.step()) {
            bytes += all.columnText(3).size();
            ++rows;
        }
        all.reset();
        report("read lines in script order", rows, SecondsSince(start));

        // Per-line lookups through the stored queries.
        const std::size_t lookups = std::min<std::size_t>(lines, 100000);
        start = Clock::now();
        for (std::size_t i = 0; i < lookups; ++i) {
            auto index = static_cast<std::int32_t>(10 + (i * 7919) % lines);
            if (pdb.GetLineKind(index) != 70)
                throw std::runtime_error("lookup failed");
        }
        report("look up the kind of a line", lookups, SecondsSince(start));

        start = Clock::now();
        for (std::size_t i = 0; i < lookups; ++i) {
            auto index = static_cast<std::int32_t>(10 + (i * 7919) % lines);
            auto record = pdb.OpenQuery("GetResTextRecord_ByLine", {{"LineIndex", index}});
            if (record.empty())
                throw std::runtime_error("text lookup failed");
        }
        report("read the text record of a line", lookups, SecondsSince(start));
        std::printf("(checksum %llu, %zu bytes read, file %ju bytes)\n", static_cast<unsigned long long>(sum), bytes,
                    static_cast<std::uintmax_t>(fs::file_size(file)));
    } catch (const qln::sql::Error& e) {
        std::fprintf(stderr, "%s\n", qln::DatabaseErrorMessage(e).c_str());
        return 1;
    }
    return 0;
}
