#include "glossary.h"

#include <iterator>

namespace qorin {

namespace {

// Glossary chunk 3: one row per line, headword then translation.
// clang-format off
constexpr GlossaryEntry kRows[] = {
    {u"żołądek", u"el estómago"},
    {u"żyzny", u"fértil"},
    {u"czeski", u"checo"},
    {u"prokurator", u"el / la fiscal"},
    {u"zachód", u"el oeste, el occidente, ~słońca - puesta del sol"},
    {u"promień", u"el rayo, el radio ( mat. )"},
    {u"szlak", u"la ruta, la vía"},
};
// clang-format on

} // namespace

constinit const GlossaryChunk kGlossaryChunk3{kRows};

} // namespace qorin
