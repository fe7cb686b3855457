// Answering WSJT-X, against fake WSJT-X instances: UDP sockets on ephemeral ports that send
// Heartbeat, Status and Decode to the running engine's listener and read what comes back.
#include <gtest/gtest.h>

#include <QDataStream>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include "feed/wsjtx_listener.h"
#include "support/engine_station.h"
#include "support/wsjtx_writer.h"

namespace vantrel {
namespace {

// What came back to a fake instance, read with Qt's own stream reader.
struct Command {
    quint32 schema = 0, type = 0;
    std::string id, call;
    bool coloured = false;
    Rgb background, foreground;
    QByteArray fields;  // the bytes after the id
};

Command Read(const QByteArray& bytes) {
    Command c;
    QDataStream in(bytes);
    quint32 magic;
    QByteArray id;
    in >> magic >> c.schema >> c.type >> id;
    c.id = id.toStdString();
    c.fields = bytes.mid(static_cast<qsizetype>(in.device()->pos()));
    if (c.type == 13) {
        QByteArray call;
        quint8 spec;
        quint16 alpha, r, g, b, pad;
        in >> call >> spec >> alpha >> r >> g >> b >> pad;
        c.call = call.toStdString();
        c.coloured = spec == 1;
        c.background = {static_cast<quint8>(r >> 8), static_cast<quint8>(g >> 8), static_cast<quint8>(b >> 8)};
        in >> spec >> alpha >> r >> g >> b >> pad;
        c.foreground = {static_cast<quint8>(r >> 8), static_cast<quint8>(g >> 8), static_cast<quint8>(b >> 8)};
    }
    return c;
}

class FakeWsjtx {
public:
    FakeWsjtx(std::string id, std::uint32_t schema, quint16 serverPort) : id_(std::move(id)), schema_(schema), port_(serverPort) {
        socket_.bind(QHostAddress::LocalHost, 0);
    }
    void Send(const std::string& bytes) {
        socket_.writeDatagram(bytes.data(), static_cast<qint64>(bytes.size()), QHostAddress::LocalHost, port_);
    }
    void Heartbeat() { Send(test::WsjtxWriter(schema_, 0, id_).U32(schema_).Text("2.6.1").Text("").bytes()); }
    void Status() {
        test::WsjtxWriter w(schema_, 1, id_);
        w.U64(14074000).Text("FT8").Text("").Text("").Text("FT8").Bool(false).Bool(false).Bool(false);
        w.U32(1200).U32(1500).Text("W9XYZ").Text("EN37").Text("").Bool(false).Null().Bool(false).U8(0);
        Send(w.U32(0xffffffff).U32(0xffffffff).Text("Default").Text("").bytes());
    }
    // A new FT8 decode; its fields after the id, as a Reply must repeat them.
    QByteArray Decode(const std::string& message, std::uint32_t periodMs = 43200000) {
        test::WsjtxWriter w(schema_, 2, id_);
        w.Bool(true).U32(periodMs).I32(-13).Double(-0.4).U32(1734).Text("~").Text(message).Bool(true).Bool(false);
        Send(w.bytes());
        const std::string header = test::WsjtxWriter(schema_, 2, id_).bytes();
        // Without "new" before them and "off air" after them.
        return QByteArray::fromStdString(w.bytes().substr(header.size() + 1, w.bytes().size() - header.size() - 2));
    }
    // Waits until `count` commands more came back, and takes them.
    std::vector<Command> Take(std::size_t count, int milliseconds = 5000) {
        test::RunEventsUntil([&] {
            while (socket_.hasPendingDatagrams()) received_.push_back(Read(socket_.receiveDatagram().data()));
            return received_.size() >= count;
        }, milliseconds);
        std::vector<Command> taken;
        taken.swap(received_);
        return taken;
    }

private:
    std::string id_;
    std::uint32_t schema_;
    quint16 port_;
    QUdpSocket socket_;
    std::vector<Command> received_;
};

class RecordingNotifier : public Notifier {
public:
    void Notify(const std::string&, const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

class WsjtxAnswerTest : public ::testing::Test, public test::EngineStation {
protected:
    void SetUp() override {
        VANTREL_REQUIRE_TESTDATA();
        QUdpSocket probe;  // a free port for the engine's listener
        probe.bind(QHostAddress::LocalHost, 0);
        port = probe.localPort();
        probe.close();
        const std::string ini = "[Configuration]\nBroadcastToN1MM=true\nMyCall=W9XYZ\nMyGrid=EN37\nN1MMServer=127.0.0.1\n"
                                "N1MMServerPort=2334\nUDPServer=127.0.0.1\nUDPServerPort=" + std::to_string(port) + "\n";
        Write(3, ini.c_str());  // K0ABC, K1ABC and K2ABC on 20m FT8 in FN42
        std::filesystem::copy_file(test::TestDataFolder() / "cty" / "cty-wsjtx-2.6.1.dat", viewer() / "cty.dat");
        interactive = false;
        EngineStation::listener = &wsjtxListener;
        EngineViews views = view.Views();
        views.more.Add<Notifier>(notifier);
        engine = std::make_unique<StationEngine>(Services(), views, std::vector<std::string>{});
        QObject::connect(&wsjtxListener, &WsjtxListener::sourcedDatagramsReceived,
                         [this](const std::vector<SourcedDatagram>& datagrams) { engine->OnWsjtxMessages(datagrams); });
        engine->MainWindowActivated();
        test::RunEventsUntil([&] { return engine->StartupDone(); });
        test::WaitForBackground(*engine);
        ASSERT_TRUE(wsjtxListener.IsListening());
    }
    void TearDown() override {
        if (engine) engine->CloseMainWindow();
    }
    HighlightColours Colours(wsjtx::HighlightStatus status) const {
        return DefaultHighlightPalette()[static_cast<std::size_t>(status)];
    }
    int RowOf(const std::string& call) const {
        for (std::size_t i = 0; i < engine->Heard().Rows().size(); ++i)
            if (engine->Heard().Rows()[i].call == call) return static_cast<int>(i);
        return -1;
    }

    quint16 port = 0;
    WsjtxListener wsjtxListener;
    RecordingNotifier notifier;
    std::unique_ptr<StationEngine> engine;
};

TEST_F(WsjtxAnswerTest, DecodesComeBackColouredAReplyRepeatsTheDecodeAndTheCloseClearsEveryCall) {
    FakeWsjtx wsjtx("WSJT-X", 3, port);
    wsjtx.Heartbeat();
    wsjtx.Status();
    std::vector<Command> back = wsjtx.Take(1);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].type, 7u);  // a new instance is asked to replay its decodes
    EXPECT_EQ(back[0].id, "WSJT-X");

