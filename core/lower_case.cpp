#include "core/lower_case.h"

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

std::u16string lowerCaseCopy(std::u16string_view text)
{
    std::u16string result(text);
    lowerCaseInPlace(result);
    return result;
}

void lowerCaseInPlace(std::u16string& text)
{
    const std::size_t length = text.size();
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t unit = text[i];
        if (unit < 0x80) { // the common case, without a table lookup
            if (unit >= u'A' && unit <= u'Z')
                text[i] = static_cast<char16_t>(unit + (u'a' - u'A'));
        } else if (U16_IS_LEAD(unit) && i + 1 < length && U16_IS_TRAIL(text[i + 1])) {
            const UChar32 c = U16_GET_SUPPLEMENTARY(unit, text[i + 1]);
            const UChar32 lower = lowerCodePoint(c);
            text[i] = U16_LEAD(lower);
            text[i + 1] = U16_TRAIL(lower);
            ++i;
        } else {
            // Any other unit of the Basic Multilingual Plane, a lone surrogate included (ICU
            // maps a surrogate code point to itself).
            text[i] = static_cast<char16_t>(lowerCodePoint(unit));
        }
    }
}

} // namespace qorin
