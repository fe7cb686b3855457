#include "geo/country_file_update.h"

#include <system_error>
#include <vector>

#include "base/file_io.h"
#include "geo/country_file.h"

namespace vantrel {

namespace {

// The check, with the parsed lines handed back for the install.
std::string Check(std::string_view bytes, const CountryFileRules& rules,
                  std::vector<std::string>* lines, CountryFileShape& shape) {
    if (static_cast<std::int64_t>(bytes.size()) <= rules.minBytes)
        return "the answer has only " + std::to_string(bytes.size()) + " bytes";
    if (bytes.find('\0') != std::string_view::npos) return "the answer is not text";
    auto parsed = ParseCountryFile(bytes, &shape);
    if (lines) *lines = std::move(parsed);
    if (shape.badEntities > 0 || shape.openLists > 0)
        return "the answer is not a country file (at \"" + shape.firstProblem + "\")";
    if (shape.entities < rules.minEntities)
        return "the answer names only " + std::to_string(shape.entities) + " entities";
    return {};
}

}  // namespace

std::string CheckCountryFileDownload(std::string_view bytes, const CountryFileRules& rules) {
    CountryFileShape shape;
    return Check(bytes, rules, nullptr, shape);
}

CountryFileInstall InstallCountryFile(const std::filesystem::path& downloaded,
                                      const std::filesystem::path& viewerFolder,
                                      const std::filesystem::path& wsjtxFolder,
                                      const CountryFileRules& rules) {
    CountryFileInstall result;
    std::string error;
    const auto bytes = ReadWholeFile(downloaded, &error);
    if (!bytes) {
        result.problem = error;
        return result;
    }
    result.bytes = static_cast<std::int64_t>(bytes->size());
    CountryFileShape shape;
    std::vector<std::string> lines;
    result.problem = Check(*bytes, rules, &lines, shape);
    if (!result.problem.empty()) return result;
    result.entities = shape.entities;

    // The bytes checked are the bytes written, each copy replacing its target in one step.
    if (!WriteFileAtomic(viewerFolder / kCountryFile, *bytes, &error)) {
        result.problem = error;
        return result;
    }
    result.installed = true;
    std::error_code ec;
    if (wsjtxFolder.empty() || !std::filesystem::is_directory(wsjtxFolder, ec)) {
        result.problem = "WSJT-X's folder " + wsjtxFolder.string() + " does not exist";
    } else if (WriteFileAtomic(wsjtxFolder / kCountryFile, *bytes, &error)) {
        result.wsjtxInstalled = true;
    } else {
        result.problem = error;
    }

    // The lookups take the new table now, and later runs load it from ctybasic.txt. When that
    // file cannot be written the stale one goes, so the next start flattens cty.dat again.
    result.table = SortedCountryLines(std::move(lines));
    if (!SaveLogLines(viewerFolder / kCountryBasicFile, *result.table, &error)) {
        std::filesystem::remove(viewerFolder / kCountryBasicFile, ec);
        const std::string note = "ctybasic.txt not rebuilt: " + error;
        result.problem = result.problem.empty() ? note : result.problem + "; " + note;
    }
    return result;
}

}  // namespace vantrel
