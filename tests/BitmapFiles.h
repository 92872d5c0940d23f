#pragma once
// Small Windows bitmap files written by the tests: 24 bits per pixel, every
// pixel one colour, with the 40-byte information header or the 12-byte core
// header (16-bit width and height), rows bottom-up (top-down for a negative
// height).

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace qln::test {

inline std::vector<std::uint8_t> BitmapFileBytes(std::int32_t width, std::int32_t height, bool coreHeader = false,
                                                 std::uint8_t blue = 0x80, std::uint8_t green = 0x80,
                                                 std::uint8_t red = 0x80)
{
    const auto put = [](std::vector<std::uint8_t>& b, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const std::uint32_t header = coreHeader ? 12 : 40;
    const auto w = static_cast<std::uint32_t>(std::abs(width)), h = static_cast<std::uint32_t>(std::abs(height));
    const std::uint32_t row = (w * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> b{'B', 'M'};
    put(b, 14 + header + row * h, 4);
    put(b, 0, 4);
    put(b, 14 + header, 4);
    put(b, header, 4);
    put(b, static_cast<std::uint32_t>(width), coreHeader ? 2 : 4);
    put(b, static_cast<std::uint32_t>(height), coreHeader ? 2 : 4);
    put(b, 1, 2);
    put(b, 24, 2);
    if (!coreHeader)
        put(b, 0, 24);
    for (std::uint32_t y = 0; y < h; ++y) {
        for (std::uint32_t x = 0; x < w; ++x)
            b.insert(b.end(), {blue, green, red});
        b.resize(b.size() + row - w * 3, 0);
    }
    return b;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qln::test
