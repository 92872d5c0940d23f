#pragma once
// Where a batch operation reports: the log file named on the command line
// (created anew), with every error on standard error as well; without a log
// file, messages go to standard output and errors to standard error, each
// once.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace qln {

class BatchLog {
public:
    // Messages to standard output.
    BatchLog();
    // Messages to `file`, created anew; Opened() tells whether that worked.
    explicit BatchLog(const std::filesystem::path& file);

    bool Opened() const { return out_ != nullptr; }

    // One message followed by a line break.
    void Info(std::string_view message);
    // An error: into the log file and on standard error, or without a log
    // file on standard error alone.
    void Error(std::string_view message);

private:
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::FILE* out_ = nullptr;
};

}  // namespace qln
