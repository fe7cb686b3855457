#include "net/lotw_download.h"

#include <cctype>

namespace vantrel {

namespace {

std::string Query(const LotwLogin& credentials, const std::string& password, const std::string& since) {
    auto encoded = [](const std::string& value) {
        return QUrl::toPercentEncoding(QString::fromStdString(value)).toStdString();
    };
    std::string query = "login=" + encoded(credentials.login) + "&password=" + password +
                        "&qso_query=1&qso_qsl=yes&qso_qsldetail=yes";
    if (!since.empty()) query += "&qso_qslsince=" + encoded(since);
    return query;
}

std::string Joined(const std::string& base, const std::string& query) {
    return base + (base.find('?') == std::string::npos ? "?" : "&") + query;
}

}  // namespace

QUrl LotwReportUrl(const std::string& base, const LotwLogin& credentials, const std::string& since) {
    const std::string password = QUrl::toPercentEncoding(QString::fromStdString(credentials.password)).toStdString();
    return QUrl::fromEncoded(QByteArray::fromStdString(Joined(base, Query(credentials, password, since))),
                             QUrl::StrictMode);
}

std::string LotwReportUrlForTrace(const std::string& base, const LotwLogin& credentials, const std::string& since) {
    return Joined(base, Query(credentials, "*", since));
}

std::string SinceDate(const std::string& lastConfirmation) {
    if (lastConfirmation.size() < 10) return {};
    for (std::size_t i = 0; i < 10; ++i) {
        const bool dash = i == 4 || i == 7;
        if (dash ? lastConfirmation[i] != '-' : !std::isdigit(static_cast<unsigned char>(lastConfirmation[i])))
            return {};
    }
    return lastConfirmation.substr(0, 10);
}

FetchSettings LotwFetchSettings(FetchSettings base) {
    base.maxBytes = std::max<qint64>(base.maxBytes, qint64{1024} * 1024 * 1024);
    base.timeout = std::max(base.timeout, std::chrono::milliseconds(120000)) ;
    base.totalTimeout = std::max(base.totalTimeout, std::chrono::milliseconds(1800000));
    base.maxRedirects = 0;
    base.accept = "*/*";
    return base;
}

}  // namespace vantrel
