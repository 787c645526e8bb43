#pragma once

#include <QPixmap>
#include <QString>

namespace qorin::ui {

// A picture compiled in at two resolutions: NAME.jpg and, at twice the resolution, NAME@2x.jpg
// (Qt's convention). Drawn on a device with more than one device pixel to a logical pixel, such
// as a dense screen, it comes from the larger image, so it is as sharp as the text beside it;
// its logical size is the same either way.
//
// QIcon also finds NAME@2x.jpg, but Qt 6.4 looks for it only when the application's own ratio
// is above 1 at the moment the file is added (a window moved later to a dense screen stays
// blurred), and at a ratio of 1.5 it hands out the smaller image even when it has both.
class HiDpiPicture
{
public:
    explicit HiDpiPicture(const QString& path);

    // The image to draw on a device of this device pixel ratio.
    const QPixmap& forRatio(qreal devicePixelRatio) const;

private:
    QString m_path;
    QPixmap m_picture;
    mutable QPixmap m_doublePicture; // read when first needed; null when there is none
    mutable bool m_doubleRead = false;
};

} // namespace qorin::ui
