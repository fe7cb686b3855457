#include "journal/journal_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>

#include "support/temp_folder.h"

namespace vantrel {
namespace {

class JournalCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        VANTREL_REQUIRE_TESTDATA();
        std::filesystem::copy_file(test::TestDataFolder() / "wsjtx-2.6.1" / "protocol" / "ALL-from-decodes.TXT",
                                   folder / "all.txt");
        std::filesystem::copy_file(test::TestDataFolder() / "wsjtx-2.6.1" / "WSJT-X.ini", folder / "wsjt-x.ini");
    }
    test::TempFolder folder;
    std::ostringstream out, err;
};

TEST_F(JournalCommandsTest, JournalPrintsTheListedRowsTabSeparated) {
    EXPECT_EQ(RunJournalCommand(folder.path(), "w9xyz", out, err), 0);
    EXPECT_EQ(out.str(),
              "250314_121500\t14.074\tRX\tFT8\t-8\t0.0\t2000\tK1ABC W9XYZ R-08\n"
              "250314_121500\t14.074\tRX\tFT8\t-12\t0.5\t2300\tW9XYZ K1ABC RR73\n"
              "250314_121500\t14.074\tRX\tFT8\t-16\t0.3\t1200\tW9XYZ K1ABC -12\n"
              "250314_121515\t14.074\tRX\tFT8\t-9\t0.0\t2050\tK1ABC W9XYZ 73\n");
    EXPECT_EQ(err.str(), "");
    out.str("");
    EXPECT_EQ(RunJournalCommand(folder.path(), "QQ9QQ", out, err), 0);  // searched, nothing listed
    EXPECT_EQ(out.str(), "");
    std::filesystem::remove(folder / "all.txt");
    EXPECT_EQ(RunJournalCommand(folder.path(), "W9XYZ", out, err), 1);
    EXPECT_NE(err.str().find("all.txt"), std::string::npos);
}

TEST_F(JournalCommandsTest, RecentWritesTheFileForTheConfiguredCallsign) {
    const std::string call = ViewerCallsign(folder.path());
    ASSERT_FALSE(call.empty());
    const mode_t umask = ::umask(077);  // made as every other file: the umask holds
    EXPECT_EQ(RunRecentCommand(folder.path(), call, out, err), 0);
    ::umask(umask);
    const auto written = folder / "RecentList.txt";
    EXPECT_EQ(std::filesystem::status(written).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(out.str(), written.string() + "\n");
    const std::string text = test::ReadFile(written);
    EXPECT_EQ(text.rfind(" An extract of entries in ALL.TXT", 0), 0u);
    EXPECT_NE(text.find("\r\n"), std::string::npos);
    std::filesystem::remove(folder / "all.txt");
    out.str("");
    EXPECT_EQ(RunRecentCommand(folder.path(), call, out, err), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(ViewerCallsign(folder / "nowhere"), "");
}

}  // namespace
}  // namespace vantrel
