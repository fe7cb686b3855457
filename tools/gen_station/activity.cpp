#include "activity.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "countries.h"

namespace gen_station {

namespace {

// ---------------------------------------------------------------------------------------------
// Buffered output: lines are formatted straight into a large buffer, written out in big blocks.

class Output {
public:
    Output() = default;
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    ~Output() { close(); }

    bool open(const fs::path& path, bool append) {
        file_ = std::fopen(path.c_str(), append ? "ab" : "wb");
        buffer_.resize(kSize);
        pos_ = 0;
        return file_ != nullptr;
    }
    bool isOpen() const { return file_ != nullptr; }
    void close() {
        if (!file_) return;
        flush();
        std::fclose(file_);
        file_ = nullptr;
    }
    uint64_t written() const { return total_; }

    // Room for one line; call before writing a line.
    void reserve(size_t n) {
        if (pos_ + n > buffer_.size()) flush();
    }
    void put(char c) { buffer_[pos_++] = c, ++total_; }
    void put(std::string_view s) {
        reserve(s.size() + 1);
        std::memcpy(&buffer_[pos_], s.data(), s.size());
        pos_ += s.size();
        total_ += s.size();
    }
    void digits(int64_t v, int width) {  // zero-padded
        char tmp[24];
        for (int i = width - 1; i >= 0; --i) tmp[i] = static_cast<char>('0' + v % 10), v /= 10;
        put(std::string_view(tmp, static_cast<size_t>(width)));
    }
    void number(int64_t v, int width = 0) {  // right-aligned in width, like %*d
        char tmp[24];
        int n = 0;
        bool neg = v < 0;
        uint64_t u = neg ? static_cast<uint64_t>(-v) : static_cast<uint64_t>(v);
        do tmp[23 - n++] = static_cast<char>('0' + u % 10), u /= 10;
        while (u);
        if (neg) tmp[23 - n++] = '-';
        for (int i = n; i < width; ++i) put(' ');
        put(std::string_view(tmp + 24 - n, static_cast<size_t>(n)));
    }

private:
    void flush() {
        if (pos_ > 0 && file_) std::fwrite(buffer_.data(), 1, pos_, file_);
        pos_ = 0;
    }
    static constexpr size_t kSize = 8u << 20;
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    size_t pos_ = 0;
    uint64_t total_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Modes and bands

struct Mode {
    const char* logName;    // wsjtx.log
    const char* journal;    // ALL.TXT, padded to 6 unless it is a Q65 name
    const char* adifMode;
    const char* adifSub;    // "" when none
    int periodMs;
    double weight;
};

const Mode kModes[] = {
    {"FT8", "FT8   ", "FT8", "", 15000, 80.0},  {"FT4", "FT4   ", "MFSK", "FT4", 7500, 14.0},
    {"JT65", "JT65  ", "JT65", "", 60000, 2.0}, {"JT9", "JT9   ", "JT9", "", 60000, 1.5},
    {"Q65", "Q65-30A", "MFSK", "Q65", 30000, 1.5}, {"MSK144", "MSK144", "MSK144", "", 15000, 1.5},
};

struct Band {
    const char* name;
    int64_t dialHz;
    double weight;
};

std::vector<Band> BandsFor(int mode) {
    switch (mode) {
    case 0:
        return {{"160m", 1840000, 3},  {"80m", 3573000, 8},   {"60m", 5357000, 1},
                {"40m", 7074000, 18},  {"30m", 10136000, 8},  {"20m", 14074000, 25},
                {"17m", 18100000, 8},  {"15m", 21074000, 10}, {"12m", 24915000, 3},
                {"10m", 28074000, 8},  {"6m", 50313000, 6},   {"2m", 144174000, 2}};
    case 1:
        return {{"80m", 3575000, 4},   {"40m", 7047500, 8},   {"30m", 10140000, 4},
                {"20m", 14080000, 12}, {"17m", 18104000, 4},  {"15m", 21140000, 5},
                {"12m", 24919000, 1},  {"10m", 28180000, 4},  {"6m", 50318000, 2}};
    case 2: return {{"20m", 14076000, 3}, {"40m", 7076000, 2}, {"80m", 3576000, 1}};
    case 3: return {{"20m", 14078000, 3}, {"40m", 7078000, 2}};
    case 4: return {{"6m", 50275000, 1}};
    default: return {{"6m", 50260000, 3}, {"2m", 144360000, 1}};
    }
}

template <class T> size_t PickWeighted(Rng& rng, const T* items, size_t n) {
    double sum = 0;
    for (size_t i = 0; i < n; ++i) sum += items[i].weight;
    double r = rng.unit() * sum;
    for (size_t i = 0; i < n; ++i)
        if ((r -= items[i].weight) < 0) return i;
    return n - 1;
}

// ---------------------------------------------------------------------------------------------
// The station's activity

std::string Report(int snr) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%c%02d", snr < 0 ? '-' : '+', std::abs(snr));
    return buf;
}

struct Session {
    int64_t startMs = 0;
    int mode = 0;
    Band band{};
    int contacts = 0;
    int64_t periods = 0;      // total periods, QSOs and listening
    int64_t extraListen = 0;  // listening periods beyond the QSOs
};

const char* const kComments[] = {"a,b,c", "tnx fb qso", "LoTW", "first QSO on this band",
                                  "QSL via bureau", "new one", "cafe, coffee, cake",
                                  "weak, QSB", "caf\xc3\xa9 73", "sked"};
const char* const kNames[] = {"Jo, Smith", "Bob", "Hans", "Yuki", "Maria", "Smith, John", "Pete",
                              "Ana", "Ole", "Giuseppe"};
const char* const kPowers[] = {"100", "100", "100", "100", "50", "25", "5", "400", ""};

class Generator {
public:
    Generator(const Options& o, std::vector<Station> pool, uint64_t seed)
        : opt_(o), pool_(std::move(pool)), rng_(seed) {
        partners_ = std::max<size_t>(1, pool_.size() / 2);
        int home = LookupEntity(opt_.call);
        const std::string homeCont = home >= 0 ? Entities()[home].continent : "NA";
        for (size_t i = 0; i < pool_.size(); ++i)
            if (Entities()[pool_[i].entity].continent == homeCont) local_.push_back(i);
        if (local_.empty()) local_.push_back(0);
        grid4_ = opt_.grid.substr(0, 4);
    }

