#include "journal/journal_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

std::string Rx(std::string_view message, std::string_view mode = "FT8") {
    std::string mode6(mode);
    mode6.resize(6, ' ');
    return "210412_123445    14.074 Rx " + mode6 + " -10  0.1 1234 " + std::string(message) + "\n";
}

// The rules written out plainly over the whole text: lines as a line list reads them (a final
// line end makes no extra line), the last one left out, upper case, trimmed, the text at the
// start or after a blank, and "FT8".
std::vector<std::string> PlainSearch(const std::string& bytes, std::string text) {
    auto trim = [](std::string s) {
        while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.pop_back();
        std::size_t b = 0;
        while (b < s.size() && static_cast<unsigned char>(s[b]) <= ' ') ++b;
        return s.substr(b);
    };
    auto upper = [](std::string s) {
        for (char& c : s) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
        return s;
    };
    text = upper(trim(text));
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t lf = bytes.find('\n', at);
        const std::size_t end = lf == std::string::npos ? bytes.size() : lf;
        lines.push_back(bytes.substr(at, end - at));
        at = end + 1;
    }
    std::vector<std::string> found;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string line = upper(trim(lines[i]));
        if (text.empty() || line.find("FT8") == std::string::npos) continue;
        if (line.rfind(text, 0) == 0 || line.find(" " + text) != std::string::npos) found.push_back(line);
    }
    return found;
}

std::vector<std::string> Lines(const JournalSearch& search) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < search.matches->size(); ++i) lines.emplace_back(search.matches->Line(i));
    return lines;
}

class JournalSearchTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::filesystem::path journal = folder / "all.txt";
};

TEST_F(JournalSearchTest, ListsFt8LinesWithTheTextAtAWordStart) {
    const std::string text = Rx("CQ K1AB FN42") + Rx("CQ K1ABC FN42") + Rx("CQ XK1AB FN42") +
                             Rx("W9XYZ K1AB -10", "FT4") + "k1ab w9xyz ft8 by hand\r\n" +
                             Rx("q0 K1AB/P") + Rx("CQ K1AB FN42");  // the last line: never listed
    test::WriteFile(journal, text);
    const JournalSearch search = SearchJournalFile(journal, JournalSearchText("  k1ab "));
    ASSERT_EQ(search.status, JournalSearchStatus::Searched);
    EXPECT_EQ(Lines(search), PlainSearch(text, "k1ab"));
    ASSERT_EQ(search.matches->size(), 4u);
    EXPECT_EQ(search.matches->Line(2), "K1AB W9XYZ FT8 BY HAND");  // at the start, CR dropped
    EXPECT_EQ(search.matches->Row(0).message, "CQ K1AB FN42");
    EXPECT_EQ(search.matches->Row(0).snr, "-10");  // the dated form's SNR
    EXPECT_EQ(search.matches->Row(3).message, "Q0 K1AB/P");
    // An empty text lists nothing; a text with no match lists nothing.
    EXPECT_TRUE(SearchJournalFile(journal, "").matches->empty());
    EXPECT_EQ(SearchJournalFile(journal, "QQ9QQ").status, JournalSearchStatus::Searched);
}

TEST_F(JournalSearchTest, MissingEmptyAndOneLineJournals) {
    EXPECT_EQ(SearchJournalFile(journal, "K1AB").status, JournalSearchStatus::NoJournal);
    test::WriteFile(journal, "");
    EXPECT_EQ(SearchJournalFile(journal, "K1AB").status, JournalSearchStatus::NoJournal);
    for (const std::string& one : {Rx("CQ K1AB FN42"), Rx("CQ K1AB FN42").substr(0, 60)}) {
        test::WriteFile(journal, one);
        const JournalSearch search = SearchJournalFile(journal, "K1AB");
        EXPECT_EQ(search.status, JournalSearchStatus::TooFewLines);
        EXPECT_TRUE(search.matches->empty());
    }
    // Two lines: the first is examined, even when the second is still being written.
    test::WriteFile(journal, Rx("CQ K1AB FN42") + "2104");
    EXPECT_EQ(SearchJournalFile(journal, "K1AB").matches->size(), 1u);
    EXPECT_EQ(SearchJournalFile(folder.path(), "K1AB").status, JournalSearchStatus::Failed);
}

