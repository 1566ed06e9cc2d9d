// The fixed texts of the About box.
#pragma once

#include <string>
#include <string_view>

namespace veltrano::about {

// "Version 1.1.1": each number plain, without leading zeros.
std::string versionText();
// What the placement method does and how accurate it is, with CR LF between paragraphs.
const std::string& descriptionText();
const std::string& titleText();
const std::string& disclaimerText();

}  // namespace veltrano::about
