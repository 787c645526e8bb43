#pragma once

#include "picture_form.h"

namespace qorin::ui {

// The splash window shown during start-up: the splash picture on black, centred on the
// screen each time it is loaded. A key press that reaches it unloads it.
class Logo : public PictureForm
{
public:
    Logo();

private:
    void Form_KeyPress(qint16& KeyAscii) override;
};

} // namespace qorin::ui
