// Checks the committed demo station (data/demo/WSJT-X/) against the layouts WSJT-X 2.6 writes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kDemo = VANTREL_SOURCE_DIR "/data/demo/WSJT-X/";

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string::npos) nl = text.size();
        lines.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    return lines;
}

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> out(1);
    for (char c : text) {
        if (c == sep) out.emplace_back();
        else out.back().push_back(c);
    }
    return out;
}

bool Digits(const std::string& s, size_t from, size_t n) {
    if (from + n > s.size()) return false;
    return std::all_of(s.begin() + from, s.begin() + from + n, [](char c) { return c >= '0' && c <= '9'; });
}

bool IsDate(const std::string& s) {  // yyyy-MM-dd
    if (s.size() != 10 || s[4] != '-' || s[7] != '-' || !Digits(s, 0, 4) || !Digits(s, 5, 2) || !Digits(s, 8, 2))
        return false;
    int m = std::stoi(s.substr(5, 2)), d = std::stoi(s.substr(8, 2));
    return m >= 1 && m <= 12 && d >= 1 && d <= 31;
}

bool IsTime(const std::string& s) {  // hh:mm:ss
    return s.size() == 8 && s[2] == ':' && s[5] == ':' && Digits(s, 0, 2) && Digits(s, 3, 2) && Digits(s, 6, 2) &&
           std::stoi(s.substr(0, 2)) < 24 && std::stoi(s.substr(3, 2)) < 60 && std::stoi(s.substr(6, 2)) < 60;
}

std::string Without(std::string s, char c) {
    s.erase(std::remove(s.begin(), s.end(), c), s.end());
    return s;
}

std::vector<std::vector<std::string>> LogFields() {
    std::vector<std::vector<std::string>> rows;
    for (const auto& line : Lines(ReadAll(kDemo + "wsjtx.log"))) rows.push_back(Split(line, ','));
    return rows;
}

// One ADIF record line read field by field; lengths count characters, not bytes.
std::map<std::string, std::string> AdifRecord(const std::string& line) {
    std::map<std::string, std::string> fields;
    size_t i = 0;
    while ((i = line.find('<', i)) != std::string::npos) {
        size_t colon = line.find(':', i), close = line.find('>', i);
        if (close == std::string::npos) break;
        if (colon == std::string::npos || colon > close) break;  // <eor>
        std::string name = line.substr(i + 1, colon - i - 1);
        size_t chars = std::stoul(line.substr(colon + 1, close - colon - 1));
        size_t end = close + 1;
        for (size_t n = 0; n < chars && end < line.size(); ++n) {
            ++end;
            while (end < line.size() && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) ++end;
        }
        fields[name] = line.substr(close + 1, end - close - 1);
        i = end;
    }
    return fields;
}

TEST(DemoStation, LogLinesHaveFourteenFieldsInOrder) {
    const auto rows = LogFields();
    ASSERT_GE(rows.size(), 300u);
    std::string previous;
    int rawCommas = 0, emptyGrids = 0;
    for (const auto& f : rows) {
        ASSERT_GE(f.size(), 14u) << f[0];
        EXPECT_TRUE(IsDate(f[0]) && IsTime(f[1]) && IsDate(f[2]) && IsTime(f[3])) << f[0] << " " << f[1];
        EXPECT_EQ(f.back(), "") << "a line ends with a comma (empty propagation mode)";
        EXPECT_EQ(f[6].size() - f[6].find('.'), 7u) << "six decimals: " << f[6];
        EXPECT_EQ(f[0] + f[1] <= f[2] + f[3], true) << "time on after time off: " << f[4];
        EXPECT_GE(f[2] + f[3], previous) << "log out of order at " << f[4];
        previous = f[2] + f[3];
        rawCommas += f.size() > 14;
        emptyGrids += f[5].empty();
    }
    EXPECT_GT(rawCommas, 0) << "some comments or names hold raw commas";
    EXPECT_GT(emptyGrids, 0);
}

TEST(DemoStation, AdifRecordsMatchTheLogLineByLine) {
    const auto rows = LogFields();
    const auto lines = Lines(ReadAll(kDemo + "wsjtx_log.adi"));
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "ADIF Export");
    EXPECT_EQ(lines[1], "<adif_ver:5>3.1.1");
    EXPECT_EQ(lines[3], "<programid:6>WSJT-X");
    ASSERT_EQ(lines[5], "<eoh>");
    ASSERT_EQ(lines.size() - 6, rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string& line = lines[i + 6];
        ASSERT_TRUE(line.size() > 6 && line.compare(line.size() - 6, 6, " <eor>") == 0) << line;
        auto rec = AdifRecord(line);
        const auto& f = rows[i];
        EXPECT_EQ(rec["call"], f[4]);
        EXPECT_EQ(rec["gridsquare"], f[5]);
        EXPECT_EQ(rec["qso_date"], Without(f[0], '-'));
        EXPECT_EQ(rec["time_on"], Without(f[1], ':'));
        EXPECT_EQ(rec["freq"], f[6]);
        if (f[7] == "FT4" || f[7] == "Q65") {
            EXPECT_EQ(rec["mode"], "MFSK");
            EXPECT_EQ(rec["submode"], f[7]);
        } else {
            EXPECT_EQ(rec["mode"], f[7]);
        }
        EXPECT_EQ(rec["station_callsign"], "W9XYZ");
        EXPECT_EQ(line.rfind("<call:", 0), 0u) << "call comes first";
    }
}

