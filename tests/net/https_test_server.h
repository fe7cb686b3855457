// A small HTTPS server on the loopback address for the download tests. Its certificate is
// signed by a CA made for the tests only (tests/data/net); ClientTls() trusts that CA and
// nothing else. Each path answers as its Route says.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QHostAddress>
#include <QMap>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QUrl>

#include <functional>
#include <string>

#include "net/https_fetch.h"
#include "support/temp_folder.h"

namespace vantrel::test {

struct Route {
    enum class Mode {
        Answer,  // the whole answer
        Silent,  // reads the request, never answers
        Cut,     // announces the whole body, sends `cutAfter` bytes of it and closes
    };
    int status = 200;
    QByteArray body{};
    QByteArray location{};    // a Location header (redirects)
    bool sendLength = true;   // without Content-Length the body ends where the connection does
    Mode mode = Mode::Answer;
    qint64 cutAfter = 0;
    QByteArray encoding{};  // a Content-Encoding header (the body is then encoded already)
};

inline QByteArray ReadTestData(const char* name) {
    QFile file(QString::fromStdString((TestDataFolder() / "net" / name).string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class HttpsTestServer {
public:
    HttpsTestServer() {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(QSslCertificate(ReadTestData("test-server.pem")));
        tls.setPrivateKey(QSslKey(ReadTestData("test-server-key.pem"), QSsl::Ec));
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
        server_.setSslConfiguration(tls);
        QObject::connect(&server_, &QTcpServer::pendingConnectionAvailable, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) Serve(socket);
        });
        listening_ = server_.listen(QHostAddress::LocalHost, 0);
    }

    // Listening, with a TLS backend to serve by.
    bool Listening() const { return listening_ && QSslSocket::supportsSsl(); }
    QUrl Url(const QString& path) const {
        return QUrl(QStringLiteral("https://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
    }
    std::string Address(const QString& path) const { return Url(path).toString().toStdString(); }
    void Set(const QByteArray& path, Route route) { routes_[path] = std::move(route); }
    int Requests(const QByteArray& path) const { return requests_.value(path); }
    // The whole target of the last request whose path (before any "?") was `path`.
    QByteArray LastTarget(const QByteArray& path) const { return targets_.value(path); }
    const QByteArray& LastUserAgent() const { return userAgent_; }

    // Client settings that trust the test CA only, with short time-outs.
    static FetchSettings ClientSettings() {
        FetchSettings settings;
        QSslConfiguration tls = settings.tls;
        tls.setCaCertificates({QSslCertificate(ReadTestData("test-ca.pem"))});
        settings.tls = tls;
        settings.timeout = std::chrono::milliseconds(2000);
        return settings;
    }

private:
    void Serve(QTcpSocket* socket) {
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
            *buffer += socket->readAll();
            const qsizetype end = buffer->indexOf("\r\n\r\n");
            if (end < 0) return;
            const QList<QByteArray> lines = buffer->left(end).split('\n');
            buffer->clear();
            const QByteArray path = lines.value(0).split(' ').value(1);
            for (const QByteArray& line : lines)
                if (line.toLower().startsWith("user-agent:")) userAgent_ = line.mid(11).trimmed();
            ++requests_[path];
            // A path with a query answers as the path alone when it has no route of its own.
            const QByteArray bare = path.left(path.indexOf('?') < 0 ? path.size() : path.indexOf('?'));
            targets_[bare] = path;
            const Route missing{.status = 404, .body = "not here"};
            Answer(socket, routes_.value(path, routes_.value(bare, missing)));
        });
    }

    static void Answer(QTcpSocket* socket, const Route& route) {
        if (route.mode == Route::Mode::Silent) return;
        QByteArray head = "HTTP/1.1 " + QByteArray::number(route.status) + " " +
                          (route.status == 200 ? "OK" : route.status < 400 ? "Found" : "Not Found") +
                          "\r\nConnection: close\r\nContent-Type: text/plain\r\n";
        if (route.sendLength) head += "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n";
        if (!route.location.isEmpty()) head += "Location: " + route.location + "\r\n";
        if (!route.encoding.isEmpty()) head += "Content-Encoding: " + route.encoding + "\r\n";
        socket->write(head + "\r\n");
        socket->write(route.mode == Route::Mode::Cut ? route.body.left(route.cutAfter) : route.body);
        socket->disconnectFromHost();  // after the bytes written have gone out
    }

    QSslServer server_;
    bool listening_ = false;
    QMap<QByteArray, Route> routes_;
    QMap<QByteArray, int> requests_;
    QMap<QByteArray, QByteArray> targets_;
    QByteArray userAgent_;
};

// Runs the event loop until `done` holds or the time is up; false when it is up.
inline bool WaitUntil(const std::function<bool()>& done, int milliseconds = 10000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

}  // namespace vantrel::test
