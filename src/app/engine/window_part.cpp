#include "app/engine/window_part.h"

namespace vantrel {

WindowPart::WindowPart(EngineCore& core, WindowView& view) : core_(core), view_(view) {
    core_.LiveOptions().Subscribe([this](const OptionsChange& change) {
        if (!loading_ && change.ControlsChanged()) view_.ApplyOptions(core_.Options());
    });
}

void WindowPart::ApplyStoredPlacement(int defaultLeftTop) {
    SettingsStore& store = core_.Services().store;
    core_.UpdateOptions([&](StoredOptions& options) {
        options.main = LoadPlacement(store, defaultLeftTop);
        options.colours = LoadColours(store);
    });
    view_.ApplyPlacement(core_.Options().main);
    view_.ApplyColours(core_.Options().colours);
}

void WindowPart::LoadAndApply(bool keepRunCounters) {
    loading_ = true;
    core_.UpdateOptions([&](StoredOptions& options) {
        const int runs = options.runs, allCount = options.allCount;
        const bool datesRun = options.datesRun;
        LoadAll(core_.Services().store, options, core_.HasSwitch("/AUTHOR"), FormatDateTimeText(core_.Now()));
        if (keepRunCounters) {
            options.runs = runs;
            options.allCount = allCount;
            options.datesRun = datesRun;
        }
    });
    loading_ = false;
    const StoredOptions& options = core_.Options();
    view_.ApplyPlacement(options.main);
    view_.ApplyOptions(options);
    view_.ApplyColours(options.colours);
    if (onOptionsApplied) onOptionsApplied();
}

void WindowPart::ApplyFullLoad() { LoadAndApply(core_.State().StartupBegun()); }

void WindowPart::SaveSettings() {
    core_.UpdateOptions([&](StoredOptions& options) {
        view_.CurrentPlacement(options.main);
        if (beforeSave) beforeSave(options);
    });
    const std::string location = core_.ViewerFolder().empty() ? "" : core_.ViewerFolder().string() + "/";
    SaveAll(core_.Services().store, core_.Options(), SaveContext{core_.Station().call, location, core_.State().Running()});
}

void WindowPart::ResetRegistryValues() {
    PurgeSettings(core_.Services().store);
    LoadAndApply(false);
}

void WindowPart::ColourChosen(int index, std::optional<Rgb> colour) {
    core_.UpdateOptions([&](StoredOptions& options) {
        if (index >= 0 && index < static_cast<int>(options.colours.size()) && colour)
            options.colours[static_cast<std::size_t>(index)] = *colour;
    });
    // A cancelled choice still saves every setting.
    SaveSettings();
    view_.ApplyColours(core_.Options().colours);
}

void WindowPart::ReloadColours() {
    core_.UpdateOptions([&](StoredOptions& options) { options.colours = LoadColours(core_.Services().store); });
    view_.ApplyColours(core_.Options().colours);
}

void WindowPart::RequestQuit() {
    core_.Services().store.WriteBool(kOwnSection, "VantrelerActive", false);
    core_.State().RequestQuit();
    view_.Quit();
}

}  // namespace vantrel
