#include "lookup_pass.h"

#include "lower_case.h"

namespace qorin {

LookupPass::LookupPass(TextFields& fields, const GlossaryTable& table)
    : m_fields(fields), m_table(table)
{
}

void LookupPass::run()
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

void LookupPass::LookupChunk2()
{
    const std::u16string input = normalisedInput();
    scan(m_table[1], input);
    if (outputDiffersFrom(input))
        LookupChunk3();
}

void LookupPass::LookupChunk3()
{
    const std::u16string input = normalisedInput();
    scan(m_table[2], input);
    if (outputDiffersFrom(input))
        LookupChunk4();
}

void LookupPass::LookupChunk4()
{
    const std::u16string input = normalisedInput();
    scan(m_table[3], input);
}

std::u16string LookupPass::normalisedInput()
{
    return toLowerOneForOne(m_fields.readInput());
}

void LookupPass::scan(GlossaryChunk chunk, std::u16string_view input)
{
    for (const GlossaryEntry& entry : chunk) {
        if (entry.headword == input)
            m_fields.writeOutput(entry.translation);
    }
}

bool LookupPass::outputDiffersFrom(std::u16string_view input)
{
    return m_fields.readOutput() != input;
}

void runLookupPass(TextFields& fields, const GlossaryTable& table)
{
    LookupPass(fields, table).run();
}

} // namespace qorin
