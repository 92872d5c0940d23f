// Our SZDD writer against libmspack's reader: every kind of input, and every
// file of the built installation medium, must expand to the original bytes.
#include "setup/setup_support.h"

#include "projectdb/Lifecycle.h"
#include "setup/MediaTable.h"
#include "setup/MediumBuilder.h"
#include "setup/Szdd.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace qln::test {
namespace {

namespace fs = std::filesystem;
using setup::SzddExpander;

std::string RoundTrip(const TempDir& dir, const std::string& data, char missing = 'x')
{
    const auto compressed = setup::SzddCompress(
        std::span(reinterpret_cast<const unsigned char*>(data.data()), data.size()), missing);
    const fs::path packed = dir / "packed._xt";
    const fs::path unpacked = dir / "unpacked.txt";
    std::ofstream(packed, std::ios::binary).write(reinterpret_cast<const char*>(compressed.data()),
                                                  static_cast<std::streamsize>(compressed.size()));
    SzddExpander expander;
    const auto header = expander.ReadHeader(packed);
    EXPECT_TRUE(header);
    if (header) {
        EXPECT_EQ(header->length, data.size());
        EXPECT_EQ(header->missingChar, missing);
    }
    EXPECT_EQ(expander.Expand(packed, unpacked), 0);
    return ReadBytes(unpacked);
}

TEST(Szdd, SmallAndRepetitiveInputsRoundTrip)
{
    TempDir dir;
    for (const std::string& data : {std::string(), std::string("a"), std::string("ab"), std::string("abc"),
                                    std::string(5000, ' '),           // matches the blank-filled window
                                    std::string(70000, 'z'),          // one long run: overlapping matches
                                    std::string("abcabcabcabcabcabcabcabcabcabcabcabcabc\r\n")})
        EXPECT_TRUE(RoundTrip(dir, data) == data) << "input of " << data.size() << " bytes";
}

TEST(Szdd, MatchesAcrossTheWholeWindowRoundTrip)
{
    // A random block repeated at distances around the window size (4096) and
    // random noise in between, so that matches reach back as far as they may.
    std::mt19937 random(7);
    auto noise = [&](std::size_t n) {
        std::string s(n, '\0');
        for (char& c : s)
            c = static_cast<char>(random() & 0xFF);
        return s;
    };
    const std::string block = noise(300);
    std::string data;
    for (std::size_t gap : {3780u, 3790u, 3795u, 3796u, 3797u, 4000u, 4095u, 4096u, 5000u}) {
        data += block;
        data += noise(gap - block.size() + 16);
    }
    data += block;
    TempDir dir;
    EXPECT_TRUE(RoundTrip(dir, data) == data);
    const std::string large = noise(1 << 20);
    const std::string repeated = large + large.substr(1000, 200000) + large;
    EXPECT_TRUE(RoundTrip(dir, repeated) == repeated);
}

TEST(Szdd, CompressesText)
{
    const std::string text = ReadBytes(fs::path(QLN_SOURCE_DIR) / "examples/demo/demo.rc");
    const auto compressed =
        setup::SzddCompress(std::span(reinterpret_cast<const unsigned char*>(text.data()), text.size()), 'r');
    EXPECT_LT(compressed.size(), text.size() * 2 / 3);
}

TEST(Szdd, EveryFileOfTheBuiltMediumExpandsToItsOriginal)
{
    ASSERT_TRUE(fs::exists(BuiltMedium())) << "build the medium target first";
    TempDir dir;
    SzddExpander expander;
    int checked = 0;
    for (const setup::MediumFile& file : setup::AllMediumFiles()) {
        SCOPED_TRACE(std::string(file.entry));
        const fs::path packed = BuiltMedium() / setup::MediumPath(file);
        const auto header = expander.ReadHeader(packed);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->missingChar, setup::ReplacedCharacter(file.entry));
        const fs::path unpacked = dir / "expanded";
        ASSERT_EQ(expander.Expand(packed, unpacked), 0);
        EXPECT_EQ(fs::file_size(unpacked), header->length);
        if (file.origin == setup::Origin::Demo && file.entry.ends_with(".mdb")) {
            // built by make-media.sh in a folder of its own
            EXPECT_TRUE(IsProjectDatabase(unpacked));
        } else {
            const fs::path root = file.origin == setup::Origin::Build ? fs::path(QLN_BINARY_DIR)
                                  : file.origin == setup::Origin::Source
                                      ? fs::path(QLN_SOURCE_DIR)
                                      : fs::path(QLN_SOURCE_DIR) / "examples/demo";
            EXPECT_TRUE(ReadBytes(unpacked) == ReadBytes(root / file.originPath)) << "differs from " << file.originPath;
        }
        ++checked;
    }
    EXPECT_EQ(checked, 21);
}

TEST(Szdd, ADamagedOrForeignFileIsRejected)
{
    TempDir dir;
    std::ofstream(dir / "plain._xt") << "this is no compressed file";
    SzddExpander expander;
    EXPECT_FALSE(expander.ReadHeader(dir / "plain._xt"));
    EXPECT_NE(expander.Expand(dir / "plain._xt", dir / "out"), 0);
    EXPECT_FALSE(expander.ReadHeader(dir / "missing._xt"));
}

}  // namespace
}  // namespace qln::test
