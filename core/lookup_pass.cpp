#include "core/lookup_pass.h"

#include "core/lower_case.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorin {

namespace {

// The scan's shortcut. A headword's key is 16 bits: its length (up to 31) and the low 11
// bits of its first code unit. Equal texts have equal keys, so a row whose key differs from
// the input's cannot match, and most rows are ruled out by one small comparison; a row whose
// key is equal is then compared in full. The keys of a chunk lie together, many to a cache
// line, apart from the rows.
using HeadwordKey = std::uint16_t;

constexpr HeadwordKey headwordKey(std::u16string_view text)
{
    const std::size_t length = text.size() < 31 ? text.size() : 31;
    const unsigned first = text.empty() ? 0u : (text.front() & 0x7FFu);
    return static_cast<HeadwordKey>((length << 11) | first);
}

using ChunkKeys = std::vector<HeadwordKey>;

ChunkKeys keysOf(GlossaryChunk chunk)
{
    ChunkKeys keys;
    keys.reserve(chunk.size());
    for (const GlossaryEntry& row : chunk)
        keys.push_back(headwordKey(row.headword));
    return keys;
}

// The keys of a chunk's rows, in row order. Those of the built-in chunks are made once, on
// the first pass, and kept; another table's (a test's own) are made afresh, into `scratch`,
// for each chunk step, so every table goes through the same scan.
std::span<const HeadwordKey> keysFor(GlossaryChunk chunk, ChunkKeys& scratch)
{
    static const GlossaryTable builtIn = builtInGlossary();
    static const std::array<ChunkKeys, 4> builtInKeys = {keysOf(builtIn[0]), keysOf(builtIn[1]),
                                                         keysOf(builtIn[2]), keysOf(builtIn[3])};
    for (std::size_t k = 0; k < builtIn.size(); ++k) {
        if (chunk.data() == builtIn[k].data() && chunk.size() == builtIn[k].size())
            return builtInKeys[k];
    }
    scratch = keysOf(chunk);
    return scratch;
}

// The keys are compared a block at a time: sixteen 16-bit keys fill two 128-bit vector
// registers.
constexpr std::size_t kBlock = 16;

// How many of the block's keys equal the input's. A plain loop of fixed length with no
// branch, which the compiler turns into vector compares and a sum (SSE2 on x86-64 at -O2).
unsigned equalKeys(const HeadwordKey* keys, HeadwordKey key)
{
    unsigned equal = 0;
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
        lowerCaseInPlace(input);
        return input;
    }

    void scan(GlossaryChunk chunk, std::u16string_view input);

    bool outputDiffersFrom(std::u16string_view input) { return m_fields.readOutput() != input; }

    TextFields& m_fields;
    const GlossaryTable& m_table;
    ChunkKeys m_scratchKeys;
};

// Tests every row, in stored order; a row matches when its headword equals the input. A
// block of rows none of whose keys equals the input's is passed over whole; in the other
// blocks, and in the short block at the end, each row whose key is equal is compared in
// full.
void LookupPass::scan(GlossaryChunk chunk, std::u16string_view input)
{
    const std::span<const HeadwordKey> keys = keysFor(chunk, m_scratchKeys);
    const HeadwordKey key = headwordKey(input);
    const std::size_t count = chunk.size();
    for (std::size_t first = 0; first < count; first += kBlock) {
        const std::size_t end = std::min(first + kBlock, count);
        if (end - first == kBlock && equalKeys(&keys[first], key) == 0)
            continue;
        for (std::size_t i = first; i < end; ++i) {
            if (keys[i] == key && chunk[i].headword == input)
                m_fields.writeOutput(chunk[i].translation);
        }
    }
}

} // namespace

void runLookupPass(TextFields& fields, const GlossaryTable& table)
{
    LookupPass(fields, table).run();
}

} // namespace qorin
