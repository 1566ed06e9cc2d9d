#include "dialog/qt/refresh_picture.h"

#include <QPainter>
#include <QPainterPath>

namespace veltrano {

QPixmap refreshPicture() {
    constexpr int kSize = 16;
    const QColor grey(0xc0, 0xc0, 0xc0);
    const QColor darkBlue(0x00, 0x00, 0x80);
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(grey);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    // Three quarters of a circle, clockwise from the top, ending in an arrowhead at the left.
    const QRectF ring(3.0, 3.0, 10.0, 10.0);
    painter.setPen(QPen(darkBlue, 2.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(ring, 90 * 16, -270 * 16);

    QPainterPath head;
    head.moveTo(0.5, 8.0);
    head.lineTo(5.5, 8.0);
    head.lineTo(3.0, 11.5);
    head.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(darkBlue);
    painter.drawPath(head);
    return pixmap;
}

}  // namespace veltrano
