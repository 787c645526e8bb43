#pragma once

#include <string>
#include <string_view>

namespace qorin {

// The window's side of a lookup pass: its input field and its output field. These three
// operations are all the lookup may do to the window. Each may fail by throwing; the lookup
// catches nothing, so a failure ends the pass and travels on to whoever started it.
class TextFields
{
public:
    virtual ~TextFields() = default;

    virtual std::u16string readInput() = 0;
    virtual std::u16string readOutput() = 0;
    virtual void writeOutput(std::u16string_view text) = 0;
};

} // namespace qorin
