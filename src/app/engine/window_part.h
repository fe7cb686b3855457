// The window's stored settings: placement, colours and options loaded and applied, saved at the
// end of a run, reset on the operator's word; and the program's quit.
#pragma once

#include <functional>
#include <optional>

#include "app/engine/engine_core.h"

namespace vantrel {

class WindowPart {
public:
    // The option controls follow every change of the options made elsewhere (the operator's
    // own changes come from them).
    WindowPart(EngineCore& core, WindowView& view);

    // The stored placement (defaults left and top as given) and the twelve colours.
    void ApplyStoredPlacement(int defaultLeftTop);
    // Every stored setting, applied to the window. Once the start-up has begun, the run count,
    // journal count and dates flag of this run are kept as they stand in memory.
    void ApplyFullLoad();
    // The window's place and the map window's boxes, then every setting stored.
    void SaveSettings();
    // "Reset Registry values": the window and counter keys are deleted and every setting loaded
    // again, the counters of this run included.
    void ResetRegistryValues();
    // The colour chooser's answer (nothing when cancelled); every setting is saved either way.
    void ColourChosen(int index, std::optional<Rgb> colour);
    // The stored colours again (the callsign list and "CLR" redraw with them).
    void ReloadColours();
    // Writes the running flag off and ends the program.
    void RequestQuit();

    WindowView& View() { return view_; }

    // After every full load of the settings, once the window shows them.
    std::function<void()> onOptionsApplied;
    // Before the settings are saved: the map window's own boxes into the options.
    std::function<void(StoredOptions&)> beforeSave;

private:
    void LoadAndApply(bool keepRunCounters);

    EngineCore& core_;
    WindowView& view_;
    bool loading_ = false;  // the full load shows the options itself
};

}  // namespace vantrel
