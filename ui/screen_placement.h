#pragma once

class QWidget;

namespace qorin::ui {

// Moves a top-level window so that it stands in the middle of its screen's work area.
void centreOnScreen(QWidget& window);

} // namespace qorin::ui
