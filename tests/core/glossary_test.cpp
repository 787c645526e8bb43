// Every stated fact of the built-in glossary, checked against the compiled table: sizes,
// fixed rows and their places, order, invariants, character sets and figures.

#include "core/glossary.h"
#include "core/lower_case.h"
#include "support/utf8.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

using qorin::builtInGlossary;
using qorin::GlossaryEntry;
using qorin::lowerCaseCopy;

namespace {

struct Row
{
    int chunk; // 1 to 4
    int row;   // 1-based within the chunk
    std::u16string_view headword;
    std::u16string_view translation;
};

std::vector<Row> allRows()
{
    std::vector<Row> rows;
    const auto table = builtInGlossary();
    for (std::size_t c = 0; c < table.size(); ++c) {
        int n = 0;
        for (const GlossaryEntry& e : table[c])
            rows.push_back({static_cast<int>(c) + 1, ++n, e.headword, e.translation});
    }
    return rows;
}

std::string where(const Row& r)
{
    return "chunk " + std::to_string(r.chunk) + " row " + std::to_string(r.row) + " \"" +
           utf8(r.headword) + "\" -> \"" + utf8(r.translation) + "\"";
}

bool contains(std::u16string_view text, std::u16string_view part)
{
    return text.find(part) != std::u16string_view::npos;
}

// The Spanish words of a translation: what stands outside the parenthesised notes and
// before any "~".
std::u16string spanishPart(std::u16string_view translation)
{
    translation = translation.substr(0, translation.find(u'~'));
    std::u16string out;
    int depth = 0;
    for (char16_t c : translation) {
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if (depth == 0)
            out += c;
    }
    return out;
}

// The order of the alphabetical stretches, as the table keeps it:
// - letters in the source alphabet, each letter with a diacritic right after its base letter:
//   a ą b c ć d e ę f g h i j k l ł m n ń o ó p r s ś t u w y z ź ż;
// - a phrase stands before the row of its first word on its own, after any phrase with the
//   same first word that comes before it in the alphabet ("brać prysznic", "brać ślub",
//   "brać"): a space sorts before the end of a word, and the end of a word before any letter;
// - rows with the same headword stand side by side, in either order.
constexpr std::u16string_view kAlphabet = u"aąbcćdeęfghijklłmnńoóprsśtuwyzźż";
constexpr int kSpaceRank = 0;
constexpr int kEndRank = 1;
constexpr int kFirstLetterRank = 2;

// The headword's sort key: one rank for each character, then the end of the word. Empty when
// a character is outside the alphabet, as no headword of a stretch has one.
std::vector<int> sortKey(std::u16string_view headword)
{
    std::vector<int> key;
    for (char16_t c : headword) {
        const std::size_t letter = kAlphabet.find(c);
        if (c != u' ' && letter == std::u16string_view::npos)
            return {};
        key.push_back(c == u' ' ? kSpaceRank : kFirstLetterRank + static_cast<int>(letter));
    }
    key.push_back(kEndRank);
    return key;
}

// Each place where an alphabetical stretch breaks the order, naming the rows.
std::vector<std::string> orderFaults(const std::vector<Row>& stretch)
{
    std::vector<std::string> faults;
    for (std::size_t i = 0; i < stretch.size(); ++i) {
        const Row& row = stretch[i];
        if (sortKey(row.headword).empty()) {
            faults.push_back(where(row) + " has a character outside the alphabet");
            continue;
        }
        if (i == 0)
            continue;
        const Row& before = stretch[i - 1];
        if (before.headword != row.headword && !(sortKey(before.headword) < sortKey(row.headword)))
            faults.push_back(where(before) + " stands before " + where(row));
    }
    return faults;
}

template <class Predicate> int countRows(const std::vector<Row>& rows, Predicate predicate)
{
    return static_cast<int>(std::count_if(rows.begin(), rows.end(), predicate));
}

class Glossary : public testing::Test
{
protected:
    const std::vector<Row> rows = allRows();

    const Row& at(int chunk, int row) const
    {
        for (const Row& r : rows) {
            if (r.chunk == chunk && r.row == row)
                return r;
        }
        throw std::out_of_range("no such row");
    }

