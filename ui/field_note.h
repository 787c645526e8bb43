#pragma once

#include <QLabel>

class QTimer;

namespace qorin::ui {

// A short note that pops up just below a field, in the colours of a tooltip, and goes
// again by itself after a few seconds. Unlike a tooltip it stays while the user goes on
// typing, so a note about a key or a paste is still there when the key is let go.
//
// It is drawn inside the field's window, over the window's own surface, so it moves, hides
// and minimises with the window and never stands above another program's window. It takes
// neither the focus nor the mouse.
class FieldNote : public QLabel
{
    Q_OBJECT

public:
    // `widest`: the most the note may take across, from the field's left edge, so that it
    // keeps clear of what lies beside it; longer text wraps onto further lines.
    FieldNote(QWidget* field, int widest);

    // Shows the text below the field, or shows it again for as long.
    void showNote(const QString& text);

private:
    QWidget* m_field;
    int m_widest;
    QTimer* m_hideTimer = nullptr; // hides the note when it has been shown long enough
};

} // namespace qorin::ui
