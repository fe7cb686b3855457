#include "app/gui/match_list_view.h"

#include <QByteArrayView>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cstring>

#include "app/gui/display_text.h"
#include "app/gui/palette_colours.h"

namespace vantrel {
namespace {

constexpr int kTabWidth = 8;
constexpr int kTextIndent = 4;
// A continuation row needs room for a few words at least; narrower views scroll sideways.
constexpr int kLeastWrapCells = 12;

bool IsAscii(std::string_view bytes) {
    return std::none_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// True when the line shows one character per byte (ASCII, or Latin-1 that is not UTF-8), so its
// widths and wrap points can be taken from the bytes.
bool OneCharacterPerByte(std::string_view bytes) {
    return IsAscii(bytes) || !QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())).isValidUtf8();
}

// Characters the bytes show as (the line's decoding decided by `perByte`).
int Characters(std::string_view bytes, bool perByte) {
    if (perByte) return static_cast<int>(bytes.size());
    return static_cast<int>(std::count_if(bytes.begin(), bytes.end(),
                                          [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The rows of `text` from `from` on, `avail` characters wide at most, broken at blanks (a word
// longer than a row is cut). Blanks at a break are dropped.
template <typename Text, typename Add>
void WrapWords(const Text& text, int from, int avail, bool skipLeadingBlanks, Add add) {
    const int size = static_cast<int>(text.size());
    bool first = true;
    while (from < size) {
        if (!first || skipLeadingBlanks)
            while (from < size && text[from] == ' ') ++from;
        first = false;
        if (from >= size) break;
        if (size - from <= avail) {
            add(from, size - from);
            break;
        }
        int end = from + avail;  // the first character that does not fit
        int blank = end;
        while (blank > from && text[blank] != ' ') --blank;
        if (blank > from) end = blank;
        int length = end - from;
        while (length > 0 && text[from + length - 1] == ' ') --length;
        add(from, length);
        from = end;
    }
}

// Draws a line in its colour on the list's own background: no selection, focus or icon, which
// keeps the drawing of a screenful cheap. Every row is as wide as the widest row, so a row that
// cannot be wrapped scrolls sideways instead of being cut.
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

QString ExpandTabs(QStringView text) {
    if (!text.contains(QLatin1Char('\t'))) return text.toString();
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

QString ExpandTabs(std::string_view line) { return ExpandTabs(QStringView(DisplayText(line))); }

MatchListModel::MatchListModel(QObject* parent) : QAbstractListModel(parent) { SetPalette(DefaultPalette()); }

void MatchListModel::MeasureColumns() {
    columns_.fill(0);
    for (std::size_t i = 0; i < list_->size(); ++i) {
        if (!list_->At(i).contact) continue;
        const std::string_view line = list_->Text(i);
        const bool perByte = OneCharacterPerByte(line);
        std::size_t from = 0;
        for (int column = 0; column < kAlignedColumns; ++column) {
            const std::size_t tab = line.find('\t', from);
            if (tab == std::string_view::npos) break;
            columns_[column] = std::max(columns_[column], Characters(line.substr(from, tab - from), perByte));
            from = tab + 1;
        }
    }
}

QString MatchListModel::LineText(std::size_t line) const {
    const QString text = DisplayText(list_->Text(line));
    if (!list_->At(line).contact) return ExpandTabs(QStringView(text));
    QString aligned;
    aligned.reserve(text.size() + 16);
    qsizetype from = 0;
    for (int column = 0; column < kAlignedColumns; ++column) {
        const qsizetype tab = text.indexOf(QLatin1Char('\t'), from);
        if (tab < 0) break;
        aligned.append(QStringView(text).mid(from, tab - from));
        aligned.append(QString(columns_[column] - (tab - from) + 1, QLatin1Char(' ')));
        from = tab + 1;
    }
    aligned.append(ExpandTabs(QStringView(text).mid(from)));
    return aligned;
}

MatchListModel::Wrapping MatchListModel::Wrap() const {
    Wrapping out;
    if (!list_) return out;
    int& widest = out.widest;
    int prefix = 0;  // where a contact line's seventh column begins
    for (const int width : columns_) prefix += width + 1;
    const int lines = static_cast<int>(list_->size());
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(lines));
    bool wrapped = false;
    auto add = [&](int line, int start, int length, int indent) {
        rows.push_back(Row{line, start, length, indent});
        widest = std::max(widest, indent + length);
    };
    for (int line = 0; line < lines; ++line) {
        const std::string_view bytes = list_->Text(static_cast<std::size_t>(line));
        const bool contact = list_->At(static_cast<std::size_t>(line)).contact;
        const bool perByte = OneCharacterPerByte(bytes);
        // The rest of a contact line after its lined-up columns, or the whole of any other line.
        std::string_view rest = bytes;
        int restStart = 0;
        if (contact) {
            std::size_t from = 0;
            int column = 0;
            for (; column < kAlignedColumns; ++column) {
                const std::size_t tab = bytes.find('\t', from);
                if (tab == std::string_view::npos) break;
                from = tab + 1;
            }
            if (column == kAlignedColumns) {
                rest = bytes.substr(from);
                restStart = prefix;
            }
        }
        const bool plain = perByte && rest.find('\t') == std::string_view::npos;
        if (!plain) {
            // Rare: characters of more than one byte, or TABs outside the columns.
            const QString text = LineText(static_cast<std::size_t>(line));
            if (wrapCells_ <= 0 || text.size() <= wrapCells_) {
                add(line, 0, static_cast<int>(text.size()), 0);
                continue;
            }
            wrapped = true;
            WrapWords(QStringView(text), 0, wrapCells_, false,
                      [&](int start, int length) { add(line, start, length, 0); });
            continue;
        }
        const int length = restStart + static_cast<int>(rest.size());
        if (wrapCells_ <= 0 || length <= wrapCells_) {
            add(line, 0, length, 0);
            continue;
        }
        if (restStart == 0) {
            wrapped = true;
            WrapWords(rest, 0, wrapCells_, false, [&](int start, int count) { add(line, start, count, 0); });
            continue;
        }
        // A contact line keeps its columns on its first row: it breaks at a blank after them, and
        // the rest goes on below, indented to the second column.
        const int fit = wrapCells_ - restStart;  // characters of the rest on the first row
        int blank = std::min(fit, static_cast<int>(rest.size()) - 1);
        while (blank >= 0 && rest[static_cast<std::size_t>(blank)] != ' ') --blank;
        const int indent = columns_[0] + 1;
        if (restStart > wrapCells_ || wrapCells_ - indent < kLeastWrapCells) {
            add(line, 0, length, 0);  // the columns alone do not fit: the row scrolls sideways
            continue;
        }
        if (blank < 0) blank = 0;  // no word of the rest fits beside the columns: all of it goes below
        wrapped = true;
        int firstLength = blank;
        while (firstLength > 0 && rest[static_cast<std::size_t>(firstLength - 1)] == ' ') --firstLength;
        add(line, 0, restStart + firstLength, 0);
        WrapWords(rest, blank, wrapCells_ - indent, true,
                  [&](int start, int count) { add(line, restStart + start, count, indent); });
    }
    if (wrapped) out.rows = std::move(rows);
    return out;
}

void MatchListModel::SetList(std::shared_ptr<const MatchList> list) {
    beginResetModel();
    list_ = std::move(list);
    if (list_) MeasureColumns();
    Wrapping wrapping = Wrap();
    rows_ = std::move(wrapping.rows);
    widest_ = wrapping.widest;
    endResetModel();
}

bool MatchListModel::SetWrapCells(int cells) {
    if (cells == wrapCells_) return false;
    wrapCells_ = cells;
    if (!list_) return false;
    Wrapping wrapping = Wrap();
    if (wrapping.rows == rows_ && wrapping.widest == widest_) return false;
    beginResetModel();
    rows_ = std::move(wrapping.rows);
    widest_ = wrapping.widest;
    endResetModel();
    return true;
}

void MatchListModel::SetPalette(const Palette& palette) {
    const Rgb background = PaletteColour(palette, kMatchListBackgroundColour);
    for (int number = 1; number <= 12; ++number)
        colours_[static_cast<std::size_t>(number - 1)] = ToQColor(ReadableOn(PaletteColour(palette, number), background));
    if (rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1), {Qt::ForegroundRole});
}

int MatchListModel::LineOfRow(int row) const {
    if (row < 0 || row >= rowCount()) return -1;
    return rows_.empty() ? row : rows_[static_cast<std::size_t>(row)].line;
}

int MatchListModel::FirstRowOfLine(int line) const {
    if (rows_.empty()) return line;
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), line,
                                     [](const Row& row, int wanted) { return row.line < wanted; });
    return static_cast<int>(at - rows_.begin());
}

int MatchListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !list_) return 0;
    return rows_.empty() ? static_cast<int>(list_->size()) : static_cast<int>(rows_.size());
}

QVariant MatchListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    const int line = LineOfRow(index.row());
    const auto at = static_cast<std::size_t>(line);
    switch (role) {
        case Qt::DisplayRole: {
            if (rows_.empty()) return LineText(at);
            const Row& row = rows_[static_cast<std::size_t>(index.row())];
            return QString(row.indent, QLatin1Char(' ')) + LineText(at).mid(row.start, row.length);
        }
        case kRawTextRole: return DisplayText(list_->Text(at));
        case kLineRole: return line;
        case Qt::ForegroundRole:
            return colours_[static_cast<std::size_t>(std::clamp<int>(list_->At(at).colour, 1, 12) - 1)];
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

int MatchListView::CellsInSight() const {
    // The room beside a vertical scroll bar, whether or not one shows now: the rows do not change
    // as it comes and goes.
    const int scrollBar = verticalScrollBar()->isVisible() ? 0 : verticalScrollBar()->sizeHint().width();
    const int room = viewport()->width() - scrollBar - 2 * kTextIndent;
    const int cell = QFontMetrics(font()).horizontalAdvance(QLatin1Char('M'));
    return cell > 0 ? std::max(1, room / cell) : 0;
}

void MatchListView::ShowList(std::shared_ptr<const MatchList> list) {
    model_->SetWrapCells(CellsInSight());
    model_->SetList(std::move(list));
    scrollToTop();
    horizontalScrollBar()->setValue(0);
}

void MatchListView::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    const int top = model_->LineOfRow(indexAt(QPoint(kTextIndent, 1)).row());
    if (model_->SetWrapCells(CellsInSight()) && top >= 0)
        scrollTo(model_->index(model_->FirstRowOfLine(top)), QAbstractItemView::PositionAtTop);
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
    emit rowClicked(index.isValid() ? model_->LineOfRow(index.row()) : -1, button == Qt::LeftButton);
}

}  // namespace vantrel
