#include "app/engine/lotw_part.h"

#include <system_error>

#include "base/file_io.h"
#include "net/lotw_download.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kProgressTitle = "Downloading LoTW confirmations";

std::string Confirmations(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " confirmation" : " confirmations");
}

bool MentionsLogin(const std::string& page) {
    std::string lower(page.substr(0, 20000));
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("password") != std::string::npos || lower.find("login") != std::string::npos ||
           lower.find("username") != std::string::npos;
}

LotwOutcome Failure(std::string problem, std::size_t received = 0) {
    LotwOutcome outcome;
    outcome.problem = std::move(problem);
    outcome.received = received;
    return outcome;
}

}  // namespace

// What the thread hands back: the store read (and merged into), or why nothing was changed.
struct LotwPart::Merged {
    std::optional<ConfirmationStore> store;
    bool loadOnly = false;
    std::string problem;
    std::size_t received = 0;
    ConfirmationMerge merge;
};

LotwPart::LotwPart(LotwPartInputs inputs, ConfirmationsModel& confirmations, NoticeView& notices)
    : inputs_(std::move(inputs)), confirmations_(confirmations), notices_(notices), credentials_(inputs_.secrets) {}

LotwPart::~LotwPart() {
    *alive_ = false;
    job_.Cancel();
    fetch_.reset();  // before the network it runs on
    std::error_code ec;
    if (running_) fs::remove(inputs_.viewerFolder / kLotwDownloadFile, ec);
}

void LotwPart::Trace(const std::string& text, bool problem) {
    if (inputs_.trace) inputs_.trace(problem ? " LoTW ** " : " LoTW ", text);
}

void LotwPart::SaveCredentials(LotwLogin login, LotwCredentials::Done done) {
    credentials_.Save(std::move(login), [this, alive = std::weak_ptr<bool>(alive_), done = std::move(done)](
                                            CredentialsAnswer answer) {
        if (const auto live = alive.lock(); live && *live)
            Trace(answer.ok ? "login saved in the secret store" : answer.problem, !answer.ok);
        done(std::move(answer));
    });
}

void LotwPart::Download() {
    if (running_) {
        notices_.ShowStatus("LoTW confirmations are being downloaded already");
        return;
    }
    running_ = true;
    shownPercent_ = -1;
    since_.clear();
    notices_.SetProgressTitle(kProgressTitle);
    notices_.ShowProgress(true, 0);
    if (inputs_.credentials) {
        WithCredentials(*inputs_.credentials);
        return;
    }
    notices_.ShowStatus("LoTW: reading the login from the secret store");
    credentials_.Load([this, alive = std::weak_ptr<bool>(alive_)](CredentialsAnswer answer) {
        const auto live = alive.lock();
        if (!live || !*live) return;
        if (!answer.ok) {
            Finish(Failure(answer.problem));
        } else if (!answer.credentials.Complete()) {
            Finish(Failure("No LoTW login yet: enter it with File, \"LoTW login\u2026\""));
        } else {
            WithCredentials(answer.credentials);
        }
    });
}

void LotwPart::WithCredentials(const LotwLogin& login) {
    if (confirmations_.Loaded()) {
        Fetch(login);
        return;
    }
    // The since-date is in the file: read it first (off this thread, it may be large).
    job_.Start(
        [store = confirmations_.Copy()](const std::atomic<bool>&, const auto&) mutable {
            auto merged = std::make_shared<Merged>();
            merged->loadOnly = true;
            std::string error;
            if (store.Load(&error)) merged->store = std::move(store);
            else merged->problem = "confirmations.adi cannot be read: " + error;
            return merged;
        },
        [](int) {},
        [this, login](std::shared_ptr<Merged> merged) {
            if (!merged->store) {
                Finish(Failure(merged->problem));
                return;
            }
            confirmations_.TakeLoaded(std::move(*merged->store));
            Fetch(login);
        });
}

