// Form1 as a native window built from its form's layout; what the user does is handed on
// through the callbacks.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "dialog/form1_view.h"
#include "win32_form_controls.h"

namespace veltrano::win32 {

class Win32Form1View final : public Form1View {
public:
    Win32Form1View();
    ~Win32Form1View() override;
    Win32Form1View(const Win32Form1View&) = delete;
    Win32Form1View& operator=(const Win32Form1View&) = delete;

    std::function<void()> okRequested, refreshRequested, aboutRequested, closeRequested, unloading;

    HWND window() const { return window_; }
    HWND control(const char* name) const;
    void show();
    // Runs the window's messages until it is closed; the program's exit code.
    int run();

    std::string pointsText() const override;
    void setPointsText(std::string_view text) override;
    std::string outputTableText() const override;
    void clearOutputTables() override;
    void addOutputTable(std::string_view name) override;
    void selectOutputTable(int index) override;
    int startFromTheEndValue() const override;
    std::string summaryText() const override;
    void setSummaryText(std::string_view text) override;
    void appendSummaryText(std::string_view text) override;
    void setOkEnabled(bool enabled) override;
    void closeWindow() override;

private:
    static LRESULT CALLBACK procedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    std::string textOf(const char* name) const;

    HWND window_ = nullptr;
    std::unique_ptr<Win32FormControls> controls_;
    HBITMAP refreshPicture_ = nullptr;
    bool closed_ = false;
};

}  // namespace veltrano::win32
