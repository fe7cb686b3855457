// The stations-heard rows on their way to the window, each marked "needed" when the award
// tables say its country is not confirmed on the band it was heard on.
#pragma once

#include <vector>

#include "app/engine/awards_part.h"
#include "app/engine/views.h"

namespace vantrel {

class NeededHeardView : public HeardView {
public:
    NeededHeardView(HeardView& window, const AwardsPart& awards) : window_(window), awards_(awards) {}
    void ShowHeard(const std::vector<HeardRow>& rows) override {
        std::vector<HeardRow> marked = rows;
        for (HeardRow& row : marked) row.needed = awards_.Needed(row.call, row.band).value_or(false);
        window_.ShowHeard(marked);
    }

private:
    HeardView& window_;
    const AwardsPart& awards_;
};

}  // namespace vantrel
