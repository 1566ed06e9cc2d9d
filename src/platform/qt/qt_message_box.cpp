#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_text.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace veltrano {

namespace {
QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::CriticalStop:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtMessageBox::show(std::string_view text, std::string_view caption, MessageIcon icon) {
    const QString title = fromUtf8(caption.empty() ? kApplicationTitle : caption);
    QMessageBox box(qtIcon(icon), title, fromUtf8(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("messageBox"));
    // The hourglass of a running command must not hide the box's own pointer.
    box.setCursor(Qt::ArrowCursor);
    box.exec();
}

}  // namespace veltrano
