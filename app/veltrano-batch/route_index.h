// The selected lines found by their route key: indexed once, so that each event finds its line
// by one look-up, and a key that several lines share is known as such.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "mbhost/table.h"
#include "mbhost/value.h"

namespace veltrano::batch {

// How keys compare: as the route key column's type says. Text matches text exactly (case
// counts) once the surrounding spaces are gone; a number matches the same number, whether an
// event writes it as a number or as text ("0042", " 42 " and 42.0 are 42).
enum class KeyKind { Text, Number };

// The key a value stands for under kind; nothing for a null, an empty text, or a text that
// is no number where a number is meant.
std::optional<std::string> keyOf(const mbhost::Value& value, KeyKind kind);

class RouteIndex {
public:
    // The rows of selection by their value in column (an index into its columns).
    RouteIndex(const mbhost::Table& selection, int column, KeyKind kind);

    struct Match {
        std::int32_t row = 0;    // the selection's row id of the first line with the key
        std::int32_t lines = 0;  // how many lines have it: 0 none, 1 the one, more: ambiguous
    };
    Match find(const std::string& key) const;
    KeyKind kind() const { return kind_; }

private:
    KeyKind kind_;
    std::unordered_map<std::string, Match> lines_;
};

}  // namespace veltrano::batch
