#include "app/gui/places_panels.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringListModel>
#include <QVBoxLayout>

#include <algorithm>

#include "app/gui/display_text.h"
#include "app/gui/match_list_view.h"

namespace vantrel {
namespace {

QString ToQString(const std::string& text) { return DisplayText(text); }

template <typename W>
W* Named(W* widget, const char* name, const QString& hint = {}) {
    widget->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) widget->setToolTip(hint);
    return widget;
}

QFrame* Panel(const char* name) {
    auto* panel = Named(new QFrame, name);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);  // drawn over the lists
    return panel;
}

// A line of the grid panel: a click on it neither closes the panel nor reaches it.
QLabel* GridLine(const char* name) {
    auto* label = Named(new QLabel, name);
    label->setAttribute(Qt::WA_NoMousePropagation);
    return label;
}

QFont FixedFont() { return QFontDatabase::systemFont(QFontDatabase::FixedFont); }

constexpr int kGridListMinimumWidth = 280;

}  // namespace

PlacesPanels::PlacesPanels(NoticeView& notices, QObject* parent) : QObject(parent), notices_(notices) {
    BuildRow();
    BuildGridPanel();
    BuildPlacesPanel();
}

QLabel* PlacesPanels::Caption(const QString& text) {
    auto* label = new QLabel(text);
    captions_.push_back(label);
    return label;
}

