// The glossary as its second reader approved it. Every row of the compiled table must stand
// in the review ledger with its chunk, its headword and the checksum of its translation, and
// every line of the ledger must have its row: a typo in a translation, two translations
// swapped between rows or a row moved to another chunk fails here until the change has been
// read and approved (tools/glossary-review).

#include "core/glossary.h"
#include "support/utf8.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

using qorin::GlossaryChunk;
using qorin::GlossaryEntry;
using qorin::GlossaryTable;

namespace {

// 32-bit FNV-1a of the translation's UTF-8 bytes, as tools/glossary-review writes it.
std::string checksum(std::u16string_view translation)
{
    std::uint32_t value = 0x811C9DC5u;
    for (const char byte : utf8(translation)) {
        value ^= static_cast<unsigned char>(byte);
        value *= 0x01000193u;
    }
    constexpr char kHex[] = "0123456789abcdef";
    std::string hex(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4)
        hex[static_cast<std::size_t>(i)] = kHex[value & 0xFu];
    return hex;
}

std::string ledgerLine(std::size_t chunk, const GlossaryEntry& row)
{
    return std::to_string(chunk) + '\t' + utf8(row.headword) + '\t' + checksum(row.translation);
}

std::vector<std::string> readLedger()
{
    std::ifstream file(QORIN_REVIEW_LEDGER);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.front() != '#')
            lines.push_back(line);
    }
    return lines;
}

struct ReviewGaps
{
    std::vector<std::string> rowsNotReviewed; // "chunk 2 row 789: rozlewać -> derramer"
    std::vector<std::string> linesWithoutRow;
};

ReviewGaps compare(const GlossaryTable& table, std::vector<std::string> ledger)
{
    ReviewGaps gaps;
    for (std::size_t c = 0; c < table.size(); ++c) {
        for (std::size_t r = 0; r < table[c].size(); ++r) {
            const GlossaryEntry& row = table[c][r];
            const auto line = std::find(ledger.begin(), ledger.end(), ledgerLine(c + 1, row));
            if (line != ledger.end()) {
                ledger.erase(line);
                continue;
            }
            gaps.rowsNotReviewed.push_back("chunk " + std::to_string(c + 1) + " row " +
                                           std::to_string(r + 1) + ": " + utf8(row.headword) +
                                           " -> " + utf8(row.translation));
        }
    }
    gaps.linesWithoutRow = std::move(ledger);
    return gaps;
}

TEST(GlossaryReview, EveryRowIsAsItsSecondReaderApprovedIt)
{
    const std::vector<std::string> ledger = readLedger();
    ASSERT_FALSE(ledger.empty()) << "no review ledger at " << QORIN_REVIEW_LEDGER;
    const ReviewGaps gaps = compare(qorin::builtInGlossary(), ledger);
    for (const std::string& row : gaps.rowsNotReviewed)
        ADD_FAILURE() << "not as reviewed: " << row;
    for (const std::string& line : gaps.linesWithoutRow)
        ADD_FAILURE() << "reviewed row no longer in the table: " << line;
    if (!gaps.rowsNotReviewed.empty() || !gaps.linesWithoutRow.empty())
        ADD_FAILURE() << "have each changed row read for meaning, gender and article, then "
                         "record it with tools/glossary-review --approve HEADWORD...";
}

TEST(GlossaryReview, ChecksumIsTheOneTheLedgerToolWrites)
{
    EXPECT_EQ(checksum(u"el gato"), "4ee946d9");
    EXPECT_EQ(checksum(u"bańarse"), "b1cab462");
}

// The comparison itself, on a small table: what it must catch and what it must let through.
struct Fault
{
    const char* name;
    GlossaryEntry chunk1[3];
    GlossaryEntry chunk2[1];
    std::size_t rowsNotReviewed;
};

TEST(GlossaryReview, CatchesEditsThatNoReaderApproved)
{
    const std::vector<std::string> approved = {
        "1\tkot\t" + checksum(u"el gato"), "1\tpies\t" + checksum(u"el perro"),
        "1\trozlewać\t" + checksum(u"derramar"), "2\tdom\t" + checksum(u"la casa")};
    const Fault faults[] = {
        {"unchanged",
         {{u"kot", u"el gato"}, {u"pies", u"el perro"}, {u"rozlewać", u"derramar"}},
         {{u"dom", u"la casa"}},
         0},
        {"typo in a translation",
         {{u"kot", u"el gato"}, {u"pies", u"el perro"}, {u"rozlewać", u"derramer"}},
         {{u"dom", u"la casa"}},
         1},
        {"typo in a headword",
         {{u"kot", u"el gato"}, {u"pies", u"el perro"}, {u"rozlewac", u"derramar"}},
         {{u"dom", u"la casa"}},
         1},
        {"translations swapped",
         {{u"kot", u"el perro"}, {u"pies", u"el gato"}, {u"rozlewać", u"derramar"}},
         {{u"dom", u"la casa"}},
         2},
        {"row moved to another chunk",
         {{u"kot", u"el gato"}, {u"dom", u"la casa"}, {u"rozlewać", u"derramar"}},
         {{u"pies", u"el perro"}},
         2},
    };
    for (const Fault& f : faults) {
        const GlossaryTable table = {GlossaryChunk{f.chunk1}, GlossaryChunk{f.chunk2},
                                     GlossaryChunk{}, GlossaryChunk{}};
        const ReviewGaps gaps = compare(table, approved);
        EXPECT_EQ(gaps.rowsNotReviewed.size(), f.rowsNotReviewed) << f.name;
        EXPECT_EQ(gaps.linesWithoutRow.size(), f.rowsNotReviewed) << f.name;
    }
}

} // namespace
