// The recent-activity extract RecentList.txt: every journal line holding the operator's callsign,
// under two header lines, as one sorted set of lines: ordered without regard to letter case, a
// line equal to one already there (letter case ignored) left out. The header lines begin with a
// blank, so they come before the journal lines, and dated journal lines come in time order.
//
// The journal is streamed and only the lines holding the callsign are kept and sorted, so memory
// follows the extract, not the journal; the result is the one that sorting the whole journal
// first would give.
#pragma once

#include <atomic>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace vantrel {

inline constexpr const char* kRecentListFile = "RecentList.txt";
inline constexpr std::string_view kRecentListHeader1 =
    " An extract of entries in ALL.TXT matching the users callsign. Logged freq = Freq+Tone. Act(ion) is Tx or Rx.";
inline constexpr std::string_view kRecentListHeader2 =
    " Date/Time       Freq  Act Mode    SNR Off Tone  Message";

// Calls `line` for each line of the extract, header lines included, in order (without line
// ends). False with `error` set when the journal cannot be read, and false when `cancelled`
// was set (it is looked at between reads).
bool ExtractRecentActivity(const std::filesystem::path& journal, std::string_view callsign,
                           const std::function<void(std::string_view line)>& line,
                           std::string* error = nullptr, const std::atomic<bool>* cancelled = nullptr);

// Removes the "RecentList.txt.XXXXXX" files (six letters or digits) that writers of earlier
// versions left in `folder` when they were killed; today's writer leaves names that
// RemoveLeftoverWritesIn knows.
void RemoveOldRecentListLeftovers(const std::filesystem::path& folder);

// Writes the extract to `output`, each line ended by CR LF, replacing the file in one step.
// False with `error` set (and nothing written) when the journal cannot be read or the file
// cannot be written. `lines` receives the number of lines written.
bool WriteRecentList(const std::filesystem::path& journal, std::string_view callsign,
                     const std::filesystem::path& output, std::string* error = nullptr,
                     std::size_t* lines = nullptr, const std::atomic<bool>* cancelled = nullptr);

}  // namespace vantrel