void PlacesPanels::BuildRow() {
    placesField_ = Named(new QLineEdit, "Edit11", QStringLiteral("A place name or a grid, then Enter"));
    placesField_->setPlaceholderText(QStringLiteral("(Name .. or grid)"));
    gridField_ = Named(new QLineEdit, "Edit10", QStringLiteral("Grid square to look up"));
    gridField_->setMaximumWidth(110);
    // At the narrowest window the place field keeps room for a few letters and the grid field for
    // a six-character square.
    placesField_->setMinimumWidth(placesField_->fontMetrics().horizontalAdvance(QStringLiteral("(Name ..")) + 12);
    gridField_->setMinimumWidth(gridField_->fontMetrics().horizontalAdvance(QStringLiteral("JO62ab")) + 12);
    gridField_->installEventFilter(this);
    lookupButton_ = Named(new QPushButton(QStringLiteral("Lookup")), "LookupButton");
    extended_ = Named(new QCheckBox(QStringLiteral("Extended")), "CheckBox6",
                      QStringLiteral("Search allplaces.txt"));
    extended_->hide();

    row_ = Named(new QWidget, "PlacesRow");
    auto* row = new QHBoxLayout(row_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    auto* placesCaption = new QLabel(QStringLiteral("Places/call search:"));
    placesCaption->setBuddy(placesField_);
    row->addWidget(placesCaption, 0, Qt::AlignTop);
    // The field with its own label below it, as well as the same text inside it while empty.
    auto* placesColumn = new QVBoxLayout;
    placesColumn->setSpacing(0);
    placesColumn->addWidget(placesField_);
    auto* placesNote = Named(new QLabel(QStringLiteral("(Name .. or grid)")), "PlacesNote");
    QFont small = placesNote->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    placesNote->setFont(small);
    placesColumn->addWidget(placesNote);
    row->addLayout(placesColumn, 1);
    auto* gridCaption = Named(new QLabel(QStringLiteral("Grid lookup:")), "GridLookupCaption");
    gridCaption->setBuddy(gridField_);
    // The captions as high as the fields, so that their text stands level with the fields' text.
    for (QLabel* caption : {placesCaption, gridCaption}) caption->setMinimumHeight(placesField_->sizeHint().height());
    row->addWidget(gridCaption, 0, Qt::AlignTop);
    row->addWidget(gridField_, 0, Qt::AlignTop);
    row->addWidget(lookupButton_, 0, Qt::AlignTop);
    row->addWidget(extended_, 0, Qt::AlignTop);

    connect(placesField_, &QLineEdit::textEdited, this, &PlacesPanels::placesTextEdited);
    connect(placesField_, &QLineEdit::returnPressed, this,
            [this] { emit placesEntered(placesField_->text(), extended_->isChecked()); });
    connect(gridField_, &QLineEdit::returnPressed, this, [this] { emit lookupRequested(gridField_->text()); });
    connect(lookupButton_, &QPushButton::clicked, this, [this] { emit lookupRequested(gridField_->text()); });
}

void PlacesPanels::BuildGridPanel() {
    gridPanel_ = Panel("Panel7");
    gridPanel_->installEventFilter(this);
    closeLabel_ = Named(new QLabel(QStringLiteral("Click to close.")), "GridInfoClose");
    closeLabel_->installEventFilter(this);
    locator_ = GridLine("GridInfoLocator");
    QFont bold = locator_->font();
    bold.setBold(true);
    locator_->setFont(bold);
    centre_ = GridLine("GridInfoCentre");
    bearing_ = Named(GridLine("GridInfoBearing"), "GridInfoBearing",
                     QStringLiteral("Double-click to put bearing in clipboard"));
    bearing_->installEventFilter(this);
    from_ = GridLine("GridInfoFrom");
    reverse_ = GridLine("GridInfoReverse");
    country_ = GridLine("GridInfoCountry");
    gridPlaces_ = Named(new QListWidget, "GridInfoPlaces");
    gridPlaces_->setMinimumWidth(kGridListMinimumWidth);
    gridPlaces_->setMinimumHeight(gridPlaces_->fontMetrics().height() * 8);
    gridPlaces_->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(gridPanel_);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->setSpacing(2);
    auto* head = new QHBoxLayout;
    head->addWidget(Caption(QStringLiteral("Gridsquare info:")));
    head->addStretch(1);
    head->addWidget(closeLabel_);
    layout->addLayout(head);
    for (QLabel* line : {locator_, centre_, bearing_, from_, reverse_, country_}) layout->addWidget(line);
    layout->addWidget(gridPlaces_, 1);
    gridPanel_->hide();
}

void PlacesPanels::BuildPlacesPanel() {
    placesPanel_ = Panel("Panel9");
    placesPanel_->installEventFilter(this);
    matches_ = Named(new QLabel, "PlacesMatches");
    copyButton_ = Named(new QPushButton(QStringLiteral("->> Clipboard")), "PlacesClipboard");
    prefixes_ = Named(new QPlainTextEdit, "PlacesPrefixes");
    prefixes_->setReadOnly(true);
    prefixes_->setFont(FixedFont());
    // Prefix lines run to about 80 characters: wrapped rather than cut, the commas being their
    // only breaks.
    prefixes_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    prefixes_->setFixedHeight(prefixes_->fontMetrics().height() * 3 + 10);
    placesModel_ = new QStringListModel(this);
    placesList_ = Named(new QListView, "PlacesList");
    placesList_->setModel(placesModel_);
    placesList_->setUniformItemSizes(true);  // a list of any length fills at once
    placesList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    placesList_->setFont(FixedFont());
    placesList_->setTextElideMode(Qt::ElideNone);
    placesList_->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(placesPanel_);
    layout->setContentsMargins(10, 4, 10, 8);
    layout->setSpacing(3);
    auto* head = new QHBoxLayout;
    head->addWidget(Caption(QStringLiteral("Places Lookup:")));
    head->addWidget(Named(new QLabel(QStringLiteral("Double-click to close...")), "PlacesClose"));
    head->addStretch(1);
    head->addWidget(matches_);
    head->addWidget(copyButton_);
    layout->addLayout(head);
    layout->addWidget(prefixes_);
    layout->addWidget(placesList_, 1);
    placesPanel_->hide();

    connect(copyButton_, &QPushButton::clicked, this, &PlacesPanels::copyPlacesRequested);
}

void PlacesPanels::ShowGridInfo(const GridInfo& info) {
    locator_->setText(ToQString(info.locator));
    centre_->setText(ToQString(info.centre));
    bearing_->setText(ToQString(info.bearing));
    from_->setText(ToQString(info.from));
    reverse_->setText(ToQString(info.reverse));
    country_->setText(ToQString(info.country));
    country_->setVisible(!info.country.empty());
    gridPlaces_->clear();
    int widest = 0;
    for (const std::string& place : info.places) {
        const QString text = ToQString(place);
        gridPlaces_->addItem(text);
        widest = std::max(widest, gridPlaces_->fontMetrics().horizontalAdvance(text));
    }
    // The list as wide as its longest line, within the window.
    const int chrome = gridPlaces_->verticalScrollBar()->sizeHint().width() + 2 * gridPlaces_->frameWidth() + 12;
    const QWidget* area = gridPanel_->parentWidget();
    const int room = area ? area->width() - 40 : widest + chrome;
    gridPlaces_->setMinimumWidth(std::clamp(widest + chrome, kGridListMinimumWidth, std::max(kGridListMinimumWidth, room)));
    gridPlaces_->setVisible(info.placesVisible);
    gridPlaces_->scrollToTop();
    gridPanel_->show();
    gridPanel_->raise();  // in front of everything
}

void PlacesPanels::HideGridInfo(bool emptyLookupField) {
    gridPanel_->hide();
    if (emptyLookupField) gridField_->clear();
}

void PlacesPanels::ShowPlaces(const PlacesSearchResult& result) {
    QStringList prefixes;
    for (const std::string& line : result.prefixLines) prefixes << ToQString(line);
    prefixes_->setPlainText(prefixes.join(QLatin1Char('\n')));
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(result.lines.size()));
    for (const std::string& line : result.lines) lines << ExpandTabs(line);
    qsizetype widest = 0;
    for (const QString& line : lines) widest = std::max(widest, line.size());
    placesModel_->setStringList(lines);
    // Every row as wide as the longest line: long lines scroll sideways instead of being cut.
    const QFontMetrics metrics(placesList_->font());
    placesList_->setGridSize(QSize(metrics.horizontalAdvance(QLatin1Char('M')) * static_cast<int>(widest) + 12,
                                   metrics.height() + 2));
    matches_->setText(ToQString(result.matchLabel));
    WidenPlacesPanel();
    placesPanel_->show();
    placesPanel_->raise();
    prefixes_->moveCursor(QTextCursor::Start);
    placesList_->scrollToTop();
}

