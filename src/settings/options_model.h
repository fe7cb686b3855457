// The program's options with one owner: every part reads them here, changes them through
// Update() and hears of every change it subscribed to. The window writes a control's value in
// when the operator changes it, the settings load replaces them whole, the save reads them.
#pragma once

#include <functional>
#include <vector>

#include "settings/stored_options.h"

namespace vantrel {

// One change of the options: the values before it and after it.
class OptionsChange {
public:
    OptionsChange(const StoredOptions& before, const StoredOptions& now) : before_(before), now_(now) {}
    const StoredOptions& Before() const { return before_; }
    const StoredOptions& Now() const { return now_; }
    template <class T>
    bool Changed(T StoredOptions::*value) const {
        return before_.*value != now_.*value;
    }
    // Any of the values that the window's option controls show (check boxes, the character
    // count, the look-up service); the rig and antenna boxes are shown by their own part.
    bool ControlsChanged() const;

private:
    const StoredOptions& before_;
    const StoredOptions& now_;
};

// What the window hands in when the operator changed an option control: the control's value
// written into the options.
using OptionsEdit = std::function<void(StoredOptions&)>;

class OptionsModel {
public:
    using Listener = std::function<void(const OptionsChange&)>;

    const StoredOptions& Get() const { return options_; }
    // Applies the change; when any value differs, every subscriber hears of it, in the order
    // they subscribed (the early ones first). A subscriber may change the options again: that
    // change is announced at once, and the rest of the first announcement follows.
    void Update(const OptionsEdit& change);
    void Subscribe(Listener listener) { listeners_.push_back(std::move(listener)); }
    // For a check box's own action (the "Map" box showing the map window), which the parts that
    // redraw after a change rely on.
    void SubscribeEarly(Listener listener) { early_.push_back(std::move(listener)); }

private:
    StoredOptions options_;
    std::vector<Listener> early_, listeners_;
};

}  // namespace vantrel
