#include "platform/win32/win32_beep.h"

#include <windows.h>

namespace veltrano::win32 {

void Win32Beep::beep() {
    MessageBeep(MB_OK);  // the user's default sound; returns at once, sound or not
}

}  // namespace veltrano::win32
