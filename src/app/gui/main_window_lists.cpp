// The main window's lists, the antenna warning, the equipment boxes, the commands and the
// layout rules on resizing.
#include <QAbstractItemView>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>

#include <array>
#include <cstdio>

#include "app/gui/display_text.h"
#include "app/gui/main_window.h"
#include "app/gui/palette_colours.h"

namespace vantrel {

namespace {

QString ToQString(const std::string& text) { return DisplayText(text); }

// The window's width decides which of the station panels fit.
struct PanelWidths {
    bool n1mm, radio, loggedAs;
};
std::optional<PanelWidths> PanelsForWidth(int width) {
    if (width > 2000) return std::nullopt;
    if (width >= 650) return PanelWidths{true, true, true};
    if (width >= 580) return PanelWidths{false, true, true};
    if (width >= 460) return PanelWidths{false, false, true};
    return PanelWidths{false, false, false};
}

// With VANTREL_TRACE_PAINT set, the first paint of the filled call overview is announced on
// the error output: the start-up benchmark times the window to it.
class FirstPaintProbe : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            std::fprintf(stderr, "vantrel: call overview painted\n");
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

}  // namespace

QString MainWindow::ColouredHtml(const std::vector<ColouredLine>& lines, const QColor& background) const {
    // Each palette colour in the form that reads on the list's background, worked out once.
    std::array<QString, 12> colours;
    for (int number = 1; number <= 12; ++number)
        colours[static_cast<std::size_t>(number - 1)] = TextColourOn(PaletteColour(colours_, number), background).name();
    QString html;
    html.reserve(static_cast<int>(lines.size()) * 80);
    for (const ColouredLine& line : lines) {
        html += QStringLiteral("<div style=\"color:%1\">%2</div>")
                    .arg(colours[static_cast<std::size_t>(std::clamp(line.colour, 1, 12) - 1)])
                    .arg(ToQString(line.text).toHtmlEscaped().replace('\t', QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;")));
    }
    return html;
}

void MainWindow::ShowCallsignList(const std::vector<ColouredLine>& lines) {
    QFont font = parts_.callsignList->font();
    font.setPointSize(11);
    parts_.callsignList->setFont(font);
    parts_.callsignList->setHtml(ColouredHtml(lines, parts_.callsignList->palette().color(QPalette::Base)));
    static bool traced = !qEnvironmentVariableIsSet("VANTREL_TRACE_PAINT");
    if (!traced && !lines.empty()) {
        traced = true;
        parts_.callsignList->viewport()->installEventFilter(new FirstPaintProbe(parts_.callsignList));
    }
}

void MainWindow::ShowDisplayList(const std::string& title, const std::vector<ColouredLine>& lines) {
    parts_.contactDetails->hide();
    InfoPanelView::SetBackground(parts_.details, std::nullopt);
    parts_.detailsHeading->setText(ToQString(title));
    parts_.detailsHeading->show();
    parts_.details->setHtml(ColouredHtml(lines, parts_.details->palette().color(QPalette::Base)));
    parts_.details->show();
    parts_.detailsPanel->show();
    parts_.details->verticalScrollBar()->setValue(0);
}

void MainWindow::SetProgressTitle(const std::string& title) {
    parts_.progressTitle->setText(ToQString(title));
}

// What the program has shown, whether or not the window itself is on the screen yet.
bool MainWindow::DetailsPanelVisible() const { return parts_.detailsPanel->isVisibleTo(this); }

void MainWindow::SetIndicator(bool busy) {
    parts_.indicator->setStyleSheet(busy ? QStringLiteral("QFrame#Shape1 { background: #008000; }")
                                         : QStringLiteral("QFrame#Shape1 { background: #FFFFFF; }"));
    parts_.indicator->repaint();
}

void MainWindow::ShowAntennaWarning(bool visible, const std::string& message) {
    parts_.antWarningText->setText(ToQString(message));
    parts_.antWarningPanel->setVisible(visible);
}

void MainWindow::OpenAntennaChoice() {
    awaitingAntenna_ = true;
    antennaPicked_ = false;
    parts_.antenna->setFocus();
    parts_.antenna->showPopup();
}

void MainWindow::ShowEquipment(const std::vector<std::string>& rigs,
                               const std::vector<std::string>& antennas, const std::string& rig,
                               const std::string& antenna) {
    const QSignalBlocker quietRig(parts_.rig), quietAntenna(parts_.antenna);
    for (auto [box, entries, text] : {std::tuple{parts_.rig, &rigs, &rig},
                                      std::tuple{parts_.antenna, &antennas, &antenna}}) {
        box->clear();
        // Each entry keeps the bytes it has in its file.
        for (const std::string& entry : *entries) box->addItem(ToQString(entry), QByteArray::fromStdString(entry));
        box->setCurrentText(ToQString(*text));
        box->lineEdit()->setCursorPosition(0);
    }
}

std::string MainWindow::BoxBytes(const QComboBox* box, const std::string& stored) {
    const int index = box->currentIndex();
    if (index >= 0 && box->itemText(index) == box->currentText()) {
        const QVariant bytes = box->itemData(index);
        if (bytes.isValid()) return bytes.toByteArray().toStdString();
    }
    return StoredText(box->currentText(), stored);
}

void MainWindow::SelectRig(const std::string& name) {
    const int index = parts_.rig->findText(ToQString(name), Qt::MatchFixedString);  // case ignored
    const QSignalBlocker quiet(parts_.rig);
    parts_.rig->setCurrentIndex(index);
    parts_.rig->update();
}

void MainWindow::ConnectCommands() {
    auto send = [this](QPushButton* button, Command command) {
        connect(button, &QPushButton::clicked, this, [this, command] { emit commandRequested(command); });
    };
    send(parts_.last50, Command::Last50);
    send(parts_.today, Command::Today);
    send(parts_.antWarningYes, Command::AntennaYes);
    send(parts_.antWarningNo, Command::AntennaNo);

    auto* timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(1000);
    connect(timer, &QTimer::timeout, this, &MainWindow::ticked);
    connect(this, &MainWindow::firstActivated, timer, qOverload<>(&QTimer::start), Qt::QueuedConnection);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (const auto panels = PanelsForWidth(event->size().width())) {
        parts_.n1mm->setVisible(panels->n1mm && n1mmWanted_);
        parts_.radioGear->setVisible(panels->radio && radioWanted_);
        parts_.loggedAs->setVisible(panels->loggedAs);
    }
    places_->FollowWindowWidth();
    emit resized();
}

}  // namespace vantrel
