#include "settings/equipment_lists.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vantrel {
namespace {

TEST(EquipmentLists, EntriesInFileOrderWithoutBlankLines) {
    EXPECT_EQ(EquipmentEntries("Icom IC-7300\r\nFT-991\r\n\r\n  \nK3\n"),
              (std::vector<std::string>{"Icom IC-7300", "FT-991", "K3"}));
    EXPECT_TRUE(EquipmentEntries("").empty());
}

TEST(EquipmentLists, CreatesTheTemplateOnlyWhenMissingAndReadsAnyCase) {
    test::TempFolder folder;
    EXPECT_TRUE(LoadEquipmentList(folder.path(), kRadiosFileName).empty());
    const auto radios = EnsureEquipmentFile(folder.path(), kRadiosFileName, kRadiosTemplate);
    EXPECT_EQ(radios, folder / "Radios.txt");
    EXPECT_EQ(test::ReadFile(radios), "List one radio per line after removing this text\r\n");
    EXPECT_EQ(LoadEquipmentList(folder.path(), "radios.txt"),
              (std::vector<std::string>{std::string(kRadiosTemplate)}));

    test::WriteFile(folder / "antennas.txt", "Vertical [7,14,21]\nDipole\n");
    EXPECT_EQ(EnsureEquipmentFile(folder.path(), kAntennasFileName, kAntennasTemplate), folder / "antennas.txt");
    EXPECT_EQ(LoadEquipmentList(folder.path(), kAntennasFileName).size(), 2u);
    EXPECT_TRUE(EnsureEquipmentFile(folder / "missing", kAntennasFileName, kAntennasTemplate).empty());
}

TEST(EquipmentLists, RigLosesEveryIcomWithItsBlank) {
    EXPECT_EQ(RigFromBoxText("Icom IC-7300"), "IC-7300");
    EXPECT_EQ(RigFromBoxText("ICOM IC-705"), "IC-705");
    EXPECT_EQ(RigFromBoxText("iCoM IC-9700 and icom IC-705"), "IC-9700 and IC-705");
    EXPECT_EQ(RigFromBoxText("IcomIC-7300"), "IcomIC-7300");
    EXPECT_EQ(RigFromBoxText("Icom"), "Icom");
}

TEST(EquipmentLists, BandListsAndRotatorTags) {
    EXPECT_EQ(AntennaBandList("Vertical [7,14,21]"), "7,14,21");
    EXPECT_EQ(AntennaBandList("Dipole"), "");
    EXPECT_EQ(AntennaBandList("Loop [7,14"), "");
    EXPECT_EQ(RotatorAntennaTag("[Beam] 3el"), "Beam");
    EXPECT_EQ(RotatorAntennaTag("[ Beam ] 3el"), "Beam ");
    EXPECT_EQ(RotatorAntennaTag("Beam"), "");
    EXPECT_EQ(RotatorAntennaTag(""), "");
    EXPECT_EQ(RotatorAntennaTag("[" + std::string(60, 'x') + "]"), "");  // the "]" lies past 50 characters
}

}  // namespace
}  // namespace vantrel
