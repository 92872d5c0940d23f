#pragma once
// Writing a finished script file in one step: the bytes go to a temporary file
// beside the target, which replaces the target only when everything was
// written and flushed. Failures come back as the file error causes of the
// writer (see TranslationWriter.h).

#include <filesystem>
#include <string_view>

namespace qln {

struct FileWriteOutcome {
    int cause = 0;         // filecause::None when written
    bool badPath = false;  // the path names no place a file can be written to
    int errnoValue = 0;    // the system's error, for logs
};

// Replaces `target` by `bytes`. On any failure the target is untouched and no
// temporary file is left behind.
FileWriteOutcome WriteFileReplacing(const std::filesystem::path& target, std::string_view bytes);

}  // namespace qln
