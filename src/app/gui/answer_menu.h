// The "WSJT-X" menu's options of answering WSJT-X: colouring its decodes, each kind of alert, the
// alert sound and the wanted calls. Each entry writes its option through the window's edit.
#pragma once

#include <QObject>

#include <functional>

#include "settings/options_model.h"

class QAction;
class QMenu;
class QWidget;

namespace vantrel {

class AnswerMenu : public QObject {
    Q_OBJECT
public:
    AnswerMenu(QMenu* menu, QWidget* dialogParent, std::function<void(OptionsEdit)> edit);
    // Shows the options as they stand (without editing them again).
    void Apply(const AnswerOptions& options);

private:
    QAction* Check(QMenu* menu, const char* text, const char* name, bool AnswerOptions::*value);
    void EditWanted();

    QWidget* dialogParent_;
    std::function<void(OptionsEdit)> edit_;
    QAction *highlight_ = nullptr, *newCountry_ = nullptr, *newOnBand_ = nullptr, *wanted_ = nullptr,
            *sound_ = nullptr;
    QString wantedCalls_;
    bool applying_ = false;
};

}  // namespace vantrel
