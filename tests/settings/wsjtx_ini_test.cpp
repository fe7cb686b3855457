#include "settings/wsjtx_ini.h"

#include <gtest/gtest.h>

#include "log/log_lines.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

TEST(WsjtxIni, ValuesAreTrimmedCutAndMatchedExactly) {
    const WsjtxConfig c = ReadWsjtxConfigLines(
        {"[Configuration]", "MyCall=   K1ABC  \t", "mycall=W1XX", "MyGrid=FN42ab1234567890123456789",
         "N1MMServerPort=2237", "N1MMServer=192.168.1.5", "BroadcastToN1MM=True"},
        2333, false);
    EXPECT_EQ(c.call, "K1ABC");
    EXPECT_EQ(c.grid, "FN42ab12345678901234");  // the first 20 characters
    EXPECT_EQ(c.host, "192.168.1.5");
    EXPECT_EQ(c.port, 2237);
    EXPECT_FALSE(c.broadcast);  // only "true" counts
    EXPECT_TRUE(c.hostPresent);
}

TEST(WsjtxIni, SortedKeysBindWithTheFinalHostAndPort) {
    // WSJT-X writes its keys sorted: the switch comes before the host and port.
    const WsjtxConfig c = ReadWsjtxConfigLines(
        {"BroadcastToN1MM=true", "MyCall=W9XYZ", "N1MMServer=127.0.0.2", "N1MMServerPort=2237"},
        2333, false);
    EXPECT_TRUE(WantsReceiver(c));
    EXPECT_EQ(c.host, "127.0.0.2");
    EXPECT_EQ(c.port, 2237);
}

TEST(WsjtxIni, PortAndSwitchKeepPreviousValuesWhenAbsentOrUnreadable) {
    WsjtxConfig c = ReadWsjtxConfigLines({"N1MMServerPort=abc"}, 2240, true);
    EXPECT_EQ(c.port, 2240);
    EXPECT_EQ(c.rejectedPort, "abc");
    EXPECT_TRUE(c.broadcast);
    EXPECT_FALSE(c.hostPresent);
    EXPECT_EQ(ReadWsjtxConfigLines({"N1MMServerPort=70000"}, 2333, false).port, 2333);
    EXPECT_EQ(ReadWsjtxConfigLines({"N1MMServerPort=-5"}, 2333, false).port, 2333);
    c = ReadWsjtxConfigLines({"BroadcastToN1MM=true", "N1MMServerPort=0"}, 2333, false);
    EXPECT_FALSE(WantsReceiver(c));
    EXPECT_EQ(ReadWsjtxConfigLines({"N1MMServerPort=2300", "N1MMServerPort=2301"}, 1, false).port, 2301);
}

TEST(WsjtxIni, RealConfigurationFile) {
    VANTREL_REQUIRE_TESTDATA();
    const auto lines = LoadLogLines(test::TestDataFolder() / "wsjtx-2.6.1" / "WSJT-X.ini");
    ASSERT_TRUE(lines.has_value());
    const WsjtxConfig c = ReadWsjtxConfigLines(*lines, 2333, false);
    EXPECT_FALSE(c.call.empty());
    EXPECT_FALSE(c.grid.empty());
    EXPECT_TRUE(c.broadcast);
    EXPECT_EQ(c.host, "127.0.0.1");
    EXPECT_EQ(c.port, 52333);  // this station moved its port; binding at the first line would not see it
}

}  // namespace
}  // namespace vantrel
