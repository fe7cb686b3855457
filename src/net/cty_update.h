// The country file update: the publisher's cty.dat fetched into new-cty.dat in the viewer
// folder, checked, installed over cty.dat in the viewer's and WSJT-X's folders and flattened
// into ctybasic.txt, with the new country table handed over for the lookups.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "jobs/background_job.h"
#include "geo/country_file_update.h"
#include "geo/country_lookup.h"
#include "net/https_fetch.h"

namespace vantrel {

struct CtyUpdateInputs {
    std::string url;
    std::filesystem::path viewerFolder;
    std::filesystem::path wsjtxFolder;
    FetchSettings fetch;  // time-outs, size limit and TLS; the headers are set here
    CountryFileRules rules;
};

struct CtyUpdateResult {
    bool installed = false;       // the viewer's cty.dat replaced and the table rebuilt
    bool wsjtxInstalled = false;  // WSJT-X's cty.dat replaced too
    std::int64_t bytes = 0;
    std::size_t entities = 0;
    // Why nothing was installed (both cty.dat files are as they were), or, with `installed`,
    // what was left undone.
    std::string problem;
    std::unique_ptr<CountryTable> table;  // the new country table, when installed
};

// The fetch settings of the country file: its own headers; limits and TLS as in `base`.
FetchSettings CountryFileFetchSettings(FetchSettings base);

// One update: the download on the event loop, then the check, the installs and the new table on
// a worker thread, so the window never waits for a large file. `done` runs once, from the event
// loop, never inside the constructor; the update may be deleted from within it.
class CtyDatUpdate {
public:
    using Done = std::function<void(CtyUpdateResult)>;
    CtyDatUpdate(QNetworkAccessManager& network, CtyUpdateInputs inputs, Done done);
    // Before the download has ended nothing is installed; an install already under way is
    // finished (both files and ctybasic.txt stay consistent) and its result dropped.
    ~CtyDatUpdate();
    CtyDatUpdate(const CtyDatUpdate&) = delete;
    CtyDatUpdate& operator=(const CtyDatUpdate&) = delete;

    bool Running() const { return running_; }

private:
    void Downloaded(const FetchResult& fetched);
    void Finish(CtyUpdateResult result);

    CtyUpdateInputs inputs_;
    Done done_;
    std::unique_ptr<HttpsFetch> fetch_;
    BackgroundJob<std::shared_ptr<CtyUpdateResult>> install_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool running_ = true;
};

// Starts "Update CTY.DAT file" into the viewer folder.
std::unique_ptr<CtyDatUpdate> UpdateCtyDat(QNetworkAccessManager& network,
                                           const CtyUpdateInputs& inputs,
                                           CtyDatUpdate::Done done);

}  // namespace vantrel