    wsjtx.Decode("CQ K1ABC FN42");
    const QByteArray cq = wsjtx.Decode("CQ PY2XX");
    wsjtx.Decode("CQ K9QQ EN50");
    wsjtx.Decode("K1ABC K7QQ FN42");
    wsjtx.Decode("CQ K1ABC FN42");  // the same colours again: nothing sent
    back = wsjtx.Take(4);
    ASSERT_EQ(back.size(), 4u);
    const std::pair<const char*, wsjtx::HighlightStatus> expected[] = {
        {"K1ABC", wsjtx::HighlightStatus::WorkedSlot},
        {"PY2XX", wsjtx::HighlightStatus::NewCountry},
        {"K9QQ", wsjtx::HighlightStatus::NewGrid},
        {"K7QQ", wsjtx::HighlightStatus::NothingNew},
    };
    for (std::size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i].type, 13u);
        EXPECT_EQ(back[i].schema, 3u);
        EXPECT_EQ(back[i].id, "WSJT-X");
        EXPECT_EQ(back[i].call, expected[i].first);
        EXPECT_TRUE(back[i].coloured);
        EXPECT_EQ(back[i].background, Colours(expected[i].second).background) << back[i].call;
        EXPECT_EQ(back[i].foreground, Colours(expected[i].second).foreground) << back[i].call;
    }
    EXPECT_EQ(notifier.texts, (std::vector<std::string>{"New country: PY2XX (Brazil (SA )) on 20m"}));

