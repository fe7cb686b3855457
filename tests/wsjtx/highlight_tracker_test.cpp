#include "wsjtx/highlight_tracker.h"

#include <gtest/gtest.h>

#include "geo/country_file.h"
#include "settings/readable_colour.h"
#include "support/temp_folder.h"
#include "wsjtx/alert_policy.h"
#include "wsjtx/decoded_station.h"
#include "wsjtx/wsjtx_instances.h"

namespace vantrel::wsjtx {
namespace {

std::string Line(const char* call, const char* grid, const char* freq, const char* mode) {
    return std::string("2026-12-01,12:00:00,2026-12-01,12:01:00,") + call + "," + grid + "," + freq + "," + mode +
           ",-10,-12,100,,,QQ0XYZ,FN20,,,";
}

HighlightColours Pair(std::uint8_t shade) { return {{shade, shade, shade}, {0, 0, 0}}; }

TEST(HighlightStatus, FromTheLocalLog) {
    const std::string cty = test::ReadFile(test::TestDataFolder() / "cty" / "cty-wsjtx-2.6.1.dat");
    WorkedIndex index(std::make_shared<CountryTable>(SortedCountryLines(ParseCountryFile(cty))));
    LogLines log;
    log.push_back(Line("K1ABC", "FN42", "14.075500", "FT8"));
    log.push_back(Line("W9XYZ", "EN37", "7.075500", "FT8"));
    log.push_back(Line("DL1AAA", "JO62", "14.075500", "FT8"));
    index.CatchUp(log);
    EXPECT_EQ(HighlightStatusOf(index, "PY2XX", "GG66", "20m", "FT8"), HighlightStatus::NewCountry);
    EXPECT_EQ(HighlightStatusOf(index, "DL2BBB", "JO62", "40m", "FT8"), HighlightStatus::NewCountryOnBand);
    EXPECT_EQ(HighlightStatusOf(index, "K2AAA", "fn31", "20m", "FT8"), HighlightStatus::NewGrid);
    EXPECT_EQ(HighlightStatusOf(index, "K2AAA", "FN42", "20m", "FT8"), HighlightStatus::NothingNew);
    EXPECT_EQ(HighlightStatusOf(index, "K1ABC", "", "20m", "FT8"), HighlightStatus::WorkedSlot);
    EXPECT_EQ(HighlightStatusOf(index, "k1abc", "", "20m", "FT4"), HighlightStatus::NewSlot);
    EXPECT_EQ(HighlightStatusOf(index, "K1ABC", "", "40m", "FT8"), HighlightStatus::NewSlot);
    // A contact appended later counts at the next catch-up.
    log.push_back(Line("K1ABC", "FN42", "14.080000", "FT4"));
    index.CatchUp(log);
    EXPECT_EQ(HighlightStatusOf(index, "K1ABC", "", "20m", "FT4"), HighlightStatus::WorkedSlot);
}

TEST(HighlightTracker, SendsOnlyChangesKeepsAHundredExpiresAndClearsEveryCall) {
    HighlightTracker tracker;
    std::vector<HighlightCommand> out;
    tracker.Decoded({"K1ABC", "FN42", "20m", "FT8"}, Pair(1), 0, out);
    tracker.Decoded({"K1ABC", "", "20m", "FT8"}, Pair(1), 15'000, out);  // same colours: nothing sent
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(tracker.GridOf("K1ABC"), "FN42");  // kept from the decode that carried it
    tracker.Recolour([](const HighlightSubject& s) { return s.call == "K1ABC" ? Pair(2) : Pair(1); }, out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1], (HighlightCommand{"K1ABC", Pair(2)}));

    out.clear();
    for (int i = 0; i < 150; ++i) tracker.Decoded({"K" + std::to_string(i) + "ZZ", "", "20m", "FT8"}, Pair(3), 20'000, out);
    EXPECT_EQ(tracker.Active(), kMaxHighlights);
    std::size_t clears = 0;
    for (const HighlightCommand& c : out) clears += !c.colours;
    EXPECT_EQ(clears, 51u);  // K1ABC first, then the 50 decoded earliest in the burst
    EXPECT_EQ(tracker.ColoursOf("K1ABC"), nullptr);
    EXPECT_EQ(tracker.ColoursOf("K49ZZ"), nullptr);
    ASSERT_NE(tracker.ColoursOf("K149ZZ"), nullptr);

    out.clear();
    tracker.Decoded({"K149ZZ", "", "20m", "FT8"}, Pair(3), 20'000 + kHighlightIdleMs - 1, out);
    tracker.Expire(20'000 + kHighlightIdleMs, out);
    EXPECT_EQ(out.size(), 99u);
    EXPECT_EQ(tracker.Active(), 1u);
    out.clear();
    tracker.ClearAll(out);
    EXPECT_EQ(out, (std::vector<HighlightCommand>{{"K149ZZ", std::nullopt}}));
}

TEST(HighlightColoursDefault, EveryCallReadsOnItsBackground) {
    for (const HighlightColours& pair : DefaultHighlightPalette())
        EXPECT_GE(ContrastRatio(pair.foreground, pair.background), kReadableContrast);
}

TEST(AlertPolicy, KindsSwitchesAndOncePerCallAndBandPerHour) {
    AnswerOptions options;
    options.wanted = "k1abc, VP8XX";
    AlertPolicy policy;
    EXPECT_EQ(policy.Decide(options, "K1ABC", "20m", HighlightStatus::WorkedSlot, 0), AlertKind::Wanted);
    EXPECT_EQ(policy.Decide(options, "K1ABC", "20m", HighlightStatus::WorkedSlot, 1000), std::nullopt);
    EXPECT_EQ(policy.Decide(options, "K1ABC", "40m", HighlightStatus::WorkedSlot, 1000), AlertKind::Wanted);
    EXPECT_EQ(policy.Decide(options, "PY2XX", "20m", HighlightStatus::NewCountry, 0), AlertKind::NewCountry);
    EXPECT_EQ(policy.Decide(options, "PY2XX", "20m", HighlightStatus::NewCountry, kAlertRepeatMs - 1), std::nullopt);
    EXPECT_EQ(policy.Decide(options, "PY2XX", "20m", HighlightStatus::NewCountry, kAlertRepeatMs), AlertKind::NewCountry);
    EXPECT_EQ(policy.Decide(options, "DL1AA", "20m", HighlightStatus::NewCountryOnBand, 0), AlertKind::NewCountryOnBand);
    EXPECT_EQ(policy.Decide(options, "K2AA", "20m", HighlightStatus::NewGrid, 0), std::nullopt);
    options.alertNewCountry = options.alertWanted = false;
    EXPECT_EQ(policy.Decide(options, "VP8XX", "20m", HighlightStatus::NewCountry, 0), std::nullopt);
    EXPECT_FALSE(OnWantedList("K1ABCD VP8", "VP8XX"));
}

TEST(WsjtxInstances, SchemaSourceStatusAndSilence) {
    Instances instances;
    EXPECT_TRUE(instances.Heard("WSJT-X", "127.0.0.1", 50000, 3, 0));
    EXPECT_FALSE(instances.Heard("WSJT-X", "127.0.0.1", 50001, 3, 10'000));  // restarted: new port
    instances.OnHeartbeat("WSJT-X", Heartbeat{2, "2.6.1", ""});
    Status status;
    status.dialFrequencyHz = 7'074'000;
    status.mode = "FT8";
    instances.OnStatus("WSJT-X", status);
    const Instance* one = instances.Find("WSJT-X");
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->port, 50001);
    EXPECT_EQ(one->schema, 2u);
    EXPECT_EQ(one->band, "40m");
    EXPECT_TRUE(instances.Heard("WSJT-X - rig2", "127.0.0.1", 50002, 3, 30'000));
    EXPECT_EQ(instances.ForgetSilent(40'000), (std::vector<std::string>{"WSJT-X"}));
    EXPECT_EQ(instances.size(), 1u);
}

TEST(DecodedStation, SenderOfEveryMessage) {
    EXPECT_EQ(SenderInMessage("K1ABC W9XYZ R-08", "QQ0XYZ")->call, "W9XYZ");
    EXPECT_EQ(SenderInMessage("K1ABC W9XYZ EN37", "QQ0XYZ")->grid, "EN37");
    EXPECT_EQ(SenderInMessage("CQ DX PA9XYZ JO22", "QQ0XYZ")->role, HeardRole::CqCaller);
    EXPECT_FALSE(SenderInMessage("TNX BOB 73 GL", "QQ0XYZ"));
}

}  // namespace
}  // namespace vantrel::wsjtx
