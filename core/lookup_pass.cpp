#include "lookup_pass.h"

#include "lower_case.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qorin {

namespace {

// The keys are compared a block at a time: sixteen 16-bit keys fill two 128-bit vector
// registers.
constexpr std::size_t kBlock = 16;

// How many of the block's keys equal the input's. A plain loop of fixed length with no
// branch, which the compiler turns into vector compares and a sum (SSE2 on x86-64 at -O2).
HeadwordKey equalKeys(const HeadwordKey* keys, HeadwordKey key)
{
    HeadwordKey equal = 0;
    for (std::size_t i = 0; i < kBlock; ++i)
        equal += keys[i] == key;
    return equal;
}

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
        lowerOneForOne(input);
        return input;
    }

    void scan(const GlossaryChunk& chunk, std::u16string_view input);

    bool outputDiffersFrom(std::u16string_view input) { return m_fields.readOutput() != input; }

    TextFields& m_fields;
    const GlossaryTable& m_table;
};

// Tests every row, in stored order; a row matches when its headword equals the input. A
// row whose key differs from the input's cannot match, so a block of rows none of whose
// keys equals the input's is passed over whole; in the other blocks, and in the short block
// at the end, each row whose key is equal is compared in full.
void LookupPass::scan(const GlossaryChunk& chunk, std::u16string_view input)
{
    if (chunk.keys.size() != chunk.rows.size())
        throw std::invalid_argument("glossary chunk without a key for every row");
    const HeadwordKey key = headwordKey(input);
    const std::size_t count = chunk.rows.size();
    for (std::size_t first = 0; first < count; first += kBlock) {
        const std::size_t end = std::min(first + kBlock, count);
        if (end - first == kBlock && equalKeys(&chunk.keys[first], key) == 0)
            continue;
        for (std::size_t i = first; i < end; ++i) {
            if (chunk.keys[i] == key && chunk.rows[i].headword == input)
                m_fields.writeOutput(chunk.rows[i].translation);
        }
    }
}

} // namespace

void runLookupPass(TextFields& fields, const GlossaryTable& table)
{
    LookupPass(fields, table).run();
}

} // namespace qorin
