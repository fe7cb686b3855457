// The palette's colours as the widgets draw them: a palette colour drawn as text is given in the
// form that reads on the background it is drawn over (ReadableOn).
#pragma once

#include <QColor>

#include <algorithm>

#include "settings/readable_colour.h"
#include "settings/stored_options.h"

namespace vantrel {

inline QColor ToQColor(Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

inline Rgb ToRgb(const QColor& colour) {
    return Rgb{static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
               static_cast<std::uint8_t>(colour.blue())};
}

// Palette colour `number` (1 to 12; out-of-range numbers are held to the nearest).
inline Rgb PaletteColour(const Palette& palette, int number) {
    return palette[static_cast<std::size_t>(std::clamp(number, 1, 12) - 1)];
}

// A colour drawn as text over `background`, in the form that reads there.
inline QColor TextColourOn(Rgb text, const QColor& background) {
    return ToQColor(ReadableOn(text, ToRgb(background)));
}

}  // namespace vantrel
