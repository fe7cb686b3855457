#include "adif/received_contacts.h"

#include <gtest/gtest.h>

#include "log/contact_identity.h"
#include "log/extract_field.h"
#include "log/local_log.h"
#include "support/temp_folder.h"
#include "wsjtx/wsjtx_message.h"

namespace vantrel {
namespace {

const StationDetails kStation{"QQ0XYZ", "FN20", "IC-7300", "Vertical [7,14,21]"};

std::string Capture(const char* name) {
    return test::ReadFile(test::TestDataFolder() / "wsjtx-2.6.1" / name);
}

std::string LoggedAdifText(const char* name) {
    const wsjtx::Datagram datagram = wsjtx::ReadDatagram(Capture(name));
    const auto* logged = std::get_if<wsjtx::LoggedAdif>(&datagram.message);
    return logged ? std::string(wsjtx::TextOf(logged->adifText)) : std::string();
}

TEST(ReceivedContacts, BothFeedsOfTheRealContactGiveOneLineAndOneIdentity) {
    VANTREL_REQUIRE_TESTDATA();
    const auto datagram = ReadReceivedContacts(Capture("n1mm-ft8-comment-name.bin"),
                                               ReceivedFeed::N1mmDatagram, kStation);
    ASSERT_EQ(datagram.size(), 1u);
    ASSERT_TRUE(datagram[0].readable()) << datagram[0].problem;
    const std::string& line = datagram[0].line;
    EXPECT_EQ(line,
              "2026-12-08,14:19:19,2026-12-08,14:19:19,K1ABC,FN42,14.075500,FT8,-15,-12,100,abc caf\xE9,"
              "Jo Smith,W9XYZ,EN37,IC-7300,Vertical [7,14,21],");

    // WSJT-X's LoggedADIF message for the same contact: header, <EOR>, the same record.
    const std::string adif = LoggedAdifText("protocol/loggedadif_comment_name.bin");
    ASSERT_NE(adif.find("<EOH>"), std::string::npos);
    const auto logged = ReadReceivedContacts(adif, ReceivedFeed::LoggedAdif, kStation);
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].line, line);

    // The same text as UTF-8 whose lengths count characters: "café" is five bytes under 10.
    std::string utf8 = adif;
    utf8.replace(utf8.find("caf\xE9"), 4, "caf\xC3\xA9");
    const auto fromUtf8 = ReadReceivedContacts(utf8, ReceivedFeed::LoggedAdif, kStation);
    ASSERT_EQ(fromUtf8.size(), 1u);
    EXPECT_EQ(fromUtf8[0].line, line);
    // Read by the byte rule, that text does not fit its lengths: never a contact cut mid-character.
    EXPECT_FALSE(ReadReceivedContacts(utf8, ReceivedFeed::N1mmDatagram, kStation)[0].readable());

    // wsjtx.log wrote the same contact in UTF-8 with its commas: other bytes, same contact.
    const std::string wsjtxLine = Capture("wsjtx-comment-name.log");
    const std::string fromLog = LocalLineFromWsjtx(wsjtxLine.substr(0, wsjtxLine.find('\n')), kStation);
    EXPECT_NE(fromLog, line);
    ASSERT_TRUE(ContactIdentityOf(fromLog).has_value());
    EXPECT_EQ(ContactIdentityOf(fromLog)->call, "K1ABC");
    EXPECT_EQ(ContactIdentityOf(line), ContactIdentityOf(fromLog));

    // The received line has its seventeen fields: a station whose callsign differs from the
    // record's keeps it as it is, never with a second suffix.
    EXPECT_EQ(CompleteLastContact(line, kStation), line);
    const std::string eleven = "2026-12-08,14:00:00,2026-12-08,14:00:30,K1ABC,FN42,14.0755,FT8,-1,-2,5";
    EXPECT_EQ(SplitPieces(CompleteLastContact(eleven, kStation), ',').size(), 20u);  // [7,14,21]
}

TEST(ReceivedContacts, CharactersBeyondLatin1CountAsWsjtxCountsThem) {
    // One UTF-16 unit each for "€", two for the emoji; WSJT-X's datagram holds "?" for each unit.
    const std::string text = "<call:5>K1ABC <qso_date:8>20261208 <time_on:4>1200 <comment:6>\xE2\x82\xAC 5 \xF0\x9F\x98\x80 "
                             "<freq:6>14.074 <eor>";
    const auto contacts = ReadReceivedContacts(text, ReceivedFeed::LoggedAdif, kStation);
    ASSERT_EQ(contacts.size(), 1u);
    ASSERT_TRUE(contacts[0].readable()) << contacts[0].problem;
    EXPECT_EQ(ExtractField(contacts[0].line, ',', 12), "? 5 ??");
    EXPECT_EQ(Utf8ToLatin1("caf\xC3\xA9"), "caf\xE9");
    for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\xE9 b"})
        EXPECT_FALSE(Utf8ToLatin1(bad).has_value()) << bad;
}

