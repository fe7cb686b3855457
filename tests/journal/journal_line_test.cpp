#include "journal/journal_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace vantrel {
namespace {

std::vector<std::string> Words(std::string_view line, std::size_t max = 32) {
    std::vector<std::string_view> views(max);
    const std::size_t n = CutJournalWords(line, views.data(), max);
    return {views.begin(), views.begin() + static_cast<std::ptrdiff_t>(n)};
}

// The reduce-blanks-and-split rule written out plainly, to check the fast cutter against.
std::vector<std::string> PlainWords(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    for (char c : JournalLineText(line)) {
        if (c == ' ') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

using W = std::vector<std::string>;

TEST(JournalWords, RealLineShapesCutAlike) {
    // Padded FT8, the short stamp of a replayed file, MSK144 filling its mode column, the
    // unpadded Q65 mode, a decoder flag after many blanks, and a transmitted line.
    EXPECT_EQ(Words("261208_120015    14.074 Rx FT8     -8  0.1 1200 CQ K1ABC FN42"),
              (W{"261208_120015", "14.074", "Rx", "FT8", "-8", "0.1", "1200", "CQ", "K1ABC", "FN42"}));
    EXPECT_EQ(Words("261208_1203      14.080 Rx JT65   -18  0.0 1200 CQ K1ABC FN42"),
              (W{"261208_1203", "14.080", "Rx", "JT65", "-18", "0.0", "1200", "CQ", "K1ABC", "FN42"}));
    EXPECT_EQ(Words("261208_120215    14.080 Rx MSK144   7  1.1 1500 K1ABC W9XYZ R+03"),
              (W{"261208_120215", "14.080", "Rx", "MSK144", "7", "1.1", "1500", "K1ABC", "W9XYZ", "R+03"}));
    EXPECT_EQ(Words("261208_120430    14.080 Rx Q65 -29  0.0    0 K1ABC W9XYZ EN37                      q0"),
              (W{"261208_120430", "14.080", "Rx", "Q65", "-29", "0.0", "0", "K1ABC", "W9XYZ", "EN37", "q0"}));
    EXPECT_EQ(Words("261208_140716    14.074 Tx FT8      0  0.0 1500 CQ QQ0XYZ"),
              (W{"261208_140716", "14.074", "Tx", "FT8", "0", "0.0", "1500", "CQ", "QQ0XYZ"}));
}

TEST(JournalWords, LineEndsAndOuterBlanksMakeNoWords) {
    EXPECT_EQ(Words("a b\r\n"), (W{"a", "b"}));
    EXPECT_EQ(Words("a b\n"), (W{"a", "b"}));
    EXPECT_EQ(Words("   a   b   "), (W{"a", "b"}));
    EXPECT_EQ(Words(""), W{});
    EXPECT_EQ(Words("      "), W{});
    // A CR inside the line is a character of its word.
    EXPECT_EQ(Words("a\rb c"), (W{"a\rb", "c"}));
}

TEST(JournalWords, AccessorsCountFromOne) {
    const JournalWords<12> line("261208_120015    14.074 Rx FT8     -8  0.1 1200 CQ K1ABC FN42");
    EXPECT_EQ(line.direction(), "Rx");
    EXPECT_EQ(line.message(1), "CQ");
    EXPECT_EQ(line.message(3), "FN42");
    EXPECT_EQ(line.message(4), "");
    EXPECT_EQ(line.word(0), "");
    // Only as many words as asked for are cut.
    const JournalWords<3> first("a b c d e");
    EXPECT_EQ(first.count, 3u);
    EXPECT_EQ(first.word(3), "c");
}

// Words that cross the 64-byte steps of the cutter, long words, and long runs of blanks.
TEST(JournalWords, MatchesThePlainRuleOnGeneratedLines) {
    std::uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    for (int round = 0; round < 3000; ++round) {
        std::string line;
        const int length = static_cast<int>(next() % 300);
        for (int i = 0; i < length; ++i) {
            const unsigned r = next() % 10;
            line += r < 4 ? ' ' : r == 4 ? '\r' : static_cast<char>('A' + next() % 26);
        }
        if (next() % 2) line += next() % 2 ? "\r\n" : "\n";
        SCOPED_TRACE(line);
        ASSERT_EQ(Words(line, 400), PlainWords(line));
        // Asking for fewer words gives the first of them.
        const auto all = PlainWords(line);
        const auto few = Words(line, 2);
        ASSERT_EQ(few, W(all.begin(), all.begin() + std::min<std::ptrdiff_t>(2, std::ssize(all))));
    }
}

TEST(JournalWords, RealJournalHasDirectionAndMessage) {
    VANTREL_REQUIRE_TESTDATA();
    const std::string text = test::ReadFile(test::TestDataFolder() / "wsjtx-2.6.1" / "ALL.TXT");
    std::istringstream lines(text);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        SCOPED_TRACE(line);
        const JournalWords<16> words(line);
        EXPECT_TRUE(words.direction() == "Rx" || words.direction() == "Tx");
        EXPECT_EQ(words.word(2).find('.'), 2u);  // dial frequency in MHz: "14.074"
        EXPECT_FALSE(words.message(2).empty());
        EXPECT_EQ(Words(line), PlainWords(line));
        ++count;
    }
    EXPECT_EQ(count, 7);
}

std::vector<std::string> Fields(std::string_view line) {
    const std::string form = JournalSearchForm(line);
    const JournalLine cut = CutJournalLine(form);
    std::vector<std::string> fields;
    for (std::size_t i = 0; i < JournalLine::kFieldCount; ++i) fields.emplace_back(cut.Field(i));
    return fields;
}

// The search panel's columns of the real journal's lines: the SNR is the line's fifth word,
// MSK144 keeps the first four characters of its mode, the short JT65 stamp stays as it is, and
// the unpadded Q65 mode shifts what the columns catch (the columns are what they are).
TEST(JournalLine, RealLinesCutByColumns) {
    VANTREL_REQUIRE_TESTDATA();
    std::ifstream in(test::TestDataFolder() / "wsjtx-2.6.1" / "ALL.TXT", std::ios::binary);
    std::vector<W> rows;
    for (std::string line; std::getline(in, line);) rows.push_back(Fields(line));
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], (W{"261208_140716", "14.074", "TX", "FT8", "0", "0.0", "1500", "CQ QQ0XYZ"}));
    EXPECT_EQ(rows[2], (W{"261208_120015", "14.074", "RX", "FT8", "-8", "0.1", "1200", "CQ K1ABC FN42"}));
    EXPECT_EQ(rows[3], (W{"261208_120107", "14.080", "RX", "FT4", "-11", "-0.3", "1000", "CQ K1ABC FN42"}));
    EXPECT_EQ(rows[4], (W{"261208_120215", "14.080", "RX", "MSK1", "7", "1.1", "1500", "K1ABC W9XYZ R+03"}));
    EXPECT_EQ(rows[5], (W{"261208_1203", "14.080", "RX", "JT65", "-18", "0.0", "1200", "CQ K1ABC FN42"}));
    EXPECT_EQ(rows[6], (W{"261208_120430", "14.080", "RX", "Q65", "-29", "0", "0 K1", "BC W9XYZ EN37"}));
}

