#include "ui/picture_form.h"

#include "ui/key_character.h"
#include "ui/platform/window_manager.h"

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
    keepNameless(*this);
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
        qint16 characterCode = *character;
        Form_KeyPress(characterCode);
        return;
    }
    QWidget::keyPressEvent(event);
}

void PictureForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The border is what the client area leaves of the window filled black: a stroked outline
    // would reach into the picture by half a device pixel's width on dense screens.
    painter.fillRect(rect(), Qt::black);
    const QRect client = clientRect();
    painter.fillRect(client, m_background.isValid() ? m_background : palette().window().color());
    painter.setClipRect(client);
    painter.drawPixmap(client.topLeft(), m_picture.forRatio(painter.device()->devicePixelRatio()));
}

} // namespace qorin::ui
