#pragma once

#include "core/text_fields.h"

#include <stdexcept>
#include <string>
#include <vector>

// A pair of fields that remembers every access a pass makes. It can be told to fail on the
// n-th read of either field, the way a window's field may fail.
class RecordingFields : public qorin::TextFields
{
public:
    RecordingFields(std::u16string inputText, std::u16string outputText)
        : input(std::move(inputText)), output(std::move(outputText))
    {
    }

    std::u16string readInput() override
    {
        if (++inputReads == failOnInputRead)
            throw std::runtime_error("input field failed");
        return input;
    }

    std::u16string readOutput() override
    {
        if (++outputReads == failOnOutputRead)
            throw std::runtime_error("output field failed");
        return output;
    }

    void writeOutput(std::u16string_view text) override
    {
        output = text;
        writes.emplace_back(text);
    }

    void resetCounts()
    {
        inputReads = outputReads = 0;
        writes.clear();
    }

    std::u16string input;
    std::u16string output;
    int inputReads = 0;
    int outputReads = 0;
    std::vector<std::u16string> writes;
    int failOnInputRead = 0; // 0: never
    int failOnOutputRead = 0;
};
