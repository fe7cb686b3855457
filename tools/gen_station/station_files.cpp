#include "station_files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "countries.h"
#include "stations.h"

namespace gen_station {

bool WriteIni(const fs::path& path, const Options& o) {
    std::vector<std::string> config = {
        "73TxDisable=false", "AcceptUDPRequests=false", "AutoLog=true",
        "AzElDir=/home/op/.local/share/WSJT-X", "BroadcastToN1MM=true", "CATSerialRate=4800",
        "DecodedTextFont=\"Courier,10,-1,5,50,0,0,0,0,0\"", "Font=\"Sans Serif,9,-1,5,50,0,0,0,0,0\"",
        "Macros=TNX 73 GL", "MyCall=" + o.call, "MyGrid=" + o.grid, "N1MMServer=127.0.0.1",
        "N1MMServerPort=2333", "PSKReporter=true",
        "PTTMethod=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x1eTransceiverFactory::PTTMethod\\0\\0\\0\\0\\xfPTT_method_CAT\\0)",
        "PromptToLog=false", "Rig=Hamlib NET rigctl", "SaveDir=/home/op/.local/share/WSJT-X/save",
        "UDPServer=127.0.0.1", "UDPServerPort=2237", "UDPTTL=1", "dBtoComments=false",
        "highlight_DXcall=false", "pwrBandTxMemory=false",
    };
    std::vector<std::string> common = {
        "AutoSeq=true", "DialFreq=14074000", "Mode=FT8", "NDepth=3", "RxFreq=1500",
        "TxFreq=1500", "actionDontSplitALLTXT=true", "disableWritingOfAllTxt=false",
        "splitAllTxtMonthly=false", "splitAllTxtYearly=false",
    };
    std::sort(config.begin(), config.end());
    std::sort(common.begin(), common.end());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fputs("[General]\nRxFreq_old=1500\nTxFreq_old=1500\n\n[Common]\n", f);
    for (const auto& k : common) std::fprintf(f, "%s\n", k.c_str());
    std::fputs("\n[Configuration]\n", f);
    for (const auto& k : config) std::fprintf(f, "%s\n", k.c_str());
    std::fputs("\n[MultiSettings]\nCurrentName=Default\n", f);
    return std::fclose(f) == 0;
}

namespace {

class CtyWriter {
public:
    CtyWriter(std::FILE* f, bool lf) : f_(f), eol_(lf ? "\n" : "\r\n") {}
    void entity(const Entity& e) {
        char head[160];
        std::string name = e.name + ":";
        std::snprintf(head, sizeof head, "%-26s%02d:%4s:%4s:%8.2f:%9.2f:%8.1f:  %s:", name.c_str(), e.cq,
                      Zone(e.itu).c_str(), e.continent.c_str(), e.lat, e.lonWest, e.utc, e.primary.c_str());
        std::fputs(head, f_);
        std::fputs(eol_, f_);
        ++lines;
    }
    void items(const std::vector<std::string>& list) {
        std::string row = "    ";
        for (size_t i = 0; i < list.size(); ++i) {
            std::string item = list[i] + (i + 1 == list.size() ? ";" : ",");
            if (row.size() > 4 && row.size() + item.size() > 100) {
                std::fputs(row.c_str(), f_);
                std::fputs(eol_, f_);
                ++lines;
                row = "    ";
            }
            row += item;
        }
        std::fputs(row.c_str(), f_);
        std::fputs(eol_, f_);
        ++lines;
    }
    int64_t lines = 0;

private:
    static std::string Zone(int z) {
        char b[8];
        std::snprintf(b, sizeof b, "%02d", z);
        return b;
    }
    std::FILE* f_;
    const char* eol_;
};

}  // namespace

bool WriteCty(const fs::path& path, const Options& o) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    CtyWriter w(f, o.ctyLf);
    const auto& table = Entities();
    Rng rng(o.seed ^ 0xC7D0A7ull);
    double wsum = 0;
    for (const auto& e : table) wsum += e.weight;
    const int64_t targetLines = 25000;
    const int64_t baseLines = 340;
    for (const auto& e : table) {
        std::vector<std::string> list = SplitOn(e.prefixes, ',');
        for (const auto& x : SplitOn(e.exacts, ',')) list.push_back("=" + x);
        if (e.primary == "VE") {
            char ver[32];
            std::snprintf(ver, sizeof ver, "=VER%04d%02d%02d", o.endY, o.endM, o.endD);
            list.push_back(ver);
        }
        if (o.ctyFull && e.weight > 0) {
            // Exact-call aliases as a full file carries them: portable and special forms.
            int64_t wantLines = static_cast<int64_t>((targetLines - baseLines) * e.weight / wsum);
            size_t wantChars = static_cast<size_t>(std::max<int64_t>(1, wantLines)) * 92;
            std::unordered_set<std::string> seen;
            size_t chars = 0;
            static const char* const suffixes[] = {"/P", "/M", "/QRP", "/LH", "/MM", "/A"};
            while (chars < wantChars) {
                const Area* area = nullptr;
                std::string call = MakeCall(rng, e, &area);
                uint32_t r = rng.below(100);
                if (r < 20) call += suffixes[rng.below(std::size(suffixes))];
                else if (r < 28) call = call + "(" + std::to_string(e.cq) + ")[" + std::to_string(e.itu) + "]";
                if (!seen.insert(call).second) continue;
                chars += call.size() + 2;
                list.push_back("=" + call);
            }
        }
        w.entity(e);
        w.items(list);
    }
    return std::fclose(f) == 0;
}

