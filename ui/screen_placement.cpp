#include "screen_placement.h"

#include <QScreen>
#include <QWidget>

namespace qorin::ui {

void centreOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    QRect frame = window.geometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

} // namespace qorin::ui
