#include "pass_model.h"

#include "core/lower_case.h"

PassOutcome expectedPass(const qorin::GlossaryTable& table, const std::u16string& input,
                         const std::u16string& outputBefore)
{
    const std::u16string n = qorin::lowerCaseCopy(input);
    PassOutcome out;
    out.output = outputBefore;
    // An empty input leaves the output empty after one write, and no headword is empty.
    if (n.empty())
        out.writes = {u""};
    // Otherwise the output is emptied unless it already holds the input.
    else if (outputBefore != n)
        out.writes = {u""};
    if (!out.writes.empty())
        out.output.clear();
    out.outputReads = 1;

    for (std::size_t k = 0; k < table.size(); ++k) {
        ++out.inputReads;
        for (const qorin::GlossaryEntry& entry : table[k]) {
            if (entry.headword == n) {
                out.writes.emplace_back(entry.translation);
                out.output = entry.translation;
            }
        }
        const bool lastChunk = k + 1 == table.size();
        if (lastChunk)
            break;
        ++out.outputReads;
        if (out.output == n)
            break;
    }
    return out;
}
