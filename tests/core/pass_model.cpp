#include "pass_model.h"

#include "lower_case.h"

namespace {

std::vector<std::u16string> translationsOf(qorin::GlossaryChunk chunk, const std::u16string& n)
{
    std::vector<std::u16string> found;
    for (const auto& entry : chunk.rows) {
        if (entry.headword == n)
            found.emplace_back(entry.translation);
    }
    return found;
}

} // namespace

PassOutcome expectedPass(const qorin::GlossaryTable& table, const std::u16string& input,
                         const std::u16string& outputBefore)
{
    const std::u16string n = qorin::toLowerOneForOne(input);
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
        const auto found = translationsOf(table[k], n);
        out.writes.insert(out.writes.end(), found.begin(), found.end());
        if (!found.empty())
            out.output = found.back();
        const bool lastChunk = k + 1 == table.size();
        if (lastChunk)
            break;
        ++out.outputReads;
        if (out.output == n)
            break;
    }
    return out;
}
