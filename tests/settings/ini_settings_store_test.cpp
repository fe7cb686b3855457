#include "settings/settings_store.h"
#include "settings_test_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace vantrel {
namespace {

using Store = testing::SettingsFolderTest;

TEST_F(Store, TypedReadsFallBackToTheDefaultUnlessTheTextIsAWholeNumber) {
    Put(file,
        "[QQ0XYZ]\nNeg=-12\nMin=-2147483648\nOver=2147483648\nWord=abc\nLead= 5\nTrail=5 \n"
        "Plus=+5\nEmpty=\nHalf=5.0\nTwo=2\nZero=0\n");
    IniSettingsStore s(file, sink);
    EXPECT_EQ(s.ReadInteger("QQ0XYZ", "Missing", 7), 7);
    EXPECT_EQ(s.ReadInteger("NoSection", "Neg", 7), 7);
    EXPECT_EQ(s.ReadInteger("QQ0XYZ", "Neg", 7), -12);
    EXPECT_EQ(s.ReadInteger("QQ0XYZ", "Min", 7), INT_MIN);
    for (const char* key : {"Over", "Word", "Lead", "Trail", "Plus", "Empty", "Half"})
        EXPECT_EQ(s.ReadInteger("QQ0XYZ", key, 7), 7) << key;
    EXPECT_TRUE(s.ReadBool("QQ0XYZ", "Two", false));
    EXPECT_TRUE(s.ReadBool("QQ0XYZ", "Neg", false));
    EXPECT_FALSE(s.ReadBool("QQ0XYZ", "Zero", true));
    EXPECT_TRUE(s.ReadBool("QQ0XYZ", "Word", true));
    EXPECT_FALSE(s.ReadBool("QQ0XYZ", "Word", false));
    EXPECT_EQ(s.ReadText("QQ0XYZ", "Lead", "x"), " 5");
    EXPECT_TRUE(traces.empty());

    ASSERT_TRUE(s.WriteBool("QQ0XYZ", "Flag", true));
    ASSERT_TRUE(s.WriteInteger("QQ0XYZ", "Count", -3));
    EXPECT_EQ(s.ReadText("QQ0XYZ", "Flag", ""), "1");
    EXPECT_EQ(s.ReadText("QQ0XYZ", "Count", ""), "-3");
}

TEST_F(Store, NamesMatchWithoutRegardToCaseAndTheFileKeepsItsSpelling) {
    Put(file, "[qq0xyz]\nvantrelerRUNS=7\n");
    IniSettingsStore s(file, sink);
    EXPECT_EQ(s.ReadInteger("QQ0XYZ", "VantrelerRuns", 0), 7);
    ASSERT_TRUE(s.WriteInteger("Qq0Xyz", "VANTRELERRUNS", 8));
    EXPECT_EQ(Get(file), "[qq0xyz]\nvantrelerRUNS=8\n");
    ASSERT_TRUE(s.DeleteValue("QQ0XYZ", "vantrelerruns"));
    EXPECT_FALSE(s.Read("QQ0XYZ", "VantrelerRuns").has_value());
}

TEST_F(Store, RewritesKeepCommentsOtherSectionsAndOrder) {
    const std::string before =
        "; written by hand\n"
        "[IcomOmniRig]\nRigName=IC-7300\n\n"
        "[QQ0XYZ]\n# the rotator\nRotHFAntSel=Yagi\nVantrelerRuns=4\n\n"
        "[Wexo/General]\nWexo_Active=1\n";
    Put(file, before);
    IniSettingsStore s(file, sink);
    ASSERT_TRUE(s.WriteInteger("QQ0XYZ", "VantrelerRuns", 5));
    ASSERT_TRUE(s.WriteText("QQ0XYZ", "VantrelerRig", "  a=b  "));
    ASSERT_TRUE(s.WriteText("New", "Key", "line1\r\nline2"));
    EXPECT_EQ(Get(file),
              "; written by hand\n"
              "[IcomOmniRig]\nRigName=IC-7300\n\n"
              "[QQ0XYZ]\n# the rotator\nRotHFAntSel=Yagi\nVantrelerRuns=5\nVantrelerRig=  a=b  \n\n"
              "[Wexo/General]\nWexo_Active=1\n\n"
              "[New]\nKey=line1  line2\n");
    EXPECT_EQ(s.ReadText("QQ0XYZ", "VantrelerRig", ""), "  a=b  ");
    EXPECT_TRUE(s.ReadBool("Wexo/General", "Wexo_Active", false));
    EXPECT_TRUE(traces.empty());
}

TEST_F(Store, AValueWithControlCharactersReadsBackAndLeavesTheFileWhole) {
    IniSettingsStore s(file, sink);
    ASSERT_TRUE(s.WriteText("QQ0XYZ", "VantrelerSearch", "K1\bAB\x01\tC\x7f"));
    ASSERT_TRUE(s.WriteInteger("QQ0XYZ", "VantrelerRuns", 3));
    EXPECT_EQ(s.ReadText("QQ0XYZ", "VantrelerSearch", "gone"), "K1 AB \tC ");
    EXPECT_EQ(s.ReadInteger("QQ0XYZ", "VantrelerRuns", 0), 3);
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".corrupt"));
    EXPECT_TRUE(traces.empty());
}

