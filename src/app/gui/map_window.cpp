#include "app/gui/map_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "app/gui/display_text.h"
#include "map/map_part.h"

namespace vantrel {

namespace {

constexpr int kImageTop = 88;  // below the three rows of controls
constexpr int kDotsPerMetre96 = 3780;  // label sizes in points at 96 dots per inch

QString ToQString(const std::string& text) { return DisplayText(text); }
std::string ToStd(const QString& text) { return text.toUtf8().toStdString(); }

template <typename W>
W* Named(W* widget, const char* name, const char* hint = nullptr) {
    widget->setObjectName(QString::fromLatin1(name));
    if (hint) widget->setToolTip(QString::fromUtf8(hint));
    return widget;
}

void SetTextKeepingCursor(QLineEdit* edit, const std::string& text) {
    const QString wanted = ToQString(text);
    if (edit->text() != wanted) edit->setText(wanted);
}

}  // namespace

// The picture stretched to its area; reports the pointer in the area's own pixels.
class MapImageView : public QWidget {
public:
    MapImageView(MapWindow& window, QWidget* parent) : QWidget(parent), window_(window) {
        setMouseTracking(true);
        setToolTip(QStringLiteral("In Explore mode, mouse over and mouse click show grid details. Top LH corner of "
                                  "Grid is actual position"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void SetPart(MapPart* part) { part_ = part; }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.setClipRect(event->rect());
        const QImage& shown = window_.RenderedPicture();
        painter.fillRect(event->rect(), Qt::white);
        // The picture is made at the screen's own pixels: sharp on a high-density screen.
        if (!shown.isNull()) painter.drawImage(QRectF(0, 0, width(), height()), shown);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (part_) part_->PointerMoved(event->position().toPoint().x(), event->position().toPoint().y());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (part_ && event->button() == Qt::LeftButton)
            part_->Clicked(event->position().toPoint().x(), event->position().toPoint().y());
    }

private:
    MapWindow& window_;
    MapPart* part_ = nullptr;
};

MapWindow::MapWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MapWindow"));
    setWindowTitle(QStringLiteral("Vantrel: Approx position map"));
    setMinimumSize(600, 300);
    BuildControls();
    image_ = new MapImageView(*this, this);
    image_->setObjectName(QStringLiteral("MapImage"));
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (part_) part_->Tick();
    });
    timer_.start();
}

MapWindow::~MapWindow() = default;