TEST(DemoStation, JournalLinesFollowTheDatedLayoutAndHoldEveryContact) {
    const auto lines = Lines(ReadAll(kDemo + "ALL.TXT"));
    ASSERT_GE(lines.size(), 3000u);
    std::string previous;
    std::set<std::string> answered;  // stations the operator sent to
    for (const auto& l : lines) {
        ASSERT_GE(l.size(), 50u) << l;
        ASSERT_TRUE(Digits(l, 0, 6) && l[6] == '_' && Digits(l, 7, 6) && l[13] == ' ') << l;
        std::string freq = l.substr(13, 10);
        size_t dot = freq.find('.');
        ASSERT_TRUE(dot != std::string::npos && dot == 6 && freq.find_first_not_of(' ') < dot) << l;
        const std::string dir = l.substr(24, 2);
        ASSERT_TRUE((dir == "Rx" || dir == "Tx") && l[23] == ' ' && l[26] == ' ') << l;
        // Mode: six wide, except Q65 names, which are written unpadded.
        size_t after = l.compare(27, 3, "Q65") == 0 ? l.find(' ', 27) : 33;
        ASSERT_NE(after, std::string::npos);
        const std::string numbers = l.substr(after, 14);  // %4d %5.1f %5d
        int snr = 0, offset = 0;
        double dt = 0;
        ASSERT_EQ(std::sscanf(numbers.c_str(), "%4d%5lf%5d", &snr, &dt, &offset), 3) << l;
        ASSERT_EQ(l[after + 14], ' ') << l;
        if (dir == "Tx") {
            EXPECT_EQ(numbers.substr(0, 9), "   0  0.0") << l;
        }
        EXPECT_GE(l.substr(0, 13), previous) << "journal out of order";
        previous = l.substr(0, 13);
        auto words = Split(l.substr(after + 15), ' ');
        if (dir == "Tx" && words.size() >= 2 && words[0] != "CQ" && words[1] == "W9XYZ") answered.insert(words[0]);
    }
    for (const auto& f : LogFields()) EXPECT_TRUE(answered.count(f[4])) << f[4] << " is not in the journal";
}

TEST(DemoStation, IniKeysAreSortedAsWsjtxWritesThem) {
    const auto lines = Lines(ReadAll(kDemo + "WSJT-X.ini"));
    std::vector<std::string> keys;
    bool inConfiguration = false;
    for (const auto& l : lines) {
        if (!l.empty() && l[0] == '[') inConfiguration = l == "[Configuration]";
        else if (inConfiguration && !l.empty()) keys.push_back(l);
    }
    ASSERT_FALSE(keys.empty());
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    auto at = [&](const std::string& line) { return std::find(keys.begin(), keys.end(), line) - keys.begin(); };
    const auto end = static_cast<long>(keys.size());
    ASSERT_LT(at("BroadcastToN1MM=true"), end);
    ASSERT_LT(at("N1MMServer=127.0.0.1"), end);
    ASSERT_LT(at("MyCall=W9XYZ"), end);
    EXPECT_LT(at("BroadcastToN1MM=true"), at("MyCall=W9XYZ"));
    EXPECT_LT(at("MyGrid=EN37"), at("N1MMServer=127.0.0.1"));
    EXPECT_LT(at("N1MMServer=127.0.0.1"), at("N1MMServerPort=2333"));
}

TEST(DemoStation, CountryFileKnowsEveryCallsign) {
    const std::string text = ReadAll(kDemo + "cty.dat");
    std::map<std::string, std::string> exact, prefix;  // -> entity name
    std::string entity, pending;
    for (auto line : Lines(text)) {
        ASSERT_TRUE(!line.empty() && line.back() == '\r') << "CRLF line ends: " << line;
        line.pop_back();
        if (line[0] != ' ') {
            ASSERT_EQ(Split(line, ':').size(), 9u) << line;
            entity = line.substr(0, line.find(':'));
            continue;
        }
        for (auto item : Split(line.substr(line.find_first_not_of(' ')), ',')) {
            if (item.empty()) continue;
            if (item.back() == ';') item.pop_back();
            bool isExact = item[0] == '=';
            item = item.substr(isExact, item.find_first_of("([") - isExact);
            (isExact ? exact : prefix)[item] = entity;
        }
    }
    ASSERT_GT(exact.size(), 3u);
    ASSERT_GT(prefix.size(), 300u);
    auto lookup = [&](const std::string& call) -> std::string {
        if (auto it = exact.find(call); it != exact.end()) return it->second;
        for (size_t n = call.size(); n > 0; --n)
            if (auto it = prefix.find(call.substr(0, n)); it != prefix.end()) return it->second;
        return {};
    };
    EXPECT_EQ(lookup("W9XYZ"), "United States");
    EXPECT_EQ(lookup("KL7ABC"), "Alaska");
    EXPECT_EQ(lookup("IT9ABC"), "Sicily");
    std::set<std::string> countries;
    for (const auto& f : LogFields()) {
        std::string country = lookup(f[4]);
        EXPECT_FALSE(country.empty()) << f[4];
        countries.insert(country);
    }
    EXPECT_GE(countries.size(), 20u) << "the demo log reaches many countries";
}

}  // namespace