    // A double click on the new country's row: WSJT-X is asked to answer exactly that decode.
    engine->Call(&WsjtxAnswerPart::ReplyToRow, RowOf("PY2XX"));
    back = wsjtx.Take(1);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].type, 4u);
    EXPECT_EQ(back[0].fields, cq + QByteArray(1, '\0'));  // the decode's fields, modifiers 0
    // The contact is logged: its call turns "worked" at once.
    engine->OnDatagram(test::Datagram("PY2XX", "14.075500", "120100"));
    back = wsjtx.Take(1);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].call, "PY2XX");
    EXPECT_EQ(back[0].background, Colours(wsjtx::HighlightStatus::WorkedSlot).background);
    // A decode older than 15 s is not answered, and the operator is told why.
    clock.Advance(std::chrono::seconds(16));
    engine->Call(&WsjtxAnswerPart::ReplyToRow, RowOf("K9QQ"));
    EXPECT_NE(view.status.find("No reply sent to K9QQ"), std::string::npos) << view.status;
    EXPECT_TRUE(wsjtx.Take(1, 300).empty());

    // 150 calls more leave the 100 decoded last coloured.
    for (int i = 0; i < 150; ++i) wsjtx.Decode("CQ K" + std::to_string(i) + "ZZ FN42");
    back = wsjtx.Take(150 + 54);
    std::size_t clears = 0;
    for (const Command& c : back) clears += !c.coloured;
    EXPECT_EQ(clears, 54u);
    std::size_t active = 0;
    engine->With<WsjtxAnswerPart>([&](WsjtxAnswerPart& part) { active = part.ActiveHighlights("WSJT-X"); });
    EXPECT_EQ(active, 100u);
    // The close clears each of them.
    engine->CloseMainWindow();
    back = wsjtx.Take(100);
    ASSERT_EQ(back.size(), 100u);
    for (const Command& c : back) EXPECT_FALSE(c.coloured) << c.call;
}

TEST_F(WsjtxAnswerTest, TwoInstancesAreAnsweredApartEachInItsOwnSchema) {
    FakeWsjtx one("WSJT-X", 3, port), two("WSJT-X - IC705", 2, port);
    one.Heartbeat();
    two.Heartbeat();
    ASSERT_EQ(one.Take(1).size(), 1u);
    std::vector<Command> back = two.Take(1);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].schema, 2u);
    one.Status();
    two.Status();
    one.Decode("CQ PY2XX");
    two.Decode("CQ K9QQ EN50");
    back = one.Take(1);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].id, "WSJT-X");
    EXPECT_EQ(back[0].call, "PY2XX");
    EXPECT_EQ(back[0].schema, 3u);
    back = two.Take(1);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].id, "WSJT-X - IC705");
    EXPECT_EQ(back[0].call, "K9QQ");
    EXPECT_EQ(back[0].schema, 2u);
    EXPECT_TRUE(one.Take(1, 300).empty());  // nothing of the other's
    // The row of the second instance's call is answered by that instance.
    engine->Call(&WsjtxAnswerPart::ReplyToRow, RowOf("K9QQ"));
    back = two.Take(1);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].type, 4u);
    EXPECT_EQ(back[0].schema, 2u);
    EXPECT_TRUE(one.Take(1, 300).empty());
    // Colouring turned off: each instance's calls are cleared.
    engine->OptionsEdited([](StoredOptions& options) { options.answers.highlight = false; });
    back = one.Take(1);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].call, "PY2XX");
    EXPECT_FALSE(back[0].coloured);
    back = two.Take(1);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].call, "K9QQ");
    EXPECT_FALSE(back[0].coloured);
}

}  // namespace
}  // namespace vantrel
