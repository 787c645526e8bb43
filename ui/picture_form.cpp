#include "picture_form.h"

#include "key_character.h"
#include "window_manager.h"

#include <QKeyEvent>
#include <QPainter>

namespace qorin::ui {

PictureForm::PictureForm(QSize clientSize, const QString& picture, const QColor& background,
                         Qt::WindowFlags extraFlags)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | extraFlags), m_picture(picture),
      m_background(background)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString());
    setFixedSize(
        clientSize.grownBy(QMargins(kBorderWidth, kBorderWidth, kBorderWidth, kBorderWidth)));
    keepOffTaskbar(*this);
}

QRect PictureForm::clientRect() const
{
    return rect().marginsRemoved(QMargins(kBorderWidth, kBorderWidth, kBorderWidth, kBorderWidth));
}

void PictureForm::placeClientAt(QPoint screenPoint)
{
    move(screenPoint - clientRect().topLeft());
}

void PictureForm::keyPressEvent(QKeyEvent* event)
{
    if (const auto character = keyCharacter(*event)) {
        qint16 KeyAscii = *character;
        Form_KeyPress(KeyAscii);
        return;
    }
    QWidget::keyPressEvent(event);
}

void PictureForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect client = clientRect();
    painter.fillRect(client, m_background.isValid() ? m_background : palette().window().color());
    painter.setClipRect(client);
    painter.drawPixmap(client.topLeft(), m_picture);
    painter.setClipping(false);
    painter.setPen(QPen(Qt::black, kBorderWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -kBorderWidth, -kBorderWidth));
}

} // namespace qorin::ui
