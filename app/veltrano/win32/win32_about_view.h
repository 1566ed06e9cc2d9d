// frmAbout as a native modal window over its owner, built from its form's layout.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "about/about_view.h"
#include "win32_form_controls.h"

namespace veltrano::win32 {

class Win32AboutView final : public AboutView {
public:
    explicit Win32AboutView(HWND owner);
    ~Win32AboutView() override;
    Win32AboutView(const Win32AboutView&) = delete;
    Win32AboutView& operator=(const Win32AboutView&) = delete;

    std::function<void()> okRequested, sysInfoRequested;

    HWND window() const { return window_; }
    HWND control(const char* name) const;

    // Shows the window and returns once it is closed; the owner takes no input meanwhile.
    void runModal();

    void setCaption(std::string_view text) override;
    void setVersionText(std::string_view text) override;
    void setDescriptionText(std::string_view text) override;
    void setDisclaimerText(std::string_view text) override;
    void closeWindow() override;

private:
    static LRESULT CALLBACK procedure(HWND, UINT, WPARAM, LPARAM);

    HWND owner_;
    HWND window_ = nullptr;
    std::unique_ptr<Win32FormControls> controls_;
    bool open_ = false;
};

}  // namespace veltrano::win32