    Output log, adif, journal;
    bool writeJournal = false;
    bool needAdifHeader = false;  // write the ADIF header before the first record

    // Lays out the sessions between from and to (milliseconds since 1970) and writes them.
    void run(int64_t contacts, int64_t journalBytes, int64_t fromMs, int64_t toMs) {
        const int64_t qsoLineBytes = 49 + 2 * static_cast<int64_t>(opt_.call.size()) + 6;
        int64_t sessionCount = contacts > 0 ? std::max<int64_t>(1, contacts / 14)
                                            : std::max<int64_t>(1, journalBytes / 300000);
        std::vector<Session> sessions(static_cast<size_t>(sessionCount));
        std::vector<double> w(sessions.size());
        double wsum = 0;
        for (auto& x : w) wsum += (x = 0.3 + rng_.unit());
        int64_t given = 0;
        for (size_t i = 0; i < sessions.size(); ++i) {
            sessions[i].contacts = static_cast<int>(contacts * w[i] / wsum);
            given += sessions[i].contacts;
        }
        for (int64_t i = 0; given < contacts; ++i, ++given) sessions[i % sessions.size()].contacts++;

        // Decodes needed beyond the QSO lines, spread at about a dozen per listening period.
        int64_t fillerLines = writeJournal
            ? std::max<int64_t>(0, (journalBytes - contacts * 6 * qsoLineBytes) / 65) : 0;
        int64_t qsoRxPeriods = contacts * 4;
        double span = static_cast<double>(toMs - fromMs);
        double perPeriod = 12.0;
        double maxListen = span * 0.45 / 15000.0;  // leave room for the gaps between sessions
        if (fillerLines / perPeriod > maxListen) perPeriod = fillerLines / std::max(1.0, maxListen);
        int64_t extra = std::max<int64_t>(0, static_cast<int64_t>(fillerLines / perPeriod) - qsoRxPeriods);

        int64_t busyMs = 0;
        for (size_t i = 0; i < sessions.size(); ++i) {
            Session& s = sessions[i];
            s.mode = static_cast<int>(PickWeighted(rng_, kModes, std::size(kModes)));
            auto bands = BandsFor(s.mode);
            s.band = bands[PickWeighted(rng_, bands.data(), bands.size())];
            s.extraListen = static_cast<int64_t>(extra * w[i] / wsum);
            s.periods = s.contacts * 8 + s.extraListen + 4;
            busyMs += s.periods * kModes[s.mode].periodMs;
        }
        // Sessions in order, separated by random gaps that fill the rest of the span.
        double freeMs = std::max(0.0, span - static_cast<double>(busyMs));
        std::vector<double> gaps(sessions.size() + 1);
        double gsum = 0;
        for (auto& g : gaps) gsum += (g = 0.2 + rng_.unit());
        gsum -= gaps.back() - 0.01;  // the last session ends close to the end of the span
        gaps.back() = 0.01;
        // Each start is placed from the ideal layout so that rounding to whole minutes (which
        // every period length divides) never accumulates past the end of the span.
        auto alignUp = [](int64_t t) { return t + (60000 - t % 60000) % 60000; };
        double ideal = static_cast<double>(fromMs);
        int64_t previousEnd = fromMs;
        for (size_t i = 0; i < sessions.size(); ++i) {
            ideal += freeMs * gaps[i] / gsum;
            int64_t t = std::max(alignUp(static_cast<int64_t>(ideal)), alignUp(previousEnd));
            sessions[i].startMs = t;
            int64_t length = sessions[i].periods * kModes[sessions[i].mode].periodMs;
            ideal += static_cast<double>(length);
            previousEnd = t + length;
        }

        remainingRx_ = 0;
        for (auto& s : sessions) remainingRx_ += s.extraListen + s.contacts * 3 + 2;
        remainingContacts_ = contacts;
        journalTarget_ = journal.written() + journalBytes;
        qsoLineBytes_ = qsoLineBytes;
        for (auto& s : sessions) playSession(s);
    }

private:
    // Per-session state
    const Session* s_ = nullptr;
    std::string dialText_;
    int txOffset_ = 1500;

