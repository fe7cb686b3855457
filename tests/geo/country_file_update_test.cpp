#include <gtest/gtest.h>

#include <filesystem>

#include "geo/country_file_update.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

std::string RealCountryFile(const char* name = "cty-debian-hamradio-files.dat") {
    return ReadFile(test::TestDataFolder() / "cty" / name);
}

TEST(CountryFileCheckTest, RealFilesPassAndAnythingElseIsRefused) {
    VANTREL_REQUIRE_TESTDATA();
    const std::string real = RealCountryFile();
    EXPECT_EQ(CheckCountryFileDownload(real), "");
    EXPECT_EQ(CheckCountryFileDownload(RealCountryFile("cty-wsjtx-2.6.1.dat")), "");

    // A sign-in page of a public network, well over 1,000 bytes.
    std::string page = "<!DOCTYPE html>\n<html><head><title>Sign in</title></head>\n<body>\n";
    while (page.size() < 4000) page += "  <p>Please accept the terms of use to continue.</p>\n";
    page += "</body></html>\n";
    EXPECT_NE(CheckCountryFileDownload(page).find("not a country file"), std::string::npos);

    // Cut mid-way: the last prefix list has no ";".
    const std::string cut = real.substr(0, real.size() / 2);
    EXPECT_NE(CheckCountryFileDownload(cut.substr(0, cut.rfind(',') + 1)), "");
    // An entity line with a field missing.
    std::string damaged = real;
    damaged.replace(damaged.find("  EU:"), 5, "");
    EXPECT_NE(CheckCountryFileDownload(damaged), "");
    // Too few entities for a real file.
    const std::string few = real.substr(0, real.find("\n", 20000) + 1);
    EXPECT_NE(CheckCountryFileDownload(few.substr(0, few.rfind(';') + 2)).find("entities"),
              std::string::npos);
}

TEST(CountryFileInstallTest, ARefusedFileOrAMissingWsjtxFolderChangesNoFileOfWsjtx) {
    VANTREL_REQUIRE_TESTDATA();
    test::TempFolder temp;
    const fs::path viewer = temp / "viewer", wsjtx = temp / "WSJT-X";
    WriteFile(viewer / "cty.dat", "old viewer file");
    WriteFile(wsjtx / "cty.dat", "old WSJT-X file");
    WriteFile(viewer / "ctybasic.txt", "old table");
    WriteFile(viewer / kNewCountryFile, std::string(5000, 'x') + "\n");
    CountryFileInstall refused = InstallCountryFile(viewer / kNewCountryFile, viewer, wsjtx);
    EXPECT_FALSE(refused.installed);
    EXPECT_NE(refused.problem, "");
    EXPECT_EQ(ReadFile(viewer / "cty.dat"), "old viewer file");
    EXPECT_EQ(ReadFile(wsjtx / "cty.dat"), "old WSJT-X file");
    EXPECT_EQ(ReadFile(viewer / "ctybasic.txt"), "old table");

    // WSJT-X's folder is never created: the viewer's copy is installed and the gap reported.
    WriteFile(viewer / kNewCountryFile, RealCountryFile());
    CountryFileInstall partial = InstallCountryFile(viewer / kNewCountryFile, viewer, temp / "none");
    EXPECT_TRUE(partial.installed);
    EXPECT_FALSE(partial.wsjtxInstalled);
    EXPECT_NE(partial.problem.find("does not exist"), std::string::npos);
    EXPECT_FALSE(fs::exists(temp / "none"));
}

}  // namespace
}  // namespace vantrel
