// One line of a coloured list: its text and the palette colour (1 to 12) it is drawn in.
#pragma once

#include <string>

namespace vantrel {

struct ColouredLine {
    std::string text;
    int colour = 1;
    friend bool operator==(const ColouredLine&, const ColouredLine&) = default;
};

}  // namespace vantrel