// The journal as a sequence of appends: after each, the kept search brought up to date must list
// what a search of the whole journal as it stands lists, the last-line rule included.
TEST_F(JournalSearchTest, RefreshEqualsWholeSearchAtEverySplit) {
    const std::string text = Rx("CQ K1AB FN42") + Rx("K1AB W9XYZ EN37", "FT4") + Rx("W9XYZ K1AB -10") +
                             Rx("CQ XK1AB FN42") + "\n" + Rx("W9XYZ K1AB RR73").substr(0, 50) + "\r\n" +
                             Rx("K1AB W9XYZ 73") + Rx("CQ K1AB FN42");
    for (std::size_t split = 0; split <= text.size(); ++split) {
        SCOPED_TRACE(split);
        test::WriteFile(journal, text.substr(0, split));
        JournalSearch search = SearchJournalFile(journal, "K1AB");
        if (split == 0) {
            EXPECT_EQ(search.status, JournalSearchStatus::NoJournal);
            continue;
        }
        ASSERT_TRUE(search.Ran());
        EXPECT_EQ(Lines(search), PlainSearch(text.substr(0, split), "K1AB"));
        const auto before = search.matches;
        // Appended in two steps.
        const std::size_t middle = split + (text.size() - split) / 2;
        ASSERT_TRUE(AppendFileDurable(journal, text.substr(split, middle - split)));
        const JournalSearchStatus first = RefreshJournalSearch(search, journal, "K1AB");
        EXPECT_TRUE(first == JournalSearchStatus::Appended || first == JournalSearchStatus::Unchanged ||
                    first == JournalSearchStatus::TooFewLines);
        EXPECT_EQ(Lines(search), PlainSearch(text.substr(0, middle), "K1AB"));
        ASSERT_TRUE(AppendFileDurable(journal, text.substr(middle)));
        RefreshJournalSearch(search, journal, "K1AB");
        EXPECT_EQ(Lines(search), PlainSearch(text, "K1AB"));
        EXPECT_EQ(search.matches, before);  // the same list, grown
        EXPECT_EQ(RefreshJournalSearch(search, journal, "K1AB"), JournalSearchStatus::Unchanged);
    }
}

TEST_F(JournalSearchTest, OtherTextShrunkOrReplacedJournalNeedsAWholeSearch) {
    const std::string text = Rx("CQ K1AB FN42") + Rx("W9XYZ K1AB -10") + Rx("K1AB W9XYZ 73");
    test::WriteFile(journal, text);
    JournalSearch search = SearchJournalFile(journal, "K1AB");
    ASSERT_EQ(search.matches->size(), 2u);
    EXPECT_EQ(RefreshJournalSearch(search, journal, "W9XYZ"), JournalSearchStatus::NeedsWholeSearch);
    test::WriteFile(journal, text.substr(0, text.size() - 5));  // shrunk
    EXPECT_EQ(RefreshJournalSearch(search, journal, "K1AB"), JournalSearchStatus::NeedsWholeSearch);
    test::WriteFile(journal, Rx("CQ K1AB FN31") + text);  // replaced by a longer journal
    EXPECT_EQ(RefreshJournalSearch(search, journal, "K1AB"), JournalSearchStatus::NeedsWholeSearch);
    EXPECT_EQ(search.matches->size(), 2u);  // unchanged by the refusals
    std::filesystem::remove(journal);
    EXPECT_EQ(RefreshJournalSearch(search, journal, "K1AB"), JournalSearchStatus::NeedsWholeSearch);
}

// Real journals, and a journal of several read buffers with matches at every kind of place,
// against the plain rules.
TEST_F(JournalSearchTest, RealAndLongJournalsEqualThePlainRules) {
    VANTREL_REQUIRE_TESTDATA();
    for (const auto& real : {test::TestDataFolder() / "wsjtx-2.6.1" / "ALL.TXT",
                             test::TestDataFolder() / "wsjtx-2.6.1" / "protocol" / "ALL-from-decodes.TXT"}) {
        const std::string bytes = test::ReadFile(real);
        for (const char* text : {"K1ABC", "W9XYZ", "CQ", "QZ", "<...>", "14.074"})
            EXPECT_EQ(Lines(SearchJournalFile(real, text)), PlainSearch(bytes, text)) << real << text;
    }
    EXPECT_EQ(SearchJournalFile(test::TestDataFolder() / "wsjtx-2.6.1" / "protocol" / "ALL-from-decodes.TXT",
                                "K1ABC").matches->size(), 5u);

    std::mt19937 random(3);
    const char* messages[] = {"CQ K1AB FN42", "K1AB W9XYZ -10", "W9XYZ XK1AB R-03", "k1ab w9xyz rr73",
                              "CQ DX W9XYZ EN37", "TNX 73"};
    std::string text;
    while (text.size() < (3u << 20)) {
        text += Rx(messages[random() % 6], random() % 5 ? "FT8" : "FT4");
        if (random() % 1000 == 0) text += std::string(2000 + random() % 3000, 'x') + " K1AB FT8\n";
    }
    text += "K1AB FT8 last";
    test::WriteFile(journal, text);
    for (const char* search : {"K1AB", "w9xyz", "73"})
        EXPECT_EQ(Lines(SearchJournalFile(journal, search)), PlainSearch(text, search)) << search;
}

}  // namespace
}  // namespace vantrel
