#include "lookup_pass.h"

#include "lower_case.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <bit>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

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

// The input as read, lowered in its own buffer: a chunk step allocates nothing more.
std::u16string LookupPass::normalisedInput()
{
    std::u16string input = m_fields.readInput();
    lowerOneForOne(input);
    return input;
}

namespace {

constexpr std::size_t kBlock = 16;

#if defined(__SSE2__)
// Which of the 16 keys from `keys` equal `key`: bit i for keys[i].
unsigned equalKeys(const HeadwordKey* keys, __m128i key)
{
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(keys));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(keys + 8));
    const __m128i equal = _mm_packs_epi16(_mm_cmpeq_epi16(low, key), _mm_cmpeq_epi16(high, key));
    return static_cast<unsigned>(_mm_movemask_epi8(equal));
}
#else
unsigned equalKeys(const HeadwordKey* keys, HeadwordKey key)
{
    unsigned equal = 0;
    for (std::size_t i = 0; i < kBlock; ++i)
        equal |= static_cast<unsigned>(keys[i] == key) << i;
    return equal;
}
#endif

} // namespace

// Tests every row, in stored order. A row matches when its headword equals the input. The
// keys beside the rows are compared sixteen at a time; only rows whose key equals the
// input's are compared in full, in their order.
void LookupPass::scan(const GlossaryChunk& chunk, std::u16string_view input)
{
    if (chunk.keys.size() != chunk.rows.size())
        throw std::invalid_argument("glossary chunk without a key for every row");
    const HeadwordKey key = headwordKey(input);
#if defined(__SSE2__)
    const __m128i blockKey = _mm_set1_epi16(static_cast<short>(key));
#else
    const HeadwordKey blockKey = key;
#endif
    const std::size_t count = chunk.rows.size();
    std::size_t first = 0;
    for (; first + kBlock <= count; first += kBlock) {
        for (unsigned equal = equalKeys(&chunk.keys[first], blockKey); equal != 0;
             equal &= equal - 1)
            testRow(chunk.rows[first + static_cast<std::size_t>(std::countr_zero(equal))], input);
    }
    for (; first < count; ++first) {
        if (chunk.keys[first] == key)
            testRow(chunk.rows[first], input);
    }
}

void LookupPass::testRow(const GlossaryEntry& row, std::u16string_view input)
{
    if (row.headword == input)
        m_fields.writeOutput(row.translation);
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
