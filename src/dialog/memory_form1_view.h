// The main dialog's window held in memory: for the batch program and tests.
#pragma once

#include <string>
#include <vector>

#include "dialog/form1_view.h"

namespace veltrano {

// The main dialog without a window: its controls' contents held as plain values. What the
// headless program runs on, and what tests look into.
class MemoryForm1View final : public Form1View {
public:
    std::string points;
    std::string outputTable;                // Combo1's text
    std::vector<std::string> outputTables;  // Combo1's list, in the order added
    int startFromTheEnd = 0;
    std::string summary;
    bool okEnabled = true;
    bool closed = false;

    std::string pointsText() const override { return points; }
    void setPointsText(std::string_view text) override { points = text; }
    std::string outputTableText() const override { return outputTable; }
    void clearOutputTables() override {
        outputTables.clear();
        outputTable.clear();
    }
    void addOutputTable(std::string_view name) override { outputTables.emplace_back(name); }
    void selectOutputTable(int index) override {
        outputTable = outputTables.at(static_cast<std::size_t>(index));
    }
    int startFromTheEndValue() const override { return startFromTheEnd; }
    std::string summaryText() const override { return summary; }
    void setSummaryText(std::string_view text) override { summary = text; }
    void appendSummaryText(std::string_view text) override { summary += text; }
    void setOkEnabled(bool enabled) override { okEnabled = enabled; }
    void closeWindow() override { closed = true; }
};

}  // namespace veltrano
