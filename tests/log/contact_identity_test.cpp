#include "log/contact_identity.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <tuple>

#include "log/band_table.h"
#include "log/local_log_record.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

TEST(ContactIdentity, SameContactWhateverElseTheLineHolds) {
    const std::string wsjtx =
        "2024-03-05,09:05:00,2024-03-05,09:06:30,QZ9ZZ,FN42,14.074000,FT8,-10,-12,100,,,";
    const auto identity = ContactIdentityOf(wsjtx);
    ASSERT_TRUE(identity.has_value());
    EXPECT_EQ(identity->date, 20240305u);
    EXPECT_EQ(identity->timeOn, 90500u);
    EXPECT_EQ(identity->call, "QZ9ZZ");
    EXPECT_EQ(identity->band, BandRowOfFrequency("14.074"));

    // The local line made from it, a repaired grid, other station details, an older date and
    // time form, a lower-case callsign, another frequency on the same band: the same contact.
    for (const std::string& same : {
             LocalLineFromWsjtx(wsjtx, {"W9XYZ", "EN37", "IC-7300", "Vertical [7,14,21]"}),
             std::string("2024-03-05,09:05:00,2024-03-05,09:07:00,QZ9ZZ,,14.080,FT4,,,,x,y,A,B,,,"),
             std::string("5/3/2024,9:05:00,5/3/2024,9:06:30,qz9zz,FN42,14.074,FT8,-10,-12,100,,,"),
         })
        EXPECT_EQ(ContactIdentityOf(same), identity) << same;

    for (const std::string& other : {
             std::string("2024-03-05,09:05:01,2024-03-05,09:06:30,QZ9ZZ,FN42,14.074,FT8,,,,,,"),
             std::string("2024-03-06,09:05:00,2024-03-06,09:06:30,QZ9ZZ,FN42,14.074,FT8,,,,,,"),
             std::string("2024-03-05,09:05:00,2024-03-05,09:06:30,QZ9ZY,FN42,14.074,FT8,,,,,,"),
             std::string("2024-03-05,09:05:00,2024-03-05,09:06:30,QZ9ZZ,FN42,7.074,FT8,,,,,,"),
         })
        EXPECT_NE(ContactIdentityOf(other), identity) << other;
}

TEST(ContactIdentity, WsjtxContactLinesOfEveryLayoutAndWhatIsNotOne) {
    for (const char* line : {
             "2016-01-02,10:00:00,2016-01-02,10:01:00,K1ABC,FN42,14.076,JT65,-10,-12,5",
             "2019-01-02,10:00:00,2019-01-02,10:01:00,K1ABC,FN42,14.076,FT8,-10,-12,5,nice,Bob",
             "2026-12-08,14:15:53,2026-12-08,14:15:53,K1ABC,FN42,14.081500,FT4,-15,-12,100,,,",
             "2026-12-08,14:15:53,2026-12-08,14:15:53,K1ABC,FN42,14.0815,FT8,-15,-12,100,c,Al,EME,,,"
             "14.0755",
             "2026-12-08,14:19:19,2026-12-08,14:19:19,K1ABC,FN42,14.075500,FT8,-15,-12,100,a,b,c "
             "caf\xc3\xa9,Jo, Smith,",
         })
        EXPECT_TRUE(IsWsjtxContactLine(line)) << line;

    for (const std::string& line : {
             std::string(),
             std::string("2026-12-08"),                                        // no comma
             std::string("2026-12-08,14:15:53,2026-12-08,14:15:53,K1ABC,FN42"),  // cut short
             std::string("\x7f" "ELF\x02\x01\x01,\xff\xfe,,,,,,,,,,,,"),         // binary junk
             std::string("2026-13-08,14:15:53,2026-12-08,14:15:53,K1ABC,FN42,14.0815,FT8,,,,,,"),
             std::string("2026-12-08,24:15:53,2026-12-08,14:15:53,K1ABC,FN42,14.0815,FT8,,,,,,"),
             std::string(2, '\0') + "2026-12-08,14:15:53,2026-12-08,14:15:53,K1ABC,FN42,14.0815,FT8,,,,,,",
             std::string("Date,Time,,,Call,Grid,Freq,Mode,Sent,Rcvd,Power,Comment,Name,"),
         })
        EXPECT_FALSE(IsWsjtxContactLine(line)) << line;
    EXPECT_EQ(LogDateNumber("2024-02-30"), 20240230u);  // checked as a form, not a calendar
    EXPECT_EQ(LogDateNumber("05/3/24"), 0u);
    EXPECT_EQ(LogTimeNumber("00:00:00"), 0);
    EXPECT_EQ(LogTimeNumber("9:5:00"), -1);
}