    // Half the contacts go to the regulars (a fifth of the partners), so many calls recur;
    // never the same station twice in a row.
    const Station& partner(bool vhf) {
        for (;;) {
            const std::vector<size_t>* from = nullptr;
            size_t n = partners_;
            if (vhf) from = &local_, n = local_.size();
            if (rng_.chance(0.5)) n = std::max<size_t>(1, n / 5);
            size_t idx = rng_.below(static_cast<uint32_t>(n));
            if (from) idx = (*from)[idx];
            if (idx != lastPartner_ || n == 1) {
                lastPartner_ = idx;
                return pool_[std::min(idx, pool_.size() - 1)];
            }
        }
    }
    const Station& anyStation(bool vhf) {
        if (vhf) return pool_[local_[rng_.below(static_cast<uint32_t>(local_.size()))]];
        return pool_[rng_.below(static_cast<uint32_t>(pool_.size()))];
    }

    void stamp(int64_t ms) {
        int64_t sec = FloorDiv(ms, 1000);
        int64_t day = FloorDiv(sec, 86400);
        if (day != cachedDay_) {
            int y, m, d;
            CivilFromDays(day, y, m, d);
            std::snprintf(dayText_, sizeof dayText_, "%02d%02d%02d_", y % 100, m, d);
            cachedDay_ = day;
        }
        int64_t sod = sec - day * 86400;
        journal.put(std::string_view(dayText_, 7));
        journal.digits(sod / 3600, 2);
        journal.digits(sod / 60 % 60, 2);
        journal.digits(sod % 60, 2);
    }

