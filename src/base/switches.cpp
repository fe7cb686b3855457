#include "base/switches.h"

#include <cctype>

namespace vantrel {

namespace {

std::string Mapped(std::string_view text, int (*map)(int)) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(map(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

Switches::Switches(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!text_.empty()) text_ += ' ';
        text_ += Mapped(argument, ::tolower);
        if ((argument == "--rig-name" || argument == "-r") && i + 1 < arguments.size())
            rigName_ = arguments[i + 1];
        else if (argument.starts_with("--rig-name="))
            rigName_ = argument.substr(11);
    }
    upper_ = Mapped(text_, ::toupper);
}

bool Switches::HasSwitch(std::string_view name) const {
    return upper_.find(name) != std::string::npos;
}

std::string SwitchHelp() {
    return "Usage: vantrel [switches]\n"
           "       vantrel --grid LOCATOR | --places TEXT [--extended] | --call CALL | --journal TEXT\n"
           "       vantrel --recent | --audit [--since DATE] | --export-adif [--new] | --update-cty\n"
           "       vantrel --worked CALL [BAND] [MODE]\n"
           "       vantrel --awards dxcc|waz|wac|grids [--band B] [--mode M] | --needed CALL BAND\n"
           "       vantrel --import-confirmations FILE | --download-lotw\n"
           "\n"
           "Switches (letter case does not matter):\n"
           "  /DEBUG            write a diagnostic line per step to errorlog.txt\n"
           "  /NLU              do not load the WSJT-X log at start-up\n"
           "  /AUTHOR           show the maker's extra controls\n"
           "  /SETCOLO          show the Colour Setup menu\n"
           "  /PURGE            delete the stored window and counter settings, then quit\n"
           "  /NVC              skip the release check (only builds given a release address\n"
           "                    have one; see README)\n"
           "  /UDP_ECHO         echo received contacts to 127.0.0.1 at the N1MM port plus one\n"
           "  /RAWUDP           keep every received datagram in a raw file\n"
           "  /HEADLESS         run without a window; stop with SIGTERM or SIGINT\n"
           "  --rig-name NAME   follow the WSJT-X instance started with --rig-name NAME (a NAME\n"
           "                    holding /, \\ or , or . or .. is refused, as WSJT-X does)\n"
           "  --data-folder [PATH], --data-folder=PATH\n"
           "                    keep Vantrel's files in PATH, or in $XDG_DATA_HOME/Vantrel\n"
           "                    (default ~/.local/share/Vantrel; \"Vantrel - NAME\" with --rig-name\n"
           "                    NAME); the folder is created when missing. A PATH after a blank is\n"
           "                    taken as with \"=\" unless it is a switch\n"
           "  --help            show this text\n"
           "  --version         show the version\n"
           "\n"
           "Commands (run in the folder Vantrel keeps its files in, without a window; results on\n"
           "standard output):\n"
           "  --grid LOCATOR    a grid square's centre, bearing and distance, country and places\n"
           "  --places TEXT     the places whose line holds TEXT and the prefixes of the countries\n"
           "                    whose names begin with it (--extended: search allplaces.txt)\n"
           "  --call CALL       what the callsign search shows for CALL: its \"CTY.DAT : \" line\n"
           "                    (country, latitude, longitude, bearing and distance from your\n"
           "                    grid) and the number of contacts with CALL in the log, with bands;\n"
           "                    exit status 1 when no country matches\n"
           "  --journal TEXT    the FT8 lines of all.txt the journal search lists for TEXT,\n"
           "                    one per line, the eight columns separated by TAB\n"
           "  --recent          write RecentList.txt (the journal lines holding your callsign)\n"
           "                    and print its path\n"
           "  --audit           the journal against the log: contacts completed on the air and\n"
           "                    not logged, logged twice, logged without a trace in the journal\n"
           "                    (--since yyyy-mm-dd: from that day on); exit status 1 when a\n"
           "                    contact is missing from the log\n"
           "  --export-adif     write the whole local log as an ADIF file, as \"Full ADIF export\"\n"
           "                    does, and print the file's path (--new: the contacts since the\n"
           "                    last export, as \"New ADIF export\"); not beside a running Vantrel\n"
           "  --worked CALL [BAND] [MODE]\n"
           "                    the worked-before status that colours CALL in WSJT-X, from the\n"
           "                    log: call, country, status (New country, New country on band,\n"
           "                    New band/mode, Worked, Not worked) and the last date worked,\n"
           "                    separated by TAB; exit status 1 without a log or country table\n"
           "  --update-cty      fetch the current cty.dat, check it and install it in both folders\n"
           "  --awards dxcc|waz|wac|grids\n"
           "                    the award table: a row per DXCC entity, CQ zone, continent or grid\n"
           "                    square, W (worked), C (confirmed) or - per band from 160m to 70cm,\n"
           "                    then the totals (--band B: that band only; --mode M: all, FT8, FT4,\n"
           "                    digital, phone or CW)\n"
           "  --needed CALL BAND\n"
           "                    whether CALL's DXCC entity is needed on BAND: \"needed\" (never\n"
           "                    worked there), \"worked\" (not confirmed there) or \"confirmed\"\n"
           "  --import-confirmations FILE\n"
           "                    take the confirmations of an ADIF file (a LoTW report, or records\n"
           "                    with QSL_RCVD, LOTW_QSL_RCVD or EQSL_QSL_RCVD = Y) into\n"
           "                    confirmations.adi and print how many were new; not beside a\n"
           "                    running Vantrel\n"
           "  --download-lotw   fetch the LoTW confirmations received since the last download into\n"
           "                    confirmations.adi (login: VANTREL_LOTW_LOGIN and\n"
           "                    VANTREL_LOTW_PASSWORD, else the desktop's secret store); not beside\n"
           "                    a running Vantrel\n"
           "Their exit status is 0 when done, 1 when nothing could be done, 2 for a usage error.\n"
           "An unknown switch or word is a usage error (status 2): nothing is started.\n"
           "\n"
           "Environment: LOCALAPPDATA (WSJT-X data in $LOCALAPPDATA/WSJT-X), VANTREL_SETTINGS\n"
           "(the settings file). Vantrel keeps its own files in the folder it is started in, or in the\n"
           "one --data-folder names.\n";
}

}  // namespace vantrel
