#include "net/https_fetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>

#include <system_error>

namespace vantrel {

namespace fs = std::filesystem;

namespace {

std::string Text(const QString& text) { return text.toStdString(); }

std::string Megabytes(qint64 bytes) {
    constexpr qint64 kMB = 1024 * 1024;
    return bytes % kMB == 0 ? std::to_string(bytes / kMB) + " MB" : std::to_string(bytes) + " bytes";
}

std::string Duration(std::chrono::milliseconds time) {
    const auto ms = time.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

}  // namespace

QSslConfiguration DefaultTlsConfiguration() {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setProtocol(QSsl::TlsV1_2OrLater);
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    return tls;
}

HttpsFetch::HttpsFetch(QNetworkAccessManager& network, const QUrl& url, Into into, fs::path file,
                       FetchSettings settings, Done done)
    : network_(network), toFile_(into == Into::File), path_(std::move(file)),
      settings_(std::move(settings)), done_(std::move(done)) {
    idle_.setSingleShot(true);
    total_.setSingleShot(true);
    connect(&idle_, &QTimer::timeout, this, [this] {
        Fail("no answer from " + Text(current_.host()) + " within " + Duration(settings_.timeout));
    });
    connect(&total_, &QTimer::timeout, this, [this] {
        Fail("the transfer from " + Text(current_.host()) + " took longer than " +
             Duration(settings_.totalTimeout));
    });
    Start(url);
}

HttpsFetch::~HttpsFetch() {
    DropReply();
    if (!finished_ && created_) {
        file_.close();
        std::error_code ec;
        fs::remove(path_, ec);
    }
}

void HttpsFetch::Start(const QUrl& url) {
    current_ = url;
    result_.finalUrl = url;
    visited_.insert(url.adjusted(QUrl::NormalizePathSegments));
    if (!url.isValid() || url.scheme() != QLatin1String("https") || url.host().isEmpty()) {
        Fail("not an https address: \"" + Text(url.toString()) + "\"");
        return;
    }
    if (toFile_ && path_.empty()) {
        Fail("no file named to download into");
        return;
    }
    if (toFile_ && !PrepareFile()) return;

    QNetworkRequest request(url);
    request.setSslConfiguration(settings_.tls);
    if (settings_.maxRedirects > 0) {
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        request.setMaximumRedirectsAllowed(settings_.maxRedirects);
    } else {
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::ManualRedirectPolicy);
    }
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(0);  // the timers below keep time
    if (!settings_.userAgent.isEmpty()) request.setRawHeader("User-Agent", settings_.userAgent);
    if (!settings_.accept.isEmpty()) request.setRawHeader("Accept", settings_.accept);

    reply_ = network_.get(request);
    connect(reply_, &QNetworkReply::readyRead, this, &HttpsFetch::OnReadyRead);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &HttpsFetch::OnMetaData);
    connect(reply_, &QNetworkReply::redirected, this, &HttpsFetch::OnRedirected);
    connect(reply_, &QNetworkReply::sslErrors, this, &HttpsFetch::OnSslErrors);
    connect(reply_, &QNetworkReply::encrypted, this, &HttpsFetch::Touch);
    connect(reply_, &QNetworkReply::downloadProgress, this, &HttpsFetch::Touch);
    connect(reply_, &QNetworkReply::finished, this, &HttpsFetch::OnFinished);
    idle_.start(settings_.timeout);
    total_.start(settings_.totalTimeout);
}

bool HttpsFetch::PrepareFile() {
    // A file left read-only by an earlier run is replaced all the same: removing it needs no
    // write permission on the file itself.
    std::error_code ec;
    if (fs::exists(fs::symlink_status(path_, ec))) {
        if (!fs::remove(path_, ec) && ec) {
            Fail("cannot replace " + path_.string() + ": " + ec.message());
            return false;
        }
    }
    file_.setFileName(QFile::decodeName(path_.c_str()));
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        Fail("cannot create " + path_.string() + ": " + Text(file_.errorString()));
        return false;
    }
    created_ = true;
    return true;
}

void HttpsFetch::Touch() {
    if (!finished_) idle_.start(settings_.timeout);
}

void HttpsFetch::OnMetaData() {
    if (finished_ || !reply_) return;
    Touch();
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    announced_ = length.isValid() ? length.toLongLong() : -1;
    if (length.isValid() && length.toLongLong() > settings_.maxBytes)
        Fail("the answer would be " + std::to_string(length.toLongLong()) +
             " bytes, more than the limit of " + Megabytes(settings_.maxBytes));
}

void HttpsFetch::OnReadyRead() {
    if (finished_ || !reply_) return;
    Touch();
    const QByteArray data = reply_->readAll();
    if (data.isEmpty()) return;
    result_.bytes += data.size();
    if (result_.bytes > settings_.maxBytes) {
        Fail("the answer is larger than the limit of " + Megabytes(settings_.maxBytes));
        return;
    }
    if (!toFile_) {
        result_.body += data;
    } else if (file_.write(data) != data.size()) {
        Fail("cannot write " + path_.string() + ": " + Text(file_.errorString()));
        return;
    }
    emit progress(result_.bytes, announced_);
}

