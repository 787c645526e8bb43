#include "core/lookup_pass.h"
#include "support/recording_fields.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

using qorin::runLookupPass;

namespace {

struct Lookup
{
    const char* name;
    std::u16string input;
    std::u16string output;
};

void PrintTo(const Lookup& c, std::ostream* os)
{
    *os << c.name;
}

class BuiltInLookup : public testing::TestWithParam<Lookup>
{
};

// A fresh pass over the built-in glossary, with an output that did not hold the input.
TEST_P(BuiltInLookup, FreshPassLeavesTranslation)
{
    const Lookup& c = GetParam();
    RecordingFields fields(c.input, u"poprzednie");
    runLookupPass(fields);
    EXPECT_EQ(fields.output, c.output);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BuiltInLookup,
    testing::Values(
        Lookup{"CapitalFirstLetter", u"Kot", u"el gato"},
        Lookup{"PolishCapitals", u"ABAŻUR", u"el pantalla"},
        Lookup{"LeadingSpace", u" abażur", u""}, Lookup{"TrailingSpace", u"abażur ", u""},
        Lookup{"Phrase", u"do widzenia", u"adiós"},
        Lookup{"PhraseWithDoubleSpace", u"do  widzenia", u""},
        Lookup{"SecondOfTwoRowsWins", u"obok", u"cerca de"},
        Lookup{"CapitalInTranslationKept", u"ile", u"Cuánto"}, Lookup{"Digit", u"7", u"siete"},
        Lookup{"DigitWithLeadingZero", u"07", u""}, Lookup{"TwoDigits", u"10", u""},
        Lookup{"TranslationIsNoHeadword", u"cero", u""}, Lookup{"At", u"@", u"la arroba ( małpa )"},
        Lookup{"ReflexiveVerb", u"KĄPAĆ SIĘ", u"bańarse"},
        Lookup{"LastRowOfTheTable", u"szambo", u"el pozo negro"},
        Lookup{"OnlyInChunkTwo", u"aktorstwo", u"el arte dramático"},
        Lookup{"TranslationOfOneRowIsHeadwordOfAnother", u"dla", u"para"},
        Lookup{"ParaTypedAfresh", u"para", u"vapor"}),
    [](const testing::TestParamInfo<Lookup>& test) { return std::string(test.param.name); });

TEST(BuiltInLookupWrites, ObokWritesBothRowsInOrder)
{
    RecordingFields fields(u"obok", u"");
    runLookupPass(fields);
    EXPECT_EQ(fields.writes, (std::vector<std::u16string>{u"", u"al lado de", u"cerca de"}));
}

// "dla" leaves "para" in the output. If the input then becomes "para" with no pass in
// between, the output already holds the input: it is not emptied and the chunk-2 row "para"
// is never reached, on this pass or any later one.
TEST(BuiltInLookupSequence, OutputEqualToNewInputIsKept)
{
    RecordingFields fields(u"dla", u"");
    runLookupPass(fields);
    ASSERT_EQ(fields.output, u"para");

    fields.input = u"para";
    for (int pass = 0; pass < 3; ++pass) {
        fields.resetCounts();
        runLookupPass(fields);
        EXPECT_EQ(fields.output, u"para");
        EXPECT_TRUE(fields.writes.empty());
        EXPECT_EQ(fields.inputReads, 1);
    }
}

// A pass in between, while the first letters are typed, leaves something else in the
// output, so "para" then finds its own row.
TEST(BuiltInLookupSequence, PassInBetweenLetsParaFindItsRow)
{
    RecordingFields fields(u"dla", u"");
    runLookupPass(fields);
    fields.input = u"par";
    runLookupPass(fields);
    ASSERT_EQ(fields.output, u"");
    fields.input = u"para";
    runLookupPass(fields);
    EXPECT_EQ(fields.output, u"vapor");
}

// Every digit finds its number word; two digits or a leading zero find nothing.
TEST(BuiltInLookupDigits, DigitsAreTextNotNumbers)
{
    const char16_t* words[] = {u"cero",  u"uno",  u"dos",   u"tres", u"cuatro",
                               u"cinco", u"seis", u"siete", u"ocho", u"nueve"};
    for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
        RecordingFields fields(std::u16string(1, digit), u"");
        runLookupPass(fields);
        EXPECT_EQ(fields.output, words[digit - u'0']);
    }
    for (const char16_t* text : {u"10", u"00", u"07", u"99", u"@@"}) {
        RecordingFields fields(text, u"");
        runLookupPass(fields);
        EXPECT_EQ(fields.output, u"");
    }
}

TEST(BuiltInLookupWrites, EmptyInputWritesOnceAndScansOneChunk)
{
    RecordingFields fields(u"", u"");
    runLookupPass(fields);
    EXPECT_EQ(fields.writes, std::vector<std::u16string>{u""});
    EXPECT_EQ(fields.inputReads, 1);
    EXPECT_EQ(fields.outputReads, 2);
}

} // namespace
