#pragma once

#include <QColor>
#include <QRect>
#include <QString>

namespace qorin::ui {

// Something a window draws on its own surface rather than as a child widget: a picture
// stretched to its rectangle, a plain or rounded rectangle, or a one-line label. Such items
// never take the focus and are drawn back to front in the order the window lists them.
struct SurfaceItem
{
    enum class Kind
    {
        Picture,
        Rectangle,
        RoundedRectangle,
        Label,
    };

    QString name;
    Kind kind = Kind::Rectangle;
    QRect geometry; // logical pixels, relative to the surface
    QColor fill;    // invalid: transparent inside
    QColor border;  // invalid: no border
    int borderWidth = 0;
    QString text; // labels: drawn centred
    QColor textColour;
};

} // namespace qorin::ui
