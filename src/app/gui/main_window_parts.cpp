#include "app/gui/main_window_parts.h"

#include "app/gui/match_list_view.h"
#include "app/gui/places_panels.h"
#include "app/gui/journal_panel.h"

#include <algorithm>
#include <cmath>

#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

namespace vantrel {
namespace {

template <typename W>
W* Named(W* widget, const char* name, const QString& hint = {}) {
    widget->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) widget->setToolTip(hint);
    return widget;
}

QLineEdit* ReadOnlyBox(const char* name, const QString& hint = {}) {
    auto* box = Named(new QLineEdit, name, hint);
    box->setReadOnly(true);
    return box;
}

QFrame* Panel(const char* name) {
    auto* panel = Named(new QFrame, name);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    return panel;
}

QLabel* Caption(MainWindowParts& parts, const QString& text, const char* name = nullptr) {
    auto* label = new QLabel(text);
    if (name) label->setObjectName(QString::fromLatin1(name));
    parts.captions.push_back(label);
    return label;
}

QFont ListFont(int pointSize) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (pointSize > 0) font.setPointSize(pointSize);
    return font;
}

// The search box shows what is typed in upper case.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

QLayout* BuildSearchRow(MainWindowParts& p) {
    auto* prompt = new QVBoxLayout;
    prompt->setSpacing(0);
    prompt->addWidget(new QLabel(QStringLiteral("Prefix or")));
    prompt->addWidget(new QLabel(QStringLiteral("Callsign:")));

    const QString searchHint = QStringLiteral("Enter a prefix or callsign then press Enter to search");
    p.searchBox = Named(new QLineEdit, "Edit1", searchHint);
    p.searchBox->setValidator(new UpperCaseValidator(p.searchBox));
    p.searchBox->setStyleSheet(QStringLiteral("QLineEdit#Edit1 { background: #A6CAF0; color: #000000; }"));
    p.searchBox->setFont(ListFont(0));
    p.wildSearch = Named(new QCheckBox(QStringLiteral("Wild Search")), "WildSearch",
                         QStringLiteral("Use a wildcard search"));
    p.clearButton = Named(new QPushButton(QStringLiteral("CLR")), "ClearButton",
                          QStringLiteral("Clear all results data"));
    p.entries = ReadOnlyBox("Edit5", QStringLiteral("Count of entries in WSJT-X log file"));
    p.clearButton->setMaximumWidth(p.clearButton->fontMetrics().horizontalAdvance(QStringLiteral("CLR")) + 24);
    // Room for six digits: the row fits at the narrowest window (430 pixels) without cutting a caption.
    p.entries->setFixedWidth(p.entries->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 14);
    p.entries->setAlignment(Qt::AlignRight);
    p.indicator = Named(new QFrame, "Shape1");
    p.indicator->setFixedSize(17, 17);
    p.indicator->setFrameShape(QFrame::Box);
    p.indicator->setStyleSheet(QStringLiteral("QFrame#Shape1 { background: #FFFFFF; border: 1px solid #808080; }"));

    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addLayout(prompt);
    p.searchBox->setMinimumWidth(p.searchBox->fontMetrics().horizontalAdvance(QStringLiteral("KH6/K1ABC")) + 8);
    // Wide enough for any callsign with its prefix and suffix, not for the whole window.
    p.searchBox->setMaximumWidth(p.searchBox->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 24);
    row->addWidget(p.searchBox, 1);
    row->addWidget(p.wildSearch);
    row->addWidget(p.clearButton);
    row->addStretch(0);
    row->addSpacing(4);
    row->addWidget(Caption(p, QStringLiteral("Entries:")));
    row->addWidget(p.entries);
    row->addWidget(p.indicator);
    return row;
}

QLayout* BuildLastContactRow(MainWindowParts& p) {
    // The raw log line is longer than a narrow window: it wraps onto a second line instead of
    // running out of sight, and the box is as tall as its lines.
    p.lastContact = Named(new QTextEdit, "Edit2", QStringLiteral("Raw details from WSJT-X log of last QSO logged"));
    p.lastContact->setReadOnly(true);
    p.lastContact->setFocusPolicy(Qt::ClickFocus);
    p.lastContact->setAcceptRichText(false);
    p.lastContact->setFont(ListFont(0));
    p.lastContact->setLineWrapMode(QTextEdit::WidgetWidth);
    p.lastContact->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    p.lastContact->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    p.lastContact->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    p.lastContact->document()->setDocumentMargin(2);
    p.lastContact->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    QTextEdit* box = p.lastContact;
    const auto fitLines = [box] {
        const int lines = std::max(1, static_cast<int>(std::ceil(box->document()->size().height())));
        box->setFixedHeight(lines + 2 * box->frameWidth());
    };
    fitLines();
    QObject::connect(box->document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, box,
                     fitLines);
    auto* row = new QHBoxLayout;
    row->addWidget(Caption(p, QStringLiteral("LAST:")));
    row->addWidget(p.lastContact, 1);
    return row;
}

