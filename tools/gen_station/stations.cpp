#include "stations.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unordered_set>

namespace gen_station {

std::string Locator(double lat, double lon, bool six) {
    double x = std::clamp(lon + 180.0, 0.0, 359.9999);
    double y = std::clamp(lat + 90.0, 0.0, 179.9999);
    std::string loc;
    loc += static_cast<char>('A' + static_cast<int>(x / 20));
    loc += static_cast<char>('A' + static_cast<int>(y / 10));
    loc += static_cast<char>('0' + static_cast<int>(std::fmod(x, 20.0) / 2));
    loc += static_cast<char>('0' + static_cast<int>(std::fmod(y, 10.0)));
    if (six) {
        loc += static_cast<char>('a' + static_cast<int>(std::fmod(x, 2.0) * 12));
        loc += static_cast<char>('a' + static_cast<int>(std::fmod(y, 1.0) * 24));
    }
    return loc;
}

namespace {

std::string PlaceIn(Rng& rng, const Area& a, bool six) {
    double lat = a.latMin + (a.latMax - a.latMin) * rng.unit();
    double lon = a.lonMin + (a.lonMax - a.lonMin) * rng.unit();
    return Locator(lat, lon, six);
}

}  // namespace

std::string MakeCall(Rng& rng, const Entity& e, const Area** area) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    auto heads = SplitOn(e.heads, ' ');
    const Area& a = e.areas[rng.below(static_cast<uint32_t>(e.areas.size()))];
    *area = &a;
    std::string call = heads[rng.below(static_cast<uint32_t>(heads.size()))];
    size_t nd = a.digits.size();
    if (nd > 0) call += a.digits[rng.below(static_cast<uint32_t>(nd))];
    int len = rng.below(100) < 40 ? 2 : 3;
    for (int i = 0; i < len; ++i) call += letters[rng.below(26)];
    return call;
}

namespace {

int PickEntity(Rng& rng) {
    static std::vector<double> cumulative;
    const auto& table = Entities();
    if (cumulative.empty()) {
        double sum = 0;
        for (const auto& e : table) cumulative.push_back(sum += e.weight);
    }
    double r = rng.unit() * cumulative.back();
    auto it = std::upper_bound(cumulative.begin(), cumulative.end(), r);
    return static_cast<int>(std::min<size_t>(it - cumulative.begin(), table.size() - 1));
}

}  // namespace

std::vector<Station> MakePool(uint64_t seed, size_t count, const std::string& myCall) {
    Rng rng(seed ^ 0x5EEDF00Dull);
    const auto& table = Entities();
    std::vector<Station> pool;
    std::unordered_set<std::string> taken{myCall};
    for (size_t e = 0; e < table.size(); ++e)
        for (const auto& x : SplitOn(table[e].exacts, ',')) {
            std::string call = BareItem(x);
            taken.insert(call);
            if (call.find('/') == std::string::npos)
                pool.push_back({call, PlaceIn(rng, table[e].areas[0], false), static_cast<int>(e)});
        }
    // Keep the exact-call stations spread through the pool rather than all at its busy head.
    std::vector<Station> special;
    special.swap(pool);
    size_t attempts = 0;
    while (pool.size() < count) {
        if (++attempts > count * 100 + 100000) {
            std::fprintf(stderr, "gen_station: cannot make %zu distinct callsigns\n", count);
            std::exit(1);
        }
        if (!special.empty() && rng.chance(0.02)) {
            pool.push_back(special.back());
            special.pop_back();
            continue;
        }
        int e = PickEntity(rng);
        const Area* area = nullptr;
        std::string call = MakeCall(rng, table[e], &area);
        if (!taken.insert(call).second || LookupEntity(call) != e) continue;
        pool.push_back({call, PlaceIn(rng, *area, rng.chance(0.15)), e});
    }
    return pool;
}

}  // namespace gen_station
