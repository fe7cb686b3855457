#include "app/gui/label_painter.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <map>

#include "app/gui/display_text.h"

namespace vantrel {

namespace {

constexpr QRgb kBlue = 0xFF0000FF;

// The font at its size in points on the device's resolution. Labels are drawn solid, without
// smoothing: thin monospaced faces at small sizes would otherwise leave only faint half-tones.
QFont LabelFont(const std::string& name, int size, QPaintDevice& device) {
    QFont font(LabelPainter::DrawnFamily(name));
    font.setPointSize(std::max(size, 1));
    font.setStyleStrategy(QFont::NoAntialias);
    return QFont(font, &device);
}

bool Ascii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 32 && c < 127; });
}

// A filled disc of the given radius in device pixels.
void Dot(QImage& image, int cx, int cy, int radius) {
    const int width = image.width(), height = image.height();
    for (int dy = -radius; dy <= radius; ++dy) {
        const int y = cy + dy;
        if (y < 0 || y >= height) continue;
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int dx = -radius; dx <= radius; ++dx) {
            const int x = cx + dx;
            if (x >= 0 && x < width && dx * dx + dy * dy <= radius * radius + radius / 2) row[x] = kBlue;
        }
    }
}

// Lightens the picture behind a label's text, so that it reads over dots and coloured land.
void Pale(QImage& image, const LabelBox& box) {
    const int x0 = std::max(box.x - 1, 0), x1 = std::min(box.x + box.width + 1, image.width());
    const int y0 = std::max(box.y, 0), y1 = std::min(box.y + box.height, image.height());
    for (int y = y0; y < y1; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = x0; x < x1; ++x) {
            const QRgb p = row[x];
            row[x] = qRgb(255 - (255 - qRed(p)) / 4, 255 - (255 - qGreen(p)) / 4, 255 - (255 - qBlue(p)) / 4);
        }
    }
}

}  // namespace

QString LabelPainter::DrawnFamily(const std::string& name) {
    static std::map<std::string, QString> drawn;
    auto found = drawn.find(name);
    if (found != drawn.end()) return found->second;
    QString family = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    if (family.isEmpty() || !QFontDatabase::hasFamily(family))
        family = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    return drawn.emplace(name, family).first->second;
}

void LabelPainter::Begin(const QImage& image) {
    space_ = LabelSpace(image.width(), image.height());
    labelled_ = 0;
}

bool LabelPainter::Place(const QImage& image, int dotX, int dotY, int gap, int width, int height, bool always,
                         LabelBox& box) {
    const LabelBox right{dotX + gap, dotY - height / 2, width, height};
    const LabelBox left{dotX - gap - width, dotY - height / 2, width, height};
    const bool fitsRight = right.x + width <= image.width();
    box = fitsRight ? right : left;
    if (always) {
        space_.Take(box);
        return true;
    }
    if (space_.TryTake(box)) return true;
    box = fitsRight ? left : right;
    return (fitsRight || box.x + width <= image.width()) && box.x >= 0 && space_.TryTake(box);
}

LabelPainter::Face& LabelPainter::FaceFor(const std::string& name, int size, int dotsPerMetre) {
    if (dotsPerMetre != dotsPerMetre_) {  // sizes in points depend on the resolution
        faces_.clear();
        dotsPerMetre_ = dotsPerMetre;
    }
    auto& face = faces_[{name, size}];
    if (!face) {
        face = std::make_unique<Face>();
        QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
        probe.setDotsPerMeterX(dotsPerMetre);
        probe.setDotsPerMeterY(dotsPerMetre);
        face->height = static_cast<int>(std::ceil(QFontMetricsF(LabelFont(name, size, probe)).height()));
    }
    return *face;
}

const LabelPainter::Glyph& LabelPainter::GlyphFor(Face& face, const std::string& name, int size, int dotsPerMetre,
                                                  char c) {
    auto& glyph = face.glyphs[static_cast<unsigned char>(c)];
    if (glyph) return *glyph;
    glyph = std::make_unique<Glyph>();

    // Rendered with room on every side, then cut to the pixels it covers.
    QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    probe.setDotsPerMeterX(dotsPerMetre);
    probe.setDotsPerMeterY(dotsPerMetre);
    const QFont font = LabelFont(name, size, probe);
    const QFontMetricsF metrics(font);
    const QString text(QChar::fromLatin1(c));
    face.advance[static_cast<unsigned char>(c)] = metrics.horizontalAdvance(text);
    const int pad = static_cast<int>(std::ceil(metrics.height() / 2)) + 2;
    const int w = static_cast<int>(std::ceil(metrics.maxWidth())) + 2 * pad;
    const int h = static_cast<int>(std::ceil(metrics.height())) + 2 * pad;
    QImage mask(w, h, QImage::Format_ARGB32_Premultiplied);
    mask.setDotsPerMeterX(dotsPerMetre);
    mask.setDotsPerMeterY(dotsPerMetre);
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(pad, pad + std::round(metrics.ascent())), text);
    }
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < w; ++x)
            if (qAlpha(row[x])) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    }
    if (x1 < 0) return *glyph;  // a blank
    glyph->left = x0 - pad;
    glyph->top = y0 - pad;
    glyph->width = x1 - x0 + 1;
    glyph->height = y1 - y0 + 1;
    for (int y = 0; y < glyph->height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y0 + y));
        for (int x = 0; x < glyph->width; ++x)
            if (const int alpha = qAlpha(row[x0 + x]))
                glyph->pixels.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                                         static_cast<std::uint8_t>(alpha)});
    }
    return *glyph;
}

