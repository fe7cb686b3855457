#include "app/gui/info_panel_view.h"

#include "app/gui/display_text.h"
#include "app/gui/palette_colours.h"

#include <QFrame>
#include <QLabel>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>


namespace vantrel {

void InfoPanelView::SetBackground(QTextEdit* box, std::optional<QColor> colour) {
    if (!colour) {
        box->setPalette(QPalette());  // the box's own colours again
        return;
    }
    // A fixed background takes a text colour that reads on it, whatever the desktop's palette.
    QPalette colours = box->palette();
    colours.setColor(QPalette::Base, *colour);
    colours.setColor(QPalette::Text, TextColourOn(ToRgb(colours.color(QPalette::Text)), *colour));
    box->setPalette(colours);
}

void InfoPanelView::ShowInfoPanel(const InfoPanel& panel) {
    QTextEdit* box = parts_.details;
    parts_.contactDetails->hide();
    parts_.detailsHeading->setText(DisplayText(panel.heading));
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
            format.setForeground(TextColourOn(PaletteColour(palette_, line.colour), box->palette().color(QPalette::Base)));
        } else {
            format.setForeground(ownText);
        }
        format.setFontWeight(line.bold ? QFont::Bold : QFont::Normal);
        if (i > 0) cursor.insertBlock(QTextBlockFormat(), format);
        cursor.setCharFormat(format);
        cursor.insertText(DisplayText(line.text), format);
    }
    box->show();
    parts_.detailsPanel->show();
    parts_.detailsPanel->raise();
    box->moveCursor(QTextCursor::Start);
    box->verticalScrollBar()->setValue(0);
}

}  // namespace vantrel