    std::vector<Row> run(int chunk, int first, int last) const
    {
        std::vector<Row> out;
        for (const Row& r : rows) {
            if (r.chunk == chunk && r.row >= first && r.row <= last)
                out.push_back(r);
        }
        return out;
    }
};

// Each chunk's file holds its size by itself; the built-in table must put each in its place.
TEST_F(Glossary, ChunkSizes)
{
    const auto table = builtInGlossary();
    EXPECT_EQ(table[0].size(), 1500u) << "chunk 1";
    EXPECT_EQ(table[1].size(), 1500u) << "chunk 2";
    EXPECT_EQ(table[2].size(), 195u) << "chunk 3";
    EXPECT_EQ(table[3].size(), 345u) << "chunk 4";
    EXPECT_EQ(rows.size(), 3540u) << "rows in all";
}

TEST_F(Glossary, FixedRowsStandInTheirPlaces)
{
    const Row fixed[] = {
        {1, 1, u"@", u"la arroba ( małpa )"},
        {1, 2, u"0", u"cero"},
        {1, 3, u"1", u"uno"},
        {1, 4, u"2", u"dos"},
        {1, 5, u"3", u"tres"},
        {1, 6, u"4", u"cuatro"},
        {1, 7, u"5", u"cinco"},
        {1, 8, u"6", u"seis"},
        {1, 9, u"7", u"siete"},
        {1, 10, u"8", u"ocho"},
        {1, 11, u"9", u"nueve"},
        {1, 12, u"abażur", u"el pantalla"},
        {1, 478, u"dziedzictwo", u"el patrimonio"},
        {1, 479, u"dziedzictwo", u"el patrimonio"},
        {1, 542, u"firma", u"la empresa"},
        {1, 913, u"kotek", u"el gatito"},
        {1, 914, u"kotek", u"el gatito"},
        {1, 1344, u"napisany", u"escrito"},
        {1, 1345, u"napisany", u"escrito"},
        {1, 1416, u"obok", u"al lado de"},
        {1, 1417, u"obok", u"cerca de"},
        {1, 1500, u"osada", u"la población"},
        {2, 1, u"aktorstwo", u"el arte dramático"},
        {2, 176, u"opowieść", u"el relato"},
        {2, 177, u"osiągać", u"lograr"},
        {2, 207, u"otwarty", u"abierto"},
        {2, 208, u"otwarty", u"abierto"},
        {2, 242, u"para", u"vapor"},
        {2, 508, u"przedział", u"el compartimento"},
        {2, 509, u"przedział", u"el compartimento"},
        {2, 1272, u"wymawiać", u"pronunciar"},
        {2, 1273, u"wymawiać", u"pronunciar"},
        {2, 1500, u"żłóbek", u"el belén, el nacimiento"},
        {3, 1, u"żołądek", u"el estómago"},
        {3, 11, u"żyzny", u"fértil"},
        {3, 12, u"czeski", u"checo"},
        {3, 195, u"szlak", u"la ruta, la vía"},
        {4, 1, u"szosa", u"la carretera"},
        {4, 345, u"szambo", u"el pozo negro"},
    };
    for (const Row& f : fixed) {
        const Row& r = at(f.chunk, f.row);
        EXPECT_TRUE(r.headword == f.headword && r.translation == f.translation)
            << "expected " << where(f) << ", found " << where(r);
    }
}

TEST_F(Glossary, GivenRowsStandInTheirChunks)
{
    const Row given[] = {
        {1, 0, u"adres", u"la dirección"},
        {1, 0, u"apteka", u"la farmacia, la botica"},
        {1, 0, u"bać się", u"tener miedo, temer"},
        {1, 0, u"chwalić się", u"jactarse, presumir ( de )"},
        {1, 0, u"do widzenia", u"adiós"},
        {1, 0, u"ile", u"Cuánto"},
        {1, 0, u"kąpać się", u"bańarse"},
        {1, 0, u"kąpać", u"bańar"},
        {1, 0, u"dla", u"para"},
        {1, 0, u"kot", u"el gato"},
        {2, 0, u"automatyczna sekretarka", u"el contestador automático"},
        {2, 0, u"decydują", u"deciden"},
        {2, 0, u"komórka", u"la célula, el móvil ( telefon )"},
        {2, 0, u"padać", u"llover ( deszcz ), nevar ( śnieg ), granizar ( grad )"},
        {2, 0, u"rok", u"el ańo"},
        {2, 0, u"podpisuje", u"firma"},
        {3, 0, u"prokurator", u"el / la fiscal"},
        {3, 0, u"zachód", u"el oeste, el occidente, ~słońca - puesta del sol"},
        {3, 0, u"promień", u"el rayo, el radio ( mat. )"},
        {4, 0, u"sam", u"solo ( samotny ), mismo"},
        {4, 0, u"wstęp", u"la entrada ( wejście ), la introducción, el preámbulo ( przedmowa )"},
        {4, 0, u"środowisko", u"el medio ambiente, el biotopo ( biol. )"},
    };
    for (const Row& g : given) {
        const bool found = std::any_of(rows.begin(), rows.end(), [&](const Row& r) {
            return r.chunk == g.chunk && r.headword == g.headword && r.translation == g.translation;
        });
        EXPECT_TRUE(found) << "missing " << where(g);
    }
}

TEST_F(Glossary, RepeatedHeadwordsAreTheSevenAdjacentPairs)
{
    std::map<std::u16string_view, std::vector<const Row*>> byHeadword;
    for (const Row& r : rows)
        byHeadword[r.headword].push_back(&r);
    EXPECT_EQ(byHeadword.size(), 3533u) << "distinct headwords";

    const std::set<std::u16string_view> expected = {
        u"dziedzictwo", u"kotek", u"napisany", u"obok", u"otwarty", u"przedział", u"wymawiać"};
    for (const auto& [headword, places] : byHeadword) {
        if (places.size() == 1)
            continue;
        EXPECT_TRUE(expected.count(headword)) << "headword repeated: " << utf8(headword);
        ASSERT_EQ(places.size(), 2u) << utf8(headword);
        EXPECT_EQ(places[0]->chunk, places[1]->chunk) << utf8(headword);
        EXPECT_EQ(places[0]->row + 1, places[1]->row) << utf8(headword) << " not adjacent";
    }
}

TEST_F(Glossary, EveryRowKeepsTheInvariants)
{
    for (const Row& r : rows) {
        EXPECT_FALSE(r.headword.empty()) << where(r);
        EXPECT_FALSE(r.translation.empty()) << where(r);
        EXPECT_EQ(lowerCaseCopy(r.headword), r.headword) << "not lower case: " << where(r);
        EXPECT_FALSE(r.headword.starts_with(u" ") || r.headword.ends_with(u" ") ||
                     contains(r.headword, u"  "))
            << "bad spacing: " << where(r);
        EXPECT_NE(r.headword, r.translation) << "translation equals headword: " << where(r);
        EXPECT_FALSE(r.translation.starts_with(u" ") || r.translation.ends_with(u" ") ||
                     contains(r.translation, u"  "))
            << "bad spacing: " << where(r);
    }
}

TEST_F(Glossary, HeadwordCharacters)
{
    const std::u16string_view letters = u"abcdefghijklmnoprstuwyząćęłńóśźż ";
    for (const Row& r : rows) {
        const bool symbolRow = r.chunk == 1 && r.row <= 11;
        const std::u16string_view allowed = symbolRow ? u"@0123456789" : letters;
        EXPECT_TRUE(std::all_of(r.headword.begin(), r.headword.end(),
                                [&](char16_t c) { return allowed.find(c) != allowed.npos; }))
            << "headword character out of set: " << where(r);
    }
}

TEST_F(Glossary, TranslationCharacters)
{
    const std::u16string_view spanish = u"abcdefghijklmnopqrstuvwxyzáéíóúüń ,()-./~";
    const std::u16string_view polishOnly = u"ąćęłśż";
    for (const Row& r : rows) {
        EXPECT_FALSE(contains(r.translation, u"\u00F1") || contains(r.translation, u"\u00D1"))
            << "n with tilde: " << where(r);
        const std::u16string words = spanishPart(r.translation);
        // Capitals only as a first letter (of a proper noun or a question).
        const std::u16string lowered = lowerCaseCopy(words);
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (words[i] != lowered[i]) {
                EXPECT_TRUE(i == 0 || words[i - 1] == u' ')
                    << "capital inside a word: " << where(r);
            }
            EXPECT_NE(spanish.find(lowered[i]), spanish.npos)
                << "character out of set in the Spanish words: " << where(r);
        }
        for (char16_t c : r.translation) {
            EXPECT_TRUE(spanish.find(lowerCaseCopy(std::u16string(1, c))[0]) != spanish.npos ||
                        polishOnly.find(c) != polishOnly.npos)
                << "character out of set: " << where(r);
        }
        for (char16_t c : u"?!\u00BF\u00A1")
            EXPECT_FALSE(contains(r.translation, std::u16string_view(&c, 1))) << where(r);
        // Notes stand in parentheses with a space inside each.
        const std::u16string_view t = r.translation;
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (t[i] == u'(') {
                EXPECT_TRUE(i + 1 < t.size() && t[i + 1] == u' ') << "after '(': " << where(r);
            }
            if (t[i] == u')') {
                EXPECT_TRUE(i > 0 && t[i - 1] == u' ') << "before ')': " << where(r);
            }
        }
        EXPECT_EQ(std::count(t.begin(), t.end(), u'('), std::count(t.begin(), t.end(), u')'))
            << where(r);
    }
}

