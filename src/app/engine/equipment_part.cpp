#include "app/engine/equipment_part.h"

#include "settings/equipment_lists.h"

namespace vantrel {

void EquipmentPart::LoadEquipmentLists() {
    rigs_ = LoadEquipmentList(core_.ViewerFolder(), kRadiosFileName);
    antennas_ = LoadEquipmentList(core_.ViewerFolder(), kAntennasFileName);
    core_.station.rig = RigFromBoxText(core_.station.rig);
    view_.ShowEquipment(rigs_, antennas_, core_.station.rig, core_.station.antenna);
    window_.SetRegionVisible(Region::RadioGear, !rigs_.empty());
    if (antennas_.size() > 1 && core_.HasSwitch("/AUTHOR")) window_.SetRegionVisible(Region::AutochngCheck, true);
}

void EquipmentPart::ApplyStoredEquipment() {
    core_.station.rig = RigFromBoxText(core_.Services().store.ReadText(kOwnSection, "VantrelerRig", ""));
    core_.station.antenna = core_.Services().store.ReadText(kOwnSection, "VantrelerAnt", "");
    view_.ShowEquipment(rigs_, antennas_, core_.station.rig, core_.station.antenna);
}

void EquipmentPart::RigChanged(const std::string& boxText) {
    core_.station.rig = RigFromBoxText(boxText);
    core_.options.rig = core_.station.rig;
    core_.Services().store.WriteText(kOwnSection, "VantrelerRig", core_.station.rig);
}

void EquipmentPart::AntennaChanged(const std::string& boxText) {
    core_.station.antenna = boxText;
    core_.options.ant = boxText;
    const std::string tag = RotatorAntennaTag(lastSelection_);
    if (!tag.empty() && boxText.find(tag) != std::string::npos)
        core_.Services().store.WriteText(kOwnSection, "VantrelerAnt", boxText);
    if (onAntennaChosen) onAntennaChosen();
}

void EquipmentPart::EditEquipment(bool radios) {
    std::string error;
    const fs::path file = EnsureEquipmentFile(core_.ViewerFolder(), radios ? kRadiosFileName : kAntennasFileName,
                                              radios ? kRadiosTemplate : kAntennasTemplate, &error);
    if (!error.empty()) {
        core_.Notices().ShowMessage("Error", error);
        return;
    }
    core_.Desktop().OpenFile(file.string());
}

void EquipmentPart::RigFollowerTick() {
    const std::string name = core_.Services().store.ReadText("IcomOmniRig", "RigName", "");
    std::string& last = core_.options.omniRigName;
    if (name.empty() || name == last || last.empty()) return;
    view_.SelectRig(name);
    last = name;
}

void EquipmentPart::NoteRotatorSelection() {
    lastSelection_ = core_.Services().store.ReadText(kOwnSection, "RotHFAntSel", "");
}

void EquipmentPart::RotatorCheck() {
    const std::string selection = core_.Services().store.ReadText(kOwnSection, "RotHFAntSel", "");
    if (selection.empty() || selection == lastSelection_) return;
    if (!core_.options.antWarning || core_.options.antAutoChange) return;
    if (core_.station.antenna.find(selection) == std::string::npos && onRotatorMismatch) onRotatorMismatch();
    lastSelection_ = selection;
}

void EquipmentPart::AntennaFollow() {
    const StoredOptions& options = core_.options;
    if (!options.antAutoChange || options.antWarning) return;
    const int number = core_.Services().store.ReadInteger(kOwnSection, "Ant1Sel", 1);
    // A number past the list leaves no antenna selected.
    core_.station.antenna = number >= 1 && number <= static_cast<int>(antennas_.size())
                                ? antennas_[static_cast<std::size_t>(number - 1)]
                                : "";
    view_.ShowEquipment(rigs_, antennas_, core_.station.rig, core_.station.antenna);
}

}  // namespace vantrel
