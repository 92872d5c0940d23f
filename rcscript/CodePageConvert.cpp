// Conversions between code pages and UTF-8: UTF-8 and UTF-16 by hand, the other
// code pages through iconv. Single-byte code pages are decoded through a table
// built once from iconv, which is much faster than calling iconv per text.

#include "rcscript/CodePages.h"
#include "rcscript/Iconv.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace qln {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsCp1252(int codePage)
{
    return codePage == 0 || codePage == 1252;
}

// The five bytes CP1252 leaves undefined; Windows reads them as the C1 controls
// of the same value.
bool IsCp1252Undefined(unsigned value)
{
    return value == 0x81 || value == 0x8D || value == 0x8F || value == 0x90 || value == 0x9D;
}

// Length of the well-formed UTF-8 sequence at p, or 0 when it is ill-formed.
std::size_t Utf8SequenceLength(const unsigned char* p, std::size_t left)
{
    const unsigned c = p[0];
    if (c < 0x80)
        return 1;
    auto cont = [&](std::size_t i, unsigned lo = 0x80, unsigned hi = 0xBF) {
        return i < left && p[i] >= lo && p[i] <= hi;
    };
    if (c < 0xC2)
        return 0;
    if (c < 0xE0)
        return cont(1) ? 2 : 0;
    if (c < 0xF0) {
        const bool second = c == 0xE0 ? cont(1, 0xA0) : c == 0xED ? cont(1, 0x80, 0x9F) : cont(1);
        return second && cont(2) ? 3 : 0;
    }
    if (c < 0xF5) {
        const bool second = c == 0xF0 ? cont(1, 0x90) : c == 0xF4 ? cont(1, 0x80, 0x8F) : cont(1);
        return second && cont(2) && cont(3) ? 4 : 0;
    }
    return 0;
}

// Code point of the well-formed sequence of `len` bytes at p.
char32_t Utf8CodePoint(const unsigned char* p, std::size_t len)
{
    switch (len) {
    case 1: return p[0];
    case 2: return (char32_t(p[0] & 0x1F) << 6) | (p[1] & 0x3F);
    case 3: return (char32_t(p[0] & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
    default:
        return (char32_t(p[0] & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) | (char32_t(p[2] & 0x3F) << 6) |
               (p[3] & 0x3F);
    }
}

void AppendUtf16(std::string_view bytes, bool bigEndian, std::string& out)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t units = bytes.size() / 2;
    auto unit = [&](std::size_t i) -> char32_t {
        return bigEndian ? (char32_t(p[2 * i]) << 8) | p[2 * i + 1] : (char32_t(p[2 * i + 1]) << 8) | p[2 * i];
    };
    out.reserve(out.size() + units);
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const char32_t low = unit(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00), out);
                ++i;
                continue;
            }
        }
        AppendUtf8(u >= 0xD800 && u <= 0xDFFF ? kReplacement : u, out);
    }
    if (bytes.size() % 2 != 0)
        AppendUtf8(kReplacement, out);
}

void EncodeUtf16(std::string_view utf8, bool bigEndian, std::string& out)
{
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    auto put = [&](char32_t u) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    out.reserve(utf8.size() * 2);
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t len = Utf8SequenceLength(p + i, utf8.size() - i);
        const char32_t cp = Utf8CodePoint(p + i, len);
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
        i += len;
    }
}

// Decoding table of a single-byte code page, or the finding that the code page
// has multi-byte characters.
struct ByteTable {
    bool singleByte = true;
    std::array<std::array<char, 4>, 256> utf8{};
    std::array<unsigned char, 256> length{};
};

