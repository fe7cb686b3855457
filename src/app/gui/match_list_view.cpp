#include "app/gui/match_list_view.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace vantrel {
namespace {

constexpr int kTabWidth = 8;
constexpr int kTextIndent = 4;

// Character cells of the line with TABs expanded; UTF-8 continuation bytes take no cell.
int CellCount(std::string_view line) {
    int cells = 0;
    for (const char c : line) {
        if (c == '\t')
            cells = (cells / kTabWidth + 1) * kTabWidth;
        else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++cells;
    }
    return cells;
}

// Draws a line in its colour on the list's own background: no selection, focus or icon, which
// keeps the drawing of a screenful cheap. Every row is as wide as the widest line, so long lines
// scroll sideways instead of being cut.
class MatchLineDelegate : public QStyledItemDelegate {
public:
    MatchLineDelegate(const MatchListModel* model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        painter->save();
        painter->setFont(option.font);
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        painter->drawText(option.rect.adjusted(kTextIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        const QFontMetrics metrics(option.font);
        return QSize(metrics.horizontalAdvance(QLatin1Char('M')) * model_->WidestLine() + 2 * kTextIndent,
                     metrics.height() + 2);
    }

private:
    const MatchListModel* model_;
};

}  // namespace

QString ExpandTabs(std::string_view line) {
    const QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    if (!text.contains(QLatin1Char('\t'))) return text;
    QString expanded;
    expanded.reserve(text.size() + 4 * kTabWidth);
    for (const QChar c : text) {
        if (c == QLatin1Char('\t'))
            expanded.append(QString(kTabWidth - expanded.size() % kTabWidth, QLatin1Char(' ')));
        else
            expanded.append(c);
    }
    return expanded;
}

MatchListModel::MatchListModel(QObject* parent) : QAbstractListModel(parent) {}

void MatchListModel::SetList(std::shared_ptr<const MatchList> list) {
    beginResetModel();
    list_ = std::move(list);
    widest_ = 0;
    if (list_)
        for (std::size_t i = 0; i < list_->size(); ++i) widest_ = std::max(widest_, CellCount(list_->Text(i)));
    endResetModel();
}

void MatchListModel::SetPalette(const Palette& palette) {
    palette_ = palette;
    if (rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1), {Qt::ForegroundRole});
}

int MatchListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !list_) return 0;
    return static_cast<int>(list_->size());
}

QVariant MatchListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    const auto row = static_cast<std::size_t>(index.row());
    switch (role) {
        case Qt::DisplayRole: return ExpandTabs(list_->Text(row));
        case kRawTextRole: return QString::fromUtf8(list_->Text(row).data(), static_cast<qsizetype>(list_->Text(row).size()));
        case Qt::ForegroundRole: {
            const int colour = std::clamp<int>(list_->At(row).colour, 1, 12);
            const Rgb rgb = palette_[static_cast<std::size_t>(colour - 1)];
            return QColor(rgb.r, rgb.g, rgb.b);
        }
        default: return {};
    }
}

Qt::ItemFlags MatchListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

MatchListView::MatchListView(QWidget* parent) : QListView(parent), model_(new MatchListModel(this)) {
    setModel(model_);
    setItemDelegate(new MatchLineDelegate(model_, this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(kMatchListFontSize);
    font.setBold(true);
    setFont(font);
}

void MatchListView::SetBackground(const QColor& colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colour);
    setPalette(colours);
}

void MatchListView::mousePressEvent(QMouseEvent* event) {
    pressedHere_ = true;
    event->accept();
}

void MatchListView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!pressedHere_) return;
    pressedHere_ = false;
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton && button != Qt::MiddleButton) return;
    const QModelIndex index = indexAt(event->position().toPoint());
    emit rowClicked(index.isValid() ? index.row() : -1, button == Qt::LeftButton);
}

}  // namespace vantrel
