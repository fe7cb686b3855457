// Alerts on the desktop: a notification through the freedesktop notification service on the
// session bus (org.freedesktop.Notifications, Notify), and a short bundled sound. Without a
// session bus or a notification service the alert is only in the trace; without an audio output
// there is no sound.
#pragma once

#include <QObject>

#include <memory>
#include <string>

#include "base/services.h"

class QSoundEffect;

namespace vantrel {

class DesktopNotifier : public QObject, public Notifier {
    Q_OBJECT
public:
    explicit DesktopNotifier(QObject* parent = nullptr);
    ~DesktopNotifier() override;
    void Notify(const std::string& title, const std::string& text) override;
    void PlaySound() override;

private:
    QSoundEffect* sound_ = nullptr;
};

}  // namespace vantrel
