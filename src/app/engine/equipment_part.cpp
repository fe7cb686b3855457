#include "app/engine/equipment_part.h"

#include "log/line_text.h"
#include "settings/equipment_lists.h"

namespace vantrel {

void EquipmentPart::LoadEquipmentLists() {
    rigs_ = LoadEquipmentList(core_.ViewerFolder(), kRadiosFileName);
    antennas_ = LoadEquipmentList(core_.ViewerFolder(), kAntennasFileName);
    core_.LiveStation().SetRig(RigFromBoxText(core_.Station().rig));
    ShowEquipment();
    window_.SetRegionVisible(Region::RadioGear, !rigs_.empty());
    if (antennas_.size() > 1 && core_.HasSwitch("/AUTHOR")) window_.SetRegionVisible(Region::AutochngCheck, true);
}

void EquipmentPart::ShowEquipment() {
    const StationDetails& station = core_.Station();
    view_.ShowEquipment(rigs_, antennas_, station.rig, station.antenna);
    // The boxes' texts are what the settings keep as the rig and antenna.
    core_.UpdateOptions([&](StoredOptions& options) {
        options.rig = station.rig;
        options.ant = station.antenna;
    });
}

void EquipmentPart::ApplyStoredEquipment() {
    StationModel& station = core_.LiveStation();
    station.SetRig(RigFromBoxText(core_.Services().store.ReadText(kOwnSection, "VantrelerRig", "")));
    station.SetAntenna(core_.Services().store.ReadText(kOwnSection, "VantrelerAnt", ""));
    ShowEquipment();
}

void EquipmentPart::RigChanged(const std::string& boxText) {
    core_.LiveStation().SetRig(RigFromBoxText(boxText));
    core_.UpdateOptions([&](StoredOptions& options) { options.rig = boxText; });
    core_.Services().store.WriteText(kOwnSection, "VantrelerRig", core_.Station().rig);
}

void EquipmentPart::AntennaChanged(const std::string& boxText) {
    core_.LiveStation().SetAntenna(boxText);
    core_.UpdateOptions([&](StoredOptions& options) { options.ant = boxText; });
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
    const std::string& last = core_.Options().omniRigName;
    if (name.empty() || name == last || last.empty()) return;
    view_.SelectRig(name);
    // Only the box's selection changes (the rig that new contacts carry stays): the entry equal
    // to the name, or none; the box's text is what the settings keep.
    std::string entry;
    for (const std::string& rig : rigs_)
        if (SameTextNoCase(rig, name)) {
            entry = rig;
            break;
        }
    core_.UpdateOptions([&](StoredOptions& options) {
        options.omniRigName = name;
        options.rig = entry;
    });
}

void EquipmentPart::NoteRotatorSelection() {
    lastSelection_ = core_.Services().store.ReadText(kOwnSection, "RotHFAntSel", "");
}

void EquipmentPart::RotatorCheck() {
    const std::string selection = core_.Services().store.ReadText(kOwnSection, "RotHFAntSel", "");
    if (selection.empty() || selection == lastSelection_) return;
    if (!core_.Options().antWarning || core_.Options().antAutoChange) return;
    if (core_.Station().antenna.find(selection) == std::string::npos && onRotatorMismatch) onRotatorMismatch();
    lastSelection_ = selection;
}

void EquipmentPart::AntennaFollow() {
    const StoredOptions& options = core_.Options();
    if (!options.antAutoChange || options.antWarning) return;
    const int number = core_.Services().store.ReadInteger(kOwnSection, "Ant1Sel", 1);
    // A number past the list leaves no antenna selected.
    core_.LiveStation().SetAntenna(number >= 1 && number <= static_cast<int>(antennas_.size())
                                       ? antennas_[static_cast<std::size_t>(number - 1)]
                                       : "");
    ShowEquipment();
}

}  // namespace vantrel