TEST(ReceivedContacts, LengthsThatDoNotFitMakeTheirRecordUnreadableOnly) {
    const std::string good = "<call:5>K1ABC <qso_date:8>20261208 <time_on:6>141919 <freq:6>14.074 <eor>";
    for (const std::string& broken :
         {std::string("<call:60>K1ABC <gridsquare:4>FN42 <eor>"),
          std::string("<call:99999999999>K1ABC <gridsquare:4>FN42 <eor>"),
          std::string("<call:4>K1ABC <gridsquare:4>FN42 <eor>"),  // stops inside a word
          std::string("<comment:30>short <eor><call:5>W9XYZ <eor>")}) {
        const auto contacts = ReadReceivedContacts(broken, ReceivedFeed::N1mmDatagram, kStation);
        ASSERT_FALSE(contacts.empty()) << broken;
        EXPECT_FALSE(contacts[0].readable()) << broken;
        EXPECT_TRUE(contacts[0].line.empty()) << broken;
        EXPECT_NE(contacts[0].problem.find("<"), std::string::npos) << contacts[0].problem;
    }
    EXPECT_NE(ReadReceivedContacts("<call:60>K1ABC <eor>", ReceivedFeed::N1mmDatagram, kStation)[0]
                  .problem.find("<call:60> runs past the end"),
              std::string::npos);

    // Several records in one datagram: each is logged, a broken one between them is not.
    const std::string three = good + " " + "<call:40>W9XYZ <eor> " + good.substr(0, 8) + "G4ABC" +
                              good.substr(13);
    const auto contacts = ReadReceivedContacts(three, ReceivedFeed::N1mmDatagram, kStation);
    ASSERT_EQ(contacts.size(), 3u);
    EXPECT_EQ(ExtractField(contacts[0].line, ',', 5), "K1ABC");
    EXPECT_FALSE(contacts[1].readable());
    EXPECT_EQ(ExtractField(contacts[2].line, ',', 5), "G4ABC");
    EXPECT_TRUE(contacts[2].readable());

    // Control bytes never reach the line; a record without a callsign names no contact.
    const std::string control("<call:6>K1\0ABC <comment:7>a\x01" "b\tc\r\n <eor>", 39);
    const auto cleaned = ReadReceivedContacts(control, ReceivedFeed::N1mmDatagram, kStation);
    ASSERT_EQ(cleaned.size(), 1u);
    EXPECT_EQ(ExtractField(cleaned[0].line, ',', 5), "K1ABC");
    EXPECT_EQ(ExtractField(cleaned[0].line, ',', 12), "ab c");
    EXPECT_EQ(SplitPieces(cleaned[0].line, ',').size(), 20u);  // antenna [7,14,21] adds two
    EXPECT_EQ(ReadReceivedContacts("<gridsquare:4>FN42 <eor>", ReceivedFeed::N1mmDatagram, kStation)[0]
                  .problem,
              "no callsign");
    EXPECT_TRUE(ReadReceivedContacts("no fields here", ReceivedFeed::N1mmDatagram, kStation).empty());
}

TEST(ContactIndex, KnowsAReceivedContactByItsIdentityAsTheLogGrowsAndIsRewritten) {
    const std::string a = "2026-12-08,9:05:00,2026-12-08,9:05:30,k1abc,FN42,14.074,FT8,,,,,,QQ0XYZ,FN20,,,";
    const std::string b = "2026-12-08,10:00:00,2026-12-08,10:00:30,W9XYZ,EN37,7.074,FT8,,,,,,QQ0XYZ,FN20,,,";
    LogLines lines{a};
    ContactIndex set(lines);
    EXPECT_TRUE(set.Contains("2026-12-08,09:05:00,,,K1ABC,,14.0755,FT4,"));  // other bytes
    EXPECT_FALSE(set.Contains("2026-12-08,09:05:00,,,K1ABC,,7.074,"));       // another band
    EXPECT_FALSE(set.Contains(b));
    lines.push_back(b);
    set.Extend(lines);
    EXPECT_TRUE(set.Contains(b));
    EXPECT_EQ(set.size(), 2u);
    lines.Set(0, b);  // a repair rewrote the first line: the index is built again
    set.Rebuild(lines);
    EXPECT_FALSE(set.Contains(a));
    EXPECT_EQ(set.size(), 1u);
}

}  // namespace
}  // namespace vantrel
