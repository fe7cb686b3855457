#include "app/gui/awards_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vantrel {

namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QLabel* Swatch(CellState state, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, AwardCellColour(state));
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->setContentsMargins(6, 2, 6, 2);
    return label;
}

}  // namespace

QColor AwardCellColour(CellState state) {
    switch (state) {
        case CellState::Confirmed: return QColor(0x7c, 0xcf, 0x86);
        case CellState::Worked: return QColor(0xff, 0xd9, 0x6a);
        case CellState::Empty: break;
    }
    return {};
}

void AwardTableModel::SetTable(AwardTable table) {
    const bool sameShape = table.rows.size() == table_.rows.size() && table.award == table_.award;
    if (!sameShape) beginResetModel();
    table_ = std::move(table);
    if (!sameShape) {
        endResetModel();
    } else if (!table_.rows.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int AwardTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int AwardTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kBandColumn0 + kAwardBands;
}

QVariant AwardTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const AwardRow& row = table_.rows[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    if (column < kBandColumn0) {
        if (role == Qt::DisplayRole) return Text(column == 0 ? row.entity : row.code);
        if (role == Qt::BackgroundRole && row.overall != CellState::Empty) return AwardCellColour(row.overall);
        if (role == Qt::ForegroundRole && row.overall != CellState::Empty) return QColor(Qt::black);
        return {};
    }
    const CellState state = row.cells[static_cast<std::size_t>(column - kBandColumn0)];
    switch (role) {
        case Qt::DisplayRole:
            return state == CellState::Empty ? QString() : QString(QChar::fromLatin1(CellLetter(state)));
        case Qt::BackgroundRole:
            return state == CellState::Empty ? QVariant() : QVariant(AwardCellColour(state));
        case Qt::ForegroundRole:
            return state == CellState::Empty ? QVariant() : QVariant(QColor(Qt::black));
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        case Qt::ToolTipRole:
            return state == CellState::Confirmed ? QStringLiteral("Confirmed")
                   : state == CellState::Worked  ? QStringLiteral("Worked, not confirmed")
                                                 : QStringLiteral("Not worked");
        default:
            return {};
    }
}

QVariant AwardTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == 0) return QStringLiteral("Entity");
    if (section == 1) return QStringLiteral("Code");
    const auto band = static_cast<std::size_t>(section - kBandColumn0);
    // The band's totals under its name: worked / confirmed.
    return Text(AwardBandName(section - kBandColumn0)) +
           QStringLiteral("\n%1/%2").arg(table_.totals.workedOnBand[band]).arg(table_.totals.confirmedOnBand[band]);
}

