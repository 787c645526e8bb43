#pragma once

#include <QLabel>
#include <QTimer>

namespace qorin::ui {

// A short note that pops up just below a field, in the colours of a tooltip, and goes
// again by itself after a few seconds. Unlike a tooltip it stays while the user goes on
// typing, so a note about a key or a paste is still there when the key is let go.
class FieldNote : public QLabel
{
public:
    explicit FieldNote(QWidget* field);

    // Shows the text below the field, or shows it again for as long.
    void showNote(const QString& text);

private:
    QWidget* m_field;
    QTimer m_hideTimer;
};

} // namespace qorin::ui
