#include "wsjtx/wsjtx_message.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "support/temp_folder.h"
#include "support/wsjtx_writer.h"

namespace vantrel::wsjtx {
namespace {

namespace fs = std::filesystem;

fs::path Captures() { return test::TestDataFolder() / "wsjtx-2.6.1" / "protocol"; }

// The value column of messages.txt in the form the reader's fields are printed in below.
std::string ExpectedValue(const std::string& kind, std::string value) {
    if (kind == "utf8") {
        if (value.rfind("null", 0) == 0) return "<null>";
        const std::size_t open = value.find('\''), close = value.rfind('\'');
        std::string text, quoted = value.substr(open + 1, close - open - 1);
        for (std::size_t i = 0; i < quoted.size(); ++i) {
            if (quoted[i] != '\\' || i + 1 == quoted.size()) {
                text += quoted[i];
                continue;
            }
            const char next = quoted[++i];
            if (next == 'n') text += '\n';
            else if (next == 'r') text += '\r';
            else if (next == 't') text += '\t';
            else if (next == 'x') text += static_cast<char>(std::stoi(quoted.substr(i + 1, 2), nullptr, 16)), i += 2;
            else text += next;
        }
        return "'" + text + "'";
    }
    if (kind == "QTime") return value.substr(value.find('(') + 1, value.find(" ms") - value.find('(') - 1);
    if (kind == "QDateTime") {
        const std::size_t day = value.find("Julian day ") + 11;
        const std::size_t comma = value.find(", ", day);
        return value.substr(day, comma - day) + " " +
               value.substr(comma + 2, value.find(" ms", comma) - comma - 2) + " " +
               value.substr(value.find("timespec ") + 9, 1);
    }
    if (kind == "bool") return value.rfind("True", 0) == 0 ? "1" : "0";
    return value.substr(0, value.find(' '));
}

std::string Print(const Text& text) { return text ? "'" + *text + "'" : "<null>"; }
template <class T>
std::string Print(T value) { return std::to_string(value); }
std::string Print(bool value) { return value ? "1" : "0"; }
std::string Print(const DateTime& t) {
    return std::to_string(t.julianDay) + " " + std::to_string(t.milliseconds) + " " + std::to_string(t.timeSpec);
}

// Every field the reader gives, by the name messages.txt uses.
std::map<std::string, std::string> Fields(const Datagram& d) {
    std::map<std::string, std::string> f;
    f["schema"] = Print(d.schema);
    f["type"] = Print(d.type);
    f["id"] = Print(d.id);
    if (const auto* m = std::get_if<Heartbeat>(&d.message)) {
        if (m->maximumSchema) f["max_schema"] = Print(*m->maximumSchema);
        f["version"] = Print(m->version);
        f["revision"] = Print(m->revision);
    } else if (const auto* m = std::get_if<Status>(&d.message)) {
        f = {{"schema", f["schema"]}, {"type", f["type"]}, {"id", f["id"]},
             {"dial_frequency_hz", Print(m->dialFrequencyHz)}, {"mode", Print(m->mode)},
             {"dx_call", Print(m->dxCall)}, {"report", Print(m->report)}, {"tx_mode", Print(m->txMode)},
             {"tx_enabled", Print(m->txEnabled)}, {"transmitting", Print(m->transmitting)},
             {"decoding", Print(m->decoding)}, {"rx_df", Print(m->rxDf)}, {"tx_df", Print(m->txDf)},
             {"de_call", Print(m->deCall)}, {"de_grid", Print(m->deGrid)}, {"dx_grid", Print(m->dxGrid)},
             {"tx_watchdog", Print(m->txWatchdog)}, {"sub_mode", Print(m->subMode)},
             {"fast_mode", Print(m->fastMode)},
             {"special_operation_mode", Print(static_cast<unsigned>(m->specialOperationMode))},
             {"frequency_tolerance", Print(m->frequencyTolerance)}, {"tr_period", Print(m->trPeriod)},
             {"configuration_name", Print(m->configurationName)}, {"tx_message", Print(m->txMessage)}};
    } else if (const auto* m = std::get_if<Decode>(&d.message)) {
        f["new"] = Print(m->isNew);
        f["time"] = Print(m->timeMs);
        f["snr"] = Print(m->snr);
        f["delta_frequency_hz"] = Print(m->deltaFrequencyHz);
        f["mode"] = Print(m->mode);
        f["message"] = Print(m->message);
        f["low_confidence"] = Print(m->lowConfidence);
        f["off_air"] = Print(m->offAir);
    } else if (const auto* m = std::get_if<Clear>(&d.message)) {
        if (m->window) f["window"] = Print(static_cast<unsigned>(*m->window));
    } else if (const auto* m = std::get_if<QsoLogged>(&d.message)) {
        f["datetime_off"] = Print(m->timeOff);
        f["dx_call"] = Print(m->dxCall);
        f["dx_grid"] = Print(m->dxGrid);
        f["tx_frequency_hz"] = Print(m->txFrequencyHz);
        f["mode"] = Print(m->mode);
        f["report_sent"] = Print(m->reportSent);
        f["report_received"] = Print(m->reportReceived);
        f["tx_power"] = Print(m->txPower);
        f["comments"] = Print(m->comments);
        f["name"] = Print(m->name);
        f["datetime_on"] = Print(m->timeOn);
        f["operator_call"] = Print(m->operatorCall);
        f["my_call"] = Print(m->myCall);
        f["my_grid"] = Print(m->myGrid);
        f["exchange_sent"] = Print(m->exchangeSent);
        f["exchange_received"] = Print(m->exchangeReceived);
        f["adif_propagation_mode"] = Print(m->propagationMode);
    } else if (const auto* m = std::get_if<LoggedAdif>(&d.message)) {
        f["adif_text"] = Print(m->adifText);
    }
    return f;
}

TEST(WsjtxMessage, RealCapturesGiveTheFieldsTheirListingShows) {
    VANTREL_REQUIRE_TESTDATA();
    std::istringstream listing(test::ReadFile(Captures() / "messages.txt"));
    std::string line, file;
    Datagram datagram;
    std::map<std::string, std::string> fields;
    std::size_t files = 0, checked = 0;
    std::map<ReadStatus, int> statuses;
    while (std::getline(listing, line)) {
        if (line.rfind("=== ", 0) == 0) {
            file = line.substr(4);
            const std::string bytes = test::ReadFile(Captures() / file);
            ASSERT_FALSE(bytes.empty()) << file;
            datagram = ReadDatagram(bytes);
            fields = Fields(datagram);
            ++statuses[datagram.status];
            ++files;
            // Replay (7) is a request WSJT-X reads, not one of the messages read here.
            EXPECT_EQ(datagram.status, datagram.type == 7 ? ReadStatus::NotRead : ReadStatus::Read) << file;
            continue;
        }
        if (line.rfind("  @", 0) != 0) {
            if (line.find("window") != std::string::npos && line.find("absent") != std::string::npos) {
                EXPECT_EQ(fields.count("window"), 0u) << file;
            }
            continue;
        }
        std::istringstream cut(line);
        std::string offset, length, name, kind, value;
        cut >> offset >> length >> name >> kind;
        std::getline(cut, value);
        value = value.substr(value.find_first_not_of(' '));
        if (name == "magic") continue;
        if (name == "delta_time_s") {
            const auto* decode = std::get_if<Decode>(&datagram.message);
            ASSERT_NE(decode, nullptr) << file;
            EXPECT_EQ(decode->deltaTimeSeconds, std::stod(value)) << file;
            ++checked;
            continue;
        }
        if (datagram.status == ReadStatus::NotRead && name != "schema" && name != "type" && name != "id") continue;
        ASSERT_EQ(fields.count(name), 1u) << file << ": no field " << name;
        EXPECT_EQ(fields[name], ExpectedValue(kind, value)) << file << ": " << name;
        ++checked;
    }
    EXPECT_EQ(files, 74u);
    EXPECT_GT(checked, 1100u);

    // The multicast session and the contact with commas and "café" read the same way.
    std::size_t more = 0;
    for (const auto& entry : fs::directory_iterator(Captures() / "multicast-239.255.0.1")) {
        EXPECT_EQ(ReadDatagram(test::ReadFile(entry.path())).status, ReadStatus::Read) << entry.path();
        ++more;
    }
    EXPECT_EQ(more, 24u);
    const Datagram logged = ReadDatagram(test::ReadFile(Captures() / "qsologged_comment_name.bin"));
    const auto& qso = std::get<QsoLogged>(logged.message);
    EXPECT_EQ(TextOf(qso.comments), "a,b,c caf\xC3\xA9");
    EXPECT_EQ(TextOf(qso.name), "Jo, Smith");
    EXPECT_EQ(DateText(qso.timeOn), "2026-12-08");
    EXPECT_EQ(TimeText(qso.timeOn), "14:19:19");
    const Datagram decode = ReadDatagram(test::ReadFile(Captures() / "decode_20_K1ABC_W9XYZ_EN37_q0.bin"));
    EXPECT_EQ(DecodeModeName(TextOf(std::get<Decode>(decode.message).mode)), "Q65");
}

TEST(WsjtxMessage, HandMadeMessagesOfEveryTypeWithNullTextsAndLaterFields) {
    test::WsjtxWriter status(3, 1, "WSJT-X");
    status.U64(14074000).Text("FT8").Null().Text("").Text("FT8").Bool(true).Bool(false);
    status.Bool(true).U32(1200).U32(1500).Text("QQ0XYZ").Text("FN20").Null().Bool(false).Text("A");
    status.Bool(true).U8(6).U32(50).U32(30).Text("Default").Text("CQ QQ0XYZ FN20");
    status.U32(777);  // a field a newer WSJT-X may add is ignored
    Datagram d = ReadDatagram(status.bytes());
    ASSERT_EQ(d.status, ReadStatus::Read);
    const auto& s = std::get<Status>(d.message);
    EXPECT_EQ(d.schema, 3u);
    EXPECT_EQ(s.dialFrequencyHz, 14074000u);
    EXPECT_FALSE(s.dxCall.has_value());
    EXPECT_EQ(s.report, std::optional<std::string>(""));
    EXPECT_TRUE(s.txEnabled && s.decoding && s.fastMode);
    EXPECT_EQ(s.rxDf, 1200u);
    EXPECT_EQ(TextOf(s.deCall), "QQ0XYZ");
    EXPECT_FALSE(s.dxGrid.has_value());
    EXPECT_EQ(s.specialOperationMode, 6);
    EXPECT_EQ(s.trPeriod, 30u);
    EXPECT_EQ(TextOf(s.txMessage), "CQ QQ0XYZ FN20");

    test::WsjtxWriter qso(2, 5, "WSJT-X");
    qso.Time(2461383, 73951892, 2, 3600).Text("K1ABC").Text("FN42").U64(14075500).Text("FT8");
    qso.Text("-10").Text("-12").Text("50").Null().Text("Bob");  // older WSJT-X ends here
    d = ReadDatagram(qso.bytes());
    ASSERT_EQ(d.status, ReadStatus::Read);
    const auto& q = std::get<QsoLogged>(d.message);
    EXPECT_EQ(q.timeOff.offsetSeconds, 3600);
    EXPECT_EQ(DateText(q.timeOff), "2026-12-08");
    EXPECT_EQ(TimeText(q.timeOff), "20:32:31");
    EXPECT_FALSE(q.comments.has_value());
    EXPECT_FALSE(q.timeOn.valid);
    EXPECT_EQ(DateText(q.timeOn), "");

    test::WsjtxWriter zone(3, 5, "WSJT-X");
    zone.Time(2461383, 0, 3, 0);  // a named zone has a layout that is not followed
    EXPECT_EQ(ReadDatagram(zone.bytes()).status, ReadStatus::NotRead);

    test::WsjtxWriter heartbeat(2, 0, "");
    d = ReadDatagram(heartbeat.bytes());  // the schema-2 heartbeat of old WSJT-X: no fields
    ASSERT_EQ(d.status, ReadStatus::Read);
    EXPECT_FALSE(std::get<Heartbeat>(d.message).maximumSchema.has_value());
    EXPECT_EQ(TextOf(d.id), "");

    test::WsjtxWriter clear(3, 3, "WSJT-X");
    clear.U8(2);
    EXPECT_EQ(std::get<Clear>(ReadDatagram(clear.bytes()).message).window, std::optional<std::uint8_t>(2));
    EXPECT_TRUE(std::holds_alternative<Close>(ReadDatagram(test::WsjtxWriter(3, 6, "WSJT-X").bytes()).message));
    test::WsjtxWriter adif(3, 12, "WSJT-X");
    adif.Null();
    EXPECT_FALSE(std::get<LoggedAdif>(ReadDatagram(adif.bytes()).message).adifText.has_value());
}

TEST(WsjtxMessage, OtherSchemasTypesAndTruncatedOrGarbageDatagramsAreSkipped) {
    test::WsjtxWriter decode(3, 2, "WSJT-X");
    decode.Bool(true).U32(44115000).I32(-22).Double(0.2).U32(900).Text("~").Text("CQ K1ABC FN42");
    const std::size_t required = decode.bytes().size();
    decode.Bool(false).Bool(true);
    const std::string whole = decode.bytes();
    ASSERT_EQ(ReadDatagram(whole).status, ReadStatus::Read);

    // Cut at every byte: only a cut between two optional fields still reads.
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        const Datagram d = ReadDatagram(whole.substr(0, cut));
        const bool boundary = cut == required || cut == required + 1;
        EXPECT_EQ(d.status, boundary ? ReadStatus::Read : cut < 8 ? ReadStatus::NotWsjtx : ReadStatus::Truncated)
            << cut;
        if (boundary) {
            EXPECT_EQ(TextOf(std::get<Decode>(d.message).message), "CQ K1ABC FN42");
        }
    }

