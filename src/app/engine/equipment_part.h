// The operator's radios and antennas: the lists from Radios.txt and Antennas.txt, the rig and
// antenna in use (carried into every new log line), the rig that OmniRig reports, and the
// antenna that the maker's rotator program selects.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/engine/engine_core.h"

namespace vantrel {

class EquipmentPart {
public:
    EquipmentPart(EngineCore& core, EquipmentView& view, WindowView& window)
        : core_(core), view_(view), window_(window) {}

    // Both lists from their files; the boxes and the radio panel follow.
    void LoadEquipmentLists();
    // The radio and antenna of the last run, taken as the ones in use.
    void ApplyStoredEquipment();
    // The operator picked or typed in the boxes.
    void RigChanged(const std::string& boxText);
    void AntennaChanged(const std::string& boxText);
    // "Create/edit Radios.txt" / "Create/edit Antennas.txt".
    void EditEquipment(bool radios);
    // The rig follower's tick: OmniRig's rig name selects the rig box entry.
    void RigFollowerTick();
    // With "Autochng": the antenna numbered "Ant1Sel" by the rotator program is taken.
    void AntennaFollow();
    // The rotator program's antenna selection ("RotHFAntSel") as it stands at the start.
    void NoteRotatorSelection();
    // With "Enabled": a new selection that the antenna in use does not hold is reported.
    void RotatorCheck();

    // Called after the antenna in use changed by the operator's choice.
    std::function<void()> onAntennaChosen;
    // Called when the rotator's new selection does not match the antenna in use.
    std::function<void()> onRotatorMismatch;

private:
    // The rig and antenna in use, in the boxes.
    void ShowEquipment();

    EngineCore& core_;
    EquipmentView& view_;
    WindowView& window_;
    std::vector<std::string> rigs_, antennas_;
    std::string lastSelection_;  // "RotHFAntSel" as last acted on
};

}  // namespace vantrel
