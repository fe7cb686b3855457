// The stations heard in the last two decode periods, newest first: callsign, country, bearing
// and distance, and what the local log says of them, each row coloured by that status. A click
// on a row searches the log for the station; a double click makes WSJT-X answer its CQ. With two
// or more WSJT-X instances a column tells which one decoded each row. A legend shows the colours
// the calls take in WSJT-X's Band Activity. The panel is a window of its own beside the main
// window, offered once WSJT-X has decoded something.
#pragma once

#include <QAbstractTableModel>
#include <QDockWidget>
#include <QList>

#include <vector>

#include "app/engine/views.h"

class QLabel;
class QTableView;

namespace vantrel {

class HeardModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Call, Country, BearingDistance, Status, Instance, ColumnCount };
    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(std::vector<HeardRow> rows);
    // The table's background: each status colour is drawn in the form that reads on it.
    void SetBackground(const QColor& background);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<HeardRow> rows_;
    QColor background_{Qt::white};
};

// The text colour of a status, chosen to read on a white background (contrast at least 4.5:1).
QColor HeardStatusColour(WorkedKind kind);

class HeardPanel : public QDockWidget, public HeardView {
    Q_OBJECT
public:
    explicit HeardPanel(QWidget* parent = nullptr);

    void ShowHeard(const std::vector<HeardRow>& rows) override;
    HeardModel* Model() { return &model_; }
    // True once a decode has been shown: the operator's choice to show or hide it then counts.
    bool Offered() const { return offered_; }
    void SetWanted(bool wanted);
    bool Wanted() const { return wanted_; }
    // The colours of the legend, one pair per status as the options hold them.
    void SetLegend(const HighlightPalette& colours);

signals:
    void rowClicked(int row);
    void rowDoubleClicked(int row);
    // The first rows came: the check box that shows or hides the panel can be offered.
    void offered();

private:
    HeardModel model_;
    QTableView* table_ = nullptr;
    QList<QLabel*> legend_;
    bool offered_ = false;
    bool wanted_ = true;
};

}  // namespace vantrel
