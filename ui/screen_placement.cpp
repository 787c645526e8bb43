#include "screen_placement.h"

#include <QScreen>
#include <QWidget>

namespace qorin::ui {

void centreOnScreen(QWidget& window, const QMargins& frame)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    QRect whole(QPoint(), window.size().grownBy(frame));
    whole.moveCenter(screen->availableGeometry().center());
    // The client area's place: unlike move(), this never depends on what Qt knows of the
    // frame at the moment.
    window.setGeometry(QRect(whole.topLeft() + QPoint(frame.left(), frame.top()), window.size()));
}

} // namespace qorin::ui