    // One journal line in the dated layout.
    void line(int64_t ms, bool tx, int snr, int dtTenths, int offset, std::string_view msg,
              const char* flag = nullptr) {
        journal.reserve(256);
        stamp(ms);
        journal.put(dialText_);
        journal.put(tx ? " Tx " : " Rx ");
        journal.put(kModes[s_->mode].journal);
        journal.number(snr, 4);
        // %5.1f
        int a = std::abs(dtTenths);
        char dt[8];
        int n = 0;
        dt[n++] = static_cast<char>('0' + a % 10);
        dt[n++] = '.';
        a /= 10;
        do dt[n++] = static_cast<char>('0' + a % 10), a /= 10;
        while (a);
        if (dtTenths < 0) dt[n++] = '-';
        for (int i = n; i < 5; ++i) journal.put(' ');
        while (n > 0) journal.put(dt[--n]);
        journal.number(offset, 5);
        journal.put(' ');
        journal.put(msg);
        if (flag) {
            for (size_t i = msg.size(); i < 38; ++i) journal.put(' ');
            journal.put(flag);
        }
        journal.put('\n');
    }

    void txLine(int64_t ms, const std::string& msg) { line(ms, true, 0, 0, txOffset_, msg); }

    int randomSnr() { return std::clamp(static_cast<int>(-24 + 30 * rng_.unit() * rng_.unit() + rng_.below(8)), -24, 20); }
    int randomDt() { return static_cast<int>(rng_.below(100)) < 80 ? rng_.range(-3, 8) : rng_.range(-20, 25); }

    // One decode heard between other stations.
    void fillerLine(int64_t ms, bool vhf) {
        const Station& a = anyStation(vhf);
        const Station& b = anyStation(vhf);
        std::string msg;
        uint32_t r = rng_.below(100);
        std::string_view g(a.grid.data(), 4);
        if (r < 26) msg = "CQ " + a.call + " " + std::string(g);
        else if (r < 30) msg = "CQ DX " + a.call + " " + std::string(g);
        else if (r < 31) msg = "CQ POTA " + a.call + " " + std::string(g);
        else if (&a == &b) msg = "CQ " + a.call;
        else if (r < 45) msg = b.call + " " + a.call + " " + std::string(g);
        else if (r < 60) msg = b.call + " " + a.call + " " + Report(randomSnr());
        else if (r < 72) msg = b.call + " " + a.call + " R" + Report(randomSnr());
        else if (r < 87) msg = b.call + " " + a.call + " RR73";
        else if (r < 97) msg = b.call + " " + a.call + " 73";
        else msg = b.call + " " + a.call + " RRR";
        const char* flag = nullptr;
        if (s_->mode == 4) flag = rng_.chance(0.5) ? "q0" : "q3";
        else if (s_->mode == 0 && rng_.chance(0.02)) {
            static const char* const flags[] = {"a1", "a2", "a3", "a4", "a7", "?"};
            flag = flags[rng_.below(6)];
        }
        line(ms, false, randomSnr(), randomDt(), 200 + static_cast<int>(rng_.below(2700)), msg, flag);
        ++fillerLines_;
    }

    int decodesThisPeriod() {
        if (!writeJournal) return 0;
        double perContact = contactsDone_ > 10 ? static_cast<double>(qsoBytes_) / static_cast<double>(contactsDone_)
                                               : 5.85 * static_cast<double>(qsoLineBytes_);
        double filler = static_cast<double>(journalTarget_) - static_cast<double>(journal.written())
                      - static_cast<double>(remainingContacts_) * perContact;
        double avg = fillerLines_ > 0 ? static_cast<double>(journal.written() - qsoBytes_)
                                            / static_cast<double>(fillerLines_) : 65.0;
        if (avg < 30 || avg > 120) avg = 65.0;
        double want = filler / avg / static_cast<double>(std::max<int64_t>(1, remainingRx_));
        if (remainingRx_ > 0) --remainingRx_;
        if (want <= 0) return 0;
        double n = want * (0.6 + 0.8 * rng_.unit());
        int k = static_cast<int>(n);
        if (rng_.unit() < n - k) ++k;
        return std::min(k, 80);
    }

