// The typed distances every regional-settings adapter reads alike (no locale: all three).
#pragma once

#include <gtest/gtest.h>

#include "dialog/distance_list.h"

namespace veltrano::testing {

inline const struct {
    const char *locale, *typed;
    std::optional<double> read;
    bool inPart = false;
} kTypedDistances[] = {{"en-US", "1,000", 1000}, {"en-US", "2,5", 2, true},
                       {"en-US", "2.5", 2.5},    {"en-US", "1,000.5", 1000.5},
                       {"ru-RU", "2,5", 2.5},    {"ru-RU", "1\u00A0000", 1000},
                       {"ru-RU", "1 000", 1000}, {"ru-RU", "-2.5", -2.5},
                       {"ru-RU", "2.5", 2.5},    {"de-DE", "2.500", 2500},
                       {"de-DE", "1.50", 1.5},   {"de-DE", "2,5", 2.5},
                       {"de-DE", "2.5", 2.5},    {"", "inf", {}},
                       {"", "-inf", {}},         {"", "nan", {}},
                       {"", "Infinity", {}},     {"", "1e999", {}},
                       {"", "-1E999", {}},       {"", "  12  ", 12}};

inline void expectTypedDistances(auto settingsFor) {
    for (const std::string_view locale : {"en-US", "ru-RU", "de-DE"}) {
        for (const auto& row : kTypedDistances) {
            if (*row.locale && row.locale != locale) continue;
            const auto got = readDistancePiece(row.typed, settingsFor(locale));
            EXPECT_EQ(got ? std::optional(got->metres) : std::nullopt, row.read) << row.typed;
            EXPECT_EQ(got && got->inPart, row.inPart) << locale << " " << row.typed;
        }
    }
}

}  // namespace veltrano::testing
