#include "journal/journal_commands.h"

#include <ostream>

#include "base/data_folders.h"
#include "journal/journal_audit.h"
#include "journal/journal_reader.h"
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

int RunAuditCommand(const std::filesystem::path& viewerFolder, const StationDetails& station, std::string_view since,
                    std::ostream& out, std::ostream& err) {
    std::int64_t sinceSeconds = 0;
    if (!since.empty()) {
        // "2024-01-03" read through the journal's own stamp form "240103_000000".
        const bool dated = since.size() == 10 && since[4] == '-' && since[7] == '-' && since.substr(0, 2) == "20";
        sinceSeconds = dated ? JournalStampSeconds(std::string(since.substr(2, 2)) + std::string(since.substr(5, 2)) +
                                                   std::string(since.substr(8, 2)) + "_000000")
                             : -1;
        if (sinceSeconds < 0) {
            err << "vantrel: --since takes a date yyyy-mm-dd (from 2000 on), not " << since << '\n';
            return 2;
        }
    }
    if (station.call.empty()) {
        err << "vantrel: no operator callsign in WSJT-X's configuration: nothing to audit\n";
        return 1;
    }
    std::string error;
    std::optional<LogLines> log = LoadLogLines(viewerFolder / kLocalLog, &error);
    if (!log) {
        err << "vantrel: no local log (" << kLocalLog << ") in " << viewerFolder.string() << '\n';
        return 1;
    }
    ExchangeFinder finder(station);
    if (!ReadJournalForAudit(viewerFolder / kJournalCopy, finder, nullptr, &error)) {
        err << "vantrel: " << error << '\n';
        return 1;
    }
    LogAudit audit(sinceSeconds);
    const AuditResult& result = audit.Update(finder, std::make_shared<const LogLines>(std::move(*log)));

    const AuditLists lists = AuditListsOf(result);
    const auto joined = [](const AuditRow& row) {
        std::string text;
        for (const std::string& field : row) text += (text.empty() ? "" : "\t") + field;
        return text;
    };
    JournalReader journal;
    journal.Open(viewerFolder / kJournalCopy);
    out << "On the air, not in the log\n";
    out << "Date\tTime\tBand\tMode\tCall\tGrid\tSent\tReceived\tLog line\n";
    for (std::size_t i = 0; i < lists.notLogged.size(); ++i) {
        out << joined(lists.notLogged[i]) << '\t' << AuditLogLine(journal, *result.notLogged[i], station) << '\n';
    }
    out << "In the log twice\n";
    out << "Date\tTime\tBand\tMode\tCall\tGrid\tSent\tReceived\tAgain at\n";
    for (const AuditRow& row : lists.twice) out << joined(row) << '\n';
    out << "In the log, not on the air\n";
    out << "Date\tTime\tBand\tMode\tCall\tGrid\tSent\tReceived\n";
    for (const AuditRow& row : lists.withoutTrace) out << joined(row) << '\n';
    out << lists.summary << '\n';
    out.flush();
    if (!out) return 1;
    return result.notLogged.empty() ? 0 : 1;
}

std::string ViewerCallsign(const std::filesystem::path& viewerFolder) {
    const auto lines = LoadLogLines(viewerFolder / kConfigCopy);
    return lines ? ReadWsjtxConfigLines(*lines, 0, false).call : std::string();
}

}  // namespace vantrel
