// The About box's window as its presenter sees it.
#pragma once

#include <string_view>

namespace veltrano {

// What the About presenter needs of its window; texts are UTF-8 with CR LF line breaks.
class AboutView {
public:
    virtual ~AboutView() = default;
    virtual void setCaption(std::string_view text) = 0;
    virtual void setVersionText(std::string_view text) = 0;
    virtual void setDescriptionText(std::string_view text) = 0;
    virtual void setDisclaimerText(std::string_view text) = 0;
    virtual void closeWindow() = 0;
};

}  // namespace veltrano