QLayout* BuildListColumn(MainWindowParts& p) {
    p.callsignList = Named(new QTextEdit, "richedit1",
                           QStringLiteral("List of callsigns as extracted from WSJT-X log, click on an "
                                          "entry to display more details"));
    p.callsignList->setReadOnly(true);
    p.callsignList->setFont(ListFont(11));

    p.matchPanel = Panel("MatchPanel");
    p.matchPanel->setAutoFillBackground(true);  // the callsign list lies beneath
    p.matchTitle = Caption(p, QStringLiteral("Matching entries list"), "MatchTitle");
    p.matchList = Named(new MatchListView, "MatchList");
    auto* matchLayout = new QVBoxLayout(p.matchPanel);
    matchLayout->setContentsMargins(4, 2, 4, 4);
    matchLayout->setSpacing(2);
    matchLayout->addWidget(p.matchTitle);
    matchLayout->addWidget(p.matchList, 1);
    p.matchPanel->hide();

    p.detailsPanel = Panel("Panel6");
    p.detailsPanel->setAutoFillBackground(true);
    p.detailsHeading = Caption(p, QString(), "Label12");
    p.details = Named(new QTextEdit, "RichEdit2");
    p.details->setReadOnly(true);
    p.contactDetails = Named(new QTextEdit, "RichEdit3");
    p.contactDetails->setReadOnly(true);
    p.contactDetails->setFont(ListFont(10));
    // A right click copies the details, so the box has no menu of its own.
    p.contactDetails->setContextMenuPolicy(Qt::NoContextMenu);
    p.contactDetails->viewport()->setCursor(Qt::PointingHandCursor);
    QPalette yellow = p.contactDetails->palette();
    yellow.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0x00));
    yellow.setColor(QPalette::Text, QColor(0x00, 0x00, 0x00));
    p.contactDetails->setPalette(yellow);
    p.contactDetails->hide();
    auto* detailsBoxes = new QHBoxLayout;
    detailsBoxes->addWidget(p.details, 1);
    detailsBoxes->addWidget(p.contactDetails, 1);
    auto* detailsLayout = new QVBoxLayout(p.detailsPanel);
    detailsLayout->setContentsMargins(6, 4, 6, 6);
    detailsLayout->addWidget(p.detailsHeading);
    detailsLayout->addLayout(detailsBoxes, 1);
    p.detailsPanel->hide();

    p.countryFileAge = Named(new QLabel, "CountryFileAge");

    // The callsign list, the match list over it and the details panel over both.
    auto* stack = new QGridLayout;
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(p.callsignList, 0, 0);
    stack->addWidget(p.matchPanel, 0, 0);
    stack->addWidget(p.detailsPanel, 0, 0);
    p.matchPanel->raise();
    p.detailsPanel->raise();

    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    column->addLayout(stack, 1);
    column->addWidget(p.countryFileAge);
    return column;
}

QWidget* BuildSearchOptions(MainWindowParts& p) {
    p.searchOptions = Panel("Panel1");
    p.autoShow = Named(new QCheckBox(QStringLiteral("AutoShow")), "AutoShow",
                       QStringLiteral("Automatically show details of last QSO"));
    p.brDist = Named(new QCheckBox(QStringLiteral("B/D")), "BrDist",
                     QStringLiteral("Show Bearing/Distance in match results list"));
    p.showDetails = Named(new QCheckBox(QStringLiteral("Details")), "ShowDetails");

    const QString countHint = QStringLiteral("Select the number of callsign characters to be matched during search");
    p.countSlider = Named(new QSlider(Qt::Horizontal), "CountSlider", countHint);
    p.countSlider->setRange(2, 6);
    p.countSlider->setPageStep(1);
    p.countSlider->setTickPosition(QSlider::TicksBelow);
    p.countSlider->setTickInterval(1);
    p.countLabel = Named(new QLabel, "CountLabel", countHint);
    p.countLabel->setMinimumWidth(p.countLabel->fontMetrics().horizontalAdvance(QStringLiteral("6ch ")));
    p.countDown = Named(new QToolButton, "CountDown", countHint);
    p.countDown->setText(QStringLiteral("<"));
    p.countUp = Named(new QToolButton, "CountUp", countHint);
    p.countUp->setText(QStringLiteral(">"));

    auto* grid = new QGridLayout(p.searchOptions);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(2);
    auto* checks = new QHBoxLayout;
    checks->addWidget(p.autoShow);
    checks->addWidget(p.brDist);
    checks->addWidget(p.showDetails);
    grid->addLayout(checks, 0, 0, 1, 4);
    grid->addWidget(p.countDown, 1, 0);
    grid->addWidget(p.countSlider, 1, 1);
    grid->addWidget(p.countUp, 1, 2);
    grid->addWidget(p.countLabel, 1, 3);
    grid->setColumnStretch(1, 1);
    return p.searchOptions;
}

