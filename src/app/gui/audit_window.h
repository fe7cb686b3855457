// The "Journal audit" window: a thin widget over AuditPart. Three lists ("On the air, not in the
// log" with its "Add to Log" button, "In the log twice", "In the log, not on the air"), the
// summary line and the reading's progress.
#pragma once

#include <QWidget>

#include <functional>

#include "journal/audit_part.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace vantrel {

class AuditWindow : public QWidget, public AuditView {
    Q_OBJECT

public:
    explicit AuditWindow(QWidget* parent = nullptr);

    // How the operator's actions reach the part (in their turn with the rest of the engine's
    // work); set once, before the window is shown.
    using Action = std::function<void(AuditPart&)>;
    void SetActionRunner(std::function<void(Action)> run) { run_ = std::move(run); }
    // Shows the window (raised when it is open already) and starts an audit.
    void OpenAudit();

    // AuditView
    void ShowAuditLists(const AuditLists& lists) override;
    void ShowAuditProgress(const std::string& text) override;
    void ConfirmAddToLog(const std::string& line) override;
    void ShowAuditMessage(const std::string& text) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QTableWidget* notLogged_;
    QTableWidget* twice_;
    QTableWidget* withoutTrace_;
    QPushButton* addToLog_;
    QLabel* summary_;
    QLabel* progress_;
    std::function<void(Action)> run_;
};

}  // namespace vantrel
