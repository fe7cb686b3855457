#include "base/data_folder_switch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_folder.h"

namespace vantrel {
namespace {

TEST(DataFolderSwitch, DefaultFolderPerRigFromTheEnvironment) {
    FolderEnvironment env{"/station", "", "", "/home/op"};
    EXPECT_EQ(DefaultDataFolder(env, ""), "/home/op/.local/share/Vantrel");
    EXPECT_EQ(DefaultDataFolder(env, "IC 7300"), "/home/op/.local/share/Vantrel - IC 7300");
    env.xdgDataHome = "relative/share";
    EXPECT_EQ(DefaultDataFolder(env, ""), "/home/op/.local/share/Vantrel");
    env.xdgDataHome = "/data";
    EXPECT_EQ(DefaultDataFolder(env, "Two"), "/data/Vantrel - Two");
    EXPECT_EQ(DefaultDataFolder(FolderEnvironment{}, ""), "");
}

TEST(DataFolderSwitch, TakenOutOfTheArgumentsWithOrWithoutAPath) {
    const FolderEnvironment env{"", "/data", "", "/home/op"};
    std::vector<std::string> arguments{"/DEBUG", "--rig-name", "Two", "/NVC"};
    EXPECT_FALSE(TakeDataFolderSwitch(arguments, env));
    EXPECT_EQ(arguments.size(), 4u);

    arguments = {"/DEBUG", "--data-folder", "--rig-name", "Two", "/NVC"};
    EXPECT_EQ(TakeDataFolderSwitch(arguments, env), fs::path("/data/Vantrel - Two"));
    EXPECT_EQ(arguments, (std::vector<std::string>{"/DEBUG", "--rig-name", "Two", "/NVC"}));

    // A path that holds a switch's name is not seen as that switch afterwards.
    arguments = {"--data-folder=/srv/debug", "-r", "A", "--data-folder=/srv/nlu stations"};
    EXPECT_EQ(TakeDataFolderSwitch(arguments, env), fs::path("/srv/nlu stations"));
    EXPECT_EQ(arguments, (std::vector<std::string>{"-r", "A"}));

    arguments = {"--data-folder=station", "--data-folders"};
    EXPECT_EQ(TakeDataFolderSwitch(arguments, env), fs::current_path() / "station");
    EXPECT_EQ(arguments, std::vector<std::string>{"--data-folders"});
    arguments = {"--data-folder="};
    EXPECT_EQ(TakeDataFolderSwitch(arguments, env), fs::path("/data/Vantrel"));
}

TEST(DataFolderSwitch, EnteredAfterMakingMissingFoldersPrivate) {
    test::TempFolder root;
    const fs::path started = fs::current_path();
    fs::create_directories(root / "share");
    fs::permissions(root / "share", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    const fs::path folder = root / "share" / "new" / "Vantrel - A";

    EXPECT_EQ(EnterDataFolder(folder), "");
    EXPECT_EQ(fs::current_path(), folder);
    fs::current_path(started);
    EXPECT_EQ(fs::status(root / "share" / "new").permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(fs::status(root / "share").permissions() & fs::perms::group_read, fs::perms::group_read);

    // A second start finds it there and changes nothing.
    test::WriteFile(folder / "Viewer_local_log.csv", "line\n");
    EXPECT_EQ(EnterDataFolder(folder), "");
    fs::current_path(started);
    EXPECT_EQ(test::ReadFile(folder / "Viewer_local_log.csv"), "line\n");

    // A file in the way, or no home at all: a message, and the working folder stays.
    test::WriteFile(root / "file", "x");
    const std::string problem = EnterDataFolder(root / "file" / "Vantrel");
    EXPECT_NE(problem.find("cannot create the data folder"), std::string::npos) << problem;
    EXPECT_NE(EnterDataFolder(root / "file"), "");
    EXPECT_NE(EnterDataFolder({}), "");
    EXPECT_EQ(fs::current_path(), started);
}

}  // namespace
}  // namespace vantrel