TEST_F(Glossary, HeadwordFigures)
{
    std::set<std::u16string_view> multiWord, threeWords, reflexive;
    for (const Row& r : rows) {
        const auto spaces = std::count(r.headword.begin(), r.headword.end(), u' ');
        if (spaces >= 1)
            multiWord.insert(r.headword);
        if (spaces >= 2)
            threeWords.insert(r.headword);
        if (r.headword.ends_with(u" się"))
            reflexive.insert(r.headword);
    }
    EXPECT_EQ(multiWord.size(), 117u) << "distinct headwords of more than one word";
    EXPECT_EQ(threeWords, (std::set<std::u16string_view>{u"randka w ciemno", u"równać z ziemią"}))
        << "headwords of three words (and none longer)";
    EXPECT_EQ(reflexive.size(), 72u) << "distinct headwords ending in \" się\"";

    std::size_t longest = 0;
    for (const Row& r : rows)
        longest = std::max(longest, r.headword.size());
    EXPECT_EQ(longest, 23u) << "longest headword";
    EXPECT_EQ(countRows(rows, [](const Row& r) { return r.headword.size() == 23; }), 1)
        << "headwords of 23 characters";
    EXPECT_EQ(
        countRows(rows, [](const Row& r) { return r.headword == u"automatyczna sekretarka"; }), 1);
}

