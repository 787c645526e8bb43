#include "lower_case.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <unicode/uchar.h>
#include <unicode/utf16.h>

using qorin::toLowerOneForOne;

namespace {

std::u16string encode(UChar32 c)
{
    char16_t units[2] = {};
    int32_t length = 0;
    U16_APPEND_UNSAFE(units, length, c);
    return std::u16string(units, static_cast<std::size_t>(length));
}

struct Case
{
    const char* name;
    std::u16string input;
    std::u16string expected;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class LowerCase : public testing::TestWithParam<Case>
{
};

TEST_P(LowerCase, MapsOneForOne)
{
    const Case& c = GetParam();
    EXPECT_EQ(toLowerOneForOne(c.input), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LowerCase,
    testing::Values(
        Case{"Empty", u"", u""},
        Case{"LatinCapitals", u"ABCDEFGHIJKLMNOPQRSTUVWXYZ", u"abcdefghijklmnopqrstuvwxyz"},
        Case{"PolishCapitals", u"ĄĆĘŁŃÓŚŹŻ", u"ąćęłńóśźż"},
        Case{"MixedPhrase", u"Kąpać SIĘ", u"kąpać się"},
        Case{"SmallLettersDigitsAndMarksUnchanged", u"abc 0123 @,.-/~() ąż",
             u"abc 0123 @,.-/~() ąż"},
        Case{"SpacesKeptWhereTheyAre", u"  DO  WIDZENIA ", u"  do  widzenia "},
        Case{"GreekAndCyrillic", u"ΑΒΓ ДЖЯ", u"αβγ джя"},
        // The full mapping would give two characters (i and a combining dot); one-for-one
        // keeps one.
        Case{"CapitalIWithDot", u"İ", u"i"},
        Case{"DeseretCapitalOutsideTheBasicPlane", u"\U00010400x", u"\U00010428x"},
        Case{"AdlamCapital", u"\U0001E900", u"\U0001E922"},
        Case{"LoneHighSurrogate", std::u16string{u'A', char16_t{0xD801}, u'B'},
             std::u16string{u'a', char16_t{0xD801}, u'b'}},
        Case{"LoneLowSurrogate", std::u16string{char16_t{0xDC00}, u'Ż'},
             std::u16string{char16_t{0xDC00}, u'ż'}},
        Case{"LowBeforeHighIsNoPair", std::u16string{char16_t{0xDC00}, char16_t{0xD801}},
             std::u16string{char16_t{0xDC00}, char16_t{0xD801}}},
        Case{"HighSurrogateAtTheEnd", std::u16string{u'Ł', char16_t{0xD801}},
             std::u16string{u'ł', char16_t{0xD801}}}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// Every code point ICU knows keeps its length in UTF-16 code units, and every one whose
// simple lower-case form stays in its plane is lowered to exactly that form.
TEST(LowerCaseAllCodePoints, LengthKeptAndCapitalsLowered)
{
    int lowered = 0;
    for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
        if (U_IS_SURROGATE(c))
            continue;
        const std::u16string text = encode(c);
        const std::u16string result = toLowerOneForOne(text);
        ASSERT_EQ(result.size(), text.size()) << "U+" << std::hex << c;
        const UChar32 expected = u_tolower(c);
        if (U16_LENGTH(expected) == U16_LENGTH(c)) {
            ASSERT_EQ(result, encode(expected)) << "U+" << std::hex << c;
            lowered += expected != c;
        }
    }
    // ICU 72 lowers some 1,400 capitals; a broken mapping would lower none or few.
    EXPECT_GT(lowered, 1000);
}

TEST(LowerCaseAllCodePoints, LongTextKeepsItsLength)
{
    std::u16string text;
    for (UChar32 c = 0x20; c < 0x3000; ++c)
        text += encode(c);
    text += std::u16string(1, char16_t{0xD800});
    EXPECT_EQ(toLowerOneForOne(text).size(), text.size());
}

} // namespace