void MapWindow::BuildControls() {
    controls_ = new QWidget(this);
    auto* rows = new QVBoxLayout(controls_);
    rows->setContentsMargins(6, 4, 6, 2);
    rows->setSpacing(2);
    auto* first = new QHBoxLayout;
    auto* second = new QHBoxLayout;
    auto* third = new QHBoxLayout;
    for (QHBoxLayout* row : {first, second, third}) {
        row->setSpacing(4);
        rows->addLayout(row);
    }

    latitude_ = Named(new QLineEdit, "Latitude", "Calculated Latitude value");
    longitude_ = Named(new QLineEdit, "Longitude", "Calculated Longitude value");
    for (QLineEdit* field : {latitude_, longitude_}) {
        field->setReadOnly(true);
        field->setFixedWidth(60);
    }
    grid_ = Named(new QLineEdit, "Grid",
                  "Shows grid data from Viewer, manual entry + Enter or calculated grid in Explore mode");
    grid_->setFixedWidth(76);
    callsign_ = Named(new QLineEdit, "Callsign");
    callsign_->setFixedWidth(100);
    explore_ = Named(new QCheckBox(QStringLiteral("Explore")), "Explore",
                     "Choose Explore mode - resets after 5 seconds of inactivity");
    autoClear_ = Named(new QCheckBox(QStringLiteral("AutoClear")), "AutoClear",
                       "Automatically clear the map if a new grid square is sent from the main Vantreler screen");
    autoClear_->setChecked(true);
    onTop_ = Named(new QCheckBox(QStringLiteral("Keep on Top")), "KeepOnTop",
                   "Choose whether the map display stays on the top of the Viewer");

    auto button = [this](const char* caption, const char* name, int width, auto action) {
        auto* b = Named(new QPushButton(QString::fromUtf8(caption)), name);
        b->setFixedWidth(width);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        return b;
    };
    auto* clear = button("Clear", "Clear", 52, [this] {
        if (part_) part_->Clear();
    });
    clear->setToolTip(QStringLiteral("Manually clear all data off the map display"));
    first->addWidget(new QLabel(QStringLiteral("Lat")));
    first->addWidget(latitude_);
    first->addWidget(new QLabel(QStringLiteral("Long")));
    first->addWidget(longitude_);
    first->addWidget(new QLabel(QStringLiteral("Grid")));
    first->addWidget(grid_);
    first->addWidget(callsign_);
    first->addStretch(1);
    first->addWidget(clear);

    fontSize_ = Named(new QLineEdit(QStringLiteral("12")), "FontSize");
    fontSize_->setFixedWidth(34);
    fontSize_->setAlignment(Qt::AlignCenter);
    fontList_ = Named(new QComboBox, "FontList");
    fontList_->setEditable(true);
    fontList_->setMinimumWidth(110);
    fontList_->setMaximumWidth(200);
    fontList_->setInsertPolicy(QComboBox::NoInsert);
    calls_ = Named(new QRadioButton(QStringLiteral("Calls")), "Calls");
    grids_ = Named(new QRadioButton(QStringLiteral("Grids")), "Grids");
    calls_->setChecked(true);

    second->addWidget(explore_);
    second->addWidget(autoClear_);
    second->addWidget(onTop_);
    second->addStretch(1);
    status_ = Named(new QLabel, "MapStatus");
    status_->setAlignment(Qt::AlignCenter);
    second->addWidget(status_);
    second->addStretch(1);
    second->addWidget(calls_);
    second->addWidget(grids_);

    third->addWidget(button("<", "Smaller", 24, [this] {
        if (part_) part_->FontSmaller();
    }));
    third->addWidget(fontSize_);
    third->addWidget(button(">", "Larger", 24, [this] {
        if (part_) part_->FontLarger();
    }));
    third->addWidget(fontList_, 1);
    third->addSpacing(8);
    third->addWidget(button("Redo", "Redo", 50, [this] {
        if (part_) part_->Redo();
    }));
    third->addWidget(button("Log", "Log", 44, [this] {
        if (part_) part_->Log();
    }));
    third->addWidget(button("Today", "Today", 54, [this] {
        if (part_) part_->Today(std::chrono::system_clock::now());
    }));
    third->addWidget(button("Y'day", "Yesterday", 52, [this] {
        if (part_) part_->Yesterday(std::chrono::system_clock::now());
    }));
    // Never shown.
    QPushButton* hidden[] = {
        button("W", "W", 24, [this] {
            if (part_) part_->SaveMapSettings();
        }),
        button("R", "R", 24, [this] {
            if (part_) part_->LoadMapSettings();
        }),
        button("Close", "Close", 48, [this] { close(); }),
    };
    hidden[2]->setToolTip(QStringLiteral("Close the map display"));
    for (QPushButton* b : hidden) {
        third->addWidget(b);
        b->hide();
    }

    connect(grid_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int cursor = grid_->cursorPosition();
        grid_->setText(text.toUpper());
        grid_->setCursorPosition(cursor);
        if (part_) part_->GridEdited(ToStd(text.toUpper()));
    });
    connect(grid_, &QLineEdit::returnPressed, this, [this] {
        if (part_) part_->GridEntered();
    });
    connect(callsign_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (part_) part_->CallsignEdited(ToStd(text));
    });
    connect(explore_, &QCheckBox::clicked, this, [this](bool checked) {
        if (part_) part_->ExploreClicked(checked);
    });
    connect(autoClear_, &QCheckBox::clicked, this, [this](bool checked) {
        if (part_) part_->AutoClearClicked(checked);
    });
    connect(onTop_, &QCheckBox::clicked, this, [this](bool checked) {
        if (part_) part_->KeepOnTopClicked(checked);
    });
    connect(calls_, &QRadioButton::toggled, this, [this](bool checked) {
        if (part_ && !updating_) part_->LabelKindChosen(checked);
    });
    connect(fontSize_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (part_) part_->FontSizeEdited(ToStd(text));
    });
    connect(fontList_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (part_ && !updating_) part_->FontNameChanged(ToStd(text));
    });
}

void MapWindow::Attach(MapPart& part) {
    part_ = &part;
    image_->SetPart(&part);
}

void MapWindow::FillFontList() {
    if (fontList_->count() > 0) return;
    const QString current = fontList_->currentText();
    updating_ = true;
    fontList_->addItems(QFontDatabase::families());
    fontList_->setCurrentText(current);
    updating_ = false;
}