TEST_F(Store, RepeatedSectionsAndKeysReadTheFirstAndWriteOnlyOnce) {
    Put(file, "[A]\nK=1\n[B]\nK=9\n[a]\nK=2\nJ=3\n");
    IniSettingsStore s(file, sink);
    EXPECT_EQ(s.ReadText("A", "K", ""), "1");
    EXPECT_EQ(s.ReadText("A", "J", ""), "3");
    ASSERT_TRUE(s.WriteText("A", "K", "5"));
    EXPECT_EQ(Get(file), "[A]\nK=5\n[B]\nK=9\n[a]\nJ=3\n");
    ASSERT_TRUE(s.WriteText("A", "N", "6"));
    EXPECT_EQ(Get(file), "[A]\nK=5\nN=6\n[B]\nK=9\n[a]\nJ=3\n");
}

TEST_F(Store, ANewFileLeftByAKilledWriterIsRemoved) {
    // pid 2^22 + 1 is above the kernel's largest pid, so no such process runs.
    const auto leftover = file.parent_path() / ".Vantrel.ini.new-4194305-0";
    const auto mine = file.parent_path() / (".Vantrel.ini.new-" + std::to_string(::getpid()) + "-7");
    Put(leftover, "[QQ0XYZ]\nhalf");
    Put(mine, "being written");
    IniSettingsStore s(file, sink);
    EXPECT_FALSE(std::filesystem::exists(leftover));
    EXPECT_TRUE(std::filesystem::exists(mine));
}

TEST_F(Store, CrLfFilesStayCrLf) {
    Put(file, "[QQ0XYZ]\r\nA=1\r\n");
    IniSettingsStore s(file, sink);
    EXPECT_EQ(s.ReadText("QQ0XYZ", "A", ""), "1");
    ASSERT_TRUE(s.WriteText("QQ0XYZ", "B", "2"));
    EXPECT_EQ(Get(file), "[QQ0XYZ]\r\nA=1\r\nB=2\r\n");
}

TEST_F(Store, ValuesChangedByAnotherProgramAreSeenAtTheNextRead) {
    IniSettingsStore s(file, sink);
    EXPECT_EQ(s.ReadText("IcomOmniRig", "RigName", "none"), "none");
    EXPECT_FALSE(std::filesystem::exists(file));
    ASSERT_TRUE(s.WriteText("QQ0XYZ", "VantrelerRig", "FT-991"));
    Put(file, Get(file) + "\n[IcomOmniRig]\nRigName=IC-705\n");
    EXPECT_EQ(s.ReadText("IcomOmniRig", "RigName", "none"), "IC-705");
    ASSERT_TRUE(s.WriteText("QQ0XYZ", "VantrelerAnt", "Dipole"));
    EXPECT_EQ(s.ReadText("IcomOmniRig", "RigName", "none"), "IC-705");
    EXPECT_TRUE(traces.empty()) << "a missing file is a first run, not a problem";
}

