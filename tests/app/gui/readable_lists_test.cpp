// Every line of every list and panel reads on its background (contrast at least 4.5:1), with the
// default palette and with random ones: the callsign list, the contact lists and listings of the
// details panel, the yellow details box, the match list, the captions and labels, and the
// stations heard.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTextBlock>
#include <QTextEdit>

#include <random>

#include "app/gui/find_child.h"
#include "app/gui/heard_panel.h"
#include "app/gui/main_window.h"
#include "app/gui/match_list_view.h"
#include "app/gui/palette_colours.h"

namespace vantrel {
namespace {

using test::Find;

// The lowest contrast of any character of the box on the box's background, with the colour it had.
std::pair<double, QColor> LeastContrast(const QTextEdit& box) {
    const Rgb background = ToRgb(box.palette().color(QPalette::Base));
    std::pair<double, QColor> least{21.0, QColor()};
    int fragments = 0;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QColor text = it.fragment().charFormat().foreground().color();
            const double contrast = ContrastRatio(ToRgb(text), background);
            if (contrast < least.first) least = {contrast, text};
            ++fragments;
        }
    EXPECT_GE(fragments, 12) << box.objectName().toStdString();
    return least;
}

Palette RandomPalette(std::mt19937& random) {
    std::uniform_int_distribution<int> byte(0, 255);
    Palette palette;
    for (Rgb& colour : palette)
        colour = Rgb{static_cast<std::uint8_t>(byte(random)), static_cast<std::uint8_t>(byte(random)),
                     static_cast<std::uint8_t>(byte(random))};
    return palette;
}

TEST(ReadableLists, EveryTextReadsOnItsBackgroundWithAnyPalette) {
    std::mt19937 random(14);
    std::vector<Palette> palettes{DefaultPalette()};
    for (int i = 0; i < 4; ++i) palettes.push_back(RandomPalette(random));

    std::vector<ColouredLine> lines;
    std::vector<DetailsLine> details;
    std::vector<InfoLine> info;
    auto match = std::make_shared<MatchList>();
    for (int number = 1; number <= 12; ++number) {
        const std::string text = "K" + std::to_string(number) + "ABC, JO62, FT8 caf\xC3\xA9";
        lines.push_back({text, number});
        details.push_back({text, number, number % 2 == 0, number == 1});
        info.push_back({text, number, number == 1});
        match->Add(text, number);
    }

    for (const Palette& palette : palettes) {
        SCOPED_TRACE(::testing::Message() << "colour 1 " << ColourToText(palette[0]) << ", colour 5 "
                                          << ColourToText(palette[4]));
        MainWindow window;
        window.ApplyColours(palette);
        EngineViews views = window.Views();

        window.ShowCallsignList(lines);
        auto [least, colour] = LeastContrast(*Find<QTextEdit>(window, "richedit1"));
        EXPECT_GE(least, kReadableContrast) << "callsign list " << colour.name().toStdString();

        window.ShowDisplayList("Today", lines);
        std::tie(least, colour) = LeastContrast(*Find<QTextEdit>(window, "RichEdit2"));
        EXPECT_GE(least, kReadableContrast) << "Today list " << colour.name().toStdString();

        for (const std::optional<Rgb> background : {std::optional<Rgb>(), std::optional<Rgb>(kSettingsListingBackground)}) {
            views.info.ShowInfoPanel({"Listing", background, info});
            std::tie(least, colour) = LeastContrast(*Find<QTextEdit>(window, "RichEdit2"));
            EXPECT_GE(least, kReadableContrast) << "listing " << colour.name().toStdString();
        }

        window.ShowContactDetails(details);
        std::tie(least, colour) = LeastContrast(*Find<QTextEdit>(window, "RichEdit3"));
        EXPECT_GE(least, kReadableContrast) << "details box " << colour.name().toStdString();

        window.ShowMatchList(match);
        const QAbstractItemModel* model = Find<MatchListView>(window, "MatchList")->model();
        ASSERT_EQ(model->rowCount(), 12);
        for (int row = 0; row < 12; ++row) {
            const QColor text = model->index(row, 0).data(Qt::ForegroundRole).value<QColor>();
            EXPECT_GE(ContrastRatio(ToRgb(text), palette[kMatchListBackgroundColour - 1]), kReadableContrast)
                << "match list colour " << row + 1 << " " << text.name().toStdString();
        }

        window.ShowCountryFileAge("cty.dat: 05Jan26 (120 days old, please update)", true);
        for (const QLabel* label : window.findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->textFormat() == Qt::RichText) continue;
            const QPalette colours = label->palette();
            EXPECT_GE(ContrastRatio(ToRgb(colours.color(QPalette::WindowText)), ToRgb(colours.color(QPalette::Window))),
                      kReadableContrast)
                << "label " << label->text().toStdString();
        }
    }

    // The stations heard, on a light and on a dark table.
    HeardModel heard;
    std::vector<HeardRow> rows;
    for (const WorkedKind kind : {WorkedKind::NewCountry, WorkedKind::NewOnBand, WorkedKind::NewOnMode,
                                  WorkedKind::WorkedBefore, WorkedKind::NotWorked}) {
        HeardRow row;
        row.call = "K1ABC";
        row.status.kind = kind;
        rows.push_back(row);
    }
    heard.SetRows(rows);
    for (const QColor background : {QColor(Qt::white), QColor(0x20, 0x20, 0x20)}) {
        heard.SetBackground(background);
        for (int row = 0; row < heard.rowCount(); ++row) {
            const QColor text = heard.index(row, 0).data(Qt::ForegroundRole).value<QColor>();
            EXPECT_GE(ContrastRatio(ToRgb(text), ToRgb(background)), kReadableContrast) << row;
        }
    }
}

}  // namespace
}  // namespace vantrel