// A panel with its caption above a row of boxes.
QFrame* CaptionedPanel(MainWindowParts& p, const char* name, const QString& caption,
                       std::initializer_list<std::pair<QWidget*, int>> boxes) {
    QFrame* panel = Panel(name);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(2);
    layout->addWidget(Caption(p, caption));
    auto* row = new QHBoxLayout;
    for (const auto& [box, stretch] : boxes) row->addWidget(box, stretch);
    row->addStretch(0);  // boxes that reached their widest keep to the left
    layout->addLayout(row);
    return panel;
}

// A read-only box of a station panel, as narrow as its usual text allows.
QLineEdit* StationBox(const char* name, const QString& hint, const QString& usualText) {
    QLineEdit* box = ReadOnlyBox(name, hint);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(usualText) + 12);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(usualText) * 2 + 24);
    box->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return box;
}

// The station panels in a row below the search: the search options, then "Logged as:", "N1MM:"
// and "Radio gear:", which the window's width shows or hides.
QLayout* BuildStationRow(MainWindowParts& p) {
    p.call = StationBox("Edit3", QStringLiteral("Callsign as per WSJT-X configuration"), QStringLiteral("QQ0XYZ/P"));
    p.grid = StationBox("Edit4", QStringLiteral("Grid as set in WSJT-X configuration"), QStringLiteral("JO62QM"));
    p.loggedAs = CaptionedPanel(p, "Panel2", QStringLiteral("Logged as:"), {{p.call, 3}, {p.grid, 2}});

    p.n1mmHost = StationBox("Edit6", QStringLiteral("N1MM IPAddr address as read from WSJT-X configuration"),
                            QStringLiteral("127.0.0.1"));
    p.n1mmPort = StationBox("Edit7", QStringLiteral("N1MM port value as read from WSJT-X configuration"),
                            QStringLiteral("23333"));
    p.n1mm = CaptionedPanel(p, "Panel3", QStringLiteral("N1MM:"), {{p.n1mmHost, 3}, {p.n1mmPort, 2}});
    p.n1mm->hide();

    p.rig = Named(new QComboBox, "ComboBox1", QStringLiteral("Rig model as currently being used"));
    p.antenna = Named(new QComboBox, "ComboBox2", QStringLiteral("Antenna model curruntly being used"));
    for (QComboBox* box : {p.rig, p.antenna}) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(6);
        box->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        box->setMinimumWidth(box->minimumSizeHint().width());
    }
    p.radioGear = CaptionedPanel(p, "Panel4", QStringLiteral("Radio gear:"), {{p.rig, 1}, {p.antenna, 1}});
    p.radioGear->hide();

    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(BuildSearchOptions(p));
    row->addWidget(p.loggedAs, 5);
    row->addWidget(p.n1mm, 5);
    row->addWidget(p.radioGear, 6);
    return row;
}

// The buttons and choices below the station panels, and the maker's antenna controls.
QLayout* BuildButtonsRow(MainWindowParts& p) {
    p.last50 = Named(new QPushButton(QStringLiteral("Last 50")), "Last50", QStringLiteral("Display last 50 QSOs in log"));
    p.today = Named(new QPushButton(QStringLiteral("Today")), "Today");
    p.mapCheck = Named(new QCheckBox(QStringLiteral("Map")), "CheckBox3", QStringLiteral("Show grid details on map"));
    p.mapButton = Named(new QPushButton(QStringLiteral("MAP")), "Button5");
    p.mapButton->hide();
    p.lookupService = Named(new QComboBox, "ComboBox3", QStringLiteral("Search engine for callsign searches via WWW"));
    p.lookupService->addItems({QStringLiteral("QRZ"), QStringLiteral("HamQTH"), QStringLiteral("QRZCQ")});
    p.lookButton = Named(new QPushButton(QStringLiteral("Look")), "LookButton");
    p.allTxtCheck = Named(new QCheckBox(QStringLiteral("ALL.TXT")), "AllTxt");
    for (QPushButton* button : {p.last50, p.today, p.mapButton, p.lookButton})
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 24);

    p.antWarningLabel = Named(new QLabel(QStringLiteral("Ant Warning")), "AntWarningLabel");
    p.antEnabled = Named(new QCheckBox(QStringLiteral("Enabled")), "CheckBox5");
    p.antAutochng = Named(new QCheckBox(QStringLiteral("Autochng")), "CheckBox10");

    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    row->addWidget(p.last50);
    row->addWidget(p.today);
    row->addSpacing(6);
    row->addWidget(p.mapCheck);
    row->addWidget(p.mapButton);
    row->addSpacing(6);
    row->addWidget(p.lookupService);
    row->addWidget(p.lookButton);
    row->addSpacing(6);
    row->addWidget(p.allTxtCheck);
    row->addStretch(1);
    row->addWidget(p.antWarningLabel);
    row->addWidget(p.antEnabled);
    row->addWidget(p.antAutochng);
    return row;
}

