#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTimer>

#include <qt6keychain/keychain.h>

#include "net/secret_store.h"

namespace vantrel {

namespace {

constexpr const char* kService = "Vantrel";

// Why the desktop has no store to ask: no session bus, or no Secret Service or KWallet on it
// (running or started on demand). Empty when there is one.
std::string MissingStore() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return "no D-Bus session bus (DBUS_SESSION_BUS_ADDRESS is not set)";
    QDBusConnectionInterface* services = bus.interface();
    if (!services) return {};
    const QStringList running = services->registeredServiceNames().value();
    const QStringList startable = services->activatableServiceNames().value();
    for (const char* name : {"org.freedesktop.secrets", "org.kde.kwalletd6", "org.kde.kwalletd5", "org.kde.kwalletd"})
        if (running.contains(QLatin1String(name)) || startable.contains(QLatin1String(name))) return {};
    return "neither a Secret Service (GNOME Keyring, KeePassXC) nor KWallet is on the session bus";
}

SecretAnswer Answer(const QKeychain::Job& job) {
    SecretAnswer answer;
    answer.error = job.errorString().toStdString();
    switch (job.error()) {
        case QKeychain::NoError:
            answer.status = SecretAnswer::Status::Ok;
            break;
        case QKeychain::EntryNotFound:
            answer.status = SecretAnswer::Status::Missing;
            break;
        case QKeychain::NoBackendAvailable:
        case QKeychain::NotImplemented:
            answer.status = SecretAnswer::Status::NoStore;
            break;
        default:
            // Without a session bus or a store on it, the library reports an "unknown error":
            // there is no store to ask, which is what the operator must hear.
            answer.status = SecretAnswer::Status::Failed;
            if (const std::string missing = MissingStore(); !missing.empty()) {
                answer.status = SecretAnswer::Status::NoStore;
                answer.error = missing;
            }
    }
    return answer;
}

// Always from the event loop, whether the library answered at once or later.
void Deliver(const SecretStore::Done& done, SecretAnswer answer) {
    QTimer::singleShot(0, [done, answer = std::move(answer)] { done(answer); });
}

class KeychainSecretStore : public SecretStore {
public:
    void Read(const std::string& key, Done done) override {
        auto* job = new QKeychain::ReadPasswordJob(QString::fromLatin1(kService));
        job->setAutoDelete(true);
        job->setInsecureFallback(false);
        job->setKey(QString::fromStdString(key));
        QObject::connect(job, &QKeychain::Job::finished, [done = std::move(done)](QKeychain::Job* finished) {
            SecretAnswer answer = Answer(*finished);
            if (answer.status == SecretAnswer::Status::Ok)
                answer.value = static_cast<QKeychain::ReadPasswordJob*>(finished)->textData().toStdString();
            Deliver(done, std::move(answer));
        });
        job->start();
    }

    void Write(const std::string& key, const std::string& value, Done done) override {
        auto* job = new QKeychain::WritePasswordJob(QString::fromLatin1(kService));
        job->setAutoDelete(true);
        job->setInsecureFallback(false);
        job->setKey(QString::fromStdString(key));
        job->setTextData(QString::fromStdString(value));
        QObject::connect(job, &QKeychain::Job::finished,
                         [done = std::move(done)](QKeychain::Job* finished) { Deliver(done, Answer(*finished)); });
        job->start();
    }
};

}  // namespace

std::unique_ptr<SecretStore> MakeDesktopSecretStore() { return std::make_unique<KeychainSecretStore>(); }

}  // namespace vantrel
