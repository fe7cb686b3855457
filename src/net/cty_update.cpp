#include "net/cty_update.h"

#include <QTimer>

namespace vantrel {

FetchSettings CountryFileFetchSettings(FetchSettings base) {
    base.userAgent =
        "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0; MAAU)";
    base.accept = "*";
    return base;
}

CtyDatUpdate::CtyDatUpdate(QNetworkAccessManager& network, CtyUpdateInputs inputs, Done done)
    : inputs_(std::move(inputs)), done_(std::move(done)) {
    fetch_ = DownloadToFile(network, QUrl(QString::fromStdString(inputs_.url), QUrl::StrictMode),
                            inputs_.viewerFolder / kNewCountryFile,
                            CountryFileFetchSettings(inputs_.fetch),
                            [this](const FetchResult& fetched) { Downloaded(fetched); });
}

CtyDatUpdate::~CtyDatUpdate() {
    *alive_ = false;
    install_.Cancel();
}

void CtyDatUpdate::Downloaded(const FetchResult& fetched) {
    if (!fetched.ok) {
        CtyUpdateResult result;
        result.problem = fetched.error;
        Finish(std::move(result));
        return;
    }
    install_.Start(
        [inputs = inputs_](const std::atomic<bool>&, const auto&) {
            auto result = std::make_shared<CtyUpdateResult>();
            CountryFileInstall install = InstallCountryFile(
                inputs.viewerFolder / kNewCountryFile, inputs.viewerFolder, inputs.wsjtxFolder,
                inputs.rules);
            result->installed = install.installed;
            result->wsjtxInstalled = install.wsjtxInstalled;
            result->bytes = install.bytes;
            result->entities = install.entities;
            result->problem = std::move(install.problem);
            if (install.table)
                result->table = std::make_unique<CountryTable>(std::move(*install.table));
            return result;
        },
        [](int) {},
        [this](std::shared_ptr<CtyUpdateResult> result) { Finish(std::move(*result)); });
}

void CtyDatUpdate::Finish(CtyUpdateResult result) {
    running_ = false;
    // Handed over from the event loop itself, so the owner may delete this update in `done`.
    auto shared = std::make_shared<CtyUpdateResult>(std::move(result));
    QTimer::singleShot(0, [alive = std::weak_ptr<bool>(alive_), this, shared] {
        const auto stillAlive = alive.lock();
        if (!stillAlive || !*stillAlive) return;
        const Done done = std::move(done_);
        done_ = nullptr;
        if (done) done(std::move(*shared));
    });
}

std::unique_ptr<CtyDatUpdate> UpdateCtyDat(QNetworkAccessManager& network,
                                           const CtyUpdateInputs& inputs, CtyDatUpdate::Done done) {
    return std::make_unique<CtyDatUpdate>(network, inputs, std::move(done));
}

}  // namespace vantrel
