#include "app/gui/heard_panel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include <set>

#include "app/gui/display_text.h"
#include "app/gui/palette_colours.h"
#include "settings/readable_colour.h"
#include "wsjtx/highlight_tracker.h"

namespace vantrel {

namespace {

QString BearingAndDistance(const HeardRow& row) {
    if (!row.bearing) return {};
    // The operator's own square has no direction.
    if (row.bearing->km == 0) return QStringLiteral("0 km");
    // A bearing from the country's position is marked as approximate.
    return QStringLiteral("%1%2\u00b0 %3 km")
        .arg(row.bearingFromGrid ? QString() : QStringLiteral("~"))
        .arg(row.bearing->bearing)
        .arg(row.bearing->km);
}

}  // namespace

QColor HeardStatusColour(WorkedKind kind) {
    switch (kind) {
        case WorkedKind::NewCountry: return QColor(0xB0, 0x00, 0x00);    // dark red
        case WorkedKind::NewOnBand: return QColor(0x8A, 0x4B, 0x00);     // brown
        case WorkedKind::NewOnMode: return QColor(0x80, 0x00, 0x80);     // purple
        case WorkedKind::WorkedBefore: return QColor(0x00, 0x60, 0x00);  // dark green
        case WorkedKind::NotWorked: return QColor(0x1A, 0x1A, 0x60);     // navy
    }
    return QColor(Qt::black);
}

void HeardModel::SetBackground(const QColor& background) {
    background_ = background;
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1), {Qt::ForegroundRole});
}

void HeardModel::SetRows(std::vector<HeardRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int HeardModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int HeardModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant HeardModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const HeardRow& row = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::ForegroundRole) return TextColourOn(ToRgb(HeardStatusColour(row.status.kind)), background_);
    if (role == Qt::ToolTipRole) return DisplayText(row.message);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case Call: return DisplayText(row.call);
        case Country: return DisplayText(row.country);
        case BearingDistance: return BearingAndDistance(row);
        case Status:
            // The award tables' word: the station's country is not confirmed on this band.
            return QString::fromStdString(WorkedStatusText(row.status)) + (row.needed ? QStringLiteral(", needed") : QString());
        case Instance: return DisplayText(row.instance);
    }
    return {};
}

QVariant HeardModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case Call: return QStringLiteral("Call");
        case Country: return QStringLiteral("Country");
        case BearingDistance: return QStringLiteral("Bearing / distance");
        case Status: return QStringLiteral("Log");
        case Instance: return QStringLiteral("WSJT-X");
    }
    return {};
}

HeardPanel::HeardPanel(QWidget* parent) : QDockWidget(QStringLiteral("Heard"), parent) {
    setObjectName(QStringLiteral("HeardPanel"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("HeardTable"));
    table_->setModel(&model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setToolTip(QStringLiteral("Stations decoded in the last two periods; click one to search the log for "
                                      "it, double-click a CQ to answer it in WSJT-X"));
    table_->setColumnHidden(HeardModel::Instance, true);
    // Shown beside the call, where it is seen without scrolling.
    table_->horizontalHeader()->moveSection(HeardModel::Instance, HeardModel::Country);

    auto* legendRow = new QHBoxLayout;
    legendRow->setSpacing(2);
    for (std::size_t i = 0; i < kHighlightStatuses; ++i) {
        auto* label = new QLabel(QString::fromUtf8(wsjtx::HighlightStatusText(static_cast<wsjtx::HighlightStatus>(i)).data()));
        label->setAutoFillBackground(true);
        label->setMargin(2);
        label->setToolTip(QStringLiteral("The colour WSJT-X's Band Activity gives such a call"));
        legendRow->addWidget(label);
        legend_.append(label);
    }
    legendRow->addStretch(1);
    auto* hint = new QLabel(QStringLiteral("Double-click a CQ to answer it in WSJT-X"));
    hint->setObjectName(QStringLiteral("HeardHint"));
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(legendRow);
    layout->addWidget(table_, 1);
    layout->addWidget(hint);
    setWidget(content);
    SetLegend(DefaultHighlightPalette());
    // A dark desktop theme gives the table a dark background.
    model_.SetBackground(table_->palette().color(QPalette::Base));
    connect(table_, &QTableView::clicked, this, [this](const QModelIndex& index) { emit rowClicked(index.row()); });
    connect(table_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { emit rowDoubleClicked(index.row()); });
    hide();
}

void HeardPanel::SetLegend(const HighlightPalette& colours) {
    for (qsizetype i = 0; i < legend_.size(); ++i) {
        const HighlightColours& pair = colours[static_cast<std::size_t>(i)];
        const Rgb text = ReadableOn(pair.foreground, pair.background);
        QPalette palette = legend_[i]->palette();
        palette.setColor(QPalette::Window, QColor(pair.background.r, pair.background.g, pair.background.b));
        palette.setColor(QPalette::WindowText, QColor(text.r, text.g, text.b));
        legend_[i]->setPalette(palette);
    }
}

void HeardPanel::ShowHeard(const std::vector<HeardRow>& rows) {
    // Which WSJT-X decoded a row matters once two of them are heard.
    std::set<std::string> instances;
    for (const HeardRow& row : rows) instances.insert(row.instance);
    table_->setColumnHidden(HeardModel::Instance, instances.size() < 2);
    model_.SetRows(rows);
    table_->resizeColumnsToContents();
    if (!offered_) {
        offered_ = true;
        emit offered();
    }
    if (wanted_ && !isVisible()) show();
}

void HeardPanel::SetWanted(bool wanted) {
    wanted_ = wanted;
    setVisible(wanted && offered_);
}

}  // namespace vantrel
