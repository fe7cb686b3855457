#include "net/release_check.h"

#include <algorithm>
#include <system_error>

#include "base/file_io.h"
#include "base/release_version.h"

namespace vantrel {

FetchSettings ReleaseFetchSettings(FetchSettings base) {
    base.userAgent = "Mozilla 5.0 compatible";
    base.accept = "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
    base.maxRedirects = 0;
    base.maxBytes = std::min<qint64>(base.maxBytes, 64 * 1024);
    return base;
}

std::unique_ptr<HttpsFetch> FetchReleaseVersion(QNetworkAccessManager& network,
                                                const std::string& url,
                                                const std::filesystem::path& viewerFolder,
                                                const FetchSettings& base,
                                                std::function<void(const ReleaseVersion&)> done) {
    const std::filesystem::path file = viewerFolder / kReleaseVersionFile;
    std::error_code ec;
    std::filesystem::remove(file, ec);
    return FetchToMemory(
        network, QUrl(QString::fromStdString(url), QUrl::StrictMode), ReleaseFetchSettings(base),
        [file, done = std::move(done)](const FetchResult& fetched) {
            ReleaseVersion release;
            if (!fetched.ok) {
                release.error = fetched.error;
            } else {
                const std::string body = fetched.body.toStdString();
                release.version = TrimReleaseBody(body);
                if (!LooksLikeVersionText(release.version)) {
                    release.error = "the answer from " + fetched.finalUrl.toString().toStdString() +
                                    " is not a version text";
                    release.version.clear();
                } else {
                    release.ok = true;
                    std::string line = body;
                    if (!line.ends_with('\n')) line += "\r\n";
                    std::string error;
                    if (!WriteFileAtomic(file, line, &error)) release.error = error;
                }
            }
            done(release);
        });
}

}  // namespace vantrel