    // A listening period, with the operator's Rx line (when there is one) among the decodes.
    void rxPeriod(int64_t ms, bool vhf, const std::string* qsoMsg, int snr, int offset) {
        int n = decodesThisPeriod();
        int at = qsoMsg ? static_cast<int>(rng_.below(static_cast<uint32_t>(n + 1))) : -1;
        for (int i = 0; i <= n; ++i) {
            if (i == at) {
                uint64_t before = journal.written();
                line(ms, false, snr, randomDt(), offset, *qsoMsg);
                qsoBytes_ += journal.written() - before;
            }
            if (i < n) fillerLine(ms, vhf);
        }
    }

    void qsoTx(int64_t ms, const std::string& msg) {
        if (!writeJournal) return;
        uint64_t before = journal.written();
        txLine(ms, msg);
        qsoBytes_ += journal.written() - before;
    }

    void playSession(const Session& s) {
        s_ = &s;
        const Mode& mode = kModes[s.mode];
        char dial[32];
        std::snprintf(dial, sizeof dial, "%10.3f", static_cast<double>(s.band.dialHz) / 1e6);
        dialText_ = dial;
        txOffset_ = 400 + 50 * static_cast<int>(rng_.below(45));
        bool vhf = s.band.dialHz > 30000000;
        int64_t p = 0;
        const int64_t len = mode.periodMs;
        auto at = [&](int64_t k) { return s.startMs + k * len; };
        int64_t listenLeft = s.extraListen;
        int contactsLeft = s.contacts;
        const std::string cqMine = "CQ " + opt_.call + " " + grid4_;

        auto listen = [&](int64_t count) {
            for (int64_t i = 0; i < count; ++i, ++p) {
                if (!writeJournal) continue;
                if (rng_.chance(0.08)) {
                    txLine(at(p), cqMine);  // a CQ nobody answered: nothing heard in this period
                    if (remainingRx_ > 0) --remainingRx_;
                } else {
                    rxPeriod(at(p), vhf, nullptr, 0, 0);
                }
            }
        };
        listen(2);
        while (contactsLeft > 0) {
            int64_t chunk = contactsLeft > 0 ? listenLeft / contactsLeft : listenLeft;
            listen(chunk);
            listenLeft -= chunk;
            p += playQso(p, at, vhf, cqMine);
            --contactsLeft;
            --remainingContacts_;
            ++contactsDone_;
        }
        listen(listenLeft + 2);
    }

