#include "app/gui/journal_table_model.h"

#include <QColor>
#include <QSize>

#include "app/gui/display_text.h"
#include "settings/readable_colour.h"

namespace vantrel {

namespace {

const char* const kHeadings[JournalTableModel::kColumns] = {"Date", "Freq", "Md", "Em", "SNR", "DT", "Ofs HZ", "Details"};

QColor ToColour(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace

JournalTableModel::JournalTableModel(QObject* parent) : QAbstractTableModel(parent) {
    detailsFont_ = QFont(QStringLiteral("Courier New"), kFontPointSize);
    detailsFont_.setStyleHint(QFont::TypeWriter);
    detailsFont_.setFixedPitch(true);
}

void JournalTableModel::SetRows(std::shared_ptr<const JournalMatches> rows, const JournalHighlight& highlight) {
    const std::size_t count = rows ? rows->size() : 0;
    const bool sameHighlight = highlight.callsign == highlight_.callsign && highlight.text == highlight_.text &&
                               highlight.fill == highlight_.fill;
    if (rows && rows == rows_ && listed_ > 0 && count >= listed_) {
        if (count > listed_) {
            beginInsertRows(QModelIndex(), static_cast<int>(listed_), static_cast<int>(count) - 1);
            listed_ = count;
            endInsertRows();
        }
        if (!sameHighlight) {
            highlight_ = highlight;
            emit dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
        }
        return;
    }
    beginResetModel();
    rows_ = std::move(rows);
    listed_ = count;
    highlight_ = highlight;
    endResetModel();
}

int JournalTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    // With nothing listed the table shows one empty row under its headings.
    return listed_ == 0 ? 1 : static_cast<int>(listed_);
}

int JournalTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

bool JournalTableModel::Highlighted(std::string_view cell) const {
    return !highlight_.callsign.empty() && cell.find(highlight_.callsign) != std::string_view::npos;
}

QVariant JournalTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= kColumns) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const bool listed = row < listed_;
    switch (role) {
        case Qt::FontRole:
            return index.column() == kDetailsColumn ? QVariant(detailsFont_) : QVariant();
        case Qt::DisplayRole: {
            if (!listed) return QString();
            const std::string_view cell = rows_->Row(row).Field(static_cast<std::size_t>(index.column()));
            return DisplayText(cell);
        }
        case kHighlightRole:
        case Qt::BackgroundRole:
        case Qt::ForegroundRole: {
            const bool highlighted =
                listed && Highlighted(rows_->Row(row).Field(static_cast<std::size_t>(index.column())));
            if (role == kHighlightRole) return highlighted;
            if (!highlighted) return {};
            // The text in the form that reads on the fill.
            return ToColour(role == Qt::BackgroundRole ? highlight_.fill : ReadableOn(highlight_.text, highlight_.fill));
        }
        default:
            return {};
    }
}

QVariant JournalTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) return {};
    if (role == Qt::DisplayRole) return QString::fromLatin1(kHeadings[section]);
    if (role == Qt::SizeHintRole) return QSize(kColumnWidths[static_cast<std::size_t>(section)], kRowHeight);
    return {};
}

}  // namespace vantrel
