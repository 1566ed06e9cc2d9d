// Port: the system beep.
#pragma once

namespace veltrano {

class BeepPort {
public:
    virtual ~BeepPort() = default;
    virtual void beep() = 0;  // the system's default sound
};

}  // namespace veltrano
