// Who the replay server says it is: the host's ProgID, under a class of its own.
#pragma once

#include <windows.h>

namespace veltrano::replay {

inline constexpr const wchar_t* kReplayProgId = L"MapInfo.Application";
inline constexpr const wchar_t* kReplayClsidText = L"{7E3A1F52-9C4B-4D6E-A8B1-5F2C0D9E4A17}";
inline constexpr CLSID kReplayClsid = {
    0x7E3A1F52, 0x9C4B, 0x4D6E, {0xA8, 0xB1, 0x5F, 0x2C, 0x0D, 0x9E, 0x4A, 0x17}};

}  // namespace veltrano::replay
