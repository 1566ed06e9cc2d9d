// The message-box port on Qt.
#pragma once

#include "platform/message_box.h"

class QWidget;

namespace veltrano {

// A modal QMessageBox over the active window; a box without a caption carries the
// application title.
class QtMessageBox final : public MessageBoxPort {
public:
    void show(std::string_view text, std::string_view caption, MessageIcon icon) override;
};

}  // namespace veltrano
