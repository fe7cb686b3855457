#include "app/engine/lotw_command.h"

#include <QCoreApplication>

#include <algorithm>
#include <system_error>

#include "app/engine/lotw_part.h"
#include "net/download_addresses.h"

namespace vantrel {

namespace {

// The part's notices on a terminal: its status lines as progress on standard error; the message
// box is left out (the outcome is printed once, below).
class TerminalNotices : public NoticeView {
public:
    explicit TerminalNotices(std::FILE* err) : err_(err) {}
    void ShowMessage(const std::string&, const std::string&) override {}
    void ShowStatus(const std::string& text) override {
        if (text.rfind("LoTW: fetching", 0) == 0) std::fprintf(err_, "vantrel: %s\n", text.c_str());
    }
    void Ask(const std::string&, const std::string&, std::function<void()>) override {}
    void ShowProgress(bool, int) override {}
    void SetProgressTitle(const std::string&) override {}
    void SetIndicator(bool) override {}

private:
    std::FILE* err_;
};

}  // namespace

bool WantsLotwDownload(const std::vector<std::string>& arguments) {
    return std::find(arguments.begin(), arguments.end(), kDownloadLotwSwitch) != arguments.end();
}

int DownloadLotwCommand(const LotwCommandInputs& inputs, SecretStore& secrets, std::FILE* out, std::FILE* err) {
    TerminalNotices notices(err);
    ConfirmationsModel confirmations(inputs.viewerFolder);
    int status = 1;
    LotwPart part(LotwPartInputs{inputs.viewerFolder, inputs.url, inputs.fetch, secrets, inputs.credentials, nullptr},
                  confirmations, notices);
    part.onFinished = [&](const LotwOutcome& outcome) {
        if (outcome.ok) {
            status = 0;
            std::fprintf(out, "%zu new confirmations (%zu in the report%s); %zu held in %s\n", outcome.added,
                         outcome.received, outcome.since.empty() ? "" : (" since " + outcome.since).c_str(),
                         outcome.held, (inputs.viewerFolder / kConfirmationsFileName).c_str());
        } else {
            std::fprintf(err, "vantrel: LoTW confirmations were not taken in: %s; nothing was changed\n",
                         outcome.problem.c_str());
        }
        QCoreApplication::exit(status);
    };
    part.Download();
    QCoreApplication::exec();
    std::fflush(out);
    std::fflush(err);
    return status;
}

int RunDownloadLotwCommand(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    LotwCommandInputs inputs;
    std::error_code ec;
    inputs.viewerFolder = std::filesystem::current_path(ec);
    if (ec) {
        std::fprintf(stderr, "vantrel: no working directory: %s\n", ec.message().c_str());
        return 1;
    }
    inputs.url = DownloadAddresses::FromBuildAndEnvironment().lotwReport;
    inputs.credentials = LotwLoginFromEnvironment();
    const auto secrets = MakeDesktopSecretStore();
    return DownloadLotwCommand(inputs, *secrets, stdout, stderr);
}

}  // namespace vantrel
