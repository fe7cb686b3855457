// The match list of a callsign search: a list model over the search's lines and the view that
// draws them. The view draws only the rows in sight, so a list of any length shows at once.
#pragma once

#include <QAbstractListModel>
#include <QListView>

#include <memory>

#include "geo/callsign_search.h"
#include "settings/stored_options.h"

namespace vantrel {

class MatchListModel : public QAbstractListModel {
    Q_OBJECT

public:
    // The line as the search made it, TABs unexpanded.
    static constexpr int kRawTextRole = Qt::UserRole + 1;

    explicit MatchListModel(QObject* parent = nullptr);

    void SetList(std::shared_ptr<const MatchList> list);
    const std::shared_ptr<const MatchList>& List() const { return list_; }
    // The colours the lines are drawn in; palette number n is palette[n - 1].
    void SetPalette(const Palette& palette);
    // The widest line in character cells, TABs expanded.
    int WidestLine() const { return widest_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::shared_ptr<const MatchList> list_;
    Palette palette_ = DefaultPalette();
    int widest_ = 0;
};

// The line's text with each TAB expanded to the next multiple of eight character cells.
QString ExpandTabs(std::string_view line);

// Reports a click with the row under the pointer (-1 below the last row) and whether it was the
// left button; right and middle clicks report false.
class MatchListView : public QListView {
    Q_OBJECT

public:
    explicit MatchListView(QWidget* parent = nullptr);
    MatchListModel* Model() const { return model_; }
    // Background of the list (palette colour 5 of the search's colours).
    void SetBackground(const QColor& colour);

signals:
    void rowClicked(int row, bool leftButton);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    MatchListModel* model_;
    bool pressedHere_ = false;
};

}  // namespace vantrel
