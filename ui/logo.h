#pragma once

#include "ui/picture_form.h"

namespace qorin::ui {

// The splash window shown during start-up: the splash picture on black, centred on the
// screen each time it is loaded. A key press that reaches it unloads it.
//
// It takes no focus, so keys typed during start-up stay with the window that has it. It is
// not Qt's splash-screen type: Qt processes every pending event, typed keys included, when a
// splash-screen window is first shown before the event loop runs, and keys pressed during
// start-up must wait until the start-up procedure has returned.
class Logo : public PictureForm
{
    Q_OBJECT

public:
    Logo();

private:
    void Form_KeyPress(qint16& characterCode) override;
};

} // namespace qorin::ui
