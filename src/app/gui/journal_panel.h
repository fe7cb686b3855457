// The panel "Searching local ALL.TXT": the result table, the count label, the entry-line field
// and the buttons, as one widget that the main window places. It shows what the journal part
// tells it and hands the operator's clicks to the part.
#pragma once

#include <QTableView>
#include <QWidget>

#include <functional>

#include "app/gui/journal_table_model.h"
#include "journal/journal_part.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vantrel {

// The table: fixed 16-pixel rows, the columns' own widths, cells selectable in ranges.
class JournalTableView : public QTableView {
    Q_OBJECT

public:
    explicit JournalTableView(QWidget* parent = nullptr);
    JournalTableModel* Model() const { return model_; }
    // Scrolls so that the row is the first one in view (or the last rows fill the view).
    void ScrollRowToTop(int row);

private:
    JournalTableModel* model_;
};

class JournalPanel : public QWidget, public JournalView {
    Q_OBJECT

public:
    explicit JournalPanel(QWidget* parent = nullptr);

    using Action = std::function<void(JournalPart&)>;
    // The part whose operations the buttons run; none until set.
    void SetPart(JournalPart* part) { part_ = part; }
    // The buttons' and "Auto"'s actions are handed to `run` instead (the program runs them on
    // the part in their turn, after long work that holds the log).
    void SetActionRunner(std::function<void(Action)> run) { run_ = std::move(run); }
    // The main window's "Places/call search:" field (the search text) and "ALL.TXT" check box
    // (its caption in bold while ticked).
    void AttachSearchControls(QLineEdit* placesField, QCheckBox* allTxtCheck);

    JournalTableView* Table() const { return table_; }

    // JournalView
    void ShowPanel(bool visible) override;
    std::string SearchText() const override;
    void ShowRows(std::shared_ptr<const JournalMatches> rows, const JournalHighlight& highlight) override;
    void ShowCount(const std::string& text) override;
    void ScrollToRow(std::size_t row) override;
    void ShowEntryLineField(bool visible) override;
    void SetEntryLine(const std::string& text, const std::string& note) override;
    std::string EntryLineText() const override;
    std::vector<JournalCell> SelectedCells() const override;
    void ShowAllTxtCaptionBold(bool bold) override;
    void ShowAuto(bool ticked) override;
    void ShowMessage(const std::string& caption, const std::string& text) override;

private:
    QPushButton* Button(const char* text, const char* name, std::function<void(JournalPart&)> action);

    void Act(Action action);

    JournalPart* part_ = nullptr;
    std::function<void(Action)> run_;
    JournalTableView* table_;
    QLabel* count_;
    QLineEdit* entryLine_;
    QCheckBox* auto_;
    QLineEdit* placesField_ = nullptr;
    QCheckBox* allTxtCheck_ = nullptr;
};

}  // namespace vantrel
