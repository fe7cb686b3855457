#include "net/update_cty_command.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>

#include <system_error>

#include "base/data_folders.h"
#include "base/switches.h"
#include "net/cty_update.h"
#include "net/download_addresses.h"

namespace vantrel {

int UpdateCtyCommand(const UpdateCtyCommandInputs& inputs, std::FILE* out, std::FILE* err) {
    QNetworkAccessManager network;
    std::fprintf(out, "Fetching %s into %s\n", inputs.url.c_str(),
                 (inputs.viewerFolder / kNewCountryFile).c_str());
    std::fflush(out);
    int status = 1;
    const CtyUpdateInputs update{inputs.url, inputs.viewerFolder, inputs.wsjtxFolder, inputs.fetch,
                                 inputs.rules};
    auto running = UpdateCtyDat(network, update, [&](CtyUpdateResult result) {
        if (!result.installed) {
            std::fprintf(err, "vantrel: cty.dat not updated: %s; both cty.dat files are unchanged\n",
                         result.problem.c_str());
        } else {
            status = 0;
            std::fprintf(out, "Installed %s (%lld bytes, %zu entities)\n",
                         (inputs.viewerFolder / "cty.dat").c_str(),
                         static_cast<long long>(result.bytes), result.entities);
            if (result.wsjtxInstalled)
                std::fprintf(out, "Installed %s\n", (inputs.wsjtxFolder / "cty.dat").c_str());
            if (result.table)
                std::fprintf(out, "Rebuilt %s (%zu lines)\n",
                             (inputs.viewerFolder / "ctybasic.txt").c_str(), result.table->size());
            if (!result.problem.empty())
                std::fprintf(err, "vantrel: %s\n", result.problem.c_str());
        }
        QCoreApplication::exit(status);
    });
    QCoreApplication::exec();
    std::fflush(out);
    std::fflush(err);
    return status;
}

int RunUpdateCtyCommand(int argc, char** argv, const std::vector<std::string>& arguments) {
    QCoreApplication app(argc, argv);
    UpdateCtyCommandInputs inputs;
    std::error_code ec;
    inputs.viewerFolder = std::filesystem::current_path(ec);
    if (ec) {
        std::fprintf(stderr, "vantrel: no working directory: %s\n", ec.message().c_str());
        return 1;
    }
    inputs.wsjtxFolder =
        ResolveWsjtxFolder(FolderEnvironment::FromProcess(), Switches(arguments).RigName());
    inputs.url = DownloadAddresses::FromBuildAndEnvironment().countryFile;
    return UpdateCtyCommand(inputs, stdout, stderr);
}

}  // namespace vantrel
