// Logged contacts arriving as WSJT-X sends them: converted, band-checked against the antenna,
// logged once, and never lost while the antenna warning waits for its answer.
#include <gtest/gtest.h>

#include "log/extract_field.h"
#include "support/engine_station.h"

namespace vantrel {
namespace {

using test::Datagram;

class FeedTest : public ::testing::Test, public test::EngineStation {};

TEST_F(FeedTest, RealDatagramsBecomeLocalLogLines) {
    VANTREL_REQUIRE_TESTDATA();
    auto engine = StartWithAntenna("Vertical [7,14,21]");
    const auto folder = test::TestDataFolder() / "wsjtx-2.6.1";
    for (const char* name : {"n1mm-ft8-qz9zz.bin", "n1mm-ft8-comment-name.bin", "n1mm-ft4-mfsk.bin"})
        engine->OnDatagram(test::ReadFile(folder / name));
    const LogLines local = LocalLog();
    ASSERT_EQ(local.size(), 6u);
    EXPECT_EQ(ExtractField(local[3], ',', 5), "QZ9ZZ");
    EXPECT_EQ(ExtractField(local[4], ',', 12), "abc caf\xE9");  // Latin-1 bytes kept as they came
    EXPECT_EQ(ExtractField(local[4], ',', 13), "Jo Smith");     // the name, commas removed
    EXPECT_EQ(ExtractField(local[5], ',', 8), "FT4");            // MFSK with its submode
    EXPECT_EQ(ExtractField(local[5], ',', 16), "IC-7300");
    EXPECT_EQ(ExtractField(local[5], ',', 17), "Vertical [7");
    EXPECT_EQ(view.lastContact, std::string(local[5]));
}

TEST_F(FeedTest, TheSameDatagramTwiceIsLoggedOnce) {
    auto engine = StartWithAntenna("Vertical [7,14,21]");
    engine->OnDatagram(Datagram("K9AA", "14.075500"));
    engine->OnDatagram(Datagram("K9AA", "14.075500"));
    EXPECT_EQ(LocalLog().size(), 4u);
}

TEST_F(FeedTest, ContactsWaitingForTheWarningAreAllLoggedInOrderOnNo) {
    auto engine = StartWithAntenna("Dipole [7]");
    engine->OnDatagram(Datagram("K9AA", "14.075500", "141900"));
    EXPECT_EQ(view.antennaWarning, "The antenna does not match the band in use. Re-select ?");
    EXPECT_EQ(LocalLog().size(), 3u);                          // not logged yet
    engine->OnDatagram(Datagram("K9BB", "7.075500", "142000"));  // arrives while the warning is open
    EXPECT_EQ(engine->PendingContacts().size(), 2u);
    engine->Run(Command::AntennaNo);
    const LogLines local = LocalLog();
    ASSERT_EQ(local.size(), 5u);
    EXPECT_EQ(ExtractField(local[3], ',', 5), "K9AA");  // the received contact, not the previous one
    EXPECT_EQ(ExtractField(local[4], ',', 5), "K9BB");
    EXPECT_EQ(view.antennaWarning, "");
}

TEST_F(FeedTest, YesThenAnAntennaChoiceLogsTheWaitingContact) {
    auto engine = StartWithAntenna("Dipole [7]");
    engine->OnDatagram(Datagram("K9AA", "14.075500"));
    engine->Run(Command::AntennaYes);
    EXPECT_EQ(view.antennaChoiceOpened, 1);
    EXPECT_EQ(LocalLog().size(), 3u);
    engine->Call(&EquipmentPart::AntennaChanged, "Beam [14,21,28]");
    ASSERT_EQ(LocalLog().size(), 4u);
    EXPECT_EQ(ExtractField(LocalLog()[3], ',', 5), "K9AA");
    // A later change of antenna logs nothing more.
    engine->Call(&EquipmentPart::AntennaChanged, "Dipole [7]");
    EXPECT_EQ(LocalLog().size(), 4u);
}

TEST_F(FeedTest, WithoutAWindowAMismatchIsLoggedAndNoted) {
    interactive = false;
    auto engine = StartWithAntenna("Dipole [7]");
    engine->OnDatagram(Datagram("K9AA", "14.075500"));
    EXPECT_EQ(LocalLog().size(), 4u);
    EXPECT_NE(Trace().find("Band warning"), std::string::npos);
}

TEST_F(FeedTest, UnreadableDatagramsAreDroppedAndKeptInTheRawFile) {
    auto engine = StartWithAntenna("Vertical [7,14,21]", {"/RAWUDP", "/UDP_ECHO"});
    engine->OnDatagram("no adif here at all");
    engine->OnDatagram(std::string("\0\xff<call:999999999999>", 22));
    engine->OnDatagram(std::string(65536, '<'));
    // A length that runs past the end never turns the rest of the datagram into a callsign.
    engine->OnDatagram("<call:60>K9BAD <freq:9>14.075500 <qso_date:8>20261208 <time_on:6>120000 <eor>");
    engine->OnDatagram("<call:5:S>K9ZZZ <freq:9>14.075500 <qso_date:8>20261208 <time_on:6>120000 <eor>");
    // Two records in one datagram are two contacts; a NUL byte in a value is dropped.
    engine->OnDatagram(std::string("<call:6>K9Y\0YY <freq:9>14.075500 <qso_date:8>20261208 <time_on:6>120100 <eor>", 78) +
                       " <call:4>K9XX <freq:9>14.075500 <qso_date:8>20261208 <time_on:6>120200 <eor>");
    const LogLines local = LocalLog();
    ASSERT_EQ(local.size(), 6u) << local.Bytes();  // only the readable ones, one with its type indicator
    EXPECT_EQ(ExtractField(local[3], ',', 5), "K9ZZZ");
    EXPECT_EQ(ExtractField(local[4], ',', 5), "K9YYY");
    EXPECT_EQ(ExtractField(local[5], ',', 5), "K9XX");
    EXPECT_EQ(local.Bytes().find('\0'), std::string_view::npos);
    EXPECT_NE(Trace().find("IdUDPRead dropped: "), std::string::npos);
    EXPECT_TRUE(test::ReadFile(viewer() / "RAWUDP 261208.txt").starts_with("no adif here at all\r\n"));
    ASSERT_FALSE(receiver.echoes.empty());
    EXPECT_TRUE(receiver.echoes.back().starts_with("127.0.0.1:2335 <call:6>K9Y"));
}

// Values no logger should hold keep the contact out of the log: the trace names the field, the
// status line tells once; long free text is cut, and a good contact still goes in.
TEST_F(FeedTest, ContactsWithValuesNoLoggerShouldHoldAreRefused) {
    auto engine = StartWithAntenna("Vertical [7,14,21]");
    auto datagram = [](std::string call, std::string date, std::string time, std::string freq, std::string comment = "") {
        auto field = [](const char* name, const std::string& value) {
            return "<" + std::string(name) + ":" + std::to_string(value.size()) + ">" + value + " ";
        };
        return field("call", call) + field("qso_date", date) + field("time_on", time) + field("freq", freq) +
               field("comment", comment) + "<eor>";
    };
    const std::vector<std::pair<std::string, std::string>> refused = {
        {datagram("K9AA", "20261399", "120000", "14.074"), "qso_date \"2026-13-99\""},
        {datagram("K9AA", "00000000", "120000", "14.074"), "qso_date \"0000-00-00\""},
        {datagram("K9AA", "202612@8", "120000", "14.074"), "qso_date \"202612@8\""},
        {datagram("K9AA", "20270229", "120000", "14.074"), "qso_date \"2027-02-29\""},
        {datagram("K9AA", "20261208", "256199", "14.074"), "time_on \"25:61:99\""},
        {datagram(std::string(99, 'K'), "20261208", "120000", "14.074"), "the call \"KKKK"},
        {datagram("QZ3B\xFF" "0", "20261208", "120000", "14.074"), "the call \"QZ3B\\xFF0\""},
        {datagram("QZ3B\n0", "20261208", "120000", "14.074"), "the call \"QZ3B 0\""},
        {datagram("K9AA", "20261208", "120000", std::string(30, '1')), "freq \"111"},
        {datagram("K9AA", "20261208", "120000", "20000.5"), "freq \"20000.5\""},
    };
    for (const auto& [bytes, named] : refused) {
        engine->OnDatagram(bytes);
        EXPECT_NE(Trace().find("IdUDPRead dropped: " + named), std::string::npos) << named;
    }
    EXPECT_EQ(LocalLog().size(), 3u) << LocalLog().Bytes();
    EXPECT_NE(view.status.find("A received contact was not logged: qso_date \"2026-13-99\""), std::string::npos)
        << view.status;  // the first refusal only

    engine->OnDatagram(datagram("K9AA/P", "20240229", "235959", "14.0745", std::string(300, 'x') + "\r\nend"));
    ASSERT_EQ(LocalLog().size(), 4u);
    EXPECT_EQ(ExtractField(LocalLog().back(), ',', 12), std::string(255, 'x'));
}

TEST_F(FeedTest, RigAndAntennaChoicesTakeEffectAtOnce) {
    auto engine = StartWithAntenna("Vertical [7,14,21]");
    EXPECT_EQ(view.rigs, (std::vector<std::string>{"IC-7300"}));
    EXPECT_TRUE(view.regions[Region::RadioGear]);
    engine->Call(&EquipmentPart::RigChanged, "ICOM IC-705");
    EXPECT_EQ(store.Own("VantrelerRig"), "IC-705");
    engine->OnDatagram(Datagram("K9AA", "14.075500"));
    EXPECT_EQ(ExtractField(LocalLog().back(), ',', 16), "IC-705");
}

}  // namespace
}  // namespace vantrel
