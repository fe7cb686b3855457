// Text colours that read on their background: the contrast of two colours as WCAG 2 measures it
// (relative luminance, ratio 1 to 21), and the form of a palette colour that reaches a readable
// contrast while keeping its hue. The stored palette never changes; only what is drawn does.
#pragma once

#include "settings/stored_options.h"

namespace vantrel {

// The contrast that body text needs (WCAG 2, level AA).
inline constexpr double kReadableContrast = 4.5;

// 0 for black to 1 for white.
double RelativeLuminance(Rgb colour);
// (lighter + 0.05) / (darker + 0.05), whichever colour is the lighter.
double ContrastRatio(Rgb a, Rgb b);

// The text colour itself when it reads on the background (contrast at least 4.5:1); otherwise
// the same hue and saturation made darker (on a light background) or lighter (on a dark one),
// only as far as needed to reach 4.5:1. When that direction cannot get there (a background of
// middle brightness), the other one is taken.
Rgb ReadableOn(Rgb text, Rgb background);

}  // namespace vantrel
