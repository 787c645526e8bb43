#pragma once

namespace qorin::ui {

// Tells Qt's accessibility layer, which screen readers query, what the program's own widgets
// are: the main window's surface lists only the controls that are shown (the hidden `Command1`
// stays out of the tree), the About window is a dialog, the splash window a window and a
// field's note an alert. Their names and descriptions are set by the windows themselves.
// Called once by the application object, before any window exists.
void installAccessibility();

} // namespace qorin::ui
