// The beep port on Win32.
#pragma once

#include "platform/beep.h"

namespace veltrano::win32 {

class Win32Beep final : public BeepPort {
public:
    void beep() override;
};

}  // namespace veltrano::win32
