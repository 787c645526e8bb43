#include "ui/frm_splash.h"

#include "ui/platform/accessibility.h"
#include "ui/shared_form.h"
#include "ui/twips.h"

#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace qorin::ui {

namespace {

// The icon pointer: a small square within a square, its hot spot in the middle.
QCursor iconPointer()
{
    constexpr int kSize = 32;
    QPixmap shape(kSize, kSize);
    shape.fill(Qt::transparent);
    QPainter painter(&shape);
    // The outer square: black outline on white, so it shows on light and dark pictures.
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(8, 8, 15, 15);
    // The inner square, solid.
    painter.fillRect(13, 13, 6, 6, Qt::black);
    painter.end();
    return QCursor(shape, 16, 16);
}

} // namespace

frmSplash::frmSplash()
    : PictureForm(QSize(px(4170), px(3150)), QStringLiteral(":/assets/about.jpg"), QColor())
{
    setObjectName(QStringLiteral("frmSplash"));
    presentToScreenReaders(*this, ScreenReaderRole::Dialog);
    // What the picture says, in words.
    setAccessibleName(QStringLiteral("About Qorin"));
    setAccessibleDescription(QStringLiteral("Qorin, freeware, by the Qorin team, "
                                            "qorin@example.org, version " QORIN_VERSION
                                            ". Click or press a key to close."));
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
