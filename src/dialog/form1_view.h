// The main dialog's window as its presenter sees it.
#pragma once

#include <string>
#include <string_view>

namespace veltrano {

// What the main dialog's presenter needs of its window. Texts are UTF-8; multi-line texts
// use CR LF line breaks whatever the toolkit shows.
class Form1View {
public:
    virtual ~Form1View() = default;

    virtual std::string pointsText() const = 0;  // txtPoints
    virtual void setPointsText(std::string_view text) = 0;

    virtual std::string outputTableText() const = 0;  // Combo1's edit text
    virtual void clearOutputTables() = 0;             // its list and its text
    virtual void addOutputTable(std::string_view name) = 0;
    virtual void selectOutputTable(int index) = 0;  // the text becomes the item's

    // chkStartFromTheEnd: 0 unticked, 1 ticked, 2 greyed.
    virtual int startFromTheEndValue() const = 0;

    virtual std::string summaryText() const = 0;  // txtSelectedPolyline
    virtual void setSummaryText(std::string_view text) = 0;
    // Appends and shows the new text at once, while the command still runs.
    virtual void appendSummaryText(std::string_view text) = 0;

    virtual void setOkEnabled(bool enabled) = 0;  // cmdOK
    virtual void closeWindow() = 0;
};

}  // namespace veltrano