    for (std::uint32_t schema : {0u, 1u, 4u, 0xffffffffu}) {
        test::WsjtxWriter other(schema, 2, "WSJT-X");
        EXPECT_EQ(ReadDatagram(other.bytes() + whole.substr(22)).status, ReadStatus::OtherSchema) << schema;
    }
    for (std::uint32_t type : {4u, 7u, 10u, 13u, 99u, 0xffffffffu}) {
        test::WsjtxWriter other(3, type, "WSJT-X");
        other.U64(1).Text("whatever follows");
        EXPECT_EQ(ReadDatagram(other.bytes()).status, ReadStatus::NotRead) << type;
    }
    test::WsjtxWriter huge(3, 2, "WSJT-X");
    huge.Bool(true).U32(0).I32(0).Double(0).U32(0).U32(0xfffffffe);  // a text longer than the datagram
    EXPECT_EQ(ReadDatagram(huge.bytes() + "abc").status, ReadStatus::Truncated);

    std::mt19937 random(15);
    std::string garbage(65536, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    EXPECT_EQ(ReadDatagram(garbage).status, ReadStatus::NotWsjtx);
    for (std::uint32_t type = 0; type <= 13; ++type) {
        // Garbage behind a valid header: read or refused, never past the end.
        test::WsjtxWriter header(3, type, "WSJT-X");
        const Datagram d = ReadDatagram(header.bytes() + garbage);
        EXPECT_NE(d.status, ReadStatus::NotWsjtx);
    }
    EXPECT_EQ(ReadDatagram("").status, ReadStatus::NotWsjtx);
}

}  // namespace
}  // namespace vantrel::wsjtx
