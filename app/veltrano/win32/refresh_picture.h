#pragma once

#include <windows.h>

namespace veltrano::win32 {

// The refresh button's 16 x 16 picture: a dark-blue circular arrow on grey.
HBITMAP makeRefreshPicture();

}  // namespace veltrano::win32