// ---------------------------------------------------------------------------------------------
// Reading back what is there, for growth

std::string LastLine(const fs::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return {};
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    long from = std::max(0L, size - 65536L);
    std::fseek(f, from, SEEK_SET);
    std::string tail(static_cast<size_t>(size - from), '\0');
    size_t got = std::fread(tail.data(), 1, tail.size(), f);
    std::fclose(f);
    tail.resize(got);
    while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r')) tail.pop_back();
    size_t nl = tail.rfind('\n');
    return nl == std::string::npos ? tail : tail.substr(nl + 1);
}

int64_t CountLines(const fs::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return 0;
    std::vector<char> buf(1 << 20);
    int64_t n = 0;
    size_t got;
    while ((got = std::fread(buf.data(), 1, buf.size(), f)) > 0) n += std::count(buf.data(), buf.data() + got, '\n');
    std::fclose(f);
    return n;
}

int64_t LogLineEnd(const std::string& line) {
    auto f = SplitOn(line, ',');
    if (f.size() < 4 || f[2].size() != 10 || f[3].size() != 8) return -1;
    int64_t y = ParseNumber(f[2].substr(0, 4)), m = ParseNumber(f[2].substr(5, 2)), d = ParseNumber(f[2].substr(8, 2));
    int64_t hh = ParseNumber(f[3].substr(0, 2)), mm = ParseNumber(f[3].substr(3, 2)), ss = ParseNumber(f[3].substr(6, 2));
    if (y < 0 || m < 0 || d < 0 || hh < 0 || mm < 0 || ss < 0) return -1;
    return DaysFromCivil(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)) * 86400 + hh * 3600 + mm * 60 + ss;
}

int64_t JournalLineTime(const std::string& line) {
    if (line.size() < 11 || line[6] != '_') return -1;
    int64_t y = ParseNumber(line.substr(0, 2)), m = ParseNumber(line.substr(2, 2)), d = ParseNumber(line.substr(4, 2));
    int64_t hh = ParseNumber(line.substr(7, 2)), mm = ParseNumber(line.substr(9, 2));
    int64_t ss = line.size() >= 13 ? ParseNumber(line.substr(11, 2)) : 0;
    if (ss < 0) ss = 0;
    if (y < 0 || m < 0 || d < 0 || hh < 0 || mm < 0) return -1;
    return DaysFromCivil(static_cast<int>(2000 + y), static_cast<int>(m), static_cast<int>(d)) * 86400 + hh * 3600 + mm * 60 + ss;
}

}  // namespace gen_station