// A whole load reads the file once: a change made by another program in the middle of a load is
// seen by the next load, never half of it by this one; a write within the load is seen at once.
TEST_F(Store, ALoadReadsTheFileOnceAndTheNextLoadSeesOtherProgramsChanges) {
    Put(file, "[QQ0XYZ]\nVantrelerRuns=4\nVantrelerRig=FT-991\n");
    IniSettingsStore s(file, sink);
    {
        const SettingsStore::ReadBatch load(s);
        EXPECT_EQ(s.ReadInteger("QQ0XYZ", "VantrelerRuns", 0), 4);
        Put(file, "[QQ0XYZ]\nVantrelerRuns=9\nVantrelerRig=IC-705\n");
        EXPECT_EQ(s.ReadText("QQ0XYZ", "VantrelerRig", ""), "FT-991");
        {
            const SettingsStore::ReadBatch nested(s);
            EXPECT_EQ(s.ReadInteger("QQ0XYZ", "VantrelerRuns", 0), 4);
        }
        EXPECT_EQ(s.ReadInteger("QQ0XYZ", "VantrelerRuns", 0), 4) << "a nested load ended the outer one";
        ASSERT_TRUE(s.WriteText("QQ0XYZ", "VantrelerAnt", "Dipole"));
        EXPECT_EQ(s.ReadText("QQ0XYZ", "VantrelerAnt", ""), "Dipole");
        EXPECT_EQ(s.ReadText("QQ0XYZ", "VantrelerRig", ""), "IC-705");  // the write read the file afresh
    }
    Put(file, "[QQ0XYZ]\nVantrelerRuns=10\n");
    EXPECT_EQ(s.ReadInteger("QQ0XYZ", "VantrelerRuns", 0), 10);
}

TEST_F(Store, EveryWriteLeavesACompleteFileAndNoTemporaryFiles) {
    IniSettingsStore s(file, sink);
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(s.WriteInteger("QQ0XYZ", "Key" + std::to_string(i), i));
        IniSettingsStore fresh(file);
        for (int j = 0; j <= i; ++j)
            ASSERT_EQ(fresh.ReadInteger("QQ0XYZ", "Key" + std::to_string(j), -1), j);
    }
    EXPECT_EQ(Names(file.parent_path()), std::vector<std::string>{"Vantrel.ini"});
}

