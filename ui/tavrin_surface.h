#pragma once

#include "ui/hidpi_picture.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

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

// The client area of the main window below its menu bar: draws the background picture, the
// shadows, the badges with their labels and the frame, in that order from back to front.
// The text fields and the button are child widgets above it.
class TavrinSurface : public QWidget
{
    Q_OBJECT

public:
    explicit TavrinSurface(QWidget* parent);

    const std::vector<SurfaceItem>& items() const { return m_items; }
    // The badge under the input field that says "POLSKI": its rounded rectangle.
    const SurfaceItem& inputBadge() const;
    const QFont& labelFont() const { return m_labelFont; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintItem(QPainter& painter, const SurfaceItem& item) const;

    std::vector<SurfaceItem> m_items;
    HiDpiPicture m_picture;
    QFont m_labelFont;
};

} // namespace qorin::ui
