#include "icon_pointer.h"

#include <QPainter>
#include <QPixmap>

namespace qorin::ui {

QCursor iconPointer()
{
    constexpr int kSize = 32;
    QPixmap shape(kSize, kSize);
    shape.fill(Qt::transparent);
    QPainter painter(&shape);
    // The outer square: black outline on white, so it shows on light and dark pictures.
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(8, 8, 15, 15);
    // The inner square, solid.
    painter.fillRect(13, 13, 6, 6, Qt::black);
    painter.end();
    return QCursor(shape, 16, 16);
}

} // namespace qorin::ui
