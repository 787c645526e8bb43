// Prints how the program lower-cases every code point: one line for each code point that
// the lower-casing changes, with the code point and the UTF-16 code units it becomes, in
// hexadecimal, and a last line with the number of code points tried. Lone surrogates are
// tried as single code units. Two builds that print the same lines lower-case every code
// point alike: the Windows build's output is compared with the Linux build's.

#include "core/lower_case.h"

#include <cstdio>
#include <string>

namespace {

std::u16string encode(char32_t c)
{
    if (c < 0x10000)
        return std::u16string(1, static_cast<char16_t>(c));
    const char32_t offset = c - 0x10000;
    return {static_cast<char16_t>(0xD800 + (offset >> 10)),
            static_cast<char16_t>(0xDC00 + (offset & 0x3FF))};
}

} // namespace

int main()
{
    constexpr char32_t kLast = 0x10FFFF;
    for (char32_t c = 0; c <= kLast; ++c) {
        const std::u16string text = encode(c);
        const std::u16string lowered = qorin::lowerCaseCopy(text);
        if (lowered == text)
            continue;
        std::printf("%04X", static_cast<unsigned>(c));
        for (const char16_t unit : lowered)
            std::printf(" %04X", static_cast<unsigned>(unit));
        std::printf("\n");
    }
    std::printf("tried %u code points\n", static_cast<unsigned>(kLast + 1));
    return 0;
}
