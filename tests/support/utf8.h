#pragma once

#include <string>
#include <string_view>
#include <unicode/unistr.h>

// UTF-16 text as UTF-8, for test messages and for files kept in UTF-8: ICU's conversion, which
// writes U+FFFD for a lone surrogate.
inline std::string utf8(std::u16string_view text)
{
    std::string out;
    icu::UnicodeString(false, text.data(), static_cast<int32_t>(text.size())).toUTF8String(out);
    return out;
}
