// One HTTPS GET, asynchronous, into a file or into memory. Only https addresses are fetched,
// over TLS 1.2 or later with the server's certificate checked against the trust store of the
// TLS settings (the system's by default). Redirects are followed up to a limit, never to a plain
// http address and never round a loop. A fetch ends with a failure when nothing arrives for the
// time-out, when the body grows past the size limit, when the transfer is cut or when the server
// answers with an error status; a failed fetch into a file leaves no file behind.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QNetworkAccessManager;
class QNetworkReply;
class QSslError;

namespace vantrel {

// The system's trust store, TLS 1.2 or later, the peer's certificate verified.
QSslConfiguration DefaultTlsConfiguration();

struct FetchSettings {
    std::chrono::milliseconds timeout{30000};        // nothing received for this long
    std::chrono::milliseconds totalTimeout{300000};  // the whole fetch, however slow
    qint64 maxBytes = 20 * 1024 * 1024;
    int maxRedirects = 10;  // 0: a redirect is an answer of its own, and a failure
    QSslConfiguration tls = DefaultTlsConfiguration();
    QByteArray userAgent;
    QByteArray accept = "*/*";
};

struct FetchResult {
    bool ok = false;
    std::string error;  // why the fetch failed, one line for a trace or a message
    qint64 bytes = 0;   // body bytes received
    int status = 0;     // the final HTTP status, 0 when none came
    QUrl finalUrl;      // after redirects
    QByteArray body;    // fetches into memory only
};

class HttpsFetch : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const FetchResult&)>;

    enum class Into { File, Memory };

    // Starts at once. `done` runs once, from the event loop, never from inside this call; the
    // fetch may be deleted from within it.
    HttpsFetch(QNetworkAccessManager& network, const QUrl& url, Into into,
               std::filesystem::path file, FetchSettings settings, Done done);
    // A fetch still running is abandoned without calling `done`.
    ~HttpsFetch() override;

    bool Running() const { return !finished_; }
    const FetchResult& Result() const { return result_; }

signals:
    // Body bytes received so far, of `total` (-1 while the server has not said how many).
    void progress(qint64 received, qint64 total);
    // Just before `done` runs; its receivers must not delete the fetch.
    void finished();

private:
    void Start(const QUrl& url);
    bool PrepareFile();
    void Touch();
    void OnReadyRead();
    void OnMetaData();
    void OnRedirected(const QUrl& to);
    void OnSslErrors(const QList<QSslError>& errors);
    void OnFinished();
    void Fail(const std::string& why);
    void Succeed();
    void End();
    void Deliver();
    void DropReply();

    QNetworkAccessManager& network_;
    bool toFile_;
    std::filesystem::path path_;
    FetchSettings settings_;
    Done done_;
    QPointer<QNetworkReply> reply_;
    QFile file_;
    QTimer idle_, total_;
    QUrl current_;
    QSet<QUrl> visited_;
    std::string sslProblems_;
    FetchResult result_;
    bool finished_ = false;
    bool created_ = false;  // the file is ours to remove on a failure
    qint64 announced_ = -1;  // the body's length as the server announced it
};

// Fetches `url` into the file `path`, replacing a file already there (read-only or not).
std::unique_ptr<HttpsFetch> DownloadToFile(QNetworkAccessManager& network, const QUrl& url,
                                           const std::filesystem::path& path,
                                           const FetchSettings& settings, HttpsFetch::Done done);
// Fetches `url` into memory (FetchResult::body).
std::unique_ptr<HttpsFetch> FetchToMemory(QNetworkAccessManager& network, const QUrl& url,
                                          const FetchSettings& settings, HttpsFetch::Done done);

}  // namespace vantrel
