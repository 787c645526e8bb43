#include "core/lookup_pass.h"

#include "core/lower_case.h"

#include <string>
#include <string_view>

namespace qorin {

namespace {

class LookupPass
{
public:
    LookupPass(TextFields& fields, const GlossaryTable& table) : m_fields(fields), m_table(table) {}

    // The first chunk step, and through it the whole pass.
    void run()
    {
        const std::u16string input = normalisedInput();
        if (input.empty())
            m_fields.writeOutput(u"");
        if (outputDiffersFrom(input))
            m_fields.writeOutput(u"");
        scan(m_table[0], input);
        if (outputDiffersFrom(input))
            LookupChunk2();
    }

private:
    void LookupChunk2()
    {
        const std::u16string input = normalisedInput();
        scan(m_table[1], input);
        if (outputDiffersFrom(input))
            LookupChunk3();
    }

    void LookupChunk3()
    {
        const std::u16string input = normalisedInput();
        scan(m_table[2], input);
        if (outputDiffersFrom(input))
            LookupChunk4();
    }

    void LookupChunk4()
    {
        const std::u16string input = normalisedInput();
        scan(m_table[3], input);
    }

    // The input as read, lowered in its own buffer: a chunk step allocates nothing more.
    std::u16string normalisedInput()
    {
        std::u16string input = m_fields.readInput();
        lowerCaseInPlace(input);
        return input;
    }

    void scan(GlossaryChunk chunk, std::u16string_view input);

    bool outputDiffersFrom(std::u16string_view input) { return m_fields.readOutput() != input; }

    TextFields& m_fields;
    const GlossaryTable& m_table;
};

// Compares every row in full, in stored order, and writes the translation of each row whose
// headword equals the input.
void LookupPass::scan(GlossaryChunk chunk, std::u16string_view input)
{
    for (const GlossaryEntry& row : chunk) {
        if (row.headword == input)
            m_fields.writeOutput(row.translation);
    }
}

} // namespace

void runLookupPass(TextFields& fields, const GlossaryTable& table)
{
    LookupPass(fields, table).run();
}

} // namespace qorin
