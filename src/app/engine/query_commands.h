// The one-shot commands of the terminal and of scripts, run without a window:
//   vantrel --grid LOCATOR             the "Gridsquare info:" panel's lines
//   vantrel --places TEXT [--extended] the places search: prefix lines, matches, "Matches : N"
//   vantrel --call CALL                the search's "CTY.DAT : " line and the contacts with CALL
//   vantrel --update-cty               fetch, check and install the current cty.dat
//   vantrel --journal TEXT             the rows the journal search lists, TAB between the fields
//   vantrel --recent                   writes RecentList.txt and prints its path
//   vantrel --audit [--since DATE]     the journal-to-log audit's three lists and its summary
//   vantrel --export-adif [--new]      the full (or new) ADIF export; prints the file's path
//   vantrel --worked CALL [BAND] [MODE] the worked-before status that colours the call in WSJT-X
// They work in the viewer folder (the working directory); results go to standard output,
// problems to standard error; the exit status is 0 when done, 1 when nothing could be done and
// 2 for a usage error.
#pragma once

#include <cstdio>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "base/data_folders.h"
#include "base/time_text.h"
#include "settings/settings_store.h"

namespace vantrel {

enum class OneShotCommand { None, Grid, Places, Call, UpdateCty, Journal, Recent, ExportAdif, Audit, Worked };

// The command the arguments ask for; None when they ask for none.
OneShotCommand FindOneShotCommand(const std::vector<std::string>& arguments);

// --grid and --places. They only read (a worldcities.csv is converted in memory only), so they
// run beside a running program. The operator's grid comes from WSJT-X's configuration, the
// country prefixes from the viewer folder's ctybasic.txt or else from a cty.dat.
int RunPlacesQuery(OneShotCommand command, const std::vector<std::string>& arguments,
                   const std::filesystem::path& viewerFolder, const std::filesystem::path& dataFolder,
                   const FolderEnvironment& environment, std::FILE* out, std::FILE* err);

// --call: what the callsign search shows for a call: its "CTY.DAT : " line (country, latitude,
// longitude, bearing and distance from the operator's grid), then "Contacts: N" with the bands of
// the local log's contacts with exactly that call ("Contacts: 2 (20m, 40m)"). Exit status 1 when
// no country matches. It only reads, so it runs beside a running program.
int RunCallQuery(const std::vector<std::string>& arguments, const std::filesystem::path& viewerFolder,
                 const FolderEnvironment& environment, std::ostream& out, std::ostream& err);

// --worked CALL [BAND] [MODE]: one line, TAB-separated: the call, its country, the status that
// colours it in WSJT-X on that band and mode ("New country", "New country on band", "New
// band/mode", "Worked", "Not worked"; without a band and mode only "New country", "Worked" or
// "Not worked") and the date of the latest contact with it (empty when none). Exit status 1
// without a local log or country table. It only reads, so it runs beside a running program.
int RunWorkedQuery(const std::vector<std::string>& arguments, const std::filesystem::path& viewerFolder,
                   const FolderEnvironment& environment, std::ostream& out, std::ostream& err);

// --journal, --recent and --audit, on the viewer folder's journal copy. They only read (--recent writes
// RecentList.txt whole in one step, its own output), so they run beside a running program. The
// operator's callsign for --recent comes from WSJT-X's configuration.
int RunJournalQuery(OneShotCommand command, const std::vector<std::string>& arguments,
                    const std::filesystem::path& viewerFolder, const FolderEnvironment& environment,
                    std::ostream& out, std::ostream& err);

// --export-adif (the full export) and --export-adif --new (the contacts from the stored counter
// on): the files of the menu entries, the counter read from and written back to the settings
// store as VantrelerExportADIFileCount. It writes files, so the caller holds the lock.
int RunExportAdifCommand(const std::vector<std::string>& arguments, const std::filesystem::path& viewerFolder,
                         const FolderEnvironment& environment, SettingsStore& store, TimePoint now,
                         std::ostream& out, std::ostream& err);

}  // namespace vantrel
