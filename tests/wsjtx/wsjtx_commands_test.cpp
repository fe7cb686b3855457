#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"
#include "support/wsjtx_writer.h"
#include "wsjtx/wsjtx_commands.h"

namespace vantrel::wsjtx {
namespace {

// A Reply repeats the captured decode field for field: the decode's bytes less its "New" flag
// and its "Off air" flag, then the modifiers.
TEST(WsjtxCommandsTest, ReplyRepeatsARealDecodeExactly) {
    const std::string capture = test::ReadFile(test::TestDataFolder() / "wsjtx-2.6.1" / "protocol" /
                                               "decode_01_CQ_K1ABC_FN42.bin");
    const Datagram datagram = ReadDatagram(capture);
    ASSERT_EQ(datagram.status, ReadStatus::Read);
    const Decode& decode = std::get<Decode>(datagram.message);
    const std::string reply = EncodeReply(datagram.schema, TextOf(datagram.id), decode);
    const std::size_t header = 4 + 4 + 4 + 4 + TextOf(datagram.id).size();
    std::string expected = capture.substr(0, header);
    expected[11] = 4;                                                          // the type: Reply
    expected += capture.substr(header + 1, capture.size() - header - 2);       // without New and Off air
    expected += '\0';                                                          // no modifiers
    EXPECT_EQ(reply, expected);
}

TEST(WsjtxCommandsTest, ClearReplayAndHighlightInWsjtxForm) {
    EXPECT_EQ(EncodeClear(2, "WSJT-X", ClearWindow::Both), test::WsjtxWriter(2, 3, "WSJT-X").U8(2).bytes());
    EXPECT_EQ(EncodeReplay(3, "JTDX"), test::WsjtxWriter(3, 7, "JTDX").bytes());
    // A QColor: spec (1 RGB, 0 invalid), alpha, red, green, blue in 16 bits, a padding word.
    const std::string orange("\x01\xff\xff\xff\xff\x80\x80\x00\x00\x00\x00", 11);
    const std::string blue("\x01\xff\xff\x00\x00\x00\x00\xff\xff\x00\x00", 11);
    const std::string invalid("\x00\xff\xff\x00\x00\x00\x00\x00\x00\x00\x00", 11);
    const std::string call = test::WsjtxWriter(2, 13, "WSJT-X").Text("K1ABC").bytes();
    EXPECT_EQ(EncodeHighlightCallsign(2, "WSJT-X", "K1ABC", Rgb{255, 128, 0}, Rgb{0, 0, 255}),
              call + orange + blue + '\0');
    const std::string cleared = call + invalid + invalid + '\x01';
    EXPECT_EQ(EncodeHighlightCallsign(2, "WSJT-X", "K1ABC", std::nullopt, std::nullopt, true), cleared);
}

}  // namespace
}  // namespace vantrel::wsjtx
