#include "lower_case.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

namespace qorin {

namespace {

// ICU's simple case mapping is one code point to one code point. A mapping that would move
// a character into the other plane (and so change the text's length) is not applied; ICU
// has none today, and the length guarantee must not depend on that.
UChar32 lowerCodePoint(UChar32 c)
{
    const UChar32 lower = u_tolower(c);
    return U16_LENGTH(lower) == U16_LENGTH(c) ? lower : c;
}

} // namespace

std::u16string toLowerOneForOne(std::u16string_view text)
{
    std::u16string result(text);
    const auto length = static_cast<int32_t>(result.size());
    int32_t i = 0;
    while (i < length) {
        const int32_t start = i;
        UChar32 c = 0;
        U16_NEXT(result.data(), i, length, c); // a lone surrogate comes back as itself
        const UChar32 lower = lowerCodePoint(c);
        if (lower == c)
            continue;
        int32_t at = start; // same length as the code point it replaces
        U16_APPEND_UNSAFE(result.data(), at, lower);
    }
    return result;
}

} // namespace qorin
