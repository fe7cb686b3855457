#include "base/command_line.h"

#include <gtest/gtest.h>

#include "base/data_folder_switch.h"

namespace vantrel {
namespace {

using Line = std::vector<std::string>;

TEST(CommandLine, KnownLinesPassAndValuesAreNeverTakenForSwitches) {
    for (const Line& line : {Line{}, Line{"/debug", "/PURGEX", "/nvc"}, Line{"--places", "Sao Paulo", "--extended"},
                             Line{"--grid=JO62"}, Line{"--journal", "-10"}, Line{"--export-adif", "--new"},
                             Line{"--call", "K1ABC"}, Line{"-r", "IC 7300", "--data-folder"},
                             Line{"--data-folder", "/srv/station", "/HEADLESS"}, Line{"--help"}})
        EXPECT_EQ(CommandLineProblem(line), "") << testing::PrintToString(line);
    EXPECT_EQ(CommandLineProblem({"--recent=x"}), "--recent takes no value");
    EXPECT_EQ(CommandLineProblem({"--call"}), "--call needs a value");
    EXPECT_EQ(CommandLineProblem({"--new"}), "--new goes with --export-adif");

    // "--data-folder PATH" takes the path unless a switch follows.
    FolderEnvironment env;
    env.home = "/home/op";
    Line arguments{"--data-folder", "/srv/station", "/DEBUG"};
    bool named = false;
    EXPECT_EQ(TakeDataFolderSwitch(arguments, env, &named), fs::path("/srv/station"));
    EXPECT_TRUE(named);
    EXPECT_EQ(arguments, Line{"/DEBUG"});
    arguments = {"--data-folder", "/DEBUG"};
    EXPECT_EQ(TakeDataFolderSwitch(arguments, env, &named), fs::path("/home/op/.local/share/Vantrel"));
    EXPECT_FALSE(named);
}

}  // namespace
}  // namespace vantrel
