#include "journal/recent_activity.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "log/line_text.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using L = std::vector<std::string>;

// The extract as the sorted set of lines would make it from the whole journal: every line into
// the set (case-blind order, a line equal to one already there dropped), the header lines into
// the output set, then each line of the journal's set that holds the callsign.
L PlainExtract(const std::string& bytes, const std::string& callsign) {
    auto insert = [](L& set, const std::string& line) {
        auto at = std::lower_bound(set.begin(), set.end(), line,
                                   [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
        if (at == set.end() || CompareNoCase(*at, line) != 0) set.insert(at, line);
    };
    L all;
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        insert(all, line);
        at = end + 1;
    }
    // The header first, then the sorted lines that hold the callsign.
    L matching;
    for (const std::string& line : all)
        if (!callsign.empty() && line.find(callsign) != std::string::npos) insert(matching, line);
    L out{std::string(kRecentListHeader1), std::string(kRecentListHeader2)};
    for (const std::string& line : matching)
        if (CompareNoCase(line, out[0]) != 0 && CompareNoCase(line, out[1]) != 0) out.push_back(line);
    return out;
}

L Extract(const std::filesystem::path& journal, std::string_view callsign) {
    L lines;
    EXPECT_TRUE(ExtractRecentActivity(journal, callsign, [&](std::string_view line) { lines.emplace_back(line); }));
    return lines;
}

class RecentActivityTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::filesystem::path journal = folder / "all.txt";
    std::filesystem::path output = folder / "RecentList.txt";
};

TEST_F(RecentActivityTest, WritesHeaderAndSortedDistinctLinesWithCrLf) {
    test::WriteFile(journal,
                    "261208_120030    14.074 Tx FT8      0  0.0 1500 K1AB W9XYZ R-08\n"
                    "261208_120000    14.074 Rx FT8     -8  0.1 1200 CQ K1AB FN42\r\n"
                    "261208_120015    14.074 Rx FT8     -8  0.1 1200 CQ XK1AB FN42\n"
                    "261208_120030    14.074 Tx FT8      0  0.0 1500 K1AB W9XYZ R-08\n"
                    "261208_120045    14.074 Rx FT8     -8  0.1 1200 W9XYZ K1ABC RR73\n"
                    "261208_120100    14.074 Rx FT8     -8  0.1 1200 CQ W1AW FN31\n"
                    "261208_120115    14.074 Tx FT8      0  0.0 1500 K1AB W9XYZ 73");
    std::size_t lines = 0;
    std::string error;
    ASSERT_TRUE(WriteRecentList(journal, "K1AB", output, &error, &lines)) << error;
    EXPECT_EQ(lines, 7u);
    EXPECT_EQ(test::ReadFile(output),
              " An extract of entries in ALL.TXT matching the users callsign. Logged freq = Freq+Tone. Act(ion) is Tx or Rx.\r\n"
              " Date/Time       Freq  Act Mode    SNR Off Tone  Message\r\n"
              "261208_120000    14.074 Rx FT8     -8  0.1 1200 CQ K1AB FN42\r\n"
              "261208_120015    14.074 Rx FT8     -8  0.1 1200 CQ XK1AB FN42\r\n"
              "261208_120030    14.074 Tx FT8      0  0.0 1500 K1AB W9XYZ R-08\r\n"
              "261208_120045    14.074 Rx FT8     -8  0.1 1200 W9XYZ K1ABC RR73\r\n"
              "261208_120115    14.074 Tx FT8      0  0.0 1500 K1AB W9XYZ 73\r\n");
    // An empty callsign matches nothing: the two header lines only.
    ASSERT_TRUE(WriteRecentList(journal, "", output, &error, &lines));
    EXPECT_EQ(lines, 2u);
    // A missing journal: an error, and the file written before stays as it was.
    const std::string before = test::ReadFile(output);
    EXPECT_FALSE(WriteRecentList(folder / "none.txt", "K1AB", output, &error));
    EXPECT_NE(error.find("none.txt"), std::string::npos);
    EXPECT_EQ(test::ReadFile(output), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);  // no leftovers
}

// Filtering first and sorting only what matched gives what sorting the whole journal and then
// filtering gives, also where lines differ only in letter case (the one a sorted set keeps is
// the first in the journal, and it may not hold the callsign as written).
TEST_F(RecentActivityTest, EqualsSortingTheWholeJournalFirst) {
    std::mt19937 random(9);
    const char* messages[] = {"CQ K1AB FN42", "k1ab W9XYZ -10", "W9XYZ K1AB RR73", "CQ W1AW FN31",
                              "TNX K1ABC 73", "XK1AB QQ0XYZ R-05"};
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        // Times out of order now and then, and lines repeated in another letter case.
        const int minute = i / 4 + (random() % 20 == 0 ? -static_cast<int>(random() % 30) : 0);
        std::string line = "2612" + std::to_string(10 + (minute / 1440) % 18) + "_" + std::to_string(100000 + minute % 1440 * 10) +
                           " 14.074 Rx FT8 -8 0.1 1200 " + messages[random() % 6];
        if (random() % 10 == 0) line[random() % line.size()] ^= 0x20;
        if (random() % 25 == 0) line = "  " + line;  // blanks first: sorted before the header text
        text += line + (random() % 3 ? "\n" : "\r\n");
        if (random() % 15 == 0) text += line + "\n";
    }
    text += "last line K1AB without a line end";
    test::WriteFile(journal, text);
    for (const char* callsign : {"K1AB", "k1ab", "W9XYZ", "FT8", "QQ9QQ", ""}) {
        SCOPED_TRACE(callsign);
        EXPECT_EQ(Extract(journal, callsign), PlainExtract(text, callsign));
    }
}

TEST_F(RecentActivityTest, RealJournals) {
    VANTREL_REQUIRE_TESTDATA();
    for (const auto& real : {test::TestDataFolder() / "wsjtx-2.6.1" / "ALL.TXT",
                             test::TestDataFolder() / "wsjtx-2.6.1" / "protocol" / "ALL-from-decodes.TXT"}) {
        const std::string bytes = test::ReadFile(real);
        for (const char* callsign : {"W9XYZ", "K1ABC", "QQ0XYZ"})
            EXPECT_EQ(Extract(real, callsign), PlainExtract(bytes, callsign)) << real << callsign;
    }
    EXPECT_EQ(Extract(test::TestDataFolder() / "wsjtx-2.6.1" / "ALL.TXT", "W9XYZ").size(), 4u);
}

}  // namespace
}  // namespace vantrel
