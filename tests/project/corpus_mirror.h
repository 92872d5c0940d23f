#pragma once
// A writable mirror of the corpus, for tests that write scripts beside the
// real ones so that their includes and relative file names resolve.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace qln::test {

// A tree beside the corpus in which a folder can be made writable: the folder
// and its ancestors become real folders whose other entries are links to the
// originals, so that relative names (also "..\") reach the same files.
class MirrorTree {
public:
    MirrorTree(std::filesystem::path original, std::filesystem::path root)
        : original_(std::move(original)), root_(std::move(root))
    {
    }

    std::filesystem::path Writable(const std::filesystem::path& dir)
    {
        std::filesystem::path relative = std::filesystem::relative(dir, original_);
        std::filesystem::path current;
        Expand(current);
        for (const std::filesystem::path& part : relative) {
            const std::filesystem::path next = current / part;
            if (std::filesystem::is_symlink(root_ / next)) {
                std::filesystem::remove(root_ / next);
                std::filesystem::create_directory(root_ / next);
                Expand(next);
            }
            current = next;
        }
        return root_ / current;
    }

private:
    void Expand(const std::filesystem::path& relative)
    {
        if (!expanded_.insert(relative.string()).second)
            return;
        std::filesystem::create_directories(root_ / relative);
        for (const auto& entry : std::filesystem::directory_iterator(original_ / relative)) {
            const std::filesystem::path link = root_ / relative / entry.path().filename();
            if (!std::filesystem::exists(std::filesystem::symlink_status(link)))
                std::filesystem::create_symlink(entry.path(), link);
        }
    }

    std::filesystem::path original_, root_;
    std::set<std::string> expanded_;
};

// Pairs of scripts (a corpus script and one written from it) to compile with
// a real resource compiler and compare (tests/project/compare_compiled.py).
class CompiledPairs {
public:
    CompiledPairs(std::filesystem::path corpus, std::filesystem::path work)
        : corpus_(std::move(corpus)), work_(std::move(work)), manifest_(work_ / "manifest.txt")
    {
    }

    // Adds a pair; windirstat's scripts get the include folders its build uses.
    void Add(const std::string& key, const std::filesystem::path& source, const std::filesystem::path& written)
    {
        std::string incdirs;
        if (key.rfind("windirstat/", 0) == 0) {
            const std::filesystem::path base = corpus_ / "windirstat" / "windirstat";
            incdirs = (base / "..").string() + ";" + base.string() + ";" + (base / "res").string();
        }
        manifest_ << key << '\t' << source.string() << '\t' << written.string() << '\t' << incdirs << '\n';
    }

    struct Result {
        std::string key, status, detail;  // status: same, differ, first-fails or second-fails
    };
    // Compiles every pair (two at a time); nothing when the comparison could not run.
    std::vector<Result> Compare()
    {
        manifest_.close();
        const std::filesystem::path results = work_ / "results.txt";
        const std::string command =
            "python3 " + Quote(std::filesystem::path(QLN_SOURCE_DIR) / "tests/project/compare_compiled.py") + " " +
            Quote(corpus_.parent_path() / "tools") + " " + Quote(work_ / "manifest.txt") + " " + Quote(results) + " 2";
        std::vector<Result> out;
        if (std::system(command.c_str()) != 0)
            return out;
        std::ifstream in(results);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            Result r;
            std::getline(fields, r.key, '\t');
            std::getline(fields, r.status, '\t');
            std::getline(fields, r.detail);
            out.push_back(std::move(r));
        }
        return out;
    }

private:
    static std::string Quote(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

    std::filesystem::path corpus_, work_;
    std::ofstream manifest_;
};

}  // namespace qln::test