TEST_F(Store, PermissionsOfTheReplacedFileAreKept) {
    Put(file, "[QQ0XYZ]\n");
    ::chmod(file.c_str(), 0640);
    IniSettingsStore s(file, sink);
    ASSERT_TRUE(s.WriteText("QQ0XYZ", "A", "1"));
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(Store, DamagedTextIsReadAroundTracedOnceAndKeptBeforeTheFileIsReplaced) {
    const std::string damaged = "[QQ0XYZ]\nVantrelerRuns=9\nthis is not a setting\n[\n=orphan\n";
    Put(file, damaged);
    IniSettingsStore s(file, sink);
    EXPECT_EQ(s.ReadInteger("QQ0XYZ", "VantrelerRuns", 0), 9);
    EXPECT_EQ(s.ReadInteger("QQ0XYZ", "VantrelerRuns", 0), 9);
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_NE(traces[0].find("line 3"), std::string::npos) << traces[0];

    ASSERT_TRUE(s.WriteInteger("QQ0XYZ", "VantrelerRuns", 10));
    EXPECT_EQ(Get(file.string() + ".corrupt"), damaged);
    EXPECT_EQ(Get(file), "[QQ0XYZ]\nVantrelerRuns=10\n");
    ASSERT_TRUE(s.WriteInteger("QQ0XYZ", "VantrelerRuns", 11));
    EXPECT_EQ(Names(file.parent_path()), (std::vector<std::string>{"Vantrel.ini", "Vantrel.ini.corrupt"}));
    const auto tracesAfterRepair = traces.size();
    EXPECT_EQ(s.ReadInteger("QQ0XYZ", "VantrelerRuns", 0), 11);
    EXPECT_EQ(traces.size(), tracesAfterRepair);

    // A second, different damage does not overwrite the first kept copy.
    Put(file, "garbage\n");
    ASSERT_TRUE(s.WriteInteger("QQ0XYZ", "VantrelerRuns", 12));
    EXPECT_EQ(Get(file.string() + ".corrupt"), damaged);
    EXPECT_EQ(Get(file.string() + ".corrupt.2"), "garbage\n");
}

TEST_F(Store, BinaryAndEmptyFilesReadAsDefaultsWithOneTraceLine) {
    std::string binary = "[QQ0XYZ]\0\0\xff\xfe\x01VantrelerRuns=5\n";
    binary.append(4096, '\0');
    Put(file, binary);
    IniSettingsStore s(file, sink);
    EXPECT_EQ(s.ReadInteger("QQ0XYZ", "VantrelerRuns", 3), 3);
    EXPECT_EQ(s.ReadInteger("QQ0XYZ", "VantrelerRuns", 3), 3);
    EXPECT_EQ(traces.size(), 1u);
    ASSERT_TRUE(s.WriteInteger("QQ0XYZ", "VantrelerRuns", 4));
    EXPECT_EQ(Get(file.string() + ".corrupt"), binary);
    EXPECT_EQ(s.ReadInteger("QQ0XYZ", "VantrelerRuns", 3), 4);

    traces.clear();
    Put(file, "");
    EXPECT_EQ(s.ReadInteger("QQ0XYZ", "VantrelerRuns", 3), 3);
    EXPECT_EQ(s.ReadInteger("QQ0XYZ", "VantrelerRuns", 3), 3);
    EXPECT_EQ(traces.size(), 1u);
}

TEST_F(Store, AFileThatCannotBeReadIsNeverReplaced) {
    std::filesystem::create_directories(file / "inside");
    IniSettingsStore s(file, sink);
    EXPECT_EQ(s.ReadText("QQ0XYZ", "VantrelerRig", "none"), "none");
    EXPECT_EQ(s.ReadText("QQ0XYZ", "VantrelerRig", "none"), "none");
    EXPECT_EQ(traces.size(), 1u);
    EXPECT_FALSE(s.WriteText("QQ0XYZ", "VantrelerRig", "x"));
    EXPECT_EQ(traces.size(), 2u);
    EXPECT_TRUE(std::filesystem::is_directory(file / "inside"));
}

TEST_F(Store, FailedWritesReturnFalseWithATraceLine) {
    Put(folder / "blocker", "a file where the settings folder should be");
    IniSettingsStore s(folder / "blocker" / "Vantrel.ini", sink);
    EXPECT_FALSE(s.WriteText("QQ0XYZ", "A", "1"));
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_NE(traces[0].find("blocker"), std::string::npos) << traces[0];

    IniSettingsStore good(file, sink);
    EXPECT_FALSE(good.WriteText("QQ0XYZ", "A=B", "1"));
    EXPECT_FALSE(good.WriteText("[QQ0XYZ]", "A", "1"));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(SettingsFile, DefaultLocationFollowsTheEnvironment) {
    const auto keep = [](const char* name) {
        const char* v = std::getenv(name);
        return v ? std::optional<std::string>(v) : std::nullopt;
    };
    const auto settings = keep("VANTREL_SETTINGS"), xdg = keep("XDG_CONFIG_HOME"), home = keep("HOME");
    ::setenv("HOME", "/home/op", 1);
    ::setenv("XDG_CONFIG_HOME", "", 1);
    ::setenv("VANTREL_SETTINGS", "", 1);
    EXPECT_EQ(DefaultSettingsFile(), "/home/op/.config/Vantrel/Vantrel.ini");
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(DefaultSettingsFile(), "/cfg/Vantrel/Vantrel.ini");
    ::setenv("VANTREL_SETTINGS", "/tmp/portable.ini", 1);
    EXPECT_EQ(DefaultSettingsFile(), "/tmp/portable.ini");
    const auto restore = [](const char* name, const std::optional<std::string>& v) {
        if (v) ::setenv(name, v->c_str(), 1); else ::unsetenv(name);
    };
    restore("VANTREL_SETTINGS", settings);
    restore("XDG_CONFIG_HOME", xdg);
    restore("HOME", home);
}

}  // namespace
}  // namespace vantrel
