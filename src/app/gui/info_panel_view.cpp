#include "app/gui/info_panel_view.h"

#include <QFrame>
#include <QLabel>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

namespace vantrel {

namespace {

double Luminance(const QColor& colour) {
    auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& text, const QColor& background) {
    // A palette colour too pale (or too dark) for the box keeps its hue and is darkened (or
    // lightened) until it reads.
    constexpr double kReadable = 4.5;
    if (ContrastRatio(text, background) >= kReadable) return text;
    const bool darken = Luminance(background) > 0.18;
    QColor colour = text;
    for (int step = 0; step < 20 && ContrastRatio(colour, background) < kReadable; ++step)
        colour = darken ? colour.darker(115) : colour.lighter(115);
    return colour;
}

void InfoPanelView::SetBackground(QTextEdit* box, std::optional<QColor> colour) {
    if (!colour) {
        box->setPalette(QPalette());  // the box's own colours again
        return;
    }
    QPalette colours = box->palette();
    colours.setColor(QPalette::Base, *colour);
    box->setPalette(colours);
}

void InfoPanelView::ShowInfoPanel(const InfoPanel& panel) {
    QTextEdit* box = parts_.details;
    parts_.contactDetails->hide();
    parts_.detailsHeading->setText(QString::fromStdString(panel.heading));
    parts_.detailsHeading->show();
    std::optional<QColor> background;
    if (panel.background) background = QColor(panel.background->r, panel.background->g, panel.background->b);
    SetBackground(box, background);
    box->clear();
    QTextCursor cursor(box->document());
    const QColor ownText = box->palette().color(QPalette::Text);
    for (std::size_t i = 0; i < panel.lines.size(); ++i) {
        const InfoLine& line = panel.lines[i];
        QTextCharFormat format;
        if (line.colour >= 1 && line.colour <= 12) {
            const Rgb rgb = palette_[static_cast<std::size_t>(line.colour - 1)];
            format.setForeground(ReadableOn(QColor(rgb.r, rgb.g, rgb.b), box->palette().color(QPalette::Base)));
        } else {
            format.setForeground(ownText);
        }
        format.setFontWeight(line.bold ? QFont::Bold : QFont::Normal);
        if (i > 0) cursor.insertBlock(QTextBlockFormat(), format);
        cursor.setCharFormat(format);
        cursor.insertText(QString::fromStdString(line.text), format);
    }
    box->show();
    parts_.detailsPanel->show();
    parts_.detailsPanel->raise();
    box->moveCursor(QTextCursor::Start);
    box->verticalScrollBar()->setValue(0);
}

}  // namespace vantrel
