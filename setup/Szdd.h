#pragma once
// Compressed installation files in the SZDD format: a 14-byte header (magic,
// mode 'A', the character the file name lost, the expanded length), then LZSS
// data with a 4 KB window as the classic `expand` reads it. We write them with
// our own compressor and expand them with libmspack.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct msszdd_decompressor;

namespace qln::setup {

// The whole compressed file for `data`.
std::vector<unsigned char> SzddCompress(std::span<const unsigned char> data, char missingChar);

struct SzddHeader {
    std::uint64_t length = 0;
    char missingChar = '\0';
};

// libmspack's SZDD decompressor, created once and destroyed with the object.
class SzddExpander {
public:
    SzddExpander();
    ~SzddExpander();
    SzddExpander(const SzddExpander&) = delete;
    SzddExpander& operator=(const SzddExpander&) = delete;

    // The header of a compressed file; nothing when it cannot be read or is no SZDD file.
    std::optional<SzddHeader> ReadHeader(const std::filesystem::path& compressed) const;
    // Expands `compressed` into `target`; MSPACK_ERR_OK (0) or libmspack's error code.
    int Expand(const std::filesystem::path& compressed, const std::filesystem::path& target) const;

    // A short English text for a libmspack error code.
    static std::string ErrorText(int code);

private:
    struct Deleter {
        void operator()(msszdd_decompressor* d) const;
    };
    std::unique_ptr<msszdd_decompressor, Deleter> decompressor_;
};

}  // namespace qln::setup
