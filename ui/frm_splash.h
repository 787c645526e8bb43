#pragma once

#include "ui/picture_form.h"

namespace qorin::ui {

// The About window: one picture with the program's name, authors, address and version. It
// opens at its stored position each time it is loaded, and a click, a double-click or a key
// that produces a character unloads it.
class frmSplash : public PictureForm
{
    Q_OBJECT

public:
    frmSplash();

    void setVisible(bool visible) override;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Form_Click();
    void Form_DblClick();
    void Form_KeyPress(qint16& characterCode) override;
};

} // namespace qorin::ui
