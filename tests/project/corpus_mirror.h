#pragma once
// A writable mirror of the corpus, for tests that write scripts beside the
// real ones so that their includes and relative file names resolve.

#include <filesystem>
#include <set>
#include <string>
#include <utility>

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

}  // namespace qln::test
