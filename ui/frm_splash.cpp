#include "frm_splash.h"

#include "icon_pointer.h"
#include "shared_form.h"
#include "twips.h"

#include <QIcon>
#include <QMouseEvent>

namespace qorin::ui {

frmSplash::frmSplash()
    : PictureForm(QSize(px(4170), px(3150)), QStringLiteral(":/assets/about.jpg"), QColor())
{
    setObjectName(QStringLiteral("frmSplash"));
    // What the picture says, in words.
    setAccessibleName(QStringLiteral("About Qorin"));
    setAccessibleDescription(QStringLiteral("Qorin, freeware, by the Qorin team, "
                                            "qorin@example.org, version 4.95. Click or press a "
                                            "key to close."));
    setWindowIcon(QIcon(QStringLiteral(":/assets/about.ico")));
    setCursor(iconPointer());
    placeClientAt(QPoint(px(4530), px(4545)));
}

// Made visible, the window comes to the front and takes the focus, also when it was open
// already behind another window: the keys the user types next are for it.
void frmSplash::setVisible(bool visible)
{
    PictureForm::setVisible(visible);
    if (visible) {
        raise();
        activateWindow();
    }
}

void frmSplash::mouseReleaseEvent(QMouseEvent* event)
{
    if (clientRect().contains(event->position().toPoint()))
        Form_Click();
}

void frmSplash::mouseDoubleClickEvent(QMouseEvent*)
{
    Form_DblClick();
}

void frmSplash::Form_Click()
{
    SharedForm<frmSplash>::unload(*this);
}

void frmSplash::Form_DblClick()
{
    SharedForm<frmSplash>::unload(*this);
}

void frmSplash::Form_KeyPress(qint16&)
{
    SharedForm<frmSplash>::unload(*this);
}

} // namespace qorin::ui
