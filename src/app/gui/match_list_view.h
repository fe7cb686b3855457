// The match list of a callsign search: a list model over the search's lines and the view that
// draws them. The view draws only the rows in sight, so a list of any length shows at once.
//
// A contact line's columns (TAB-separated) are lined up one blank apart, each as wide as its widest
// entry in the list. A line wider than the view is wrapped onto further rows: a contact line after
// its columns (the place text goes on below, indented), any other line at its blanks; the model's
// rows are then the rows on screen and each knows the search's line it shows.
#pragma once

#include <QAbstractListModel>
#include <QListView>

#include <array>
#include <memory>
#include <vector>

#include "geo/callsign_search.h"
#include "settings/stored_options.h"

namespace vantrel {

class MatchListModel : public QAbstractListModel {
    Q_OBJECT

public:
    // The search's line as it was made, TABs unexpanded.
    static constexpr int kRawTextRole = Qt::UserRole + 1;
    // The number of the search's line (0 the search text's line) that a row shows.
    static constexpr int kLineRole = Qt::UserRole + 2;

    explicit MatchListModel(QObject* parent = nullptr);

    void SetList(std::shared_ptr<const MatchList> list);
    const std::shared_ptr<const MatchList>& List() const { return list_; }
    // The colours the lines are drawn in (palette number n is palette[n - 1]), over the palette's
    // match-list background; each in the form that reads there.
    void SetPalette(const Palette& palette);
    // Lines wider than this many character cells are wrapped (0: never). True when the rows changed.
    bool SetWrapCells(int cells);
    // The widest row in character cells.
    int WidestLine() const { return widest_; }
    // The search's line shown by a row, and the first row showing a line.
    int LineOfRow(int row) const;
    int FirstRowOfLine(int line) const;
    // The search's line as the list shows it before wrapping: columns lined up, TABs expanded.
    QString LineText(std::size_t line) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    static constexpr int kAlignedColumns = 6;  // the seventh column runs on into the tail
    // One row on screen: `length` units of the line's text from `start`, after `indent` blanks.
    struct Row {
        int line = 0, start = 0, length = 0, indent = 0;
        friend bool operator==(const Row&, const Row&) = default;
    };
    struct Wrapping {
        std::vector<Row> rows;  // empty: every line is one row
        int widest = 0;
    };
    void MeasureColumns();
    Wrapping Wrap() const;

    std::shared_ptr<const MatchList> list_;
    std::array<int, kAlignedColumns> columns_{};  // widths of the lined-up columns
    std::vector<Row> rows_;                       // empty while every line is one row
    std::array<QColor, 12> colours_;
    int wrapCells_ = 0;
    int widest_ = 0;
};

// The line's text with each TAB expanded to the next multiple of eight character cells.
QString ExpandTabs(QStringView line);
QString ExpandTabs(std::string_view line);

// Reports a click with the search's line under the pointer (-1 below the last row) and whether it
// was the left button; right and middle clicks report false.
class MatchListView : public QListView {
    Q_OBJECT

public:
    explicit MatchListView(QWidget* parent = nullptr);
    MatchListModel* Model() const { return model_; }
    // Background of the list (palette colour 5 of the search's colours).
    void SetBackground(const QColor& colour);
    // Shows a new list from its top, wrapped to the view's width.
    void ShowList(std::shared_ptr<const MatchList> list);

signals:
    void rowClicked(int row, bool leftButton);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int CellsInSight() const;

    MatchListModel* model_;
    bool pressedHere_ = false;
};

}  // namespace vantrel
