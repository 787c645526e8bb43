#pragma once

class QWidget;

namespace qorin::ui {

// What a widget is to screen readers, where Qt's own guess is not what the user should
// hear. A window says it of its own widgets; the accessibility layer that installAccessibility()
// gives Qt reads it.
enum class ScreenReaderRole
{
    Dialog,            // a window that is a dialog (About)
    Window,            // a plain window (the splash)
    Alert,             // a note spoken as it appears, named by its text (a QLabel)
    ShownChildrenOnly, // a container that lists only its children that are not hidden
};

void presentToScreenReaders(QWidget& widget, ScreenReaderRole role);

// Tells Qt's accessibility layer, which screen readers query, to present the widgets given a
// role above as that role. Their names and descriptions are set by the windows themselves.
// Called once, by main() (and by each test program), before any window exists.
void installAccessibility();

} // namespace qorin::ui