    // The six periods of one QSO; returns the periods used.
    template <class At> int64_t playQso(int64_t p, At at, bool vhf, const std::string& cqMine) {
        const Station& st = partner(vhf);
        const Mode& mode = kModes[s_->mode];
        bool noGrid = rng_.chance(0.05);
        bool theyCalledCq = rng_.chance(0.55);
        int sent = std::clamp(randomSnr(), -24, 15);
        int rcvd = std::clamp(randomSnr(), -24, 15);
        int theirOffset = 200 + static_cast<int>(rng_.below(2700));
        auto rxSnr = [&] { return std::clamp(sent + rng_.range(-2, 2), -26, 20); };
        const std::string& me = opt_.call;
        std::string g4 = st.grid.substr(0, 4);
        int64_t onMs, offMs;
        if (theyCalledCq) {
            std::string cq = (rng_.chance(0.1) ? "CQ DX " : "CQ ") + st.call + (noGrid ? "" : " " + g4);
            if (writeJournal) rxPeriod(at(p), vhf, &cq, rxSnr(), theirOffset);
            qsoTx(at(p + 1), st.call + " " + me + " " + grid4_);
            std::string m2 = me + " " + st.call + " " + Report(rcvd);
            if (writeJournal) rxPeriod(at(p + 2), vhf, &m2, rxSnr(), theirOffset);
            qsoTx(at(p + 3), st.call + " " + me + " R" + Report(sent));
            std::string m4 = me + " " + st.call + " RR73";
            if (writeJournal) rxPeriod(at(p + 4), vhf, &m4, rxSnr(), theirOffset);
            qsoTx(at(p + 5), st.call + " " + me + " 73");
            onMs = at(p + 1);
            offMs = at(p + 5) + mode.periodMs - 2000;
        } else {
            qsoTx(at(p), cqMine);
            std::string m1 = me + " " + st.call + (noGrid ? " " + Report(rcvd) : " " + g4);
            if (writeJournal) rxPeriod(at(p + 1), vhf, &m1, rxSnr(), theirOffset);
            qsoTx(at(p + 2), st.call + " " + me + " " + Report(sent));
            std::string m3 = me + " " + st.call + " R" + Report(rcvd);
            if (writeJournal) rxPeriod(at(p + 3), vhf, &m3, rxSnr(), theirOffset);
            qsoTx(at(p + 4), st.call + " " + me + " RR73");
            onMs = at(p + 1);
            offMs = at(p + 4) + mode.periodMs - 2000;
            std::string m5 = me + " " + st.call + " 73";
            if (writeJournal) rxPeriod(at(p + 5), vhf, rng_.chance(0.7) ? &m5 : nullptr, rxSnr(), theirOffset);
        }
        const char* comment = rng_.chance(0.04) ? kComments[rng_.below(std::size(kComments))] : "";
        const char* name = rng_.chance(0.04) ? kNames[rng_.below(std::size(kNames))] : "";
        const char* power = kPowers[rng_.below(std::size(kPowers))];
        std::string grid = noGrid ? "" : st.grid;
        writeContact(st.call, grid, FloorDiv(onMs, 1000), FloorDiv(offMs, 1000), s_->band,
                     s_->band.dialHz + txOffset_, mode, Report(sent), Report(rcvd), power, comment, name);
        return 6;
    }

    static void DateTime(int64_t sec, char* date, char* time, bool separators) {
        int y, m, d;
        int64_t day = FloorDiv(sec, 86400);
        CivilFromDays(day, y, m, d);
        // The ranges they always have, which tells the compiler the texts fit.
        y = std::clamp(y, 0, 9999), m = std::clamp(m, 1, 12), d = std::clamp(d, 1, 31);
        int64_t sod = sec - day * 86400;
        int hh = static_cast<int>(sod / 3600), mm = static_cast<int>(sod / 60 % 60), ss = static_cast<int>(sod % 60);
        if (separators) {
            std::snprintf(date, 16, "%04d-%02d-%02d", y, m, d);
            std::snprintf(time, 16, "%02d:%02d:%02d", hh, mm, ss);
        } else {
            std::snprintf(date, 16, "%04d%02d%02d", y, m, d);
            std::snprintf(time, 16, "%02d%02d%02d", hh, mm, ss);
        }
    }

    void field(std::string_view name, std::string_view value) {
        adif.put('<');
        adif.put(name);
        adif.put(':');
        adif.number(static_cast<int64_t>(Utf8Length(value)));
        adif.put('>');
        adif.put(value);
        adif.put(' ');
    }

    static size_t Utf8Length(std::string_view s) {
        size_t n = 0;
        for (unsigned char c : s) n += (c & 0xC0) != 0x80;
        return n;
    }

    // Non-ASCII text reaches the ADIF file as U+FFFD, one replacement per character.
    static std::string AdifText(std::string_view s) {
        std::string out;
        for (size_t i = 0; i < s.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(s[i]);
            if (c < 0x80) out += static_cast<char>(c);
            else if ((c & 0xC0) != 0x80) out += "\xEF\xBF\xBD";
        }
        return out;
    }

