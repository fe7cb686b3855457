#include "app/engine/window_part.h"

namespace vantrel {

void WindowPart::ApplyStoredPlacement(int defaultLeftTop) {
    core_.options.main = LoadPlacement(core_.Services().store, defaultLeftTop);
    core_.options.colours = LoadColours(core_.Services().store);
    view_.ApplyPlacement(core_.options.main);
    view_.ApplyColours(core_.options.colours);
}

void WindowPart::LoadAndApply(bool keepRunCounters) {
    StoredOptions& options = core_.options;
    const int runs = options.runs, allCount = options.allCount;
    const bool datesRun = options.datesRun;
    LoadAll(core_.Services().store, options, core_.HasSwitch("/AUTHOR"),
            FormatDateTimeText(core_.Now()));
    if (keepRunCounters) {
        options.runs = runs;
        options.allCount = allCount;
        options.datesRun = datesRun;
    }
    view_.ApplyPlacement(options.main);
    view_.ApplyOptions(options);
    view_.ApplyColours(options.colours);
    if (onOptionsApplied) onOptionsApplied();
}

void WindowPart::ApplyFullLoad() { LoadAndApply(core_.State().StartupBegun()); }

void WindowPart::SaveSettings() {
    view_.ReadOptions(core_.options);
    view_.CurrentPlacement(core_.options.main);
    if (beforeSave) beforeSave(core_.options);
    const std::string location = core_.ViewerFolder().empty() ? "" : core_.ViewerFolder().string() + "/";
    SaveAll(core_.Services().store, core_.options,
            SaveContext{core_.station.call, location, core_.State().Running()});
}

void WindowPart::ResetRegistryValues() {
    PurgeSettings(core_.Services().store);
    LoadAndApply(false);
}

void WindowPart::ColourChosen(int index, std::optional<Rgb> colour) {
    Palette& colours = core_.options.colours;
    if (index >= 0 && index < static_cast<int>(colours.size()) && colour)
        colours[static_cast<std::size_t>(index)] = *colour;
    // A cancelled choice still saves every setting.
    SaveSettings();
    view_.ApplyColours(colours);
}

void WindowPart::ReloadColours() {
    core_.options.colours = LoadColours(core_.Services().store);
    view_.ApplyColours(core_.options.colours);
}

void WindowPart::RequestQuit() {
    core_.Services().store.WriteBool(kOwnSection, "VantrelerActive", false);
    core_.State().RequestQuit();
    view_.Quit();
}

}  // namespace vantrel
