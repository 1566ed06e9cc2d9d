#include "platform/qt/qt_busy_pointer.h"

#include <QApplication>
#include <QCursor>

namespace veltrano {

QtBusyPointer::~QtBusyPointer() {
    setBusy(false);
}

void QtBusyPointer::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace veltrano
