// The downloads of the running program: "Update CTY.DAT file" and the release check of the
// start-up. Both run in the background of the event loop; the window stays responsive and the
// part reports through its view when they end.
#pragma once

#include <QNetworkAccessManager>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "base/time_text.h"
#include "geo/country_file_update.h"
#include "geo/country_lookup.h"
#include "net/cty_update.h"
#include "net/download_addresses.h"
#include "net/https_fetch.h"

namespace vantrel {

class DownloadsView {
public:
    virtual ~DownloadsView() = default;
    // A message box with a caption and an OK button.
    virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
    // A short note for the status line.
    virtual void ShowStatus(const std::string& text) = 0;
    // The date of cty.dat under the callsign list; red when too old.
    virtual void ShowCountryFileAge(const std::string& text, bool tooOld) = 0;
};

// A line for the trace list: its label (" CTY.DAT ", " Release ", with "** " on a failure) and
// its text.
using TraceSink = std::function<void(const std::string& label, const std::string& text)>;

struct DownloadsInputs {
    std::filesystem::path viewerFolder;
    std::filesystem::path wsjtxFolder;
    std::string versionText;  // the program's own, for the release check
    TraceSink trace;
    // The country table of a newly installed cty.dat; the lookups take it from here on.
    std::function<void(std::unique_ptr<CountryTable>)> countryTableReloaded;
    std::function<TimePoint()> now = [] { return std::chrono::system_clock::now(); };
    DownloadAddresses addresses = DownloadAddresses::FromBuildAndEnvironment();
    FetchSettings fetch;  // time-outs, size limit, TLS (tests trust their own server here)
    CountryFileRules rules;
};

class DownloadsPart {
public:
    DownloadsPart(DownloadsInputs inputs, DownloadsView& view);
    ~DownloadsPart();  // a download still running is abandoned; nothing is installed
    DownloadsPart(const DownloadsPart&) = delete;
    DownloadsPart& operator=(const DownloadsPart&) = delete;

    // "Update CTY.DAT file". A second request while one runs is noted and dropped.
    void UpdateCtyDat();
    // The release check of the start-up; skipped with "/NVC" or without a release address.
    void StartReleaseCheck(bool noVersionCheck);

    bool CtyUpdateRunning() const { return ctyUpdate_ != nullptr; }
    bool ReleaseCheckRunning() const { return releaseFetch_ != nullptr; }
    // The latest release's version text as last fetched; empty before.
    const std::string& LatestRelease() const { return latestRelease_; }

private:
    QNetworkAccessManager& Network();
    void CtyUpdateEnded(CtyUpdateResult result);
    void Trace(const std::string& label, const std::string& text);

    DownloadsInputs inputs_;
    DownloadsView& view_;
    std::unique_ptr<QNetworkAccessManager> network_;
    std::unique_ptr<CtyDatUpdate> ctyUpdate_;
    std::unique_ptr<HttpsFetch> releaseFetch_;
    std::string latestRelease_;
};

}  // namespace vantrel
