#include "setup/Szdd.h"

#include <mspack.h>

#include <stdexcept>

namespace qln::setup {

void SzddExpander::Deleter::operator()(msszdd_decompressor* d) const { mspack_destroy_szdd_decompressor(d); }

SzddExpander::SzddExpander() : decompressor_(mspack_create_szdd_decompressor(nullptr))
{
    if (!decompressor_)
        throw std::runtime_error("libmspack: cannot create the SZDD decompressor");
}

SzddExpander::~SzddExpander() = default;

std::optional<SzddHeader> SzddExpander::ReadHeader(const std::filesystem::path& compressed) const
{
    msszddd_header* header = decompressor_->open(decompressor_.get(), compressed.c_str());
    if (!header)
        return std::nullopt;
    SzddHeader result{static_cast<std::uint64_t>(header->length), header->missing_char};
    decompressor_->close(decompressor_.get(), header);
    return result;
}

int SzddExpander::Expand(const std::filesystem::path& compressed, const std::filesystem::path& target) const
{
    return decompressor_->decompress(decompressor_.get(), compressed.c_str(), target.c_str());
}

std::string SzddExpander::ErrorText(int code)
{
    switch (code) {
    case MSPACK_ERR_OK: return "no error";
    case MSPACK_ERR_OPEN: return "the file cannot be opened";
    case MSPACK_ERR_READ: return "the file cannot be read";
    case MSPACK_ERR_WRITE: return "the expanded file cannot be written";
    case MSPACK_ERR_SIGNATURE: return "the file is not a compressed installation file";
    case MSPACK_ERR_DATAFORMAT: return "the compressed data is damaged";
    case MSPACK_ERR_NOMEMORY: return "not enough memory";
    default: return "libmspack error " + std::to_string(code);
    }
}

}  // namespace qln::setup
