// The settings listing and the About text, shown in the main window's details panel: its heading
// label and its rich-text box, lines in the palette's colours.
#pragma once

#include <optional>

#include <QColor>

#include "app/engine/views.h"
#include "app/gui/main_window_parts.h"

namespace vantrel {

class InfoPanelView : public InfoViewsView {
public:
    // The palette is read at each showing (a colour too pale for the box is drawn darker so the
    // text reads); status notes go to `notices`.
    InfoPanelView(const MainWindowParts& parts, const Palette& palette, NoticeView& notices)
        : parts_(parts), palette_(palette), notices_(notices) {}

    void ShowInfoPanel(const InfoPanel& panel) override;
    void ShowStatus(const std::string& text) override { notices_.ShowStatus(text); }

    // The rich-text box's background: the given colour, or its usual one.
    static void SetBackground(QTextEdit* box, std::optional<QColor> colour);

private:
    const MainWindowParts& parts_;
    const Palette& palette_;
    NoticeView& notices_;
};

}  // namespace vantrel