AwardsWindow::AwardsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("AwardsWindow"));
    setWindowTitle(QStringLiteral("Awards"));
    auto* layout = new QVBoxLayout(this);

    auto* choices = new QHBoxLayout;
    award_ = new QComboBox(this);
    award_->setObjectName(QStringLiteral("AwardChoice"));
    for (int a = 0; a < kAwards; ++a) award_->addItem(Text(AwardTitle(static_cast<Award>(a))));
    mode_ = new QComboBox(this);
    mode_->setObjectName(QStringLiteral("AwardMode"));
    for (int m = 0; m < kModeFilters; ++m) mode_->addItem(Text(ModeFilterName(static_cast<ModeFilter>(m))));
    band_ = new QComboBox(this);
    band_->setObjectName(QStringLiteral("AwardBand"));
    band_->addItem(QStringLiteral("all bands"));
    for (int b = 0; b < kAwardBands; ++b) band_->addItem(Text(AwardBandName(b)));
    choices->addWidget(new QLabel(QStringLiteral("Award:"), this));
    choices->addWidget(award_);
    choices->addSpacing(12);
    choices->addWidget(new QLabel(QStringLiteral("Mode:"), this));
    choices->addWidget(mode_);
    choices->addSpacing(12);
    choices->addWidget(new QLabel(QStringLiteral("Band:"), this));
    choices->addWidget(band_);
    choices->addStretch(1);
    choices->addWidget(Swatch(CellState::Worked, QStringLiteral("W worked"), this));
    choices->addWidget(Swatch(CellState::Confirmed, QStringLiteral("C confirmed"), this));
    layout->addLayout(choices);

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("AwardSummary"));
    QFont bold = summary_->font();
    bold.setBold(true);
    summary_->setFont(bold);
    progress_ = new QLabel(this);
    progress_->setObjectName(QStringLiteral("AwardProgress"));
    layout->addWidget(summary_);
    layout->addWidget(progress_);

    auto* split = new QSplitter(Qt::Vertical, this);
    table_ = new QTableView(split);
    table_->setObjectName(QStringLiteral("AwardTable"));
    table_->setModel(&model_);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->horizontalHeader()->setMinimumSectionSize(20);
    const int bandWidth = table_->fontMetrics().horizontalAdvance(QStringLiteral("9999/9999")) + 10;
    table_->setColumnWidth(1, table_->fontMetrics().horizontalAdvance(QStringLiteral("Code99")) + 10);
    for (int b = 0; b < kAwardBands; ++b) table_->setColumnWidth(AwardTableModel::kBandColumn0 + b, bandWidth);

    auto* lower = new QWidget(split);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    contactsTitle_ = new QLabel(QStringLiteral("Click a cell to list its contacts."), lower);
    contactsTitle_->setObjectName(QStringLiteral("AwardContactsTitle"));
    contacts_ = new QTableWidget(0, 7, lower);
    contacts_->setObjectName(QStringLiteral("AwardContacts"));
    contacts_->setHorizontalHeaderLabels({QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Call"),
                                          QStringLiteral("Band"), QStringLiteral("Mode"), QStringLiteral("Grid"),
                                          QStringLiteral("Confirmed")});
    contacts_->verticalHeader()->setVisible(false);
    contacts_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    contacts_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    contacts_->horizontalHeader()->setStretchLastSection(true);
    lowerLayout->addWidget(contactsTitle_);
    lowerLayout->addWidget(contacts_);
    split->addWidget(table_);
    split->addWidget(lower);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);
    resize(2 * 140 + kAwardBands * bandWidth + 40, 760);

    for (QComboBox* box : {award_, mode_, band_})
        connect(box, &QComboBox::currentIndexChanged, this, &AwardsWindow::SelectionChanged);
    connect(table_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (!run_ || !index.isValid() || index.row() >= model_.rowCount()) return;
        const int key = model_.Table().rows[static_cast<std::size_t>(index.row())].key;
        const int column = index.column() - AwardTableModel::kBandColumn0;
        run_([key, column](AwardsPart& part) { part.CellClicked(key, column < 0 ? -1 : column); });
    });
}

void AwardsWindow::OpenAwards() {
    show();
    raise();
    activateWindow();
    SelectionChanged();
    if (run_) run_([](AwardsPart& part) { part.Open(); });
}

void AwardsWindow::SelectionChanged() {
    if (!run_) return;
    const auto award = static_cast<Award>(std::max(0, award_->currentIndex()));
    const auto filter = static_cast<ModeFilter>(std::max(0, mode_->currentIndex()));
    const int band = band_->currentIndex() - 1;
    run_([award, filter, band](AwardsPart& part) { part.Select(award, filter, band); });
}

void AwardsWindow::ShowAwardTable(const AwardTable& table) {
    model_.SetTable(table);
    summary_->setText(Text(AwardSummaryText(table)) +
                      (table.bandColumn >= 0 ? QStringLiteral(" on ") + Text(AwardBandName(table.bandColumn))
                                             : QString()) +
                      (table.filter != ModeFilter::All ? QStringLiteral(", ") + Text(ModeFilterName(table.filter))
                                                       : QString()));
}

void AwardsWindow::ShowAwardContacts(const std::string& title, const std::vector<AwardContactRow>& rows) {
    contactsTitle_->setText(QString::fromStdString(title) + QStringLiteral(": %1 contact%2")
                                                               .arg(rows.size())
                                                               .arg(rows.size() == 1 ? "" : "s"));
    contacts_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const AwardContactRow& row = rows[static_cast<std::size_t>(r)];
        const std::string* fields[] = {&row.date, &row.time, &row.call, &row.band, &row.mode, &row.grid};
        for (int c = 0; c < 6; ++c) contacts_->setItem(r, c, new QTableWidgetItem(QString::fromStdString(*fields[c])));
        contacts_->setItem(r, 6, new QTableWidgetItem(row.confirmed ? QStringLiteral("yes") : QStringLiteral("no")));
    }
}

void AwardsWindow::ShowAwardsProgress(const std::string& text) {
    progress_->setText(QString::fromStdString(text));
    progress_->setVisible(!text.empty());
}

void AwardsWindow::closeEvent(QCloseEvent* event) {
    if (run_) run_([](AwardsPart& part) { part.Close(); });
    event->accept();
}

}  // namespace vantrel
