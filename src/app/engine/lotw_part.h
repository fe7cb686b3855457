// "Download LoTW confirmations": the confirmations received since the last download, fetched from
// the service with the operator's login from the secret store, checked (a web page in place of a
// report, or a report cut short, changes nothing) and merged into confirmations.adi on a thread
// of its own. The merged store replaces the confirmations model, which tells the award tables.
// The since-date is the latest confirmation held, so a failed or cut download is simply asked
// for again.
#pragma once

#include <QNetworkAccessManager>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/engine/confirmations_model.h"
#include "app/engine/views.h"
#include "jobs/background_job.h"
#include "net/https_fetch.h"
#include "net/lotw_credentials.h"

namespace vantrel {

struct LotwPartInputs {
    std::filesystem::path viewerFolder;
    std::string reportUrl;  // the report address without its query
    FetchSettings fetch;    // time-outs and TLS; the report's own limits are set here
    SecretStore& secrets;
    // Given (scripts, from the environment): used as they are, the store is not asked.
    std::optional<LotwLogin> credentials;
    std::function<void(const std::string& label, const std::string& text)> trace;
};

// How a download ended.
struct LotwOutcome {
    bool ok = false;
    std::string problem;       // without `ok`: what went wrong, one sentence for the operator
    std::size_t received = 0;  // confirmations in the report
    std::size_t added = 0;     // of them new
    std::size_t held = 0;      // confirmations held after the merge
    std::string since;         // the since-date asked with; empty the first time
};

class LotwPart {
public:
    LotwPart(LotwPartInputs inputs, ConfirmationsModel& confirmations, NoticeView& notices);
    ~LotwPart();  // a download still running is abandoned; nothing is merged
    LotwPart(const LotwPart&) = delete;
    LotwPart& operator=(const LotwPart&) = delete;

    // File, "Download LoTW confirmations". A second request while one runs is noted and dropped.
    void Download();
    bool Running() const { return running_; }

    // The "LoTW login" dialog's reads and saves of the secret store.
    void LoadCredentials(LotwCredentials::Done done) { credentials_.Load(std::move(done)); }
    void SaveCredentials(LotwLogin login, LotwCredentials::Done done);

    // Told once per download, after it ended (the command line waits for it).
    std::function<void(const LotwOutcome&)> onFinished;

    static constexpr const char* kCaption = "LoTW download";

private:
    struct Merged;
    void WithCredentials(const LotwLogin& login);
    void Fetch(const LotwLogin& login);
    void Fetched(const FetchResult& fetched);
    void MergeEnded(std::shared_ptr<Merged> merged);
    void Finish(LotwOutcome outcome);
    void Trace(const std::string& text, bool problem = false);

    LotwPartInputs inputs_;
    ConfirmationsModel& confirmations_;
    NoticeView& notices_;
    LotwCredentials credentials_;
    std::unique_ptr<QNetworkAccessManager> network_;
    std::unique_ptr<HttpsFetch> fetch_;
    BackgroundJob<std::shared_ptr<Merged>> job_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::string since_;
    int shownPercent_ = -1;
    bool running_ = false;
};

}  // namespace vantrel
