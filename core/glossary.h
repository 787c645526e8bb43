#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace qorin {

// One row of the glossary: the Polish headword the lower-cased input must equal exactly,
// and the Spanish text shown for it, written unchanged into the output field.
struct GlossaryEntry
{
    std::u16string_view headword;
    std::u16string_view translation;
};

// A compact stand-in for a headword, 16 bits: its length (up to 31) and the low 11 bits of
// its first code unit. Equal texts have equal keys, so comparing keys first rules out most
// rows with one small comparison; a row whose key equals the input's is then compared in
// full. The keys of a chunk lie together, many to a cache line, apart from the rows.
using HeadwordKey = std::uint16_t;

constexpr HeadwordKey headwordKey(std::u16string_view text)
{
    const std::size_t length = text.size() < 31 ? text.size() : 31;
    const unsigned first = text.empty() ? 0u : (text.front() & 0x7FFu);
    return static_cast<HeadwordKey>((length << 11) | first);
}

template <std::size_t N>
constexpr std::array<HeadwordKey, N> headwordKeys(const GlossaryEntry (&rows)[N])
{
    std::array<HeadwordKey, N> keys{};
    for (std::size_t i = 0; i < N; ++i)
        keys[i] = headwordKey(rows[i].headword);
    return keys;
}

// One chunk: its rows in stored order and, beside them, the key of each row's headword.
struct GlossaryChunk
{
    std::span<const GlossaryEntry> rows;
    std::span<const HeadwordKey> keys; // keys[i] == headwordKey(rows[i].headword)
};

// The four chunks in scan order. The lookup pass runs one chunk step per chunk.
using GlossaryTable = std::array<GlossaryChunk, 4>;

// The built-in chunks, in scan order. Constant data, rows and keys alike: nothing builds
// them at run time.
extern const GlossaryChunk kGlossaryChunk1;
extern const GlossaryChunk kGlossaryChunk2;
extern const GlossaryChunk kGlossaryChunk3;
extern const GlossaryChunk kGlossaryChunk4;

// The built-in table: the four chunks above, in scan order.
GlossaryTable builtInGlossary();

} // namespace qorin
