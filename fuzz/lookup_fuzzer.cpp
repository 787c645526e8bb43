// Feeds arbitrary input text and an arbitrary starting output through the lookup pass, on
// the built-in glossary and on small tables made from the same bytes, and checks every pass
// against the reference model: the text left in the output, every write in order, and how
// often each field was read. Built with libFuzzer (make fuzz), and replayed over the
// checked-in corpus as an ordinary test.

#include "core/glossary.h"
#include "core/lookup_pass.h"
#include "core/lower_case.h"
#include "support/pass_model.h"
#include "support/recording_fields.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Reads the fuzzer's bytes front to back; past the end it gives zeros.
class Bytes
{
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    std::uint16_t unit() { return static_cast<std::uint16_t>(byte() | byte() << 8); }
    bool empty() const { return m_at >= m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// Characters that make matches, near misses and case folding likely on small tables, plus
// the awkward ones: surrogates (alone, or side by side as a supplementary capital), a
// combining mark, a right-to-left mark.
constexpr char16_t kSmallAlphabet[] = {u'a', u'b', u'A',      u'B',   u'ą',   u'Ą', u' ',
                                       u'ż', u'Ż', u'\u0301', 0xD801, 0xDC00, u'İ', u'\u200F'};

std::u16string smallText(Bytes& bytes, std::size_t maxLength)
{
    std::u16string text(bytes.byte() % (maxLength + 1), u'a');
    for (char16_t& c : text)
        c = kSmallAlphabet[bytes.byte() % std::size(kSmallAlphabet)];
    return text;
}

std::u16string anyText(Bytes& bytes)
{
    std::u16string text(bytes.byte() % 48, u'\0');
    for (char16_t& c : text)
        c = bytes.unit();
    return text;
}

const std::vector<qorin::GlossaryEntry>& builtInRows()
{
    static const std::vector<qorin::GlossaryEntry> rows = [] {
        std::vector<qorin::GlossaryEntry> all;
        for (const auto& chunk : qorin::builtInGlossary())
            all.insert(all.end(), chunk.begin(), chunk.end());
        return all;
    }();
    return rows;
}

// An input for the built-in table: a real headword, often changed a little, or any text.
std::u16string inputForBuiltIn(Bytes& bytes)
{
    const std::uint8_t how = bytes.byte();
    if (how % 4 == 0)
        return anyText(bytes);
    const auto& rows = builtInRows();
    std::u16string text(rows[bytes.unit() % rows.size()].headword);
    switch (how % 8) {
    case 1:
        if (!text.empty())
            text[0] = static_cast<char16_t>(text[0] - (text[0] < 0x80 ? 32 : 1)); // a capital
        break;
    case 2:
        text += u' ';
        break;
    case 3:
        text.pop_back();
        break;
    default:
        break;
    }
    return text;
}

void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

void runAndCompare(const qorin::GlossaryTable& table, const std::u16string& input,
                   const std::u16string& before)
{
    RecordingFields fields(input, before);
    qorin::runLookupPass(fields, table);
    const PassOutcome expected = expectedPass(table, input, before);
    check(fields.output == expected.output);
    check(fields.writes == expected.writes);
    check(fields.inputReads == expected.inputReads);
    check(fields.outputReads == expected.outputReads);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bytes bytes(data, size);
    const std::uint8_t mode = bytes.byte();
    if (mode % 2 == 0) {
        const std::u16string input = inputForBuiltIn(bytes);
        std::u16string before;
        switch (bytes.byte() % 4) {
        case 1:
            before = anyText(bytes);
            break;
        case 2:
            before = input;
            break;
        case 3: // the output already holds the lower-cased input
            before = qorin::lowerCaseCopy(input);
            break;
        default:
            break;
        }
        runAndCompare(qorin::builtInGlossary(), input, before);
        return 0;
    }

    std::array<std::vector<qorin::GlossaryEntry>, 4> rows;
    std::vector<std::u16string> texts; // owns what the rows view
    texts.reserve(4 * 40 * 2);
    qorin::GlossaryTable table;
    for (std::size_t k = 0; k < 4; ++k) {
        const std::size_t count = bytes.byte() % 40;
        for (std::size_t i = 0; i < count && !bytes.empty(); ++i) {
            texts.push_back(smallText(bytes, 3));
            const std::u16string& headword = texts.back();
            texts.push_back(smallText(bytes, 3));
            rows[k].push_back({headword, texts.back()});
        }
        table[k] = rows[k];
    }
    const std::u16string input = smallText(bytes, 3);
    const std::u16string before = smallText(bytes, 3);
    runAndCompare(table, input, before);
    return 0;
}