void LotwPart::Fetch(const LotwLogin& login) {
    since_ = SinceDate(confirmations_.Copy().LastLotwQsl());
    Trace("fetching " + LotwReportUrlForTrace(inputs_.reportUrl, login, since_));
    notices_.ShowStatus(since_.empty() ? "LoTW: fetching every confirmation"
                                       : "LoTW: fetching the confirmations since " + since_);
    if (!network_) network_ = std::make_unique<QNetworkAccessManager>();
    fetch_ = DownloadToFile(*network_, LotwReportUrl(inputs_.reportUrl, login, since_),
                            inputs_.viewerFolder / kLotwDownloadFile, LotwFetchSettings(inputs_.fetch),
                            [this](const FetchResult& fetched) { Fetched(fetched); });
    QObject::connect(fetch_.get(), &HttpsFetch::progress, [this](qint64 received, qint64 total) {
        const int percent = total > 0 ? static_cast<int>(received * 100 / total) : 0;
        if (percent == shownPercent_) return;
        shownPercent_ = percent;
        notices_.ShowProgress(true, percent);
    });
}

void LotwPart::Fetched(const FetchResult& fetched) {
    fetch_.reset();  // delivered from the event loop: the fetch may go now
    if (!fetched.ok) {
        Finish(Failure("the download failed: " + fetched.error));
        return;
    }
    Trace("received " + std::to_string(fetched.bytes) + " bytes");
    notices_.ShowStatus("LoTW: checking and merging the report");
    job_.Start(
        [file = inputs_.viewerFolder / kLotwDownloadFile, store = confirmations_.Copy(),
         loaded = confirmations_.Loaded()](const std::atomic<bool>& cancelled, const auto&) mutable {
            auto merged = std::make_shared<Merged>();
            std::string error;
            const std::optional<std::string> bytes = ReadWholeFile(file, &error);
            std::error_code ec;
            fs::remove(file, ec);
            if (!bytes) {
                merged->problem = "the downloaded report cannot be read: " + error;
                return merged;
            }
            const LotwReport report = ParseLotwReport(*bytes);
            if (!report.Ok()) {
                if (report.status == LotwReport::Status::HtmlPage && MentionsLogin(*bytes))
                    merged->problem = "LoTW did not accept the login or password (it answered with a web page: " +
                                      report.problem + ")";
                else if (report.status == LotwReport::Status::HtmlPage)
                    merged->problem = "LoTW answered with a web page, not a report: " + report.problem;
                else if (report.status == LotwReport::Status::Truncated)
                    merged->problem = "the LoTW report is incomplete: " + report.problem;
                else
                    merged->problem = "the LoTW answer is not a report: " + report.problem;
                return merged;
            }
            merged->received = report.confirmations.size();
            if (cancelled) return merged;
            if (!loaded && !store.Load(&error)) {
                merged->problem = "confirmations.adi cannot be read: " + error;
                return merged;
            }
            merged->merge = store.Merge(report.confirmations);
            if (!merged->merge.ok) merged->problem = "confirmations.adi cannot be written: " + merged->merge.error;
            else merged->store = std::move(store);
            return merged;
        },
        [](int) {}, [this](std::shared_ptr<Merged> merged) { MergeEnded(std::move(merged)); });
}

void LotwPart::MergeEnded(std::shared_ptr<Merged> merged) {
    if (!merged->store) {
        Finish(Failure(merged->problem, merged->received));
        return;
    }
    // The store merged into is the newest there is: the award tables take it from the model.
    confirmations_.Replace(std::move(*merged->store));
    LotwOutcome outcome;
    outcome.ok = true;
    outcome.received = merged->received;
    outcome.added = merged->merge.added;
    outcome.held = confirmations_.size();
    Finish(std::move(outcome));
}

void LotwPart::Finish(LotwOutcome outcome) {
    running_ = false;
    outcome.since = since_;
    notices_.ShowProgress(false, 100);
    notices_.SetProgressTitle("Progress");
    if (!outcome.ok) {
        Trace(outcome.problem, true);
        notices_.ShowStatus("LoTW: nothing changed; " + outcome.problem);
        notices_.ShowMessage(kCaption, "LoTW confirmations were not taken in: " + outcome.problem +
                                           ".\nNothing was changed.");
    } else {
        const std::string text = std::to_string(outcome.added) + " new " +
                                 (outcome.added == 1 ? "confirmation" : "confirmations") + " (" + std::to_string(outcome.received) +
                                 " in the report" + (outcome.since.empty() ? "" : " since " + outcome.since) +
                                 "); " + Confirmations(outcome.held) + " held";
        Trace(text);
        notices_.ShowStatus("LoTW: " + text);
        notices_.ShowMessage(kCaption, "LoTW confirmations downloaded: " + text + ".");
    }
    if (onFinished) onFinished(outcome);
}

}  // namespace vantrel
