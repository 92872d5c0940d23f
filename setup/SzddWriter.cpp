// LZSS as SZDD stores it: groups of eight items behind a flag byte (bit set:
// a literal byte; bit clear: two bytes giving a window position of 12 bits and
// a length of 3 to 18). The window of 4096 bytes starts filled with blanks and
// the first byte is written at position 4096 - 16.
#include "setup/Szdd.h"

#include <algorithm>
#include <array>

namespace qln::setup {

namespace {

constexpr std::size_t kWindow = 4096;
constexpr std::size_t kFirstPosition = kWindow - 16;
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 18;
// How many earlier positions with the same three bytes are tried per byte.
constexpr int kMaxChain = 96;
constexpr std::size_t kHashSize = 1 << 16;

struct Match {
    std::size_t length = 0;
    std::size_t distance = 0;
};

// Finds earlier occurrences through hash chains over three-byte prefixes.
class MatchFinder {
public:
    explicit MatchFinder(std::span<const unsigned char> data) : data_(data)
    {
        head_.fill(kNone);
        previous_.assign(data.size(), kNone);
    }

    void Insert(std::size_t pos)
    {
        if (pos + kMinMatch > data_.size())
            return;
        const std::size_t h = Hash(pos);
        previous_[pos] = head_[h];
        head_[h] = pos;
    }

    Match Longest(std::size_t pos) const
    {
        Match best;
        if (pos + kMinMatch > data_.size())
            return best;
        const std::size_t limit = std::min(kMaxMatch, data_.size() - pos);
        std::size_t candidate = head_[Hash(pos)];
        for (int chain = 0; candidate != kNone && chain < kMaxChain; ++chain) {
            const std::size_t distance = pos - candidate;
            if (distance >= kWindow)
                break;
            std::size_t length = 0;
            while (length < limit && data_[candidate + length] == data_[pos + length])
                ++length;
            if (length > best.length) {
                best = {length, distance};
                if (length == limit)
                    break;
            }
            candidate = previous_[candidate];
        }
        return best;
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    std::size_t Hash(std::size_t pos) const
    {
        return ((data_[pos] << 10) ^ (data_[pos + 1] << 5) ^ data_[pos + 2]) & (kHashSize - 1);
    }

    std::span<const unsigned char> data_;
    std::array<std::size_t, kHashSize> head_{};
    std::vector<std::size_t> previous_;
};

std::array<unsigned char, 14> Header(std::size_t length, char missingChar)
{
    std::array<unsigned char, 14> header{'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, 'A'};
    header[9] = static_cast<unsigned char>(missingChar);
    for (int i = 0; i < 4; ++i)
        header[10 + i] = static_cast<unsigned char>((static_cast<std::uint64_t>(length) >> (8 * i)) & 0xFF);
    return header;
}

}  // namespace

std::vector<unsigned char> SzddCompress(std::span<const unsigned char> data, char missingChar)
{
    const auto header = Header(data.size(), missingChar);
    std::vector<unsigned char> out(header.begin(), header.end());
    out.reserve(header.size() + data.size() + data.size() / 8 + 1);

    auto finder = std::make_unique<MatchFinder>(data);
    std::size_t flagIndex = 0;
    int items = 8;
    std::size_t pos = 0;
    while (pos < data.size()) {
        if (items == 8) {
            flagIndex = out.size();
            out.push_back(0);
            items = 0;
        }
        const Match match = finder->Longest(pos);
        std::size_t advance = 1;
        if (match.length >= kMinMatch) {
            const std::size_t windowPos = (kFirstPosition + pos - match.distance) & (kWindow - 1);
            out.push_back(static_cast<unsigned char>(windowPos & 0xFF));
            out.push_back(static_cast<unsigned char>(((windowPos >> 4) & 0xF0) | (match.length - kMinMatch)));
            advance = match.length;
        } else {
            out[flagIndex] |= static_cast<unsigned char>(1u << items);
            out.push_back(data[pos]);
        }
        ++items;
        for (std::size_t i = 0; i < advance; ++i)
            finder->Insert(pos + i);
        pos += advance;
    }
    return out;
}

}  // namespace qln::setup
