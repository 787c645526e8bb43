#include "ui/hidpi_picture.h"

namespace qorin::ui {

namespace {

// "dir/name.jpg" -> "dir/name@2x.jpg"
QString doubleResolutionPath(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype end = dot > slash ? dot : path.size();
    return path.left(end) + QStringLiteral("@2x") + path.mid(end);
}

} // namespace

HiDpiPicture::HiDpiPicture(const QString& path) : m_path(path), m_picture(path) {}

const QPixmap& HiDpiPicture::forRatio(qreal devicePixelRatio) const
{
    if (devicePixelRatio <= 1.0)
        return m_picture;
    if (!m_doubleRead) {
        m_doublePicture = QPixmap(doubleResolutionPath(m_path));
        m_doublePicture.setDevicePixelRatio(2.0); // two image pixels to a logical pixel
        m_doubleRead = true;
    }
    return m_doublePicture.isNull() ? m_picture : m_doublePicture;
}

} // namespace qorin::ui
