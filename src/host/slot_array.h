// An array of shared records indexed from a lower bound that may be negative, as the window
// census needs (extra windows get the numbers below 0). A slot holds a record or nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "foundation/run_time_error.h"

namespace veltrano {

template <typename Record>
class SlotArray {
public:
    SlotArray() { reset(); }

    // Back to the single empty slot 0.
    void reset() { recreate(0, 0); }

    // Empty slots lower to upper; a lower bound above the upper one is a subscript error.
    void recreate(std::int32_t lower, std::int32_t upper) {
        if (lower > upper) throw RunTimeError(err::kSubscriptOutOfRange, {}, "SlotArray");
        try {
            slots_.assign(static_cast<std::size_t>(std::int64_t{upper} - lower + 1), nullptr);
        } catch (const std::bad_alloc&) {
            throw RunTimeError(err::kOutOfMemory, {}, "SlotArray");  // a host's absurd count
        }
        lower_ = lower;
    }

    std::int32_t lower() const { return lower_; }
    std::int32_t upper() const {
        return static_cast<std::int32_t>(lower_ + static_cast<std::int64_t>(slots_.size()) - 1);
    }
    bool contains(std::int32_t index) const { return index >= lower() && index <= upper(); }

    // The record in a slot (or nothing); an index outside the bounds is a subscript error.
    const std::shared_ptr<Record>& at(std::int32_t index) const {
        if (!contains(index)) throw RunTimeError(err::kSubscriptOutOfRange, {}, "SlotArray");
        return slots_[static_cast<std::size_t>(std::int64_t{index} - lower_)];
    }
    void set(std::int32_t index, std::shared_ptr<Record> record) {
        at(index);  // bounds check
        slots_[static_cast<std::size_t>(std::int64_t{index} - lower_)] = std::move(record);
    }

    // The slots in index order, from lower().
    const std::vector<std::shared_ptr<Record>>& slots() const { return slots_; }

private:
    std::int32_t lower_ = 0;
    std::vector<std::shared_ptr<Record>> slots_;
};

}  // namespace veltrano
