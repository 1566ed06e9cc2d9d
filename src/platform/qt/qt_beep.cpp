#include "platform/qt/qt_beep.h"

#include <QApplication>

namespace veltrano {

void QtBeep::beep() {
    QApplication::beep();
}

}  // namespace veltrano