std::unique_ptr<ByteTable> BuildByteTable(int codePage, CIconv& cd)
{
    auto table = std::make_unique<ByteTable>();
    for (unsigned b = 0; b < 256; ++b) {
        cd.Reset();
        const char byte = static_cast<char>(b);
        const char* in = &byte;
        std::size_t inLeft = 1;
        char buffer[16];
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t r = cd.Convert(&in, &inLeft, &out, &outLeft);
        if (r == static_cast<std::size_t>(-1) && errno == EINVAL) {
            table->singleByte = false;  // a lead byte: the code page is multi-byte
            return table;
        }
        if (r != static_cast<std::size_t>(-1))
            cd.Convert(nullptr, nullptr, &out, &outLeft);  // flush a character held back
        std::string text(buffer, out);
        if (text.empty() || text.size() > 4) {
            text.clear();
            AppendUtf8(IsCp1252(codePage) && IsCp1252Undefined(b) ? char32_t(b) : kReplacement, text);
        }
        std::copy(text.begin(), text.end(), table->utf8[b].begin());
        table->length[b] = static_cast<unsigned char>(text.size());
    }
    return table;
}

// The cached table of a code page; nullptr when iconv does not know it.
const ByteTable* GetByteTable(int codePage)
{
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<ByteTable>> cache;
    const int key = IsCp1252(codePage) ? 1252 : codePage;
    std::lock_guard lock(mutex);
    auto found = cache.find(key);
    if (found != cache.end())
        return found->second.get();
    std::unique_ptr<ByteTable> table;
    const std::string name = IconvName(key);
    CIconv cd("UTF-8", name.c_str());
    if (!name.empty() && cd.IsOpen())
        table = BuildByteTable(key, cd);
    return cache.emplace(key, std::move(table)).first->second.get();
}

void DecodeWithTable(std::string_view bytes, const ByteTable& table, std::string& out)
{
    out.reserve(out.size() + bytes.size() + bytes.size() / 4);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80 && table.length[b] == 1 && table.utf8[b][0] == c)
            out += c;
        else
            out.append(table.utf8[b].data(), table.length[b]);
    }
}

// Runs `cd` over the whole input, appending to `out`, and closes with the shift
// sequence a stateful target needs. When iconv stops at a byte it cannot take,
// `onStop(in, inLeft)` decides: it moves the input on and returns true to go on,
// or returns false to give up (then RunIconv returns false).
template <typename OnStop>
bool RunIconv(CIconv& cd, std::string_view input, std::string& out, OnStop onStop)
{
    const char* in = input.data();
    std::size_t inLeft = input.size();
    char buffer[8192];
    auto step = [&](bool flush) {
        char* o = buffer;
        std::size_t oLeft = sizeof buffer;
        const std::size_t r = flush ? cd.Convert(nullptr, nullptr, &o, &oLeft) : cd.Convert(&in, &inLeft, &o, &oLeft);
        const int error = errno;
        out.append(buffer, o);
        return r == static_cast<std::size_t>(-1) ? error : 0;
    };
    while (inLeft > 0) {
        const int error = step(false);
        if (error != 0 && error != E2BIG && !onStop(in, inLeft))
            return false;
    }
    while (step(true) == E2BIG) {
    }
    return true;
}

void DecodeWithIconv(std::string_view bytes, CIconv& cd, std::string& out)
{
    // An invalid byte, or a character cut off at the end: replace one byte.
    RunIconv(cd, bytes, out, [&](const char*& in, std::size_t& inLeft) {
        if (inLeft == 0)
            return false;
        AppendUtf8(kReplacement, out);
        ++in;
        --inLeft;
        cd.Reset();
        return true;
    });
}

}  // namespace

