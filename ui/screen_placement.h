#pragma once

#include <QMargins>

class QWidget;

namespace qorin::ui {

// Moves a top-level window so that it stands in the middle of its screen's work area, with
// the frame that the window manager puts around it, if any, in logical pixels.
void centreOnScreen(QWidget& window, const QMarginsF& frame = {});

} // namespace qorin::ui
