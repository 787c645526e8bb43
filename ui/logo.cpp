#include "logo.h"

#include "key_character.h"
#include "shared_form.h"
#include "twips.h"

#include <QKeyEvent>

namespace qorin::ui {

Logo::Logo()
    : PictureForm(QSize(px(5400), px(3585)), QStringLiteral(":/assets/splash.jpg"), QColor(0, 0, 0),
                  Qt::SplashScreen)
{
    setObjectName(QStringLiteral("Logo"));
    centreOnScreen();
}

void Logo::keyPressEvent(QKeyEvent* event)
{
    if (const auto character = keyCharacter(*event)) {
        qint16 KeyAscii = *character;
        Form_KeyPress(KeyAscii);
        return;
    }
    PictureForm::keyPressEvent(event);
}

void Logo::Form_KeyPress(qint16&)
{
    SharedForm<Logo>::unload(*this);
}

} // namespace qorin::ui