void HttpsFetch::OnRedirected(const QUrl& to) {
    if (finished_) return;
    Touch();
    const QUrl next = current_.resolved(to);
    const QUrl key = next.adjusted(QUrl::NormalizePathSegments);
    if (visited_.contains(key)) {
        Fail("redirect loop: " + Text(current_.toString()) + " leads back to " +
             Text(next.toString()));
        return;
    }
    visited_.insert(key);
    current_ = next;
    // Nothing of a redirect's own body belongs to the answer.
    result_.bytes = 0;
    result_.body.clear();
    if (toFile_) {
        file_.resize(0);
        file_.seek(0);
    }
}

void HttpsFetch::OnSslErrors(const QList<QSslError>& errors) {
    // The errors are not ignored: the handshake fails and they say why.
    for (const QSslError& error : errors) {
        if (!sslProblems_.empty()) sslProblems_ += "; ";
        sslProblems_ += Text(error.errorString());
    }
}

void HttpsFetch::OnFinished() {
    if (finished_ || !reply_) return;
    OnReadyRead();
    if (finished_) return;
    QNetworkReply& reply = *reply_;
    result_.status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result_.finalUrl = reply.url();
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    switch (reply.error()) {
        case QNetworkReply::NoError:
            break;
        case QNetworkReply::TooManyRedirectsError:
            Fail("more than " + std::to_string(settings_.maxRedirects) + " redirects from " +
                 Text(result_.finalUrl.toString()));
            return;
        case QNetworkReply::InsecureRedirectError:
            Fail("redirected from " + Text(current_.toString()) + " to an address without https");
            return;
        case QNetworkReply::SslHandshakeFailedError:
            Fail("the secure connection to " + Text(current_.host()) + " failed: " +
                 (sslProblems_.empty() ? Text(reply.errorString()) : sslProblems_));
            return;
        default:
            if (result_.status >= 400) {
                Fail(Text(current_.toString()) + " answered " + std::to_string(result_.status) +
                     " " +
                     Text(reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()));
            } else if (length.isValid() && result_.bytes < length.toLongLong()) {
                Fail("the transfer was cut after " + std::to_string(result_.bytes) + " of " +
                     std::to_string(length.toLongLong()) + " bytes");
            } else {
                Fail(Text(reply.errorString()));
            }
            return;
    }
    if (result_.status < 200 || result_.status > 299) {
        const QString location = reply.header(QNetworkRequest::LocationHeader).toString();
        Fail(Text(current_.toString()) + " answered " + std::to_string(result_.status) +
             (location.isEmpty() ? std::string() : " (to " + Text(location) + ")"));
        return;
    }
    if (length.isValid() && result_.bytes != length.toLongLong()) {
        Fail("the transfer was cut after " + std::to_string(result_.bytes) + " of " +
             std::to_string(length.toLongLong()) + " bytes");
        return;
    }
    if (result_.bytes == 0) {
        Fail(Text(current_.toString()) + " answered with nothing");
        return;
    }
    if (toFile_) {
        const bool flushed = file_.flush();
        file_.close();
        if (!flushed || file_.error() != QFile::NoError) {
            Fail("cannot write " + path_.string() + ": " + Text(file_.errorString()));
            return;
        }
    }
    Succeed();
}

void HttpsFetch::Fail(const std::string& why) {
    if (finished_) return;
    result_.ok = false;
    result_.error = why;
    result_.body.clear();
    DropReply();
    if (created_) {
        file_.close();
        std::error_code ec;
        fs::remove(path_, ec);
    }
    End();
}

void HttpsFetch::Succeed() {
    result_.ok = true;
    DropReply();
    End();
}

void HttpsFetch::End() {
    finished_ = true;
    idle_.stop();
    total_.stop();
    // Delivered from the event loop, so `done` never runs inside a call of its own caller and
    // may delete this fetch.
    QTimer::singleShot(0, [self = QPointer<HttpsFetch>(this)] {
        if (self) self->Deliver();
    });
}

void HttpsFetch::Deliver() {
    const Done done = std::move(done_);
    done_ = nullptr;
    const FetchResult result = result_;
    emit finished();
    if (done) done(result);  // may delete this fetch: nothing of it is touched afterwards
}

void HttpsFetch::DropReply() {
    if (!reply_) return;
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    reply->disconnect(this);
    if (reply->isRunning()) reply->abort();
    reply->deleteLater();
}

std::unique_ptr<HttpsFetch> DownloadToFile(QNetworkAccessManager& network, const QUrl& url,
                                           const fs::path& path, const FetchSettings& settings,
                                           HttpsFetch::Done done) {
    return std::make_unique<HttpsFetch>(network, url, HttpsFetch::Into::File, path, settings,
                                        std::move(done));
}

std::unique_ptr<HttpsFetch> FetchToMemory(QNetworkAccessManager& network, const QUrl& url,
                                          const FetchSettings& settings, HttpsFetch::Done done) {
    return std::make_unique<HttpsFetch>(network, url, HttpsFetch::Into::Memory, fs::path(),
                                        settings, std::move(done));
}

}  // namespace vantrel
