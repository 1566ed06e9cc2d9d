// The typed distances that every regional-settings adapter must read alike.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "dialog/distance_list.h"

namespace veltrano::testing {

struct TypedDistance {
    const char* locale;  // empty: every locale
    const char* typed;
    std::optional<double> read;
    bool inPart = false;
};

inline constexpr const char* kTypedLocales[] = {"en-US", "ru-RU", "de-DE"};

inline const TypedDistance kTypedDistances[] = {
    {"en-US", "1,000", 1000},     {"en-US", "2,5", 2, true},    {"en-US", "2.5", 2.5},
    {"en-US", "1,000.5", 1000.5}, {"ru-RU", "2,5", 2.5},        {"ru-RU", "1\u00A0000", 1000},
    {"ru-RU", "1 000", 1000},     {"ru-RU", "-2.5", -2.5},      {"ru-RU", "2.5", 2.5},
    {"de-DE", "2.500", 2500},     {"de-DE", "1.50", 1.5},       {"de-DE", "2,5", 2.5},
    {"de-DE", "2.5", 2.5},        {"", "inf", std::nullopt},    {"", "-inf", std::nullopt},
    {"", "nan", std::nullopt},    {"", "NaN", std::nullopt},    {"", "Infinity", std::nullopt},
    {"", "1e999", std::nullopt},  {"", "-1E999", std::nullopt}, {"", "  12  ", 12},
};

// Reads the table under the settings that settingsFor(locale name) gives.
template <typename SettingsFor>
void expectTypedDistances(SettingsFor settingsFor) {
    for (const char* locale : kTypedLocales) {
        const auto settings = settingsFor(locale);
        for (const auto& row : kTypedDistances) {
            if (*row.locale && std::string_view(row.locale) != locale) continue;
            const auto reading = readDistancePiece(row.typed, settings);
            EXPECT_EQ(reading ? std::optional(reading->metres) : std::nullopt, row.read)
                << locale << " '" << row.typed << "'";
            EXPECT_EQ(reading && reading->inPart, row.inPart) << locale << " '" << row.typed << "'";
        }
    }
}

}  // namespace veltrano::testing
