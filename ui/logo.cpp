#include "logo.h"

#include "screen_placement.h"
#include "shared_form.h"
#include "twips.h"

namespace qorin::ui {

Logo::Logo()
    : PictureForm(QSize(px(5400), px(3585)), QStringLiteral(":/assets/splash.jpg"), QColor(0, 0, 0),
                  Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("Logo"));
    setAccessibleName(QStringLiteral("Qorin"));
    setAccessibleDescription(QStringLiteral("Polish-Spanish pocket dictionary, starting"));
    centreOnScreen(*this);
}

void Logo::Form_KeyPress(qint16&)
{
    SharedForm<Logo>::unload(*this);
}

} // namespace qorin::ui
