// "LoTW login": the login and password for the confirmation download, read from and saved to the
// desktop's secret store through the LoTW part. A desktop without a secret store is said plainly
// in the dialog; nothing is written anywhere else.
#pragma once

#include <QDialog>

#include <functional>

#include "net/lotw_credentials.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vantrel {

class LotwPart;

class LotwLoginDialog : public QDialog {
    Q_OBJECT

public:
    explicit LotwLoginDialog(QWidget* parent = nullptr);

    // How the dialog reaches the part (in its turn with the engine's other work).
    using Action = std::function<void(LotwPart&)>;
    void SetActionRunner(std::function<void(Action)> run) { run_ = std::move(run); }
    // Shows the dialog with what the store holds.
    void OpenLogin();

private:
    void Loaded(const CredentialsAnswer& answer);
    void Save();
    void Saved(const CredentialsAnswer& answer);
    void SetBusy(bool busy, const QString& note);

    QLineEdit* login_;
    QLineEdit* password_;
    QLabel* note_;
    QPushButton* save_;
    std::function<void(Action)> run_;
};

}  // namespace vantrel
