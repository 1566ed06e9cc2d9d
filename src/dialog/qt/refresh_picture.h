// The refresh button's picture, drawn in code.
#pragma once

#include <QPixmap>

namespace veltrano {

// The refresh button's 16 x 16 picture: a dark-blue circular arrow on grey.
QPixmap refreshPicture();

}  // namespace veltrano
