#include "journal/journal_words.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vantrel
