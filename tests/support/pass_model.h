#pragma once

#include "core/glossary.h"

#include <string>
#include <vector>

// What one lookup pass must do, worked out from the rows alone, without fields: the text it
// leaves in the output, every write in order, and how often each field is read.
struct PassOutcome
{
    std::u16string output;
    std::vector<std::u16string> writes;
    int inputReads = 0;
    int outputReads = 0;
};

PassOutcome expectedPass(const qorin::GlossaryTable& table, const std::u16string& input,
                         const std::u16string& outputBefore);
