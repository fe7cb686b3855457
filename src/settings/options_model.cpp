#include "settings/options_model.h"

namespace vantrel {

bool OptionsChange::ControlsChanged() const {
    return Changed(&StoredOptions::brDist) || Changed(&StoredOptions::autoShow) ||
           Changed(&StoredOptions::showDetails) || Changed(&StoredOptions::searchAllTxt) ||
           Changed(&StoredOptions::mapShow) || Changed(&StoredOptions::antWarning) ||
           Changed(&StoredOptions::antAutoChange) || Changed(&StoredOptions::always50) ||
           Changed(&StoredOptions::showHeard) || Changed(&StoredOptions::showCount) ||
           Changed(&StoredOptions::searches);
}

void OptionsModel::Update(const OptionsEdit& change) {
    const StoredOptions before = options_;
    change(options_);
    if (before == options_) return;
    // The values as this change left them: a subscriber that changes them again announces its
    // own change, and the later subscribers still hear of this one as it was.
    const StoredOptions now = options_;
    const OptionsChange announced(before, now);
    for (const std::vector<Listener>* list : {&early_, &listeners_})
        for (std::size_t i = 0; i < list->size(); ++i) (*list)[i](announced);
}

}  // namespace vantrel
