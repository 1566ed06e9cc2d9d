#include "about/qt/app_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace veltrano {

QPixmap appPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    QPainterPath line;
    line.moveTo(3, 26);
    line.cubicTo(10, 4, 20, 30, 29, 6);
    painter.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(line);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(0xd9, 0x3a, 0x2b));
    for (const qreal t : {0.2, 0.5, 0.8}) {
        painter.drawEllipse(line.pointAtPercent(t), 3.2, 3.2);
    }
    return pixmap;
}

QIcon appIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) icon.addPixmap(appPixmap(size));
    return icon;
}

}  // namespace veltrano