// The antenna warning: a yellow strip above the lists while it waits for its answer.
QWidget* BuildAntennaWarning(MainWindowParts& p) {
    p.antWarningPanel = Named(new QFrame, "Panel8");
    p.antWarningPanel->setFrameShape(QFrame::Box);
    p.antWarningPanel->setStyleSheet(QStringLiteral("QFrame#Panel8 { background: #FFFF00; }"
                                                    "QFrame#Panel8 QLabel { color: #000000; }"));
    auto* warningLayout = new QHBoxLayout(p.antWarningPanel);
    warningLayout->setContentsMargins(6, 4, 6, 4);
    warningLayout->addWidget(new QLabel(QStringLiteral("Antenna warning:")));
    auto* warningText = p.antWarningText = Named(new QLabel, "AntWarningText");
    warningText->setWordWrap(true);
    warningLayout->addWidget(warningText, 1);
    auto* yes = p.antWarningYes = Named(new QPushButton(QStringLiteral("Yes")), "AntWarningYes");
    auto* no = p.antWarningNo = Named(new QPushButton(QStringLiteral("No")), "AntWarningNo");
    warningLayout->addWidget(yes);
    warningLayout->addWidget(no);
    p.antWarningPanel->hide();
    return p.antWarningPanel;
}

QWidget* BuildProgressPanel(MainWindowParts& p) {
    p.progressPanel = Panel("Panel5");
    p.progressBar = Named(new QProgressBar, "ProgressBar");
    p.progressBar->setRange(0, 100);
    auto* progress = new QHBoxLayout(p.progressPanel);
    progress->setContentsMargins(6, 3, 6, 3);
    progress->addWidget(p.progressTitle = Caption(p, QStringLiteral("Progress")));
    progress->addWidget(p.progressBar, 1);
    p.progressPanel->hide();
    return p.progressPanel;
}

}  // namespace

void BuildMainWindowParts(QWidget* central, MainWindowParts& parts, PlacesPanels& places) {
    auto* root = new QVBoxLayout(central);
    root->setContentsMargins(8, 6, 8, 4);
    root->setSpacing(6);
    root->addLayout(BuildSearchRow(parts));
    root->addLayout(BuildLastContactRow(parts));
    root->addLayout(BuildStationRow(parts));
    root->addLayout(BuildButtonsRow(parts));
    root->addWidget(BuildAntennaWarning(parts));
    // The lists across the window's width; the places panels show over them when asked for: the
    // grid panel at the foot of the lists, as wide as its lines need, the places list across.
    auto* body = new QGridLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->addLayout(BuildListColumn(parts), 0, 0);
    // The journal search panel over the lists, as wide and as tall as they are, so that its
    // eight columns and a dozen rows show at once; hidden until the first search. The places
    // panels, added after it, show over it.
    parts.allTxtPanel = new JournalPanel;
    parts.allTxtPanel->setObjectName(QStringLiteral("Panel10"));
    parts.allTxtPanel->setAutoFillBackground(true);
    for (QLabel* label : parts.allTxtPanel->findChildren<QLabel*>())
        if (label->text() == QStringLiteral("Searching local ALL.TXT")) parts.captions.push_back(label);
    body->addWidget(parts.allTxtPanel, 0, 0);
    body->addWidget(places.GridInfoPanel(), 0, 0, Qt::AlignLeft | Qt::AlignBottom);
    body->addWidget(places.PlacesPanel(), 0, 0, Qt::AlignHCenter);
    root->addLayout(body, 1);
    root->addWidget(places.Row());
    root->addWidget(BuildProgressPanel(parts));
    parts.captions.insert(parts.captions.end(), places.Captions().begin(), places.Captions().end());

    // The button "MAP" has no action of its own.
    parts.mapButton->setEnabled(false);
}

}  // namespace vantrel
