#pragma once

#include <array>
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

// One chunk: its rows in stored order.
using GlossaryChunk = std::span<const GlossaryEntry>;

// The four chunks in scan order. The lookup pass runs one chunk step per chunk.
using GlossaryTable = std::array<GlossaryChunk, 4>;

// The built-in chunks, in scan order. Constant data: nothing builds them at run time.
extern const GlossaryChunk kGlossaryChunk1;
extern const GlossaryChunk kGlossaryChunk2;
extern const GlossaryChunk kGlossaryChunk3;
extern const GlossaryChunk kGlossaryChunk4;

// The built-in table: the four chunks above, in scan order.
GlossaryTable builtInGlossary();

} // namespace qorin
