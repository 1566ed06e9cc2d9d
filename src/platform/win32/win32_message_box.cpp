#include "platform/win32/win32_message_box.h"

#include "platform/win32/wide_text.h"

namespace veltrano::win32 {

UINT Win32MessageBox::styleFor(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation:
            return MB_OK | MB_ICONEXCLAMATION;
        case MessageIcon::CriticalStop:
            return MB_OK | MB_ICONSTOP;
        case MessageIcon::None:
            break;
    }
    return MB_OK;
}

void Win32MessageBox::show(std::string_view text, std::string_view caption, MessageIcon icon) {
    const std::wstring wideText = toWideForDisplay(text);
    const std::wstring wideCaption =
        toWideForDisplay(caption.empty() ? kApplicationTitle : caption);
    MessageBoxW(owner_, wideText.c_str(), wideCaption.c_str(),
                styleFor(icon) | (owner_ ? 0 : MB_TASKMODAL | MB_SETFOREGROUND));
}

}  // namespace veltrano::win32
