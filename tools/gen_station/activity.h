// The station's activity: operating sessions with their contacts, written to wsjtx.log and
// wsjtx_log.adi, and the journal lines of everything heard and sent, written to ALL.TXT.
#pragma once

#include <cstdint>
#include <vector>

#include "gen_station.h"
#include "stations.h"

namespace gen_station {

struct ActivityFiles {
    fs::path log, adif, journal;
    bool append = false;          // add to the files rather than start them anew
    bool writeLogs = true;        // wsjtx.log and wsjtx_log.adi are written
    bool writeJournal = false;    // ALL.TXT is written
    bool needAdifHeader = false;  // write the ADIF header before the first record
};

// Lays out `contacts` contacts and about `journalBytes` bytes of journal lines between fromMs and
// toMs (milliseconds since 1970) and writes them. False when a file cannot be opened.
bool WriteActivity(const Options& o, std::vector<Station> pool, uint64_t seed,
                   const ActivityFiles& files, int64_t contacts, int64_t journalBytes,
                   int64_t fromMs, int64_t toMs);

}  // namespace gen_station
