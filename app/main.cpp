// qln40: with batch switches it runs one batch operation and exits, without
// any window; otherwise it is the workbench.

#include "app/BatchCommandLine.h"
#include "app/BatchLog.h"
#include "app/BatchOperations.h"
#include "rcscript/Messages.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

void PrintLine(std::FILE* out, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), out);
    std::fputc('\n', out);
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace qln;
    const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    for (const std::string& word : words) {
        if (IsHelpWord(word)) {
            PrintUsage(stdout);
            return batchexit::Ok;
        }
    }

    CBatchCommandLineInfo info;
    ParseCommandLine(words, info);

    if (!info.IsBatch()) {
        // The workbench window comes with the interface; until then say how
        // the program is used.
        PrintUsage(stdout);
        if (!info.fileName.empty()) {
            PrintLine(stderr, msg::Format(msg::BatchNoWorkbench, {info.fileName}));
            return batchexit::Failed;
        }
        return batchexit::Ok;
    }

    // The log is created anew: a name that would empty a file of the
    // command or of a project is refused before anything is written.
    if (!info.logFileName.empty()) {
        if (const std::string refusal = LogFileRefusal(info); !refusal.empty()) {
            PrintLine(stderr, refusal);
            return batchexit::Usage;
        }
    }

    if (info.hasUnknownSwitch) {
        const std::string text = msg::Format(msg::BatchUnknownCommandFlag, {info.unknownSwitch});
        std::fwrite(text.data(), 1, text.size(), stderr);
        if (!info.logFileName.empty()) {
            BatchLog log{std::filesystem::path(info.logFileName)};
            log.Info(msg::Format(msg::BatchUnknownFlag, {info.unknownSwitch}));
        }
        return batchexit::Usage;
    }

    if (info.logFileName.empty()) {
        BatchLog log;
        return RunBatchCommand(info, log);
    }
    BatchLog log{std::filesystem::path(info.logFileName)};
    if (!log.Opened()) {
        PrintLine(stderr, msg::Format(msg::BatchCannotWriteFile, {info.logFileName, std::strerror(errno)}));
        return batchexit::Failed;
    }
    return RunBatchCommand(info, log);
}
