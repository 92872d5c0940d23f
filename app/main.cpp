// qln40: with batch switches it runs one batch operation and exits, without
// any window; otherwise it is the workbench.

#include "app/BatchCommandLine.h"
#include "app/BatchLog.h"
#include "app/BatchOperations.h"
#include "app/WorkbenchMain.h"
#include "rcscript/Messages.h"

#include <dlfcn.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

bool HasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

// The workbench lives in a module beside the executable, loaded only here:
// batch runs start without the window libraries.
int RunWorkbench(int argc, char** argv, const std::string& fileName)
{
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path module = (ec ? std::filesystem::path(".") : exe.parent_path()) / kWorkbenchModule;
    void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        PrintLine(stderr, qln::msg::Format(qln::msg::WorkbenchModuleMissing, {module.string(), dlerror()}));
        return qln::batchexit::Failed;
    }
    using Entry = int (*)(int, char**, const char*);
    auto entry = reinterpret_cast<Entry>(dlsym(handle, kWorkbenchEntry));
    if (!entry) {
        PrintLine(stderr, qln::msg::Format(qln::msg::WorkbenchModuleMissing, {module.string(), dlerror()}));
        return qln::batchexit::Failed;
    }
    // The module stays loaded until the process ends: Qt's objects live
    // until exit handlers run.
    return entry(argc, argv, fileName.c_str());
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
        if (HasDisplay())
            return RunWorkbench(argc, argv, info.fileName);
        // No window can open here: say how the program is used.
        PrintUsage(stdout);
        if (!info.fileName.empty()) {
            PrintLine(stderr, msg::Format(msg::WorkbenchNoDisplayFile, {info.fileName}));
            return batchexit::Failed;
        }
        PrintLine(stderr, msg::WorkbenchNoDisplay);
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
