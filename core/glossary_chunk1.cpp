#include "glossary.h"

#include <iterator>

namespace qorin {

namespace {

// Glossary chunk 1: one row per line, headword then translation.
// clang-format off
constexpr GlossaryEntry kRows[] = {
    {u"@", u"la arroba ( małpa )"},
    {u"0", u"cero"},
    {u"1", u"uno"},
    {u"2", u"dos"},
    {u"3", u"tres"},
    {u"4", u"cuatro"},
    {u"5", u"cinco"},
    {u"6", u"seis"},
    {u"7", u"siete"},
    {u"8", u"ocho"},
    {u"9", u"nueve"},
    {u"abażur", u"el pantalla"},
    {u"adres", u"la dirección"},
    {u"albo", u"o"},
    {u"apteka", u"la farmacia, la botica"},
    {u"bać się", u"tener miedo, temer"},
    {u"chwalić się", u"jactarse, presumir ( de )"},
    {u"dla", u"para"},
    {u"do widzenia", u"adiós"},
    {u"dziedzictwo", u"el patrimonio"},
    {u"dziedzictwo", u"el patrimonio"},
    {u"firma", u"la empresa"},
    {u"ile", u"Cuánto"},
    {u"kąpać się", u"bańarse"},
    {u"kąpać", u"bańar"},
    {u"kot", u"el gato"},
    {u"kotek", u"el gatito"},
    {u"kotek", u"el gatito"},
    {u"napisany", u"escrito"},
    {u"napisany", u"escrito"},
    {u"obok", u"al lado de"},
    {u"obok", u"cerca de"},
    {u"osada", u"la población"},
};
// clang-format on

} // namespace

constinit const GlossaryChunk kGlossaryChunk1{kRows};

} // namespace qorin
