#include "app/gui/answer_menu.h"

#include <QAction>
#include <QInputDialog>
#include <QMenu>

namespace vantrel {

AnswerMenu::AnswerMenu(QMenu* menu, QWidget* dialogParent, std::function<void(OptionsEdit)> edit)
    : QObject(menu), dialogParent_(dialogParent), edit_(std::move(edit)) {
    highlight_ = Check(menu, "Colour decodes in WSJT-X", "HighlightAction", &AnswerOptions::highlight);
    highlight_->setStatusTip(QStringLiteral("Colours the calls in WSJT-X's Band Activity by what the log says of them"));
    menu->addSeparator();
    newCountry_ = Check(menu, "Alert: new country", "AlertNewCountryAction", &AnswerOptions::alertNewCountry);
    newOnBand_ = Check(menu, "Alert: new country on this band", "AlertNewBandAction", &AnswerOptions::alertNewOnBand);
    wanted_ = Check(menu, "Alert: wanted call", "AlertWantedAction", &AnswerOptions::alertWanted);
    sound_ = Check(menu, "Alert sound", "AlertSoundAction", &AnswerOptions::alertSound);
    QAction* list = menu->addAction(QStringLiteral("Wanted calls..."));
    list->setObjectName(QStringLiteral("WantedCallsAction"));
    connect(list, &QAction::triggered, this, [this] { EditWanted(); });
}

QAction* AnswerMenu::Check(QMenu* menu, const char* text, const char* name, bool AnswerOptions::*value) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setObjectName(QString::fromUtf8(name));
    action->setCheckable(true);
    connect(action, &QAction::toggled, this, [this, value](bool on) {
        if (!applying_) edit_([value, on](StoredOptions& options) { options.answers.*value = on; });
    });
    return action;
}

void AnswerMenu::EditWanted() {
    // Without a loop of its own: the program goes on while the dialog is open.
    auto* dialog = new QInputDialog(dialogParent_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("Wanted calls"));
    dialog->setLabelText(QStringLiteral("Callsigns that raise an alert when decoded (separated by blanks):"));
    dialog->setTextValue(wantedCalls_);
    connect(dialog, &QInputDialog::textValueSelected, this, [this](const QString& text) {
        const std::string calls = text.simplified().toStdString();
        edit_([calls](StoredOptions& options) { options.answers.wanted = calls; });
    });
    dialog->open();
}

void AnswerMenu::Apply(const AnswerOptions& options) {
    applying_ = true;
    highlight_->setChecked(options.highlight);
    newCountry_->setChecked(options.alertNewCountry);
    newOnBand_->setChecked(options.alertNewOnBand);
    wanted_->setChecked(options.alertWanted);
    sound_->setChecked(options.alertSound);
    wantedCalls_ = QString::fromStdString(options.wanted);
    applying_ = false;
}

}  // namespace vantrel