void LabelPainter::Paint(QImage& image, std::span<const MapLabel> labels, double scaleX, double scaleY) {
    if (image.isNull() || image.format() != QImage::Format_RGB32) return;
    const int dotsPerMetre = image.dotsPerMeterY();
    const int width = image.width(), height = image.height();
    const auto stride = static_cast<std::size_t>(image.bytesPerLine() / 4);
    QRgb* pixels = reinterpret_cast<QRgb*>(image.bits());
    std::unique_ptr<QPainter> fallback;  // for labels with other than plain ASCII text
    // The dot and the gap beside it grow with the resolution (a high-density screen).
    const int radius = dotsPerMetre >= 2 * 3780 - 100 ? 4 : 2;
    const int gap = radius + 2 * std::max(1, radius / 2);

    const std::string* name = nullptr;
    int size = -1;
    Face* face = nullptr;
    // Every dot first, so that no dot covers a label's text.
    for (const MapLabel& label : labels)
        Dot(image, static_cast<int>(label.x * scaleX), static_cast<int>(label.y * scaleY), radius);
    for (const MapLabel& label : labels) {
        const int dotX = static_cast<int>(label.x * scaleX), dotY = static_cast<int>(label.y * scaleY);
        if (label.text.empty()) continue;
        LabelBox box;
        if (!Ascii(label.text)) {
            const QFont font = LabelFont(label.fontName, label.fontSize, image);
            const QFontMetricsF metrics(font);
            const QString text = DisplayText(label.text);
            if (!Place(image, dotX, dotY, gap, static_cast<int>(std::ceil(metrics.horizontalAdvance(text))),
                       static_cast<int>(std::ceil(metrics.height())), label.always, box))
                continue;
            if (!fallback) {
                fallback = std::make_unique<QPainter>(&image);
                fallback->setPen(QColor::fromRgb(kBlue));
            }
            Pale(image, box);
            fallback->setFont(font);
            fallback->drawText(QPointF(box.x, box.y + std::round(metrics.ascent())), text);
            ++labelled_;
            continue;
        }
        if (!face || label.fontSize != size || *name != label.fontName) {
            name = &label.fontName;
            size = label.fontSize;
            face = &FaceFor(*name, size, dotsPerMetre);
        }
        double textWidth = 0;
        for (const char c : label.text) {
            GlyphFor(*face, *name, size, dotsPerMetre, c);
            textWidth += face->advance[static_cast<unsigned char>(c)];
        }
        if (!Place(image, dotX, dotY, gap, static_cast<int>(std::ceil(textWidth)), face->height, label.always, box))
            continue;
        ++labelled_;
        Pale(image, box);
        double pen = box.x;
        const int top = box.y;
        for (const char c : label.text) {
            const Glyph& glyph = GlyphFor(*face, *name, size, dotsPerMetre, c);
            const int gx = static_cast<int>(std::lround(pen)) + glyph.left;
            const int gy = top + glyph.top;
            pen += face->advance[static_cast<unsigned char>(c)];
            const bool inside = gx >= 0 && gy >= 0 && gx + glyph.width <= width && gy + glyph.height <= height;
            for (const Covered& covered : glyph.pixels) {
                const int x = gx + covered.dx, y = gy + covered.dy;
                if (!inside && (x < 0 || y < 0 || x >= width || y >= height)) continue;
                QRgb& pixel = pixels[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)];
                const QRgb p = pixel;
                if (p == kBlue) continue;
                const unsigned a = covered.alpha, keep = 255 - a;
                if (a == 255) {
                    pixel = kBlue;
                    continue;
                }
                pixel = qRgb(static_cast<int>(qRed(p) * keep / 255), static_cast<int>(qGreen(p) * keep / 255),
                             static_cast<int>(qBlue(p) + (255 - qBlue(p)) * a / 255));
            }
        }
    }
}

}  // namespace vantrel