TEST(ContactIndex, FollowsTheLogAsItGrowsAndAgreesWithAPlainSet) {
    // Many contacts that share dates, times, callsigns and bands, so the table grows several
    // times and its probes run through long clusters.
    std::mt19937 random(7);
    using Tuple = std::tuple<int, int, std::string, std::string>;
    std::set<Tuple> reference, indexed;
    LogLines log;
    ContactIndex index;
    const char* frequencies[] = {"14.074", "7.074", "3.573", "50.313", "144.174"};
    auto makeLine = [&](Tuple& t) {
        const int day = 1 + static_cast<int>(random() % 3), second = static_cast<int>(random() % 40);
        const std::string call = "K" + std::to_string(random() % 30) + "AB";
        const std::string freq = frequencies[random() % 5];
        char line[160];
        std::snprintf(line, sizeof line, "2026-12-%02d,10:00:%02d,2026-12-%02d,10:01:00,%s,FN42,%s,FT8,,,,,,W9XYZ,EN37,,,",
                      day, second, day, call.c_str(), freq.c_str());
        t = {day, second, call, BandFromFrequency(freq)};
        return std::string(line);
    };
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < 500; ++i) {
            Tuple t;
            const std::string line = makeLine(t);
            EXPECT_EQ(index.Contains(line), indexed.count(t) == 1) << line;
            log.push_back(line);
            reference.insert(t);
        }
        index.Extend(log);
        indexed = reference;
        EXPECT_EQ(index.IndexedLines(), log.size());
    }
    EXPECT_EQ(index.size(), reference.size());
    std::vector<std::string> probes;
    std::vector<bool> expected;
    for (int i = 0; i < 2000; ++i) {
        Tuple t;
        probes.push_back(makeLine(t));
        expected.push_back(reference.count(t) == 1);
        EXPECT_EQ(index.Contains(probes.back()), expected.back()) << probes.back();
        EXPECT_EQ(index.Contains(*ContactIdentityOf(probes.back())), expected.back());
    }
    // The same answers when asked in groups (a junk line among them).
    probes[5] = "not a contact";
    expected[5] = false;
    for (std::size_t first = 0; first < probes.size(); first += 50) {
        std::string_view group[50];
        bool held[50];
        for (std::size_t j = 0; j < 50; ++j) group[j] = probes[first + j];
        index.ContainsEach(group, 50, held);
        for (std::size_t j = 0; j < 50; ++j) EXPECT_EQ(held[j], expected[first + j]) << group[j];
    }

    // Lines without an identity count by their exact text; Add tells what was new.
    EXPECT_TRUE(index.Add("junk line, no date"));
    EXPECT_FALSE(index.Add("junk line, no date"));
    EXPECT_TRUE(index.Contains("junk line, no date"));
    EXPECT_FALSE(index.Contains("junk line, no date "));
    EXPECT_FALSE(index.Add(""));
    EXPECT_FALSE(index.Contains(""));

    // After lines are removed in place the index is built again and forgets them.
    LogLines shorter = {log[0]};
    index.Rebuild(shorter);
    EXPECT_TRUE(index.Contains(log[0]));
    EXPECT_EQ(index.size(), 1u);
    EXPECT_FALSE(index.Contains("junk line, no date"));
}

}  // namespace
}  // namespace vantrel
