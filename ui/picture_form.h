#pragma once

#include "ui/hidpi_picture.h"

#include <QColor>
#include <QWidget>

namespace qorin::ui {

// A window without a title bar that shows one picture, unscaled, at the top-left corner of
// its client area, inside a fixed single-line border. It has no taskbar button and can be
// neither resized nor dragged. Closing it destroys it. The splash and About windows are such
// windows: plain top-level windows without an owner, so the window manager stacks them like
// any other window.
class PictureForm : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kBorderWidth = 1;

    PictureForm(QSize clientSize, const QString& picture, const QColor& background,
                Qt::WindowFlags extraFlags = {});

    // The client area, inside the border, in this window's coordinates.
    QRect clientRect() const;

protected:
    // Places the window so that its client area's top-left corner is at this screen point.
    void placeClientAt(QPoint screenPoint);

    void paintEvent(QPaintEvent* event) override;

    // A key that produces a character reaches the form's key-press handler with its
    // character code; other keys are not the form's business.
    void keyPressEvent(QKeyEvent* event) override;
    virtual void Form_KeyPress(qint16& characterCode) = 0;

private:
    HiDpiPicture m_picture;
    QColor m_background;
};

} // namespace qorin::ui
