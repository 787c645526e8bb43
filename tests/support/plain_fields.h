#pragma once

#include "core/text_fields.h"

#include <string>
#include <string_view>
#include <utility>

// A pair of fields whose reads and writes do nothing beyond handing the text over: no
// record, no failure, no allocation of their own but the copies they return.
class PlainFields : public qorin::TextFields
{
public:
    PlainFields(std::u16string input, std::u16string output)
        : m_input(std::move(input)), m_output(std::move(output))
    {
    }

    std::u16string readInput() override { return m_input; }
    std::u16string readOutput() override { return m_output; }
    void writeOutput(std::u16string_view text) override { m_output.assign(text); }

    const std::u16string& output() const { return m_output; }

private:
    std::u16string m_input;
    std::u16string m_output;
};
