#include "ui/logo.h"

#include "ui/platform/accessibility.h"
#include "ui/platform/window_manager.h"
#include "ui/shared_form.h"
#include "ui/twips.h"

namespace qorin::ui {

Logo::Logo()
    : PictureForm(QSize(px(5400), px(3585)), QStringLiteral(":/assets/splash.jpg"), QColor(0, 0, 0),
                  Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("Logo"));
    presentToScreenReaders(*this, ScreenReaderRole::Window);
    setAccessibleName(QStringLiteral("Qorin"));
    setAccessibleDescription(QStringLiteral("Polish-Spanish pocket dictionary, starting"));
    centreOnScreen(*this);
}

void Logo::Form_KeyPress(qint16&)
{
    SharedForm<Logo>::unload(*this);
}

} // namespace qorin::ui