void AppendUtf8(char32_t cp, std::string& out)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::size_t FindInvalidUtf8(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        // Runs of ASCII are the common case: test eight bytes at a time.
        while (i + 8 <= n) {
            unsigned long long word;
            std::memcpy(&word, p + i, 8);
            if (word & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        const std::size_t len = Utf8SequenceLength(p + i, n - i);
        if (len == 0)
            return i;
        i += len;
    }
    return std::string_view::npos;
}

void AppendSanitizedUtf8(std::string_view bytes, std::string& out)
{
    while (!bytes.empty()) {
        const std::size_t bad = FindInvalidUtf8(bytes);
        if (bad == std::string_view::npos) {
            out += bytes;
            return;
        }
        out += bytes.substr(0, bad);
        AppendUtf8(kReplacement, out);
        bytes.remove_prefix(bad + 1);
    }
}

std::string IconvName(int codePage)
{
    std::string name;
    switch (codePage) {
    case 0: name = "CP1252"; break;
    case 1200: name = "UTF-16LE"; break;
    case 1201: name = "UTF-16BE"; break;
    case 12000: name = "UTF-32LE"; break;
    case 12001: name = "UTF-32BE"; break;
    case 20127: name = "ASCII"; break;
    case 20866: name = "KOI8-R"; break;
    case 21866: name = "KOI8-U"; break;
    case 50220: name = "ISO-2022-JP"; break;
    case 51932: name = "EUC-JP"; break;
    case 51949: name = "EUC-KR"; break;
    case 54936: name = "GB18030"; break;
    case 65001: name = "UTF-8"; break;
    default:
        if (codePage >= 28591 && codePage <= 28605)
            name = "ISO-8859-" + std::to_string(codePage - 28590);
        else if (codePage > 0)
            name = "CP" + std::to_string(codePage);
    }
    if (name.empty() || !CIconv("UTF-8", name.c_str()).IsOpen())
        return {};
    return name;
}

bool IsSupportedCodePage(int codePage)
{
    return codePage == 65001 || codePage == 1200 || codePage == 1201 || GetByteTable(codePage) != nullptr;
}

bool DecodeToUtf8(std::string_view bytes, int codePage, std::string& out)
{
    switch (codePage) {
    case 65001: AppendSanitizedUtf8(bytes, out); return true;
    case 1200: AppendUtf16(bytes, false, out); return true;
    case 1201: AppendUtf16(bytes, true, out); return true;
    default: break;
    }
    const ByteTable* table = GetByteTable(codePage);
    if (!table)
        return false;
    if (table->singleByte) {
        DecodeWithTable(bytes, *table, out);
        return true;
    }
    CIconv cd("UTF-8", IconvName(codePage).c_str());
    if (!cd.IsOpen())
        return false;
    DecodeWithIconv(bytes, cd, out);
    return true;
}

EncodeResult EncodeFromUtf8(std::string_view utf8, int codePage)
{
    EncodeResult result;
    const std::size_t bad = FindInvalidUtf8(utf8);
    if (bad != std::string_view::npos) {
        result.status = EncodeStatus::InvalidUtf8;
        result.offset = bad;
        return result;
    }
    if (codePage == 65001) {
        result.bytes = utf8;
        return result;
    }
    if (codePage == 1200 || codePage == 1201) {
        EncodeUtf16(utf8, codePage == 1201, result.bytes);
        return result;
    }
    const std::string name = IconvName(codePage);
    CIconv cd(name.c_str(), "UTF-8");
    if (name.empty() || !cd.IsOpen()) {
        result.status = EncodeStatus::UnknownCodePage;
        return result;
    }
    std::size_t failedAt = 0;
    const bool ok = RunIconv(cd, utf8, result.bytes, [&](const char*& in, std::size_t& inLeft) {
        const auto* p = reinterpret_cast<const unsigned char*>(in);
        const std::size_t len = Utf8SequenceLength(p, inLeft);
        if (IsCp1252(codePage) && len == 2 && IsCp1252Undefined(Utf8CodePoint(p, len))) {
            // The C1 controls that stand for CP1252's undefined bytes go back to them.
            result.bytes += static_cast<char>(Utf8CodePoint(p, len));
            in += len;
            inLeft -= len;
            return true;
        }
        failedAt = static_cast<std::size_t>(in - utf8.data());
        return false;
    });
    if (!ok) {
        result.status = EncodeStatus::Unrepresentable;
        result.offset = failedAt;
        result.bytes.clear();
    }
    return result;
}

std::string_view ByteOrderMark(int codePage)
{
    if (codePage == 1200)
        return "\xFF\xFE";
    if (codePage == 1201)
        return "\xFE\xFF";
    return {};
}

}  // namespace qln
