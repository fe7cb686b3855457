// The "Awards" window: a thin widget over AwardsPart. The award (DXCC, WAZ, WAC, grids), the mode
// filter and the band are chosen at the top; the table has a row per entity and a column per
// band, each cell empty, worked or confirmed (two colours, and the letters W and C); the totals
// are the line above it and the band headers. A click on a cell lists its contacts below.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>

#include <functional>
#include <vector>

#include "app/engine/awards_part.h"

class QComboBox;
class QLabel;
class QTableView;
class QTableWidget;

namespace vantrel {

class AwardTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void SetTable(AwardTable table);
    const AwardTable& Table() const { return table_; }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static constexpr int kBandColumn0 = 2;  // Entity, Code, then the bands

private:
    AwardTable table_;
};

// The cell colours: worked, confirmed (each read with dark text).
QColor AwardCellColour(CellState state);

class AwardsWindow : public QWidget, public AwardsView {
    Q_OBJECT

public:
    explicit AwardsWindow(QWidget* parent = nullptr);

    using Action = std::function<void(AwardsPart&)>;
    void SetActionRunner(std::function<void(Action)> run) { run_ = std::move(run); }
    // Shows the window (raised when it is open already) with the tables as they stand.
    void OpenAwards();
    AwardTableModel& Model() { return model_; }

    // AwardsView
    void ShowAwardTable(const AwardTable& table) override;
    void ShowAwardContacts(const std::string& title, const std::vector<AwardContactRow>& rows) override;
    void ShowAwardsProgress(const std::string& text) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void SelectionChanged();

    AwardTableModel model_;
    QComboBox* award_;
    QComboBox* mode_;
    QComboBox* band_;
    QLabel* summary_;
    QLabel* progress_;
    QTableView* table_;
    QLabel* contactsTitle_;
    QTableWidget* contacts_;
    std::function<void(Action)> run_;
};

}  // namespace vantrel
