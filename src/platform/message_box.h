// Port: modal message boxes.
#pragma once

#include <string_view>

namespace veltrano {

// The title every message box without a caption of its own carries.
inline constexpr std::string_view kApplicationTitle = "Veltrano";

enum class MessageIcon { None, Exclamation, CriticalStop };

// A modal box with an OK button. An empty caption shows kApplicationTitle.
class MessageBoxPort {
public:
    virtual ~MessageBoxPort() = default;
    virtual void show(std::string_view text, std::string_view caption, MessageIcon icon) = 0;
};

}  // namespace veltrano
