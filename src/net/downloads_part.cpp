#include "net/downloads_part.h"

#include "base/release_version.h"
#include "geo/country_file.h"
#include "net/release_check.h"

namespace vantrel {

namespace {

constexpr const char* kCtyCaption = "CTY.DAT Update";

}  // namespace

DownloadsPart::DownloadsPart(DownloadsInputs inputs, DownloadsView& view)
    : inputs_(std::move(inputs)), view_(view) {}

DownloadsPart::~DownloadsPart() {
    // The fetches go before the network they run on.
    ctyUpdate_.reset();
    releaseFetch_.reset();
}

QNetworkAccessManager& DownloadsPart::Network() {
    if (!network_) network_ = std::make_unique<QNetworkAccessManager>();
    return *network_;
}

void DownloadsPart::Trace(const std::string& label, const std::string& text) {
    if (inputs_.trace) inputs_.trace(label, text);
}

void DownloadsPart::UpdateCtyDat() {
    if (ctyUpdate_) {
        view_.ShowStatus("CTY.DAT is being downloaded already");
        return;
    }
    const CtyUpdateInputs update{inputs_.addresses.countryFile, inputs_.viewerFolder,
                                 inputs_.wsjtxFolder, inputs_.fetch, inputs_.rules};
    Trace(" CTY.DAT ", "fetching " + update.url);
    view_.ShowStatus("Fetching CTY.DAT from " + update.url);
    ctyUpdate_ = vantrel::UpdateCtyDat(Network(), update, [this](CtyUpdateResult result) {
        CtyUpdateEnded(std::move(result));
    });
}

void DownloadsPart::CtyUpdateEnded(CtyUpdateResult result) {
    ctyUpdate_.reset();
    if (!result.installed) {
        Trace(" CTY.DAT ** ", "not installed: " + result.problem);
        view_.ShowStatus("CTY.DAT not updated: " + result.problem);
        view_.ShowMessage(kCtyCaption, "CTY.DAT was not updated: " + result.problem +
                                           ".\nBoth cty.dat files are unchanged.");
        return;
    }
    Trace(" CTY.DAT ", "installed: " + std::to_string(result.bytes) + " bytes, " +
                           std::to_string(result.entities) + " entities" +
                           (result.wsjtxInstalled ? ", in both folders" : ", in the viewer folder"));
    if (result.table && inputs_.countryTableReloaded)
        inputs_.countryTableReloaded(std::move(result.table));
    const CountryFileAge age = CheckCountryFileAge(
        FileModificationTime(inputs_.viewerFolder / kCountryFile), inputs_.now());
    view_.ShowCountryFileAge(age.text, age.tooOld);
    if (!result.problem.empty()) Trace(" CTY.DAT ** ", result.problem);
    if (result.wsjtxInstalled && result.problem.empty()) {
        view_.ShowStatus("CTY.DAT updated");
        view_.ShowMessage(kCtyCaption, "CTY.DAT updated in both the Vantrel and WSJT-X folders.");
    } else if (result.wsjtxInstalled) {
        view_.ShowStatus("CTY.DAT updated; " + result.problem);
        view_.ShowMessage(kCtyCaption, "CTY.DAT updated in both the Vantrel and WSJT-X folders, "
                                       "but " + result.problem + ".");
    } else {
        view_.ShowStatus("CTY.DAT updated in the Vantrel folder only");
        view_.ShowMessage(kCtyCaption, "CTY.DAT updated in the Vantrel folder only: " +
                                           result.problem + ".");
    }
}

void DownloadsPart::StartReleaseCheck(bool noVersionCheck) {
    if (noVersionCheck) {
        Trace(" Release ", "check skipped (/NVC)");
        return;
    }
    const std::string& url = inputs_.addresses.releaseVersion;
    if (url.empty()) {
        Trace(" Release ", "check skipped: this build has no release address");
        return;
    }
    if (releaseFetch_) return;
    releaseFetch_ = FetchReleaseVersion(
        Network(), url, inputs_.viewerFolder, inputs_.fetch, [this](const ReleaseVersion& release) {
            releaseFetch_.reset();
            if (!release.ok) {
                Trace(" Release ** ", "check failed: " + release.error);
                view_.ShowStatus("Release check failed: " + release.error);
                return;
            }
            latestRelease_ = release.version;
            if (!release.error.empty()) Trace(" Release ** ", release.error);
            if (ReleaseDiffers(release.version, inputs_.versionText)) {
                Trace(" Release ", "latest release " + release.version + ", this is " +
                                       inputs_.versionText);
                view_.ShowMessage("Version error", "This Vantrel version is not the latest release..");
            } else {
                Trace(" Release ", "this is the latest release, " + release.version);
            }
        });
}

}  // namespace vantrel
