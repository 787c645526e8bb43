#include "glossary.h"

#include <iterator>

namespace qorin {

namespace {

// Glossary chunk 2: one row per line, headword then translation.
// clang-format off
constexpr GlossaryEntry kRows[] = {
    {u"aktorstwo", u"el arte dramático"},
    {u"automatyczna sekretarka", u"el contestador automático"},
    {u"decydują", u"deciden"},
    {u"kocha", u"ama"},
    {u"komórka", u"la célula, el móvil ( telefon )"},
    {u"opowieść", u"el relato"},
    {u"osiągać", u"lograr"},
    {u"oszczędzasz", u"ahorras"},
    {u"otwarty", u"abierto"},
    {u"otwarty", u"abierto"},
    {u"padać", u"llover ( deszcz ), nevar ( śnieg ), granizar ( grad )"},
    {u"para", u"vapor"},
    {u"podpisuje", u"firma"},
    {u"przedział", u"el compartimento"},
    {u"przedział", u"el compartimento"},
    {u"rok", u"el ańo"},
    {u"ściągać", u"quitar ( zdejmować ), apretar ( ściskać ), llamar ( wołać ), encoger ( kurczyć ), copiar ( odpisywać )"},
    {u"tak", u"sí"},
    {u"w", u"en"},
    {u"wymawiać", u"pronunciar"},
    {u"wymawiać", u"pronunciar"},
    {u"żłóbek", u"el belén, el nacimiento"},
};
// clang-format on

} // namespace

constinit const GlossaryChunk kGlossaryChunk2{kRows};

} // namespace qorin