void PlacesPanels::HidePlaces() {
    placesModel_->setStringList({});
    placesPanel_->hide();
}

void PlacesPanels::WidenPlacesPanel() {
    QWidget* window = placesPanel_->window();
    if (window == placesPanel_) return;  // not placed in a window yet
    placesPanel_->setFixedWidth(std::max(200, window->width() - 60));
}

void PlacesPanels::FollowWindowWidth() {
    if (placesPanel_->isVisible()) WidenPlacesPanel();
}

void PlacesPanels::SetExtendedVisible(bool visible) { extended_->setVisible(visible); }

void PlacesPanels::EmptyPlacesField() { placesField_->clear(); }

void PlacesPanels::ShowMessage(const std::string& caption, const std::string& text) {
    notices_.ShowMessage(caption, text);
}

bool PlacesPanels::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool left = (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                       type == QEvent::MouseButtonDblClick) &&
                      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    if (!left) return QObject::eventFilter(watched, event);
    if (watched == gridField_) {
        if (type == QEvent::MouseButtonPress) emit gridInfoCloseClicked();
        return false;  // the field takes the focus as usual
    }
    if (watched == gridPanel_ || watched == closeLabel_) {
        if (type == QEvent::MouseButtonRelease) emit gridInfoCloseClicked();
        return true;
    }
    if (watched == bearing_) {
        if (type == QEvent::MouseButtonDblClick) emit bearingDoubleClicked();
        return true;
    }
    if (watched == gridPlaces_->viewport()) {
        if (type == QEvent::MouseButtonPress) emit gridListPressed();
        if (type == QEvent::MouseButtonRelease) {
            emit gridListReleased();
            emit gridInfoCloseClicked();
        }
        return true;
    }
    if (watched == placesPanel_ || watched == placesList_->viewport()) {
        if (type == QEvent::MouseButtonDblClick) {
            emit placesCloseRequested();
            return true;
        }
        return false;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vantrel
