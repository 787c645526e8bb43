#pragma once

#include "core/glossary.h"
#include "core/text_fields.h"

namespace qorin {

// One lookup pass over the glossary: reads the input field, and writes into the output
// field the translation of every row whose headword equals the lower-cased input, in scan
// order, so the last match is what stays.
//
// The pass is four chunk steps, one per chunk. The first empties the output unless it
// already holds the lower-cased input; each of the first three ends with a chaining test
// and runs the next step only while the output differs from the lower-cased input. Every
// step reads and lower-cases the input afresh. Every row of a scanned chunk is compared in
// full, in stored order: no index, no early exit. The pass keeps nothing between runs; only
// the output field does.
//
// The table is the built-in glossary unless another is given.
void runLookupPass(TextFields& fields, const GlossaryTable& table = builtInGlossary());

} // namespace qorin
