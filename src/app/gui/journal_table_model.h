// The result table of the journal search: a table model over the listed lines, eight columns
// cut from each line as it is asked for, so a list of any length is shown at once.
#pragma once

#include <QAbstractTableModel>
#include <QFont>

#include <array>
#include <memory>

#include "journal/journal_part.h"

namespace vantrel {

class JournalTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kColumns = 8;
    static constexpr int kDetailsColumn = 7;
    static constexpr int kRowHeight = 16;
    static constexpr int kFontPointSize = 8;
    // "Date", "Freq", "Md", "Em", "SNR", "DT", "Ofs HZ", "Details", in pixels.
    static constexpr std::array<int, kColumns> kColumnWidths{96, 63, 37, 37, 36, 51, 48, 229};
    // True for a cell drawn in the highlight colours (it holds the operator's callsign).
    static constexpr int kHighlightRole = Qt::UserRole + 1;

    explicit JournalTableModel(QObject* parent = nullptr);

    // The listed lines. The same list given again after it grew inserts the new rows (the
    // selection and the scroll position stay); another list resets the table.
    void SetRows(std::shared_ptr<const JournalMatches> rows, const JournalHighlight& highlight);
    const JournalMatches* Rows() const { return rows_.get(); }
    std::size_t ListedRows() const { return listed_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    bool Highlighted(std::string_view cell) const;

    std::shared_ptr<const JournalMatches> rows_;
    std::size_t listed_ = 0;  // rows shown of rows_ (it may have grown since)
    JournalHighlight highlight_;
    QFont detailsFont_;
};

}  // namespace vantrel
