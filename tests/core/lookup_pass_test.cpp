#include "core/lookup_pass.h"
#include "support/pass_model.h"
#include "support/recording_fields.h"

#include <array>
#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using qorin::GlossaryEntry;
using qorin::GlossaryTable;
using qorin::runLookupPass;

namespace {

// A small table of our own: "kot" in chunks 1 and 3, "pies" twice in chunk 2, "mysz" only in
// chunk 4, and "echo" whose translation equals its headword.
constexpr GlossaryEntry kChunkA[] = {{u"kot", u"el gato"}, {u"dom", u"la casa"}};
constexpr GlossaryEntry kChunkB[] = {
    {u"pies", u"el perro"}, {u"pies", u"el can"}, {u"echo", u"echo"}};
constexpr GlossaryEntry kChunkC[] = {{u"kot", u"el minino"}, {u"echo", u"el eco"}};
constexpr GlossaryEntry kChunkD[] = {{u"mysz", u"el ratón"}, {u"dom", u"el hogar"}};
const GlossaryTable kSmall{kChunkA, kChunkB, kChunkC, kChunkD};

struct PassCase
{
    const char* name;
    std::u16string input;
    std::u16string outputBefore;
    std::u16string output;
    std::vector<std::u16string> writes;
    int inputReads;
    int outputReads;
};

void PrintTo(const PassCase& c, std::ostream* os)
{
    *os << c.name;
}

class SmallTablePass : public testing::TestWithParam<PassCase>
{
};

TEST_P(SmallTablePass, ReadsWritesAndLeavesWhatIsExpected)
{
    const PassCase& c = GetParam();
    RecordingFields fields(c.input, c.outputBefore);
    runLookupPass(fields, kSmall);

    EXPECT_EQ(fields.output, c.output);
    EXPECT_EQ(fields.writes, c.writes);
    EXPECT_EQ(fields.inputReads, c.inputReads);
    EXPECT_EQ(fields.outputReads, c.outputReads);

    // The reference model agrees with every hand-worked case.
    const PassOutcome model = expectedPass(kSmall, c.input, c.outputBefore);
    EXPECT_EQ(model.output, c.output);
    EXPECT_EQ(model.writes, c.writes);
    EXPECT_EQ(model.inputReads, c.inputReads);
    EXPECT_EQ(model.outputReads, c.outputReads);
}

INSTANTIATE_TEST_SUITE_P(
    HandWorked, SmallTablePass,
    testing::Values(
        // Empty input: one write even when the output is empty already, chunk 1 only.
        PassCase{"EmptyInputEmptyOutput", u"", u"", u"", {u""}, 1, 2},
        PassCase{"EmptyInputClearsOutput", u"", u"el gato", u"", {u""}, 1, 2},
        // Spaces are not empty: all four chunks scanned, nothing found.
        PassCase{"SpacesOnly", u"   ", u"", u"", {u""}, 4, 4},
        PassCase{"Miss", u"krowa", u"el perro", u"", {u""}, 4, 4},
        // A later match overwrites an earlier one, across chunks and within one.
        PassCase{"LaterChunkOverwrites",
                 u"Kot",
                 u"",
                 u"el minino",
                 {u"", u"el gato", u"el minino"},
                 4,
                 4},
        PassCase{"RepeatedHeadwordLastWins",
                 u"PIES",
                 u"x",
                 u"el can",
                 {u"", u"el perro", u"el can"},
                 4,
                 4},
        PassCase{"HitInChunkFour", u"mysz", u"", u"el ratón", {u"", u"el ratón"}, 4, 4},
        // The output already holds the input and chunk 1 has no match: the pass ends after
        // chunk 1 and writes nothing.
        PassCase{"OutputAlreadyEqualsInput", u"mysz", u"mysz", u"mysz", {}, 1, 2},
        PassCase{"OutputEqualsLowerCasedInput", u"MYSZ", u"mysz", u"mysz", {}, 1, 2},
        // The output holds the input but chunk 1 matches: the pass goes on as usual.
        PassCase{"OutputEqualsInputButChunkOneMatches",
                 u"dom",
                 u"dom",
                 u"el hogar",
                 {u"la casa", u"el hogar"},
                 4,
                 4},
        // A translation equal to its headword makes the chaining test end the pass.
        PassCase{
            "TranslationEqualToHeadwordEndsPass", u"echo", u"", u"echo", {u"", u"echo"}, 2, 3}),
    [](const testing::TestParamInfo<PassCase>& test) { return std::string(test.param.name); });

// Random small tables, inputs and starting outputs: the engine does exactly what the model
// says, write for write and read for read.
TEST(LookupPassModel, AgreesOnRandomTables)
{
    const std::vector<std::u16string> words = {u"a", u"b", u"ab", u"ą", u"x"};
    const std::vector<std::u16string> inputs = {u"", u"a", u"A", u"b", u"AB", u"Ą", u" a", u"x"};
    const std::vector<std::u16string> outputs = {u"", u"a", u"b", u"ab", u"x", u"y"};
    std::mt19937 random(20261208);
    auto pick = [&](const std::vector<std::u16string>& from) -> const std::u16string& {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };

    for (int round = 0; round < 3000; ++round) {
        std::array<std::vector<GlossaryEntry>, 4> rows;
        GlossaryTable table;
        for (std::size_t k = 0; k < 4; ++k) {
            // Up to 40 rows, so the scan's blocks of rows are exercised too.
            const auto count = std::uniform_int_distribution<int>(0, round % 2 ? 4 : 40)(random);
            for (int i = 0; i < count; ++i)
                rows[k].push_back({pick(words), pick(words)});
            table[k] = rows[k];
        }
        const std::u16string& input = pick(inputs);
        const std::u16string& before = pick(outputs);

        RecordingFields fields(input, before);
        runLookupPass(fields, table);
        const PassOutcome model = expectedPass(table, input, before);
        ASSERT_EQ(fields.output, model.output) << "round " << round;
        ASSERT_EQ(fields.writes, model.writes) << "round " << round;
        ASSERT_EQ(fields.inputReads, model.inputReads) << "round " << round;
        ASSERT_EQ(fields.outputReads, model.outputReads) << "round " << round;
    }
}

// The same input pass after pass: the output is emptied and rewritten every time.
TEST(LookupPassRepeat, RewritesTheSameTranslationEveryPass)
{
    RecordingFields fields(u"kot", u"");
    for (int pass = 0; pass < 3; ++pass) {
        fields.resetCounts();
        runLookupPass(fields, kSmall);
        EXPECT_EQ(fields.writes, (std::vector<std::u16string>{u"", u"el gato", u"el minino"}));
    }
    EXPECT_EQ(fields.output, u"el minino");
}

struct LookAlike
{
    const char* name;
    std::u16string headword;
    std::u16string lookAlike; // another text with the same key
};

void PrintTo(const LookAlike& c, std::ostream* os)
{
    *os << c.name;
}

class LookupPassScan : public testing::TestWithParam<LookAlike>
{
};

// Chunks of every size around the scan's blocks of sixteen rows, the headword at each place
// in turn and once more at the end, among look-alikes that the scan's shortcut cannot tell
// from it (the same length, up to 31, and the same low 11 bits of the first code unit):
// everywhere, here and there, or nowhere between rows of another kind. Exactly the matching
// rows are written, in order.
TEST_P(LookupPassScan, WritesExactlyTheMatchingRowsInOrder)
{
    const LookAlike& c = GetParam();
    ASSERT_NE(c.headword, c.lookAlike);

    for (const std::size_t size : {1, 2, 15, 16, 17, 31, 32, 33, 47, 48, 49}) {
        for (std::size_t at = 0; at < size; ++at) {
            for (const std::size_t lookAlikeEvery : {1, 7, 0}) {
                std::vector<GlossaryEntry> rows;
                for (std::size_t i = 0; i < size; ++i) {
                    if (lookAlikeEvery != 0 && i % lookAlikeEvery == lookAlikeEvery / 2)
                        rows.push_back({c.lookAlike, u"look-alike"});
                    else
                        rows.push_back({u"dom", u"la casa"});
                }
                std::vector<std::u16string> expected{u"", u"first"};
                rows[at] = {c.headword, u"first"};
                if (at + 1 < size) {
                    rows.back() = {c.headword, u"last"};
                    expected.push_back(u"last");
                }
                const GlossaryTable table{rows, {}, {}, {}};

                RecordingFields fields(c.headword, u"");
                runLookupPass(fields, table);
                ASSERT_EQ(fields.writes, expected)
                    << size << " rows, headword at " << at << ", a look-alike every "
                    << lookAlikeEvery << " rows";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, LookupPassScan,
    testing::Values(
        LookAlike{"SameLengthAndFirstLetter", u"kot", u"kit"},
        // U+086B and "k" (U+006B) agree in the bits of the first code unit that the key keeps.
        LookAlike{"FirstLettersDifferAboveTheKeysBits", u"kot", u"\u086Bot"},
        LookAlike{"LongerThanTheKeysLength", std::u16string(40, u'a'), std::u16string(31, u'a')},
        LookAlike{"LongerStill", std::u16string(32, u'z'), std::u16string(33, u'z')}),
    [](const testing::TestParamInfo<LookAlike>& test) { return std::string(test.param.name); });

struct FailureCase
{
    const char* name;
    int failOnInputRead;
    int failOnOutputRead;
    std::u16string outputLeft;
    int writesBeforeFailure;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class LookupPassFailure : public testing::TestWithParam<FailureCase>
{
};

// A failing field ends the pass at once; the error reaches the caller unchanged and the
// output keeps the last text written before it.
TEST_P(LookupPassFailure, PropagatesAndKeepsLastWrite)
{
    const FailureCase& c = GetParam();
    RecordingFields fields(u"kot", u"stare");
    fields.failOnInputRead = c.failOnInputRead;
    fields.failOnOutputRead = c.failOnOutputRead;

    EXPECT_THROW(runLookupPass(fields, kSmall), std::runtime_error);
    EXPECT_EQ(fields.output, c.outputLeft);
    EXPECT_EQ(static_cast<int>(fields.writes.size()), c.writesBeforeFailure);
}

INSTANTIATE_TEST_SUITE_P(Fields, LookupPassFailure,
                         testing::Values(FailureCase{"InputFailsFirstRead", 1, 0, u"stare", 0},
                                         FailureCase{"InputFailsSecondRead", 2, 0, u"el gato", 2},
                                         FailureCase{"InputFailsFourthRead", 4, 0, u"el minino", 3},
                                         FailureCase{"OutputFailsFirstRead", 0, 1, u"stare", 0},
                                         FailureCase{"OutputFailsSecondRead", 0, 2, u"el gato", 2}),
                         [](const testing::TestParamInfo<FailureCase>& test) {
                             return std::string(test.param.name);
                         });

} // namespace
