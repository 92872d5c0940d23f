#pragma once
// The set of line indexes in use while a script is stored, and the
// allocation rule: the smallest value at or above a start value that is not
// in the set. The set keeps maximal runs of consecutive values, so both
// allocation and insertion take logarithmic time however the values lie.

#include <cstddef>
#include <cstdint>
#include <map>

namespace qln {

class LineIndexSet {
public:
    // Adds a value; adding one that is already there changes nothing.
    void insert(std::uint32_t value);
    bool contains(std::uint32_t value) const;
    // The smallest value >= start that is not in the set. The caller adds it
    // (insert) once it uses it.
    std::uint32_t allocate(std::uint32_t start) const;

    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    void clear() noexcept { runs_.clear(); size_ = 0; }

private:
    // first value of a run -> one past its last value
    std::map<std::uint64_t, std::uint64_t> runs_;
    std::size_t size_ = 0;
};

}  // namespace qln
