#pragma once
// Owner of one iconv conversion descriptor.

#include <cstddef>
#include <iconv.h>

namespace qln {

class CIconv {
public:
    CIconv() = default;
    // Opens a conversion from `from` to `to` (iconv names); check IsOpen().
    CIconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~CIconv() { Close(); }

    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;
    CIconv(CIconv&& other) noexcept : cd_(other.cd_) { other.cd_ = kClosed; }
    CIconv& operator=(CIconv&& other) noexcept
    {
        if (this != &other) {
            Close();
            cd_ = other.cd_;
            other.cd_ = kClosed;
        }
        return *this;
    }

    bool IsOpen() const { return cd_ != kClosed; }

    // One step of iconv(3): returns (size_t)-1 and sets errno (E2BIG, EILSEQ,
    // EINVAL) when it stops early. A null `in` writes the closing shift sequence.
    std::size_t Convert(const char** in, std::size_t* inLeft, char** out, std::size_t* outLeft)
    {
        return iconv(cd_, const_cast<char**>(in), inLeft, out, outLeft);
    }

    // Back to the initial shift state, e.g. after skipping an invalid byte.
    void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    static inline const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);

    void Close()
    {
        if (IsOpen())
            iconv_close(cd_);
        cd_ = kClosed;
    }

    iconv_t cd_ = kClosed;
};

}  // namespace qln
