#pragma once

#include "hidpi_picture.h"
#include "surface_item.h"

#include <QFont>
#include <QWidget>
#include <vector>

namespace qorin::ui {

// The client area of the main window below its menu bar: draws the background picture, the
// shadows, the badges with their labels and the frame, in that order from back to front.
// The text fields and the button are child widgets above it.
class TavrinSurface : public QWidget
{
    Q_OBJECT

public:
    explicit TavrinSurface(QWidget* parent);

    const std::vector<SurfaceItem>& items() const { return m_items; }
    // Where the item of this name lies on the surface; an empty rectangle when none has it.
    QRect itemRect(const QString& name) const;
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
