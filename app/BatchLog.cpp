#include "app/BatchLog.h"

namespace qln {

namespace {

void WriteLine(std::FILE* out, std::string_view message)
{
    std::fwrite(message.data(), 1, message.size(), out);
    std::fputc('\n', out);
    std::fflush(out);
}

}  // namespace

BatchLog::BatchLog() : out_(stdout) {}

BatchLog::BatchLog(const std::filesystem::path& file) : file_(std::fopen(file.c_str(), "wb"))
{
    out_ = file_.get();
}

void BatchLog::Info(std::string_view message)
{
    if (out_)
        WriteLine(out_, message);
}

void BatchLog::Error(std::string_view message)
{
    if (file_)
        Info(message);
    WriteLine(stderr, message);
}

}  // namespace qln
