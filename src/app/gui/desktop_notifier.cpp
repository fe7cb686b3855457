#include "app/gui/desktop_notifier.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QUrl>
#include <QVariantMap>

#ifdef VANTREL_HAVE_MULTIMEDIA
#include <QSoundEffect>
#endif

namespace vantrel {

DesktopNotifier::DesktopNotifier(QObject* parent) : QObject(parent) {
#ifdef VANTREL_HAVE_MULTIMEDIA
    sound_ = new QSoundEffect(this);
    sound_->setSource(QUrl(QStringLiteral("qrc:/sounds/alert.wav")));
    sound_->setVolume(0.6f);
#endif
}

DesktopNotifier::~DesktopNotifier() = default;

void DesktopNotifier::Notify(const std::string& title, const std::string& text) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                                       QStringLiteral("/org/freedesktop/Notifications"),
                                                       QStringLiteral("org.freedesktop.Notifications"),
                                                       QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("io.github.vantrel.Vantrel"));
    hints.insert(QStringLiteral("category"), QStringLiteral("im.received"));
    // app name, replaces id, icon, summary, body, actions, hints, timeout (ms)
    call << QStringLiteral("Vantrel") << 0u << QStringLiteral("io.github.vantrel.Vantrel")
         << QString::fromStdString(title) << QString::fromStdString(text) << QStringList() << hints << 10000;
    // Without waiting for the answer: the window goes on at once.
    bus.asyncCall(call);
}

void DesktopNotifier::PlaySound() {
#ifdef VANTREL_HAVE_MULTIMEDIA
    if (sound_) sound_->play();
#else
    QApplication::beep();
#endif
}

}  // namespace vantrel
