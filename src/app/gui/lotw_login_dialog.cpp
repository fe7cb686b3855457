#include "app/gui/lotw_login_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/engine/lotw_part.h"

namespace vantrel {

LotwLoginDialog::LotwLoginDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("LotwLoginDialog"));
    setWindowTitle(QStringLiteral("LoTW login"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    login_ = new QLineEdit(this);
    login_->setObjectName(QStringLiteral("LotwLogin"));
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("LotwPassword"));
    password_->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Login:"), login_);
    form->addRow(QStringLiteral("Password:"), password_);
    layout->addLayout(form);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("LotwLoginNote"));
    note_->setWordWrap(true);
    layout->addWidget(note_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    save_ = buttons->button(QDialogButtonBox::Save);
    save_->setObjectName(QStringLiteral("LotwLoginSave"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &LotwLoginDialog::Save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setMinimumWidth(420);
}

void LotwLoginDialog::OpenLogin() {
    login_->clear();
    password_->clear();
    SetBusy(true, QStringLiteral("Reading the secret store\u2026"));
    show();
    raise();
    activateWindow();
    if (!run_) return;
    QPointer<LotwLoginDialog> self(this);
    run_([self](LotwPart& part) {
        part.LoadCredentials([self](CredentialsAnswer answer) {
            if (self) self->Loaded(answer);
        });
    });
}

void LotwLoginDialog::Loaded(const CredentialsAnswer& answer) {
    if (!answer.ok) {
        SetBusy(false, QString::fromStdString(answer.problem));
        return;
    }
    login_->setText(QString::fromStdString(answer.credentials.login));
    password_->setText(QString::fromStdString(answer.credentials.password));
    SetBusy(false, answer.credentials.Complete()
                       ? QStringLiteral("Kept in the desktop's secret store.")
                       : QStringLiteral("The login and password are kept in the desktop's secret store."));
}

void LotwLoginDialog::Save() {
    const LotwLogin credentials{login_->text().trimmed().toStdString(), password_->text().toStdString()};
    if (!credentials.Complete()) {
        note_->setText(QStringLiteral("Enter both the login and the password."));
        return;
    }
    if (!run_) return;
    SetBusy(true, QStringLiteral("Saving\u2026"));
    QPointer<LotwLoginDialog> self(this);
    run_([self, credentials](LotwPart& part) {
        part.SaveCredentials(credentials, [self](CredentialsAnswer answer) {
            if (self) self->Saved(answer);
        });
    });
}

void LotwLoginDialog::Saved(const CredentialsAnswer& answer) {
    if (!answer.ok) {
        SetBusy(false, QString::fromStdString(answer.problem));
        return;
    }
    SetBusy(false, QString());
    accept();
}

void LotwLoginDialog::SetBusy(bool busy, const QString& note) {
    login_->setEnabled(!busy);
    password_->setEnabled(!busy);
    save_->setEnabled(!busy);
    note_->setText(note);
    adjustSize();  // room for every line of the note
}

}  // namespace vantrel
