#include "platform/qt/qt_window_activation.h"

#include <QApplication>
#include <QWidget>

#include "foundation/run_time_error.h"
#include "platform/qt/qt_text.h"

namespace veltrano {

namespace {
QWidget* windowTitled(const QString& title) {
    QWidget* startsWith = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) continue;
        if (window->windowTitle() == title) return window;
        if (!startsWith && window->windowTitle().startsWith(title)) startsWith = window;
    }
    return startsWith;
}
}  // namespace

void QtWindowActivation::activate(std::string_view title, bool waitForFocus) {
    const QString wanted = fromUtf8(title);
    QWidget* window = wanted.isEmpty() ? nullptr : windowTitled(wanted);
    if (!window) {
        throw RunTimeError(err::kInvalidProcedureCall, {}, "AppActivate");
    }
    window->raise();
    window->activateWindow();
    if (waitForFocus) QCoreApplication::processEvents();
}

}  // namespace veltrano
