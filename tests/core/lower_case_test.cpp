#include "core/lower_case.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <unicode/uchar.h>
#include <unicode/utf16.h>

using qorin::lowerCaseCopy;

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
    EXPECT_EQ(lowerCaseCopy(c.input), c.expected);
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
    [](const testing::TestParamInfo<Case>& test) { return std::string(test.param.name); });

// The lowered form of one code point, worked out from ICU alone: its simple lower-case
// form, unless that lies in the other plane (and so would change the length).
std::u16string expectedLower(UChar32 c)
{
    const UChar32 lower = u_tolower(c);
    return encode(U16_LENGTH(lower) == U16_LENGTH(c) ? lower : c);
}

// Every code point ICU knows, alone: lowered to exactly its expected form.
TEST(LowerCaseAllCodePoints, EachIsLoweredToItsSimpleForm)
{
    int lowered = 0;
    for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
        if (U_IS_SURROGATE(c))
            continue;
        const std::u16string expected = expectedLower(c);
        ASSERT_EQ(lowerCaseCopy(encode(c)), expected) << "U+" << std::hex << c;
        lowered += expected != encode(c);
    }
    // ICU 72 lowers some 1,400 capitals; a broken mapping would lower none or few.
    EXPECT_GT(lowered, 1000);
}

// Many code points side by side in one long text, with supplementary-plane capitals and lone
// surrogates between them and one lone surrogate at the very end: each is lowered as it is
// alone, so the walk through the text neither pairs what is not a pair nor skips a unit.
TEST(LowerCaseAllCodePoints, LongTextIsLoweredCodePointByCodePoint)
{
    std::u16string text;
    std::u16string expected;
    auto add = [&](UChar32 c) {
        text += encode(c);
        expected += expectedLower(c);
    };
    auto addLone = [&](char16_t surrogate) {
        text += surrogate;
        expected += surrogate;
    };
    for (UChar32 c = 0x20; c < 0x3000; ++c) {
        add(c);
        if (c % 97 == 0)
            addLone(0xDC00); // a trail with no lead before it
        if (c % 89 == 0)
            addLone(0xD801); // a lead before a character that is no trail
        if (c % 13 == 0)
            add(0x10400 + c % 40); // a Deseret capital
    }
    addLone(0xD800);
    const std::u16string lowered = lowerCaseCopy(text);
    const auto difference =
        std::mismatch(lowered.begin(), lowered.end(), expected.begin(), expected.end());
    EXPECT_TRUE(lowered == expected)
        << "first difference at unit " << (difference.first - lowered.begin()) << " of "
        << expected.size();
}

} // namespace
