// The main window's search: the search box, the match list, the yellow details box, the cty.dat
// age, and the clicks in the lists that the engine turns into searches and details.
#include <QCheckBox>
#include <QComboBox>
#include <QAbstractItemView>
#include <QFrame>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>

#include "app/gui/display_text.h"
#include "app/gui/main_window.h"

#include <QApplication>
#include "app/gui/match_list_view.h"
#include "app/gui/palette_colours.h"

namespace vantrel {
namespace {

constexpr Rgb kTooOldColour{0xFF, 0x00, 0x00};

}  // namespace

void MainWindow::ConnectSearchControls() {
    connect(parts_.searchBox, &QLineEdit::textEdited, this, &MainWindow::searchEdited);
    connect(parts_.searchBox, &QLineEdit::returnPressed, this,
            [this] { emit searchEntered(parts_.searchBox->text()); });
    connect(parts_.wildSearch, &QCheckBox::clicked, this, &MainWindow::wildSearchClicked);
    connect(parts_.clearButton, &QPushButton::clicked, this, [this] { emit commandRequested(Command::Clear); });
    connect(parts_.lookButton, &QPushButton::clicked, this, [this] { emit commandRequested(Command::Look); });
    connect(parts_.matchList, &MatchListView::rowClicked, this, &MainWindow::matchListClicked);

    // Picking an entry sets the box's text without an edit; typing edits it key by key.
    connect(parts_.rig, &QComboBox::activated, this,
            [this] { emit rigEdited(QByteArray::fromStdString(BoxBytes(parts_.rig, {}))); });
    connect(parts_.rig->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { emit rigEdited(text.toUtf8()); });
    connect(parts_.antenna, &QComboBox::activated, this, [this] {
        antennaPicked_ = true;
        emit antennaEdited(QByteArray::fromStdString(BoxBytes(parts_.antenna, {})));
    });
    // The list that the antenna warning's "Yes" opens: its closing is reported with whether an
    // entry was chosen (the choice is made after the list hides, so it is looked at afterwards).
    parts_.antenna->view()->window()->installEventFilter(this);
    connect(parts_.antenna->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { emit antennaEdited(text.toUtf8()); });

    parts_.callsignList->viewport()->installEventFilter(this);
    parts_.contactDetails->viewport()->installEventFilter(this);
    parts_.lastContact->viewport()->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && awaitingAntenna_ && watched == parts_.antenna->view()->window()) {
        QTimer::singleShot(0, this, [this] {
            if (!awaitingAntenna_) return;
            awaitingAntenna_ = false;
            emit antennaChoiceClosed(antennaPicked_);
        });
    }
    if (event->type() != QEvent::MouseButtonRelease) return QMainWindow::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    const bool left = mouse->button() == Qt::LeftButton;

    if (watched == parts_.callsignList->viewport()) {
        if (left) {
            const QTextCursor caret = parts_.callsignList->cursorForPosition(at);
            emit callsignListClicked(caret.block().text(), caret.positionInBlock());
        }
        return false;  // the list still places its caret and selects as usual
    }
    if (watched == parts_.contactDetails->viewport()) {
        if (left || mouse->button() == Qt::RightButton)
            emit detailsClicked(parts_.contactDetails->cursorForPosition(at).blockNumber(), left);
        return true;
    }
    if (watched == parts_.lastContact->viewport()) {
        if (left) emit lastContactClicked();
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::ApplyListColours() {
    parts_.matchList->Model()->SetPalette(colours_);
    parts_.matchList->SetBackground(ToQColor(PaletteColour(colours_, kMatchListBackgroundColour)));
}

void MainWindow::SetSearchText(const std::string& text) {
    // setText is not an edit: searchEdited stays quiet.
    parts_.searchBox->setText(DisplayText(text));
}

std::string MainWindow::SearchText() const { return parts_.searchBox->text().toStdString(); }

void MainWindow::ShowMatchList(std::shared_ptr<const MatchList> list) {
    parts_.matchTitle->setText(QStringLiteral("Matching entries list"));
    parts_.matchPanel->show();
    parts_.matchList->ShowList(std::move(list));
}

void MainWindow::HideMatchList() {
    parts_.matchPanel->hide();
    parts_.matchList->Model()->SetList(nullptr);  // a long list is not held while unseen
}

bool MainWindow::MatchListVisible() const { return parts_.matchPanel->isVisibleTo(this); }

void MainWindow::ShowContactDetails(const std::vector<DetailsLine>& lines) {
    QTextEdit* box = parts_.contactDetails;
    box->clear();
    QTextCursor cursor(box->document());
    const QColor background = box->palette().color(QPalette::Base);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const DetailsLine& line = lines[i];
        QTextCharFormat format;
        format.setForeground(TextColourOn(PaletteColour(colours_, line.colour), background));
        format.setFontWeight(line.bold ? QFont::Bold : QFont::Normal);
        format.setFontUnderline(line.underline);
        if (i > 0) cursor.insertBlock(QTextBlockFormat(), format);
        cursor.setCharFormat(format);
        cursor.insertText(DisplayText(line.text), format);
    }
    parts_.details->hide();
    parts_.detailsHeading->hide();
    box->show();
    parts_.detailsPanel->show();
    box->moveCursor(QTextCursor::Start);
    box->verticalScrollBar()->setValue(0);
    box->horizontalScrollBar()->setValue(0);
}

void MainWindow::HideDetailsPanel() { HideDetails(); }

void MainWindow::HideDetails() {
    // Closing the panel that holds the focus would hand it to the next field in the window (the
    // places field): the operator goes on typing callsigns into the search box instead.
    QWidget* focus = QApplication::focusWidget();
    const bool focusInside = focus && parts_.detailsPanel->isAncestorOf(focus);
    parts_.detailsPanel->hide();
    if (focusInside) parts_.searchBox->setFocus(Qt::OtherFocusReason);
}

std::string MainWindow::ContactDetailsText(std::size_t maxCharacters) const {
    const QString text = parts_.contactDetails->toPlainText();
    const auto count = static_cast<qsizetype>(std::min<std::size_t>(maxCharacters, static_cast<std::size_t>(text.size())));
    return text.left(count).toStdString();
}

void MainWindow::ShowCountryFileAge(const std::string& text, bool tooOld) {
    QLabel* label = parts_.countryFileAge;
    label->setText(DisplayText(text));
    QPalette colours = label->parentWidget() ? label->parentWidget()->palette() : QPalette();
    if (tooOld)
        colours.setColor(QPalette::WindowText, TextColourOn(kTooOldColour, colours.color(QPalette::Window)));
    label->setPalette(colours);
}

void MainWindow::ShowWildSearch(bool ticked) {
    const QSignalBlocker quiet(parts_.wildSearch);
    parts_.wildSearch->setChecked(ticked);
}

void MainWindow::ResetCallsignListCaret() {
    QTextEdit* list = parts_.callsignList;
    list->moveCursor(QTextCursor::Start);
    list->verticalScrollBar()->setValue(0);
    list->horizontalScrollBar()->setValue(0);
}

}  // namespace vantrel
