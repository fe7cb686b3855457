// gen_station: writes a realistic WSJT-X data folder (wsjtx.log, wsjtx_log.adi, ALL.TXT,
// WSJT-X.ini, cty.dat) for the demo station, for tests and for benchmarks.
//
// Everything is derived from --seed with a private generator, so a given seed and set of
// arguments always gives the same bytes. The files follow what WSJT-X 2.6 writes on Linux.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "activity.h"
#include "gen_station.h"
#include "station_files.h"
#include "stations.h"

using namespace gen_station;

namespace {

void Usage(std::FILE* f) {
    std::fputs(
        "usage: gen_station --out DIR [options]\n"
        "Writes a WSJT-X data folder into DIR/WSJT-X/ as WSJT-X 2.6 writes it on Linux:\n"
        "wsjtx.log, wsjtx_log.adi, ALL.TXT, WSJT-X.ini and cty.dat.\n\n"
        "  --seed N               random seed (default 1); same seed and options, same bytes\n"
        "  --contacts N           logged contacts (default 300)\n"
        "  --journal-bytes B      size of ALL.TXT to aim for (default 192000, about 3,000 lines)\n"
        "  --call CALL            the station's callsign (default W9XYZ)\n"
        "  --grid GRID            the station's locator (default EN37)\n"
        "  --end-date yyyy-mm-dd  last day of activity (default 2026-12-07)\n"
        "  --years N              years of activity before the end date (default 4)\n"
        "  --cty-full             pad cty.dat to a full-size file of about 25,000 lines\n"
        "  --cty-lf               LF line ends in cty.dat (default CRLF, like WSJT-X's copy)\n"
        "  --grow-contacts N      append N contacts to the existing wsjtx.log and wsjtx_log.adi\n"
        "  --grow-journal-bytes B append about B bytes of journal lines to the existing ALL.TXT\n"
        "                         (growth starts after the last line there; with both options the\n"
        "                         new contacts also appear in the new journal lines)\n"
        "  --help                 this text\n",
        f);
}

bool ParseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= argc) return false;
            v = argv[++i];
            return true;
        };
        auto integer = [&](int64_t& v) {
            std::string t;
            if (!value(t)) return false;
            v = ParseNumber(t);
            return v >= 0;
        };
        std::string t;
        int64_t n = 0;
        if (a == "--help" || a == "-h") {
            Usage(stdout);
            std::exit(0);
        } else if (a == "--out") {
            if (!value(t)) return false;
            o.out = t;
        } else if (a == "--seed") {
            if (!integer(n)) return false;
            o.seed = static_cast<uint64_t>(n);
        } else if (a == "--contacts") {
            if (!integer(o.contacts)) return false;
        } else if (a == "--journal-bytes") {
            if (!integer(o.journalBytes)) return false;
        } else if (a == "--call") {
            if (!value(o.call) || o.call.empty()) return false;
            for (auto& c : o.call) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        } else if (a == "--grid") {
            if (!value(o.grid) || (o.grid.size() != 4 && o.grid.size() != 6)) return false;
        } else if (a == "--end-date") {
            if (!value(t) || t.size() != 10 || t[4] != '-' || t[7] != '-') return false;
            int64_t y = ParseNumber(t.substr(0, 4)), m = ParseNumber(t.substr(5, 2)), d = ParseNumber(t.substr(8, 2));
            if (y < 2000 || y > 2099 || m < 1 || m > 12 || d < 1 || d > 31) return false;
            o.endY = static_cast<int>(y), o.endM = static_cast<int>(m), o.endD = static_cast<int>(d);
        } else if (a == "--years") {
            if (!integer(n) || n < 1 || n > 20) return false;
            o.years = static_cast<int>(n);
        } else if (a == "--cty-full") {
            o.ctyFull = true;
        } else if (a == "--cty-lf") {
            o.ctyLf = true;
        } else if (a == "--grow-contacts") {
            if (!integer(o.growContacts)) return false;
        } else if (a == "--grow-journal-bytes") {
            if (!integer(o.growJournalBytes)) return false;
        } else {
            std::fprintf(stderr, "gen_station: unknown option %s\n", a.c_str());
            return false;
        }
    }
    return !o.out.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseArgs(argc, argv, o)) {
        Usage(stderr);
        return 2;
    }
    const fs::path dir = o.out / "WSJT-X";
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        std::fprintf(stderr, "gen_station: cannot create %s: %s\n", dir.c_str(), ec.message().c_str());
        return 1;
    }
    const fs::path logPath = dir / "wsjtx.log", adifPath = dir / "wsjtx_log.adi", allPath = dir / "ALL.TXT";
    const bool grow = o.growContacts >= 0 || o.growJournalBytes >= 0;
    const int64_t endSec = (DaysFromCivil(o.endY, o.endM, o.endD) + 1) * 86400 - 1;

    if (!grow) {
        auto pool = MakePool(o.seed, std::max<size_t>(150, static_cast<size_t>(o.contacts)), o.call);
        ActivityFiles files{logPath, adifPath, allPath};
        files.writeJournal = o.journalBytes > 0;
        files.needAdifHeader = true;
        const int64_t fromSec = endSec + 1 - static_cast<int64_t>(o.years) * 365 * 86400;
        if (!WriteActivity(o, std::move(pool), o.seed, files, o.contacts, o.journalBytes,
                           fromSec * 1000, endSec * 1000)) {
            std::fprintf(stderr, "gen_station: cannot write into %s\n", dir.c_str());
            return 1;
        }
        if (!WriteIni(dir / "WSJT-X.ini", o) || !WriteCty(dir / "cty.dat", o)) {
            std::fprintf(stderr, "gen_station: cannot write into %s\n", dir.c_str());
            return 1;
        }
        return 0;
    }

    // Growth: continue after the last contact or journal line already there.
    const int64_t contacts = std::max<int64_t>(0, o.growContacts);
    const int64_t bytes = std::max<int64_t>(0, o.growJournalBytes);
    int64_t lastSec = std::max(LogLineEnd(LastLine(logPath)), JournalLineTime(LastLine(allPath)));
    if (lastSec < 0) lastSec = endSec;
    const int64_t existing = CountLines(logPath);
    auto pool = MakePool(o.seed, std::max<size_t>(150, static_cast<size_t>(existing + contacts)), o.call);
    ActivityFiles files{logPath, adifPath, allPath};
    files.append = true;
    files.writeLogs = contacts > 0;
    files.writeJournal = bytes > 0;
    files.needAdifHeader = !fs::exists(adifPath);
    // Roughly the time the new activity needs, with room for pauses between sessions.
    const int64_t needSec = contacts * 240 + bytes / 56 / 12 * 15 * 3 + 3600;
    const int64_t fromMs = (lastSec + 600) * 1000;
    if (!WriteActivity(o, std::move(pool), o.seed ^ (static_cast<uint64_t>(lastSec) * 0x9E3779B97F4A7C15ull),
                       files, contacts, bytes, fromMs, fromMs + needSec * 1000)) {
        std::fprintf(stderr, "gen_station: cannot append in %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