TEST_F(Glossary, TranslationFigures)
{
    struct Figure
    {
        const char* what;
        int expected;
        bool (*test)(const Row&);
    };
    const Figure figures[] = {
        {"beginning \"el \"", 1191, [](const Row& r) { return r.translation.starts_with(u"el "); }},
        {"beginning \"la \"", 821, [](const Row& r) { return r.translation.starts_with(u"la "); }},
        {"beginning \"los \"", 32, [](const Row& r) { return r.translation.starts_with(u"los "); }},
        {"beginning \"las \"", 36, [](const Row& r) { return r.translation.starts_with(u"las "); }},
        {"with \", \"", 464, [](const Row& r) { return contains(r.translation, u", "); }},
        {"with a note \"( ... )\"", 40,
         [](const Row& r) {
             return contains(r.translation, u"( ") && contains(r.translation, u" )");
         }},
        {"with \"el / la \"", 2, [](const Row& r) { return contains(r.translation, u"el / la "); }},
        {"with \"~\"", 2, [](const Row& r) { return contains(r.translation, u"~"); }},
        {"with an upper-case letter", 10,
         [](const Row& r) { return lowerCaseCopy(r.translation) != r.translation; }},
        {"with \"ń\" in their Spanish words", 72,
         [](const Row& r) { return contains(spanishPart(r.translation), u"ń"); }},
        {"with \"/\"", 2, [](const Row& r) { return contains(r.translation, u"/"); }},
    };
    for (const Figure& f : figures)
        EXPECT_EQ(countRows(rows, f.test), f.expected) << "translations " << f.what;

    std::size_t longest = 0;
    for (const Row& r : rows)
        longest = std::max(longest, r.translation.size());
    EXPECT_EQ(longest, 109u) << "longest translation";
}

TEST_F(Glossary, OnlyParaAndFirmaAreBothTranslationAndHeadword)
{
    std::set<std::u16string_view> headwords;
    for (const Row& r : rows)
        headwords.insert(r.headword);
    std::set<std::u16string> crossing;
    for (const Row& r : rows) {
        if (headwords.count(r.translation))
            crossing.insert(std::u16string(r.headword) + u"->" + std::u16string(r.translation));
    }
    EXPECT_EQ(crossing, (std::set<std::u16string>{u"dla->para", u"podpisuje->firma"}));
}

TEST_F(Glossary, AlphabeticalRunsAreInOrder)
{
    struct Run
    {
        const char* name;
        std::vector<Row> rows;
    };
    std::vector<Row> longRun = run(2, 177, 1500);
    const std::vector<Row> chunk3Head = run(3, 1, 11);
    longRun.insert(longRun.end(), chunk3Head.begin(), chunk3Head.end());
    const Run runs[] = {
        {"chunk 1 rows 12 to 1,500", run(1, 12, 1500)},
        {"chunk 2 rows 1 to 176", run(2, 1, 176)},
        {"chunk 2 rows 177 to 1,500 and chunk 3 rows 1 to 11", longRun},
    };
    for (const Run& r : runs) {
        for (const std::string& fault : orderFaults(r.rows))
            ADD_FAILURE() << r.name << ": " << fault;
    }
    // Chunk 2 begins inside chunk 1's range and carries on after it.
    EXPECT_LT(sortKey(at(1, 12).headword), sortKey(at(2, 1).headword));
    EXPECT_LT(sortKey(at(2, 176).headword), sortKey(at(1, 1500).headword));
    EXPECT_LT(sortKey(at(1, 1500).headword), sortKey(at(2, 177).headword));
}

