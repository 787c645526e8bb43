#pragma once

#include "core/text_fields.h"

#include <string>
#include <string_view>

class QLineEdit;
class QPlainTextEdit;

namespace qorin::ui {

// The main window's two fields as the lookup pass sees them: it reads the input field `A`
// and writes into the output field `B`. What the pass writes is kept apart from what `B`
// shows, and `B` is redrawn only when the two differ after a pass, so a selection in `B`
// survives the passes that change nothing (five a second).
class LookupFields final : public TextFields
{
public:
    LookupFields(QLineEdit& input, QPlainTextEdit& output);

    // One lookup pass over the built-in glossary. Whatever it leaves for `B` is shown, also
    // when a failing field ends it early; the failure travels on to the caller.
    void runPass();

    std::u16string readInput() override;
    std::u16string readOutput() override;
    void writeOutput(std::u16string_view text) override;

private:
    void showOutput();

    QLineEdit& m_input;
    QPlainTextEdit& m_output;
    std::u16string m_written; // what the pass last wrote for `B`
    std::u16string m_shown;   // what `B` shows
};

} // namespace qorin::ui
