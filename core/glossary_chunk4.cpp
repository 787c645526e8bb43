#include "glossary.h"

#include <iterator>

namespace qorin {

namespace {

// Glossary chunk 4: one row per line, headword then translation.
// clang-format off
constexpr GlossaryEntry kRows[] = {
    {u"szosa", u"la carretera"},
    {u"sam", u"solo ( samotny ), mismo"},
    {u"wstęp", u"la entrada ( wejście ), la introducción, el preámbulo ( przedmowa )"},
    {u"środowisko", u"el medio ambiente, el biotopo ( biol. )"},
    {u"szambo", u"el pozo negro"},
};
// clang-format on

} // namespace

constinit const GlossaryChunk kGlossaryChunk4{kRows};

} // namespace qorin