TEST(JournalLine, FormsCutAndMessageLimit) {
    // A decoder flag far to the right lies past the 30 characters of the message.
    EXPECT_EQ(Fields("250314_121515    14.074 Rx FT8    -22  0.2  900 CQ WA9XYZ EN37                      ? a1\r\n"),
              (W{"250314_121515", "14.074", "RX", "FT8", "-22", "0.2", "900", "CQ WA9XYZ EN37"}));
    // A message of more than 30 characters is cut after its 30th.
    EXPECT_EQ(Fields("210412_123445    14.074 Rx FT8    -10  0.1 1234 TNX FOR THE QSO DEAR FRIEND 73 GL")[7],
              "TNX FOR THE QSO DEAR FRIEND 73");
    // An underscore anywhere makes the dated form; without one, the fields follow the first blank
    // (here a line of the layout before WSJT-X 2.1).
    EXPECT_EQ(Fields("0000  -3  0.2 1234 ~  CQ K1_ABC FN42")[0], "0000  -3  0.2");
    EXPECT_EQ(Fields("120015 -8 0.1 1200 ~ CQ K1ABC FN42"),
              (W{"", "120015", "-8", "0.1", "200 ~", "CQ K", "1ABC", "FN42"}));
    EXPECT_EQ(Fields("2019-Jan-01 00:00  14.074 MHz  FT8"),
              (W{"", "2019-JAN-01", "00", "00", "4.074", "MHZ", "FT8", ""}));
    // Short lines give what their columns hold.
    EXPECT_EQ(Fields(""), W(8));
    EXPECT_EQ(Fields("abc"), (W{"", "", "AB", "", "", "", "", ""}));
    EXPECT_EQ(Fields("  261208_1200  "), (W{"261208_1200", "", "", "", "", "", "", ""}));
    EXPECT_EQ(CutJournalLine("X").Field(8), "");
}

// The read-buffer cutter must take exactly what the word view gives, for lines of every shape
// and length around its 48-, 64- and 128-byte steps.
TEST(JournalLine, BufferCutterEqualsTheWordView) {
    std::mt19937 random(5);
    const std::vector<std::string> vocabulary{"Rx", "Tx", "CQ", "DX", "K1ABC", "FN42", "RR73", "R+05",
                                              "-10", "q0", "a1", "14.074", "FT8", "Q65", "x",
                                              "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"};
    const char* heads[] = {"261208_120015    14.074 Rx FT8     -8  0.1 1200 ",
                           "261208_1203      14.080 Rx JT65   -18  0.0 1200 ",
                           "261208_120430    14.080 Rx Q65 -29  0.0    0 ",
                           "261208_140716    14.074 Tx FT8      0  0.0 1500 ", ""};
    std::string buffer;
    std::vector<std::string> lines;
    for (int round = 0; round < 20000; ++round) {
        std::string line = heads[random() % 5];
        const std::size_t words = random() % 14;
        for (std::size_t i = 0; i < words; ++i)
            line += vocabulary[random() % vocabulary.size()] + std::string(1 + (random() % 6 == 0 ? random() % 70 : 0), ' ');
        if (!line.empty() && random() % 2) line.pop_back();
        lines.push_back(line);
        buffer += line + (random() % 3 == 0 ? "\r\n" : "\n");
    }
    buffer.append(kJournalPadding, '\0');
    const char* p = buffer.data();
    const char* end = buffer.data() + buffer.size() - kJournalPadding;
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        JournalMessageWords fast;
        const std::size_t bytes = NextJournalLine(p, end, fast);
        ASSERT_GT(bytes, line.size());
        JournalMessageWords alone;
        CutJournalMessageWords(p, line.size(), alone);
        const JournalWords<12> plain(line);
        ASSERT_EQ(fast.direction, plain.direction());
        ASSERT_EQ(alone.direction, plain.direction());
        for (std::size_t i = 0; i < 4; ++i) {
            ASSERT_EQ(fast.message[i], plain.message(i + 1));
            ASSERT_EQ(alone.message[i], plain.message(i + 1));
        }
        p += bytes;
    }
    JournalMessageWords words;
    EXPECT_EQ(NextJournalLine(p, end, words), 0u);  // nothing left
}

}  // namespace
}  // namespace vantrel
