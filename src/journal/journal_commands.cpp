#include "journal/journal_commands.h"

#include <ostream>

#include "base/data_folders.h"
#include "journal/journal_search.h"
#include "journal/recent_activity.h"
#include "log/log_lines.h"
#include "settings/wsjtx_ini.h"

namespace vantrel {

int RunJournalCommand(const std::filesystem::path& viewerFolder, std::string_view text,
                      std::ostream& out, std::ostream& err) {
    const std::filesystem::path journal = viewerFolder / kJournalCopy;
    const JournalSearch search = SearchJournalFile(journal, JournalSearchText(text));
    if (search.status == JournalSearchStatus::NoJournal) {
        err << "vantrel: no journal to search: " << journal.string() << " is missing or empty\n";
        return 1;
    }
    if (!search.Ran()) {
        err << "vantrel: " << search.error << '\n';
        return 1;
    }
    std::string row;
    for (std::size_t i = 0; i < search.matches->size(); ++i) {
        const JournalLine line = search.matches->Row(i);
        row.clear();
        for (std::size_t field = 0; field < JournalLine::kFieldCount; ++field) {
            if (field > 0) row += '\t';
            row += line.Field(field);
        }
        row += '\n';
        out << row;
    }
    out.flush();
    return out ? 0 : 1;
}

int RunRecentCommand(const std::filesystem::path& viewerFolder, std::string_view callsign,
                     std::ostream& out, std::ostream& err) {
    const std::filesystem::path output = viewerFolder / kRecentListFile;
    std::string error;
    if (!WriteRecentList(viewerFolder / kJournalCopy, callsign, output, &error)) {
        err << "vantrel: " << error << '\n';
        return 1;
    }
    out << output.string() << '\n';
    out.flush();
    return out ? 0 : 1;
}

std::string ViewerCallsign(const std::filesystem::path& viewerFolder) {
    const auto lines = LoadLogLines(viewerFolder / kConfigCopy);
    return lines ? ReadWsjtxConfigLines(*lines, 0, false).call : std::string();
}

}  // namespace vantrel
