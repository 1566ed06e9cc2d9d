// The application's icon, drawn in code.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace veltrano {

// The application's picture: points set along a curved line.
QPixmap appPixmap(int size);
QIcon appIcon();

}  // namespace veltrano
