#include "base/data_folders.h"

#include <gtest/gtest.h>

#include "base/switches.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

TEST(Switches, SubstringOfTheUpperCasedText) {
    const Switches s({"/Debug", "/nvc", "/PURGEX"});
    EXPECT_EQ(s.Text(), "/debug /nvc /purgex");
    EXPECT_TRUE(s.HasSwitch("/DEBUG"));
    EXPECT_TRUE(s.HasSwitch("/NVC"));
    EXPECT_TRUE(s.HasSwitch("/PURGE"));
    EXPECT_FALSE(s.HasSwitch("/NLU"));
    EXPECT_FALSE(Switches(std::vector<std::string>{}).HasSwitch("/DEBUG"));
    EXPECT_TRUE(Switches({"x/debugx"}).HasSwitch("/DEBUG"));
}

TEST(Switches, RigNameInBothSpellings) {
    EXPECT_EQ(Switches({"--rig-name", "IC 7300"}).RigName(), "IC 7300");
    EXPECT_EQ(Switches({"/DEBUG", "--rig-name=Second"}).RigName(), "Second");
    EXPECT_EQ(Switches({"-r", "Two"}).RigName(), "Two");
    EXPECT_EQ(Switches({"--rig-name"}).RigName(), "");
}

TEST(DataFolders, WsjtxFolderFromTheEnvironment) {
    FolderEnvironment env{"", "", "", "/home/op"};
    EXPECT_EQ(ResolveWsjtxFolder(env, ""), "/home/op/.local/share/WSJT-X");
    EXPECT_EQ(ResolveWsjtxFolder(env, "IC7300"), "/home/op/.local/share/WSJT-X - IC7300");
    env.xdgDataHome = "/data";
    EXPECT_EQ(ResolveWsjtxFolder(env, ""), "/data/WSJT-X");
    env.localAppData = "/station";
    EXPECT_EQ(ResolveWsjtxFolder(env, ""), "/station/WSJT-X");
}

TEST(DataFolders, FilesFoundAsWsjtxKeepsThem) {
    test::TempFolder home;
    const auto data = home / "WSJT-X - Two";
    FolderEnvironment env{"", "", (home / "config").string(), home.path().string()};
    const LocalTime now{2026, 12, 8, 12, 0, 0, 0};

    // Without a configuration the journal written last is the one in use.
    test::WriteFile(data / "wsjtx.log", "");
    test::WriteFile(data / "ALL.TXT", "old\n");
    WsjtxFiles files = LocateWsjtxFiles(data, env, "Two", now);
    EXPECT_EQ(files.config, home / "config" / "WSJT-X - Two.ini");  // missing: its usual place
    EXPECT_EQ(files.log, data / "wsjtx.log");
    EXPECT_EQ(files.journal, data / "ALL.TXT");
    EXPECT_EQ(files.adif, data / "wsjtx_log.adi");
    test::WriteFile(data / "2026-12-ALL.TXT", "new\n");
    std::filesystem::last_write_time(data / "ALL.TXT",
                                     std::filesystem::file_time_type::clock::now() -
                                         std::chrono::hours(48));
    EXPECT_EQ(LocateWsjtxFiles(data, env, "Two", now).journal, data / "2026-12-ALL.TXT");

    // Configuration in the config folder.
    test::WriteFile(home / "config" / "WSJT-X - Two.ini", "[Configuration]\n");
    EXPECT_EQ(LocateWsjtxFiles(data, env, "Two", now).config, home / "config" / "WSJT-X - Two.ini");

    // A configuration in the data folder wins.
    test::WriteFile(data / "wsjt-x - two.ini", "[Configuration]\n");
    EXPECT_EQ(LocateWsjtxFiles(data, env, "Two", now).config, data / "wsjt-x - two.ini");
    // ... and it names the journal: not split, split per year (not yet written this year), per month.
    EXPECT_EQ(LocateWsjtxFiles(data, env, "Two", now).journal, data / "ALL.TXT");
    test::WriteFile(data / "wsjt-x - two.ini", "[Common]\nsplitAllTxtMonthly=false\nsplitAllTxtYearly=true\n");
    EXPECT_EQ(LocateWsjtxFiles(data, env, "Two", now).journal, data / "2026-ALL.TXT");
    test::WriteFile(data / "wsjt-x - two.ini", "[Common]\nsplitAllTxtMonthly=true\nsplitAllTxtYearly=false\n");
    EXPECT_EQ(LocateWsjtxFiles(data, env, "Two", now).journal, data / "2026-12-ALL.TXT");
}

TEST(DataFolders, ShippedDataBesideTheInstalledProgramElseInTheSourceTree) {
    test::TempFolder root;
    const auto prefix = root / "usr";
    const auto build = root / "src" / "build";
    const auto sourceData = root / "src" / "data";
    std::filesystem::create_directories(prefix / "bin");
    std::filesystem::create_directories(build / "tests");
    std::filesystem::create_directories(sourceData / "places");

    // Neither installed nor run from the build folder.
    EXPECT_EQ(FindShippedDataFolder(prefix / "bin", build, sourceData), "");
    // Installed: <prefix>/share/vantrel, whatever the build knew.
    std::filesystem::create_directories(prefix / "share" / "vantrel");
    EXPECT_EQ(FindShippedDataFolder(prefix / "bin", build, sourceData), prefix / "share" / "vantrel");
    // Run from the build folder or a folder inside it (a path with "..", a symbolic link).
    EXPECT_EQ(FindShippedDataFolder(build, build, sourceData), sourceData);
    EXPECT_EQ(FindShippedDataFolder(build / "tests" / "..", build, sourceData), sourceData);
    EXPECT_EQ(FindShippedDataFolder(build / "tests", build, sourceData), sourceData);
    std::filesystem::create_directory_symlink(build, root / "link");
    EXPECT_EQ(FindShippedDataFolder(root / "link", build, sourceData), sourceData);
    // A folder beside the build folder whose name begins the same is not inside it.
    std::filesystem::create_directories(root / "src" / "build-other");
    EXPECT_EQ(FindShippedDataFolder(root / "src" / "build-other", build, sourceData), "");
    // The source tree's data gone: nothing.
    std::filesystem::remove_all(sourceData);
    EXPECT_EQ(FindShippedDataFolder(build, build, sourceData), "");
    EXPECT_EQ(FindShippedDataFolder("", build, sourceData), "");
}

}  // namespace
}  // namespace vantrel
