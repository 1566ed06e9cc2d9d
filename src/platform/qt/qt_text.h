// UTF-8, the core's text, to Qt's QString: the one conversion every Qt adapter and view uses.
#pragma once

#include <QString>

#include <string_view>

namespace veltrano {

inline QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace veltrano
