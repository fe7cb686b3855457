#include "settings/readable_colour.h"

#include <algorithm>
#include <cmath>

namespace vantrel {

namespace {

double Linear(std::uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

struct Hsl {
    double h = 0, s = 0, l = 0;  // hue 0..6 (sixths of the circle), saturation and lightness 0..1
};

Hsl ToHsl(Rgb colour) {
    const double r = colour.r / 255.0, g = colour.g / 255.0, b = colour.b / 255.0;
    const double high = std::max({r, g, b}), low = std::min({r, g, b});
    Hsl hsl;
    hsl.l = (high + low) / 2;
    const double chroma = high - low;
    if (chroma <= 0) return hsl;
    hsl.s = chroma / (1 - std::abs(2 * hsl.l - 1));
    if (high == r)
        hsl.h = std::fmod((g - b) / chroma + 6, 6);
    else if (high == g)
        hsl.h = (b - r) / chroma + 2;
    else
        hsl.h = (r - g) / chroma + 4;
    return hsl;
}

// Every channel grows with the lightness, so the luminance does too.
Rgb FromHsl(double h, double s, double l) {
    const double chroma = (1 - std::abs(2 * l - 1)) * s;
    const double x = chroma * (1 - std::abs(std::fmod(h, 2) - 1));
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h) % 6) {
        case 0: r = chroma, g = x; break;
        case 1: r = x, g = chroma; break;
        case 2: g = chroma, b = x; break;
        case 3: g = x, b = chroma; break;
        case 4: r = x, b = chroma; break;
        default: r = chroma, b = x; break;
    }
    const double m = l - chroma / 2;
    auto byte = [m](double c) {
        return static_cast<std::uint8_t>(std::clamp(std::lround((c + m) * 255), 0L, 255L));
    };
    return Rgb{byte(r), byte(g), byte(b)};
}

}  // namespace

double RelativeLuminance(Rgb colour) {
    return 0.2126 * Linear(colour.r) + 0.7152 * Linear(colour.g) + 0.0722 * Linear(colour.b);
}

double ContrastRatio(Rgb a, Rgb b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb ReadableOn(Rgb text, Rgb background) {
    if (ContrastRatio(text, background) >= kReadableContrast) return text;
    const Hsl hsl = ToHsl(text);
    auto reads = [&](double l) { return ContrastRatio(FromHsl(hsl.h, hsl.s, l), background) >= kReadableContrast; };
    // Away from the background first: darker text on a background lighter than the text.
    const bool darkerFirst = RelativeLuminance(background) >= RelativeLuminance(text);
    for (const bool darker : {darkerFirst, !darkerFirst}) {
        const double end = darker ? 0.0 : 1.0;
        if (!reads(end)) continue;
        // The lightness nearest the colour's own that still reads (the luminance grows with it).
        double far = end, near = hsl.l;
        for (int step = 0; step < 40; ++step) {
            const double middle = (far + near) / 2;
            (reads(middle) ? far : near) = middle;
        }
        return FromHsl(hsl.h, hsl.s, far);
    }
    // Unreachable in practice: black or white always reads on any background.
    return RelativeLuminance(background) > 0.18 ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
}

}  // namespace vantrel
