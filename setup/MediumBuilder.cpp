#include "setup/MediumBuilder.h"

#include "setup/MediaTable.h"
#include "setup/SetupMessages.h"
#include "setup/Szdd.h"

#include "rcscript/Messages.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

namespace qln::setup {

namespace fs = std::filesystem;
using qln::msg::Format;

namespace {

fs::path OriginPath(const MediumSources& sources, const MediumFile& file)
{
    switch (file.origin) {
    case Origin::Build: return sources.build / file.originPath;
    case Origin::Source: return sources.source / file.originPath;
    case Origin::Demo: return sources.demo / file.originPath;
    }
    return {};
}

std::string SystemError() { return std::strerror(errno); }

}  // namespace

std::optional<std::string> CompressFile(const fs::path& original, const fs::path& target, char missingChar)
{
    std::ifstream in(original, std::ios::binary);
    if (!in)
        return Format(msg::MediumReadFailed, {original.string(), SystemError()});
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return Format(msg::MediumReadFailed, {original.string(), SystemError()});
    const std::vector<unsigned char> compressed = SzddCompress(data, missingChar);

    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    const fs::path temporary = target.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(compressed.data()), static_cast<std::streamsize>(compressed.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, ec);
            return Format(msg::MediumWriteFailed, {target.string(), SystemError()});
        }
    }
    fs::last_write_time(temporary, fs::last_write_time(original, ec), ec);
    if (!ec)
        fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return Format(msg::MediumWriteFailed, {target.string(), ec.message()});
    }
    return std::nullopt;
}

MediumResult BuildMedium(const MediumSources& sources, const fs::path& output)
{
    MediumResult result;
    for (const MediumFile& file : AllMediumFiles()) {
        result.error = CompressFile(OriginPath(sources, file), output / MediumPath(file), ReplacedCharacter(file.entry));
        if (result.error)
            return result;
        ++result.files;
    }
    return result;
}

}  // namespace qln::setup
