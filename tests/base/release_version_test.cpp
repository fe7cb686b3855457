#include <gtest/gtest.h>

#include "base/release_version.h"

namespace vantrel {
namespace {

TEST(ReleaseVersionTest, ComparesTheTrimmedTextExactly) {
    EXPECT_FALSE(ReleaseDiffers("1.0.0.1", "1.0.0.1"));
    EXPECT_FALSE(ReleaseDiffers("1.0.0.1\r\n", "1.0.0.1"));
    EXPECT_FALSE(ReleaseDiffers(" \t1.0.0.1  \n \r\n", "1.0.0.1"));
    EXPECT_TRUE(ReleaseDiffers("1.0.0.2\n", "1.0.0.1"));   // newer
    EXPECT_TRUE(ReleaseDiffers("0.9.9.9\n", "1.0.0.1"));   // older
    EXPECT_TRUE(ReleaseDiffers("1.0.0.1b", "1.0.0.1B"));   // letter case counts
    EXPECT_TRUE(ReleaseDiffers("1.0.0.1 beta", "1.0.0.1"));
    EXPECT_EQ(TrimReleaseBody("\x01 2.3.4.5\x7f\n"), "2.3.4.5");
}

TEST(ReleaseVersionTest, APageInPlaceOfTheVersionIsNoVersion) {
    EXPECT_TRUE(LooksLikeVersionText("1.0.0.12"));
    EXPECT_TRUE(LooksLikeVersionText("2.0.0.1b"));
    EXPECT_FALSE(LooksLikeVersionText(""));
    EXPECT_FALSE(LooksLikeVersionText("<html><body>Sign in</body></html>"));
    EXPECT_FALSE(LooksLikeVersionText("1.0.0.1\r\n2.0.0.0"));
    EXPECT_FALSE(LooksLikeVersionText(std::string(41, '1')));
}

}  // namespace
}  // namespace vantrel