// --- MapView ---

void MapWindow::SetWindowVisible(bool visible) {
    if (visible) {
        show();
    } else {
        hide();
    }
}

bool MapWindow::WindowVisible() const { return isVisible(); }

void MapWindow::SetCaption(const std::string& caption) { setWindowTitle(ToQString(caption)); }

void MapWindow::ShowMessage(const std::string& caption, const std::string& text) {
    if (qEnvironmentVariableIsSet("VANTREL_NO_MODAL")) return;
    // Shown without a loop of its own: contacts keep arriving while the operator reads it.
    auto* box = new QMessageBox(QMessageBox::Warning, ToQString(caption), ToQString(text), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("MapMessage"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MapWindow::ShowPicture(std::shared_ptr<const Picture> picture, const std::vector<MapLabel>& labels,
                            const std::vector<MapSquare>& squares) {
    if (!picture || picture->Empty()) {
        picture_ = QImage();
    } else {
        picture_ = QImage(picture->width, picture->height, QImage::Format_RGB32);
        for (int y = 0; y < picture->height; ++y) {
            const std::uint8_t* from = picture->bgr.data() + picture->Offset(0, y);
            auto* to = reinterpret_cast<QRgb*>(picture_.scanLine(y));
            for (int x = 0; x < picture->width; ++x, from += 3) to[x] = qRgb(from[2], from[1], from[0]);
        }
    }
    labels_ = labels;
    squares_ = squares;
    statusNote_.clear();
    Rebuild();
    ++repaintRequests_;
    image_->update();
}

void MapWindow::ShowMapStatus(const std::string& text) {
    statusNote_ = ToQString(text);
    ShowCounts();
}

QString MapWindow::StatusText() const { return status_->text(); }

void MapWindow::ShowCounts() {
    auto grouped = [](std::size_t count) {
        QString digits = QString::number(count);
        for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, QLatin1Char(','));
        return digits;
    };
    QString text = statusNote_;
    if (text.isEmpty() && !squares_.empty()) {
        std::size_t contacts = 0;
        for (const MapSquare& square : squares_) contacts += static_cast<std::size_t>(square.contacts);
        text = QStringLiteral("%1 stations in %2 grid squares").arg(grouped(contacts), grouped(squares_.size()));
    } else if (text.isEmpty() && !labels_.empty()) {
        text = QStringLiteral("%1 %2, %3 labelled")
                   .arg(grouped(labels_.size()), labels_.size() == 1 ? QStringLiteral("station") : QStringLiteral("stations"),
                        grouped(static_cast<std::size_t>(labelPainter_.Labelled())));
    }
    status_->setText(text);
}

QPointF MapWindow::ShownScale() const {
    if (picture_.isNull() || shown_.isNull()) return {1, 1};
    return {static_cast<double>(shown_.width()) / picture_.width(),
            static_cast<double>(shown_.height()) / picture_.height()};
}

void MapWindow::Rebuild() {
    if (picture_.isNull() || image_->width() <= 0 || image_->height() <= 0) {
        shown_ = QImage();
        return;
    }
    // At the screen's own pixels, with points sized for its density.
    const qreal density = std::max<qreal>(1, image_->devicePixelRatioF());
    shown_ = picture_.scaled(image_->size() * density, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                 .convertToFormat(QImage::Format_RGB32);
    shown_.setDotsPerMeterX(static_cast<int>(kDotsPerMetre96 * density));
    shown_.setDotsPerMeterY(static_cast<int>(kDotsPerMetre96 * density));
    const QPointF scale = ShownScale();
    if (!squares_.empty()) {
        // Darker for more contacts.
        int most = 1;
        for (const MapSquare& square : squares_) most = std::max(most, square.contacts);
        QPainter painter(&shown_);
        for (const MapSquare& square : squares_) {
            const double share = std::log1p(square.contacts) / std::log1p(most);
            painter.fillRect(QRectF(square.x * scale.x(), square.y * scale.y(), square.width * scale.x(),
                                    square.height * scale.y()),
                             QColor(0, 0, 255, 60 + static_cast<int>(170 * share)));
        }
    }
    labelPainter_.Begin(shown_);
    labelPainter_.Paint(shown_, labels_, scale.x(), scale.y());
    ShowCounts();
}

void MapWindow::DrawLabels(std::span<const MapLabel> labels) {
    if (picture_.isNull()) return;
    labels_.insert(labels_.end(), labels.begin(), labels.end());
    const QPointF scale = ShownScale();
    labelPainter_.Paint(shown_, labels, scale.x(), scale.y());
    ++repaintRequests_;
    ShowCounts();
    // Only the part of the picture that the labels cover is drawn again (a generous box on
    // either side of the dot: a character is narrower than its height in points, which is 4/3
    // pixels at 96 dpi).
    const qreal density = static_cast<qreal>(shown_.dotsPerMeterY()) / kDotsPerMetre96;
    QRect covered;
    for (const MapLabel& label : labels) {
        const int size = label.fontSize * 2;
        const int reach = (static_cast<int>(label.text.size()) + 2) * size;
        covered |= QRect(static_cast<int>(label.x * scale.x() / density) - reach,
                         static_cast<int>(label.y * scale.y() / density) - size, 2 * reach, 3 * size);
    }
    image_->update(covered);
}

void MapWindow::ShowFields(const MapFields& fields) {
    updating_ = true;
    SetTextKeepingCursor(latitude_, fields.latitude);
    SetTextKeepingCursor(longitude_, fields.longitude);
    SetTextKeepingCursor(grid_, fields.grid);
    SetTextKeepingCursor(callsign_, fields.callsign);
    explore_->setChecked(fields.explore);
    updating_ = false;
}

void MapWindow::ShowOptions(const MapOptions& options) {
    updating_ = true;
    autoClear_->setChecked(options.autoClear);
    onTop_->setChecked(options.onTop);
    (options.calls ? calls_ : grids_)->setChecked(true);
    SetTextKeepingCursor(fontSize_, options.fontSize);
    // A stored font that is not installed is drawn with the desktop's fixed-pitch font, and the
    // list shows that one; the stored name stays until the operator picks another.
    const QString drawn = LabelPainter::DrawnFamily(options.fontName);
    if (fontList_->currentText() != drawn) fontList_->setCurrentText(drawn);
    fontList_->setToolTip(drawn == ToQString(options.fontName)
                              ? QString()
                              : ToQString(options.fontName) + QStringLiteral(" is not installed: labels are drawn with ") + drawn);
    updating_ = false;
    const bool onTopNow = windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    if (onTopNow != options.onTop) {
        const bool wasVisible = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, options.onTop);
        if (wasVisible) show();  // changing the flag hides the window
    }
}

void MapWindow::SetLayout(const MapLayout& layout) {
    layout_ = layout;
    applyingLayout_ = true;
    if (pos() != QPoint(layout.window.left, layout.window.top)) move(layout.window.left, layout.window.top);
    if (size() != QSize(layout.window.width, layout.window.height)) resize(layout.window.width, layout.window.height);
    applyingLayout_ = false;
    controls_->setGeometry(0, 0, width(), kImageTop);
    const QRect area(layout.imageLeft, kImageTop, layout.imageWidth, layout.imageHeight);
    if (image_->geometry() != area) {
        image_->setGeometry(area);
        Rebuild();
        image_->update();
    }
}

MapGeometry MapWindow::CurrentGeometry() const {
    const QRect inside = (isMaximized() || isFullScreen()) ? normalGeometry() : geometry();
    const QPoint frameOffset = geometry().topLeft() - pos();
    return {inside.x() - frameOffset.x(), inside.y() - frameOffset.y(), inside.width(), inside.height()};
}

// --- Events ---

bool MapWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && part_) {
        activatedSinceShown_ = true;
        FillFontList();
        part_->Activated();
    }
    return QWidget::event(event);
}

void MapWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    activatedSinceShown_ = false;
    // A window manager that does not activate a new window still gets the map drawn.
    QTimer::singleShot(0, this, [this] {
        if (!activatedSinceShown_ && part_ && isVisible()) {
            activatedSinceShown_ = true;
            FillFontList();
            part_->Activated();
        }
    });
}

void MapWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    controls_->setGeometry(0, 0, width(), kImageTop);
    if (applyingLayout_ || !part_) return;
    if (isMaximized()) {
        showNormal();
        return;
    }
    part_->Resized(width(), height());
}

void MapWindow::closeEvent(QCloseEvent* event) {
    // The window is shown and hidden by the main window only: the operator's close stores the
    // settings and is refused. Once the program ends, it closes with it.
    if (closeAllowed_) {
        event->accept();
        return;
    }
    if (part_) part_->CloseRequested();
    event->ignore();
}

}  // namespace vantrel
