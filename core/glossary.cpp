#include "core/glossary.h"

namespace qorin {

GlossaryTable builtInGlossary()
{
    return {kGlossaryChunk1, kGlossaryChunk2, kGlossaryChunk3, kGlossaryChunk4};
}

} // namespace qorin
