#include "screen_placement.h"

#include <QScreen>
#include <QWidget>

namespace qorin::ui {

void centreOnScreen(QWidget& window, const QMarginsF& frame)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    // Worked out in fractions of a logical pixel, which at scale factors such as 1.5 are
    // whole device pixels, and rounded once, at the end.
    QRectF whole(QPointF(), QSizeF(window.size()).grownBy(frame));
    whole.moveCenter(QRectF(screen->availableGeometry()).center());
    const QPointF client = whole.topLeft() + QPointF(frame.left(), frame.top());
    // The client area's place: unlike move(), this never depends on what Qt knows of the
    // frame at the moment.
    window.setGeometry(QRect(client.toPoint(), window.size()));
}

} // namespace qorin::ui
