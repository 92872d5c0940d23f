#include "projectdb/LineIndexSet.h"

#include <iterator>
#include <stdexcept>

namespace qln {

void LineIndexSet::insert(std::uint32_t value)
{
    const std::uint64_t v = value;
    auto next = runs_.upper_bound(v);  // first run starting after v
    if (next != runs_.begin()) {
        auto prev = std::prev(next);
        if (prev->second > v)
            return;  // already inside that run
        if (prev->second == v) {
            prev->second = v + 1;
            if (next != runs_.end() && next->first == v + 1) {
                prev->second = next->second;
                runs_.erase(next);
            }
            ++size_;
            return;
        }
    }
    if (next != runs_.end() && next->first == v + 1) {
        std::uint64_t end = next->second;
        runs_.erase(next);
        runs_.emplace(v, end);
    } else {
        runs_.emplace(v, v + 1);
    }
    ++size_;
}

bool LineIndexSet::contains(std::uint32_t value) const
{
    auto next = runs_.upper_bound(value);
    return next != runs_.begin() && std::prev(next)->second > value;
}

std::uint32_t LineIndexSet::allocate(std::uint32_t start) const
{
    auto next = runs_.upper_bound(start);
    if (next == runs_.begin())
        return start;
    auto run = std::prev(next);
    if (run->second <= start)
        return start;
    // Runs are maximal, so the value right after the run is free.
    if (run->second > UINT32_MAX)
        throw std::overflow_error("no free line index above the start value");
    return static_cast<std::uint32_t>(run->second);
}

}  // namespace qln
