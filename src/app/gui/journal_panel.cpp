#include "app/gui/journal_panel.h"

#include "app/gui/display_text.h"

#include <algorithm>

#include <QCheckBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace vantrel {

namespace {

QString ToQString(const std::string& text) { return DisplayText(text); }

// A cell holding the operator's callsign is filled with its colour and its text drawn in the
// other, 2 pixels in from the cell's left and top edges; selected cells show as selected.
class HighlightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (!index.data(JournalTableModel::kHighlightRole).toBool() || option.state.testFlag(QStyle::State_Selected)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        painter->save();
        painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QColor>());
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        const QVariant font = index.data(Qt::FontRole);
        painter->setFont(font.isValid() ? font.value<QFont>() : option.font);
        painter->drawText(option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

}  // namespace

JournalTableView::JournalTableView(QWidget* parent) : QTableView(parent), model_(new JournalTableModel(this)) {
    setObjectName(QStringLiteral("JournalTable"));
    setModel(model_);
    setItemDelegate(new HighlightDelegate(this));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // The column widths are made for an 8-point font: the date and time fits its 96 pixels.
    QFont small = font();
    small.setPointSize(JournalTableModel::kFontPointSize);
    setFont(small);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(JournalTableModel::kRowHeight);
    horizontalHeader()->setHighlightSections(false);
    // The columns' widths, each widened where this desktop's font would not fit its usual
    // content (a date and time of 13 characters, a frequency of 9).
    const char* const samples[JournalTableModel::kColumns] = {"000000_000000", "10368.100", "TX", "MSK1", "", "-0.0",
                                                              "0000", ""};
    for (int column = 0; column < JournalTableModel::kColumns; ++column) {
        const int needed = fontMetrics().horizontalAdvance(QString::fromLatin1(samples[column])) + 10;
        horizontalHeader()->resizeSection(
            column, std::max(JournalTableModel::kColumnWidths[static_cast<std::size_t>(column)], needed));
    }
}

void JournalTableView::ScrollRowToTop(int row) {
    // New rows are laid out lazily; the scroll range must know them first.
    executeDelayedItemsLayout();
    scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtTop);
}

JournalPanel::JournalPanel(QWidget* parent)
    : QWidget(parent), table_(new JournalTableView(this)), count_(new QLabel(this)), entryLine_(new QLineEdit(this)),
      auto_(new QCheckBox(QStringLiteral("Auto"), this)) {
    setObjectName(QStringLiteral("JournalPanel"));
    auto* caption = new QLabel(QStringLiteral("Searching local ALL.TXT"), this);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    count_->setObjectName(QStringLiteral("JournalCount"));
    count_->setMinimumWidth(90);
    entryLine_->setObjectName(QStringLiteral("EntryLine"));
    entryLine_->hide();
    auto_->setObjectName(QStringLiteral("JournalAuto"));
    connect(auto_, &QCheckBox::toggled, this, [this](bool ticked) { Act([ticked](JournalPart& part) { part.SetAuto(ticked); }); });

    auto* top = new QHBoxLayout;
    top->addWidget(caption);
    top->addStretch(1);
    top->addWidget(auto_);
    top->addWidget(Button("Refresh", "JournalRefresh", [](JournalPart& part) { part.Refresh(); }));
    top->addWidget(Button("Close", "JournalClose", [](JournalPart& part) { part.Close(); }));

    auto* actions = new QHBoxLayout;
    actions->addWidget(count_);
    actions->addStretch(1);
    actions->addWidget(Button("Selected -->  Clipboard", "JournalClipboard", [](JournalPart& part) { part.CopySelected(); }));
    actions->addWidget(Button("Make Log entry line", "MakeLogEntry", [](JournalPart& part) { part.MakeLogEntryLine(); }));
    actions->addWidget(Button("Copy line", "CopyLine", [](JournalPart& part) { part.CopyLine(); }));
    actions->addWidget(Button("Add to Log", "AddToLog", [](JournalPart& part) { part.AddToLog(); }));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(3);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addLayout(actions);
    layout->addWidget(entryLine_);
    hide();
}

QPushButton* JournalPanel::Button(const char* text, const char* name, std::function<void(JournalPart&)> action) {
    auto* button = new QPushButton(QString::fromLatin1(text), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, action = std::move(action)] { Act(action); });
    return button;
}

void JournalPanel::Act(Action action) {
    if (run_) run_(std::move(action));
    else if (part_) action(*part_);
}

void JournalPanel::AttachSearchControls(QLineEdit* placesField, QCheckBox* allTxtCheck) {
    placesField_ = placesField;
    allTxtCheck_ = allTxtCheck;
}

void JournalPanel::ShowPanel(bool visible) { setVisible(visible); }

std::string JournalPanel::SearchText() const { return placesField_ ? placesField_->text().toStdString() : std::string(); }

void JournalPanel::ShowRows(std::shared_ptr<const JournalMatches> rows, const JournalHighlight& highlight) {
    table_->Model()->SetRows(std::move(rows), highlight);
}

void JournalPanel::ShowCount(const std::string& text) { count_->setText(ToQString(text)); }

void JournalPanel::ScrollToRow(std::size_t row) { table_->ScrollRowToTop(static_cast<int>(row)); }

void JournalPanel::ShowEntryLineField(bool visible) { entryLine_->setVisible(visible); }

void JournalPanel::SetEntryLine(const std::string& text, const std::string& note) {
    entryLine_->setText(ToQString(text));
    entryLine_->setPlaceholderText(ToQString(note));
    entryLine_->setCursorPosition(0);
}

std::string JournalPanel::EntryLineText() const { return entryLine_->text().toStdString(); }

std::vector<JournalCell> JournalPanel::SelectedCells() const {
    std::vector<JournalCell> cells;
    for (const QModelIndex& index : table_->selectionModel()->selectedIndexes())
        cells.push_back({static_cast<std::size_t>(index.row()), static_cast<std::size_t>(index.column())});
    return cells;
}

void JournalPanel::ShowAllTxtCaptionBold(bool bold) {
    if (!allTxtCheck_ || allTxtCheck_->font().bold() == bold) return;
    QFont font = allTxtCheck_->font();
    font.setBold(bold);
    allTxtCheck_->setFont(font);
}

void JournalPanel::ShowAuto(bool ticked) {
    const QSignalBlocker quiet(auto_);
    auto_->setChecked(ticked);
}

void JournalPanel::ShowMessage(const std::string& caption, const std::string& text) {
    if (qEnvironmentVariableIsSet("VANTREL_NO_MODAL")) return;
    // Shown without a loop of its own: the program goes on while the operator reads it.
    auto* box = new QMessageBox(QMessageBox::NoIcon, ToQString(caption), ToQString(text), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("JournalMessage"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

}  // namespace vantrel