    void writeContact(const std::string& call, const std::string& grid, int64_t onSec, int64_t offSec,
                      const Band& band, int64_t freqHz, const Mode& mode, const std::string& sent,
                      const std::string& rcvd, std::string_view power, std::string_view comment,
                      std::string_view name) {
        char onD[16], onT[16], offD[16], offT[16], freq[32];
        std::snprintf(freq, sizeof freq, "%lld.%06lld", static_cast<long long>(freqHz / 1000000),
                      static_cast<long long>(freqHz % 1000000));
        if (log.isOpen()) {
            log.reserve(512);
            DateTime(onSec, onD, onT, true);
            DateTime(offSec, offD, offT, true);
            for (std::string_view f : {std::string_view(onD), std::string_view(onT), std::string_view(offD),
                                       std::string_view(offT), std::string_view(call), std::string_view(grid),
                                       std::string_view(freq), std::string_view(mode.logName),
                                       std::string_view(sent), std::string_view(rcvd), power, comment, name}) {
                log.put(f);
                log.put(',');
            }
            log.put('\n');
        }
        if (adif.isOpen()) {
            adif.reserve(1024);
            if (needAdifHeader && !adifHeaderWritten_) {
                // The file is created when the first contact is logged, moments after it ended.
                DateTime(offSec + 2, onD, onT, false);
                adif.put("ADIF Export\n<adif_ver:5>3.1.1\n<created_timestamp:15>");
                adif.put(onD);
                adif.put(' ');
                adif.put(onT);
                adif.put("\n<programid:6>WSJT-X\n<programversion:5>2.6.1\n<eoh>\n");
                adifHeaderWritten_ = true;
            }
            DateTime(onSec, onD, onT, false);
            DateTime(offSec, offD, offT, false);
            field("call", call);
            field("gridsquare", grid);
            field("mode", mode.adifMode);
            if (*mode.adifSub) field("submode", mode.adifSub);
            field("rst_sent", sent);
            field("rst_rcvd", rcvd);
            field("qso_date", onD);
            field("time_on", onT);
            field("qso_date_off", offD);
            field("time_off", offT);
            field("band", band.name);
            field("freq", freq);
            field("station_callsign", opt_.call);
            field("my_gridsquare", opt_.grid);
            if (!power.empty()) field("tx_pwr", power);
            if (!comment.empty()) field("comment", AdifText(comment));
            if (!name.empty()) field("name", AdifText(name));
            adif.put("<eor>\n");
        }
    }

    const Options& opt_;
    std::vector<Station> pool_;
    Rng rng_;
    size_t partners_;
    std::vector<size_t> local_;
    std::string grid4_;
    int64_t cachedDay_ = INT64_MIN;
    char dayText_[16] = {};
    int64_t remainingRx_ = 0;
    int64_t remainingContacts_ = 0;
    uint64_t journalTarget_ = 0;
    int64_t qsoLineBytes_ = 60;
    uint64_t fillerLines_ = 0;
    uint64_t qsoBytes_ = 0;
    int64_t contactsDone_ = 0;
    size_t lastPartner_ = SIZE_MAX;
    bool adifHeaderWritten_ = false;
};

}  // namespace

bool WriteActivity(const Options& o, std::vector<Station> pool, uint64_t seed,
                   const ActivityFiles& files, int64_t contacts, int64_t journalBytes,
                   int64_t fromMs, int64_t toMs) {
    Generator g(o, std::move(pool), seed);
    g.writeJournal = files.writeJournal;
    bool ok = true;
    if (files.writeLogs) ok = g.log.open(files.log, files.append) && g.adif.open(files.adif, files.append);
    if (g.writeJournal) ok = ok && g.journal.open(files.journal, files.append);
    if (!ok) return false;
    g.needAdifHeader = files.needAdifHeader;
    g.run(contacts, journalBytes, fromMs, toMs);
    g.log.close();
    g.adif.close();
    g.journal.close();
    return true;
}

}  // namespace gen_station
