#pragma once
// Progress and cancelling for long operations (build, update, write, import,
// export). The operation reports a position out of a total now and then (not
// per line) and polls the cancel flag after each report; a window behind the
// interface keeps itself alive while it shows the report.

#include <cstdint>
#include <string_view>

namespace qln {

class Progress {
public:
    virtual ~Progress() = default;
    // `position` out of `total`, both in the operation's unit (bytes of input
    // for reading a script). The total may grow while the operation runs.
    virtual void Report(std::uint64_t position, std::uint64_t total) = 0;
    // True once the user asked to stop; polled after each Report.
    virtual bool Cancelled() = 0;
    // A status line ("Build Database ..."); an empty text clears it.
    virtual void Status(std::string_view text) { (void)text; }
};

// For callers without a window: reports nothing and never cancels.
class NullProgress final : public Progress {
public:
    void Report(std::uint64_t, std::uint64_t) override {}
    bool Cancelled() override { return false; }
};

// One shared null object, for default arguments.
inline Progress& NoProgress()
{
    static NullProgress none;
    return none;
}

}  // namespace qln
