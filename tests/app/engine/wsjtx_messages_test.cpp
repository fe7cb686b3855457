// WSJT-X's own UDP messages on a running station: the same contact from both feeds logged once,
// the station being worked searched as it is typed in WSJT-X, the stations heard with their
// status, and a station whose N1MM reporting is off running on these messages alone.
#include <gtest/gtest.h>

#include "log/extract_field.h"
#include "support/engine_station.h"
#include "support/wsjtx_writer.h"

namespace vantrel {
namespace {

using test::Datagram;
const auto Decode = test::DecodeMessage;

class FakeListener : public MessageListener {
public:
    bool Listen(const std::string& address, int port, std::string*) override {
        listens.push_back(address + ":" + std::to_string(port));
        listening = true;
        return true;
    }
    void Stop() override { listening = false; }
    bool IsListening() const override { return listening; }
    std::string Description() const override { return listening ? listens.back() : ""; }
    std::vector<std::string> listens;
    bool listening = false;
};

std::string LoggedAdif(const std::string& record) {
    return test::WsjtxWriter(3, 12, "WSJT-X").Text("\n<adif_ver:5>3.1.0\n<programid:6>WSJT-X\n<EOH>\n" + record).bytes();
}

std::string Status(const std::string& dxCall) {
    test::WsjtxWriter w(3, 1, "WSJT-X");
    w.U64(14074000).Text("FT8").Text(dxCall).Text("-10").Text("FT8").Bool(false).Bool(false).Bool(false);
    w.U32(1200).U32(1500).Text("W9XYZ").Text("EN37").Text("").Bool(false).Null().Bool(false).U8(0);
    w.U32(0xffffffff).U32(0xffffffff).Text("Default").Text("");
    return w.bytes();
}

class WsjtxMessagesTest : public ::testing::Test, public test::EngineStation {
protected:
    std::unique_ptr<StationEngine> StartListening(const char* ini) {
        Write(3, ini);
        interactive = false;
        EngineStation::listener = &listener;
        auto engine = Start();
        test::WaitForBackground(*engine);
        for (int second = 5; second < 8; ++second) {  // the timer has ticked: searches run
            clock.Set({2026, 12, 8, 12, 1, second, 0});
            engine->Tick();
        }
        return engine;
    }
    FakeListener listener;
};

constexpr const char* kMulticastIni =
    "[Configuration]\nBroadcastToN1MM=true\nMyCall=W9XYZ\nMyGrid=EN37\nN1MMServer=127.0.0.1\n"
    "N1MMServerPort=2334\nUDPServer=239.255.0.1\nUDPServerPort=2237\n";

TEST_F(WsjtxMessagesTest, TheSameContactFromBothFeedsIsLoggedOnce) {
    auto engine = StartListening(kMulticastIni);
    EXPECT_EQ(listener.listens, (std::vector<std::string>{"239.255.0.1:2237"}));
    const std::string first = Datagram("K9AA", "14.075500", "141900");
    const std::string second = Datagram("K9BB", "14.075500", "142000");
    engine->OnWsjtxMessages({LoggedAdif(first)});  // WSJT-X's message first ...
    engine->OnDatagram(first);                     // ... then the N1MM datagram
    engine->OnDatagram(second);                    // the other way round
    engine->OnWsjtxMessages({LoggedAdif(second)});
    const LogLines local = LocalLog();
    ASSERT_EQ(local.size(), 5u) << local.Bytes();
    EXPECT_EQ(ExtractField(local[3], ',', 5), "K9AA");
    EXPECT_EQ(ExtractField(local[4], ',', 5), "K9BB");
}

TEST_F(WsjtxMessagesTest, TheStationWorkedIsSearchedAndEveryStationHeardHasItsStatus) {
    auto engine = StartListening(kMulticastIni);
    engine->OnWsjtxMessages({Status("K"), Status("K1"), Status("K1A"), Status("K1AB"), Status("K1ABC")});
    EXPECT_EQ(view.searchText, "K1A");  // as typed, the slider's three characters
    EXPECT_TRUE(view.matchListVisible);

    engine->OnWsjtxMessages({Decode("CQ K1ABC FN42", 43200000), Decode("CQ DX ZZ9ZZ JN58", 43200000),
                             Decode("W9XYZ K2ABC -12", 43200000), Decode("K7QQ K8QQ R-05", 43200000)});
    ASSERT_EQ(view.heard.size(), 3u);  // CQ callers and a station calling the operator
    std::map<std::string, WorkedKind> status;
    for (const HeardRow& row : view.heard) status[row.call] = row.status.kind;
    EXPECT_EQ(status["K1ABC"], WorkedKind::WorkedBefore);
    EXPECT_EQ(status["K2ABC"], WorkedKind::WorkedBefore);
    EXPECT_TRUE(status.count("ZZ9ZZ"));
    EXPECT_NE(status["ZZ9ZZ"], WorkedKind::WorkedBefore);
    // A contact with a station heard: its row follows the log at once.
    engine->OnDatagram(Datagram("ZZ9ZZ", "14.075500", "150000"));
    for (const HeardRow& row : view.heard) {
        if (row.call == "ZZ9ZZ") {
            EXPECT_EQ(row.status.kind, WorkedKind::WorkedBefore);
        }
    }
    // A click on a row searches for the whole callsign.
    engine->Call(&WsjtxMessagesPart::HeardClicked, 0);
    EXPECT_EQ(view.searchText, view.heard[0].call);
}

TEST_F(WsjtxMessagesTest, WithoutN1mmReportingWsjtxMessagesBringTheContacts) {
    auto engine = StartListening(
        "[Configuration]\nBroadcastToN1MM=false\nMyCall=W9XYZ\nMyGrid=EN37\nN1MMServer=127.0.0.1\n"
        "N1MMServerPort=2334\nUDPServer=127.0.0.1\nUDPServerPort=2237\n");
    ASSERT_TRUE(engine->StartupDone());
    EXPECT_FALSE(engine->QuitRequested());
    EXPECT_EQ(view.n1mmProblem, "");
    engine->OnWsjtxMessages({LoggedAdif(Datagram("K9CC", "14.075500", "143000"))});
    EXPECT_EQ(ExtractField(LocalLog().back(), ',', 5), "K9CC");
}

}  // namespace
}  // namespace vantrel
