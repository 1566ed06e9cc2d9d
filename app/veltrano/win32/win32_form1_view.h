// Form1 as a native window: every control at its place in twips, in tab order, with its
// tooltip; what the user does is handed on through the callbacks.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "dialog/form1_view.h"

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
    void createControls();
    HWND add(const char* name, const wchar_t* type, const std::wstring& text, DWORD style, int left,
             int top, int width, int height, const std::wstring& tooltip = {});
    std::string textOf(const char* name) const;

    HWND window_ = nullptr;
    HWND tooltips_ = nullptr;
    HFONT font_ = nullptr;
    HBITMAP refreshPicture_ = nullptr;
    int dpi_ = 96;
    std::map<std::string, HWND> controls_;
    bool closed_ = false;
};

}  // namespace veltrano::win32