TEST_F(Glossary, PhrasesStandBeforeTheirFirstWord)
{
    for (const auto& [phrase, word] :
         std::vector<std::pair<std::u16string_view, std::u16string_view>>{
             {u"kąpać się", u"kąpać"},
             {u"bardzo dobry", u"bardzo"},
             {u"brać prysznic", u"brać"},
             {u"brać ślub", u"brać"}}) {
        auto place = [&](std::u16string_view h) {
            return std::find_if(rows.begin(), rows.end(),
                                [&](const Row& r) { return r.headword == h; });
        };
        ASSERT_NE(place(phrase), rows.end()) << utf8(phrase);
        ASSERT_NE(place(word), rows.end()) << utf8(word);
        EXPECT_LT(place(phrase), place(word)) << utf8(phrase) << " before " << utf8(word);
    }
}

// Chunk 3 from row 12 and chunk 4 are grouped by subject, not sorted: many neighbours stand
// against the alphabet.
TEST_F(Glossary, SubjectChunksAreNotAlphabetical)
{
    for (const auto& part : {run(3, 12, 195), run(4, 1, 345)}) {
        int against = 0;
        for (std::size_t i = 1; i < part.size(); ++i)
            against += sortKey(part[i].headword) < sortKey(part[i - 1].headword);
        EXPECT_GT(against, static_cast<int>(part.size()) / 4) << "chunk " << part.front().chunk;
    }
}

struct OrderCase
{
    const char* name;
    std::vector<std::u16string_view> headwords;
    std::vector<std::string> faults; // as orderFaults names them
};

// The order rule itself, on small stretches of rows numbered from 1.
TEST(GlossaryOrder, RuleNamesTheRowsOutOfOrder)
{
    const OrderCase cases[] = {
        {"diacritics straight after their base letter",
         {u"a", u"ą", u"ąb", u"b", u"zły", u"źle", u"żaba"},
         {}},
        {"ą after z", {u"ą", u"az"}, {"row 1 \"ą\" stands before row 2 \"az\""}},
        {"ł before l", {u"łza", u"lody"}, {"row 1 \"łza\" stands before row 2 \"lody\""}},
        {"ó before o", {u"ósmy", u"ogon"}, {"row 1 \"ósmy\" stands before row 2 \"ogon\""}},
        {"phrases before their first word",
         {u"brać prysznic", u"brać ślub", u"brać", u"brama"},
         {}},
        {"word before its phrase",
         {u"kąpać", u"kąpać się"},
         {"row 1 \"kąpać\" stands before row 2 \"kąpać się\""}},
        {"phrases out of order among themselves",
         {u"brać ślub", u"brać prysznic", u"brać"},
         {"row 1 \"brać ślub\" stands before row 2 \"brać prysznic\""}},
        {"a longer word after the word and its phrases", {u"kot domowy", u"kot", u"kotek"}, {}},
        {"a longer word before a phrase of the shorter",
         {u"kot", u"kotek", u"kot domowy"},
         {"row 2 \"kotek\" stands before row 3 \"kot domowy\""}},
        {"repeated headword side by side", {u"obok", u"obok", u"ogon"}, {}},
        {"two faults, both named",
         {u"b", u"a", u"d", u"c"},
         {"row 1 \"b\" stands before row 2 \"a\"", "row 3 \"d\" stands before row 4 \"c\""}},
        {"a letter outside the alphabet",
         {u"kot", u"quiz"},
         {"row 2 \"quiz\" has a character outside the alphabet"}},
    };
    for (const OrderCase& c : cases) {
        std::vector<Row> stretch;
        for (std::u16string_view headword : c.headwords)
            stretch.push_back({1, static_cast<int>(stretch.size()) + 1, headword, u"x"});
        std::vector<std::string> faults;
        for (std::string fault : orderFaults(stretch)) {
            // Only the headwords and row numbers: the chunk and translation are the same.
            for (const std::string_view noise : {"chunk 1 ", " -> \"x\""})
                for (std::size_t at; (at = fault.find(noise)) != std::string::npos;)
                    fault.erase(at, noise.size());
            faults.push_back(fault);
        }
        EXPECT_EQ(faults, c.faults) << c.name;
    }
}

} // namespace
