// gen_station: writes a realistic WSJT-X data folder (wsjtx.log, wsjtx_log.adi, ALL.TXT,
// WSJT-X.ini, cty.dat) for the demo station, for tests and for benchmarks.
//
// Everything is derived from --seed with a private generator, so a given seed and set of
// arguments always gives the same bytes. The files follow what WSJT-X 2.6 writes on Linux.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------------------------------------
// Random numbers: splitmix64, identical on every platform.

struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed) {}
    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t below(uint32_t n) { return n == 0 ? 0 : static_cast<uint32_t>((next() >> 32) % n); }
    int range(int lo, int hi) { return lo + static_cast<int>(below(static_cast<uint32_t>(hi - lo + 1))); }
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return unit() < p; }
};

// ---------------------------------------------------------------------------------------------
// Countries. Facts as the country file lists them (longitude west positive there); the boxes
// (longitude east positive) lie inside the country and give the stations' locators.

struct Area {
    const char* digits;  // call-area digits used with this box ("" = the heads carry them)
    double latMin, latMax, lonMin, lonMax;
};

struct Entity {
    const char* name;
    int cq, itu;
    const char* continent;
    double lat, lonWest, utc;
    const char* primary;
    const char* prefixes;  // comma-separated, as listed after the entity line
    const char* exacts;    // comma-separated full callsigns (written with "="), may carry zones
    const char* heads;     // blank-separated letter groups that start this country's calls
    std::vector<Area> areas;
    double weight;         // share of the stations on the air
};

const std::vector<Entity>& Entities() {
    static const std::vector<Entity> table = {
        // North America
        {"United States", 5, 8, "NA", 37.53, 91.67, 5.0, "K",
         "AA,AB,AC,AD,AE,AF,AG,AI,AJ,AK,K,N,W,K0(4)[7],N0(4)[7],W0(4)[7],KA0(4)[7],KB0(4)[7],"
         "KC0(4)[7],KD0(4)[7],K6(3)[6],N6(3)[6],W6(3)[6],K7(3)[6],N7(3)[6],W7(3)[6]",
         "", "K W N K W N AA AB AC AD AE AF AG AI AJ AK KA KB KC KD KE KF KI KJ KK KM KN KO WA WB WD",
         {{"1", 41.6, 44.8, -73.3, -70.6}, {"2", 40.3, 42.5, -74.9, -73.9},
          {"3", 39.9, 41.3, -79.8, -75.5}, {"4", 33.5, 36.2, -84.0, -78.5},
          {"5", 30.5, 35.5, -100.0, -95.5}, {"6", 34.0, 36.5, -119.8, -117.5},
          {"7", 43.5, 46.8, -122.5, -116.5}, {"8", 39.5, 41.4, -84.5, -81.0},
          {"9", 39.0, 42.3, -89.9, -88.0}, {"0", 38.0, 45.0, -100.0, -94.5}},
         30.0},
        {"Canada", 5, 9, "NA", 44.35, 78.75, 5.0, "VE",
         "CF,CG,CJ,CK,VA,VB,VC,VE,VG,VO,VX,VY9,XJ,XK,XL,XM,XN,XO,VA2[4],VE2[4]",
         "VE2TOP(2)[4],VE3XIS/VE8", "VE VA VE",
         {{"1", 44.5, 45.5, -65.5, -62.5}, {"2", 45.5, 47.0, -74.0, -71.0},
          {"3", 44.0, 45.8, -81.0, -76.5}, {"4", 49.2, 51.0, -100.0, -97.0},
          {"5", 50.0, 53.0, -108.0, -103.0}, {"6", 51.0, 54.0, -115.0, -112.0},
          {"7", 49.1, 50.5, -123.0, -119.0}},
         4.0},
        {"Alaska", 1, 1, "NA", 61.40, 148.87, 8.0, "KL", "AL,KL,NL,WL", "KD0ZAK,WB7AKR(1)[1]",
         "KL AL NL WL", {{"7", 60.5, 65.0, -151.0, -145.0}}, 0.4},
        {"Hawaii", 31, 61, "OC", 21.12, 157.48, 10.0, "KH6", "AH6,AH7,KH6,KH7,NH6,NH7,WH6,WH7",
         "KF6HIX", "KH NH AH WH", {{"6", 19.5, 21.6, -158.2, -155.2}}, 0.4},
        {"Puerto Rico", 8, 11, "NA", 18.18, 66.55, 4.0, "KP4", "KP3,KP4,NP3,NP4,WP3,WP4", "",
         "KP NP WP", {{"4", 18.0, 18.4, -67.1, -65.7}}, 0.4},
        {"US Virgin Islands", 8, 11, "NA", 17.73, 64.80, 4.0, "KP2", "KP2,NP2,WP2", "",
         "KP NP WP", {{"2", 17.7, 18.4, -65.0, -64.6}}, 0.1},
        {"Mexico", 6, 10, "NA", 21.32, 100.23, 6.0, "XE",
         "4A,4B,4C,6D,6E,6F,6G,6H,6I,6J,XA,XB,XC,XD,XE,XF,XG,XH,XI", "", "XE XE XF",
         {{"123", 19.0, 25.0, -104.0, -98.0}}, 1.2},
        {"Cuba", 8, 11, "NA", 21.50, 80.00, 5.0, "CM", "CL,CM,CO,T4", "", "CO CM CL",
         {{"2368", 21.5, 22.8, -83.0, -78.0}}, 0.5},
        {"Dominican Republic", 8, 11, "NA", 18.80, 70.68, 4.0, "HI", "HI", "", "HI",
         {{"38", 18.4, 19.7, -71.5, -69.0}}, 0.3},
        {"Costa Rica", 7, 11, "NA", 10.00, 84.00, 6.0, "TI", "TE,TI", "", "TI",
         {{"2345", 9.0, 10.8, -85.0, -83.0}}, 0.3},
        {"Guatemala", 7, 11, "NA", 15.50, 90.30, 6.0, "TG", "TD,TG", "", "TG",
         {{"9", 14.5, 16.5, -91.5, -89.5}}, 0.2},
        {"Panama", 7, 11, "NA", 9.00, 80.00, 5.0, "HP", "3E,3F,H3,H8,H9,HO,HP", "", "HP",
         {{"1238", 8.0, 9.3, -82.0, -78.5}}, 0.2},
        {"Jamaica", 8, 11, "NA", 18.20, 77.47, 5.0, "6Y", "6Y", "", "6Y",
         {{"5", 17.9, 18.4, -78.2, -76.4}}, 0.1},
        {"Bahamas", 8, 11, "NA", 24.25, 76.00, 5.0, "C6", "C6", "", "C6A",
         {{"", 24.0, 26.5, -78.2, -76.5}}, 0.1},
        {"Greenland", 40, 5, "NA", 74.00, 42.78, 3.0, "OX", "OX,XP", "", "OX",
         {{"3", 60.7, 69.5, -53.5, -46.0}}, 0.05},
        // South America
        {"Brazil", 11, 15, "SA", -10.00, 53.00, 3.0, "PY",
         "PP,PQ,PR,PS,PT,PU,PV,PW,PX,PY,ZV,ZW,ZX,ZY,ZZ", "", "PY PY PU PP PT",
         {{"1", -23.0, -21.5, -44.5, -41.5}, {"2", -24.0, -20.5, -51.0, -45.5},
          {"3", -31.0, -28.0, -55.0, -51.0}, {"4", -21.0, -16.0, -48.0, -42.0},
          {"5", -26.0, -23.5, -53.5, -49.0}, {"7", -10.0, -5.0, -40.0, -35.5}},
         2.5},
        {"Argentina", 13, 14, "SA", -34.80, 65.92, 3.0, "LU",
         "AY,AZ,L1,L2,L3,L4,L5,L6,L7,L8,L9,LO,LP,LQ,LR,LS,LT,LU,LV,LW", "", "LU LW",
         {{"1234567", -38.0, -31.0, -65.0, -58.0}}, 1.2},
        {"Chile", 12, 14, "SA", -30.00, 71.00, 4.0, "CE", "3G,CA,CB,CC,CD,CE,XQ,XR", "",
         "CE CA CB XQ", {{"123456", -40.0, -27.0, -72.8, -70.8}}, 0.8},
        {"Uruguay", 13, 14, "SA", -33.00, 56.00, 3.0, "CX", "CV,CW,CX", "", "CX",
         {{"123456789", -34.5, -31.0, -57.5, -54.0}}, 0.4},
        {"Colombia", 9, 12, "SA", 4.00, 73.00, 5.0, "HK", "5J,5K,HJ,HK", "", "HK HJ",
         {{"1234567", 2.0, 10.0, -76.0, -72.0}}, 0.5},
        {"Venezuela", 9, 12, "SA", 8.00, 66.00, 4.0, "YV", "4M,YV,YW,YX,YY", "", "YV",
         {{"123456", 7.0, 10.5, -71.0, -63.0}}, 0.3},
        {"Peru", 10, 12, "SA", -10.00, 76.00, 5.0, "OA", "4T,OA,OB,OC", "", "OA",
         {{"1234567", -16.0, -5.0, -79.0, -72.0}}, 0.3},
        {"Ecuador", 10, 12, "SA", -1.40, 78.40, 5.0, "HC", "HC,HD", "", "HC",
         {{"12345", -4.0, 0.8, -80.0, -77.5}}, 0.2},
        {"Paraguay", 11, 14, "SA", -25.00, 57.00, 4.0, "ZP", "ZP", "", "ZP",
         {{"5", -26.5, -23.0, -57.5, -55.0}}, 0.1},
        {"Bolivia", 10, 12, "SA", -17.00, 65.00, 4.0, "CP", "CP", "", "CP",
         {{"123456", -20.0, -14.0, -68.0, -62.0}}, 0.1},
        // Europe
        {"England", 14, 27, "EU", 52.77, 1.47, 0.0, "G", "2E,G,M", "", "G G M 2E",
         {{"0134678", 51.0, 53.5, -2.5, 0.5}}, 5.0},
        {"Scotland", 14, 27, "EU", 56.82, 4.18, 0.0, "GM", "2M,GM,MM", "", "GM MM",
         {{"03468", 55.5, 57.5, -5.0, -2.5}}, 0.8},
        {"Wales", 14, 27, "EU", 52.28, 3.73, 0.0, "GW", "2W,GW,MW", "", "GW MW",
         {{"0348", 51.6, 53.1, -4.4, -3.0}}, 0.4},
        {"Northern Ireland", 14, 27, "EU", 54.73, 6.68, 0.0, "GI", "2I,GI,MI", "", "GI MI",
         {{"034", 54.2, 55.0, -7.5, -5.9}}, 0.2},
        {"Shetland Islands", 14, 27, "EU", 60.50, 1.50, 0.0, "*GM/s", "", "GM3ZET,MM0LSH,2M0ZET",
         "", {{"", 59.9, 60.8, -1.6, -0.8}}, 0.0},
        {"Ireland", 14, 27, "EU", 53.13, 8.02, 0.0, "EI", "EI,EJ", "", "EI",
         {{"2345789", 51.8, 54.5, -9.5, -6.5}}, 0.6},
        {"Germany", 14, 28, "EU", 51.00, -10.00, -1.0, "DL",
         "DA,DB,DC,DD,DE,DF,DG,DH,DI,DJ,DK,DL,DM,DN,DO,DP,DQ,DR", "",
         "DL DL DK DJ DF DG DH DO DM DB DC DD", {{"0123456789", 48.0, 53.5, 7.0, 13.5}}, 8.0},
        {"France", 14, 27, "EU", 46.00, -2.00, -1.0, "F", "F,HW,HX,HY,TH,TM,TP,TQ,TV", "", "F",
         {{"123456", 44.0, 49.5, -0.5, 6.0}}, 3.0},
        {"Italy", 15, 28, "EU", 42.82, -12.58, -1.0, "I", "I", "", "I IK IZ IW IU",
         {{"12345678", 41.0, 45.5, 9.0, 14.0}}, 4.0},
        {"Sicily", 15, 28, "EU", 37.50, -14.00, -1.0, "*IT9",
         "IB9,ID9,IE9,IF9,II9,IJ9,IO9,IQ9,IR9,IT9,IU9,IW9,IY9", "", "IT IW IU",
         {{"9", 37.0, 38.2, 13.0, 15.5}}, 0.5},
        {"Spain", 14, 37, "EU", 40.37, 4.88, -1.0, "EA", "AM,AN,AO,EA,EB,EC,ED,EE,EF,EG,EH", "",
         "EA EB EC", {{"123457", 37.5, 42.5, -6.0, -1.0}}, 3.0},
        {"Balearic Islands", 14, 37, "EU", 39.60, -2.95, -1.0, "EA6",
         "AM6,AN6,AO6,EA6,EB6,EC6,ED6,EE6,EF6,EG6,EH6", "", "EA EB",
         {{"6", 39.3, 39.9, 2.4, 3.4}}, 0.2},
        {"Canary Islands", 33, 36, "AF", 28.32, 15.85, 0.0, "EA8",
         "AM8,AN8,AO8,EA8,EB8,EC8,ED8,EE8,EF8,EG8,EH8", "", "EA EC",
         {{"8", 27.8, 28.6, -16.8, -13.8}}, 0.3},
        {"Portugal", 14, 37, "EU", 39.50, 8.00, 0.0, "CT", "CQ,CR,CS,CT", "", "CT CS CR",
         {{"12", 37.2, 41.8, -8.8, -7.0}}, 0.8},
        {"Madeira Islands", 33, 36, "AF", 32.75, 16.95, 0.0, "CT3",
         "CQ2,CQ3,CQ9,CR3,CR9,CS3,CS9,CT3,CT9", "", "CT CR", {{"3", 32.6, 32.9, -17.2, -16.7}},
         0.05},
        {"Azores", 14, 36, "EU", 38.70, 27.23, 1.0, "CU", "CQ8,CR8,CS8,CT8,CU", "", "CU",
         {{"123456789", 37.7, 39.7, -28.5, -25.1}}, 0.1},
        {"Netherlands", 14, 27, "EU", 52.28, -5.47, -1.0, "PA", "PA,PB,PC,PD,PE,PF,PG,PH,PI", "",
         "PA PD PE PH PB", {{"0123456789", 51.5, 53.2, 4.5, 6.8}}, 2.0},
        {"Belgium", 14, 27, "EU", 50.70, -4.85, -1.0, "ON", "ON,OO,OP,OQ,OR,OS,OT", "",
         "ON ON OO OP OQ OR OT", {{"1234567", 50.2, 51.2, 3.5, 5.8}}, 1.0},
        {"Switzerland", 14, 28, "EU", 46.87, -8.12, -1.0, "HB", "HB,HE", "", "HB9",
         {{"", 46.3, 47.5, 6.8, 9.5}}, 0.6},
        {"Austria", 15, 28, "EU", 47.33, -13.33, -1.0, "OE", "OE", "", "OE",
         {{"123456789", 46.8, 48.3, 10.5, 16.3}}, 0.8},
        {"Poland", 15, 28, "EU", 52.28, -18.67, -1.0, "SP", "3Z,HF,SN,SO,SP,SQ,SR", "",
         "SP SQ SO SN", {{"123456789", 50.0, 54.0, 15.5, 23.5}}, 2.0},
        {"Czech Republic", 15, 28, "EU", 50.00, -16.00, -1.0, "OK", "OK,OL", "", "OK OL",
         {{"12", 49.0, 50.8, 12.5, 18.5}}, 1.0},
        {"Slovak Republic", 15, 28, "EU", 49.00, -20.00, -1.0, "OM", "OM", "", "OM",
         {{"12345678", 48.0, 49.4, 17.0, 22.0}}, 0.4},
        {"Hungary", 15, 28, "EU", 47.12, -19.28, -1.0, "HA", "HA,HG", "", "HA HG",
         {{"135678", 46.2, 48.3, 16.5, 22.0}}, 0.6},
        {"Denmark", 14, 18, "EU", 56.00, -10.00, -1.0, "OZ", "5P,5Q,OU,OV,OZ", "", "OZ OU",
         {{"1234579", 54.8, 57.5, 8.3, 12.5}}, 0.8},
        {"Sweden", 14, 18, "EU", 61.20, -14.57, -1.0, "SM",
         "7S,8S,SA,SB,SC,SD,SE,SF,SG,SH,SI,SJ,SK,SL,SM", "", "SM SA SK",
         {{"0234567", 56.0, 63.0, 12.5, 18.5}}, 1.0},
        {"Norway", 14, 18, "EU", 61.00, -9.00, -1.0, "LA",
         "LA,LB,LC,LD,LE,LF,LG,LH,LI,LJ,LK,LL,LM,LN", "", "LA LB",
         {{"123456789", 58.5, 63.5, 6.0, 11.5}}, 0.6},
        {"Finland", 15, 18, "EU", 63.78, -27.08, -2.0, "OH", "OF,OG,OH,OI", "", "OH OG OI OF",
         {{"123456789", 60.3, 65.0, 22.0, 29.0}}, 0.8},
        {"European Russia", 16, 29, "EU", 53.65, -41.37, -4.0, "UA", "R,U", "",
         "UA RA RV RW RX RN RK RZ", {{"1346", 52.0, 60.0, 30.0, 48.0}}, 3.0},
        {"Asiatic Russia", 17, 30, "AS", 55.88, -84.08, -7.0, "UA9",
         "R0,R8,R9,RA0,RA8,RA9,RK0,RK8,RK9,RU0,RU8,RU9,RV0,RV9,RW0,RW9,RX9,RZ0,RZ9,UA0,UA8,UA9", "",
         "UA RA RW RV RZ", {{"9", 54.0, 57.0, 60.0, 85.0}, {"0", 50.0, 56.0, 86.0, 110.0}}, 0.8},
        {"Kaliningrad", 15, 29, "EU", 54.72, -20.52, -2.0, "UA2",
         "R2F,R2K,RA2,RC2F,RK2F,RN2F,RU2F,RV2F,RW2F,RX2F,RZ2F,UA2,UB2,UC2,UD2,UE2,UF2,UG2,UH2,UI2",
         "", "UA RA", {{"2", 54.4, 55.2, 20.3, 22.5}}, 0.1},
        {"Ukraine", 16, 29, "EU", 50.00, -30.00, -2.0, "UR",
         "EM,EN,EO,U5,UR,US,UT,UU,UV,UW,UX,UY,UZ", "", "UR UT UX US UY",
         {{"012345789", 46.5, 51.5, 24.0, 38.0}}, 1.5},
        {"Belarus", 16, 29, "EU", 53.83, -28.00, -2.0, "EW", "EU,EV,EW", "", "EW EU",
         {{"12345678", 52.0, 55.5, 24.0, 31.0}}, 0.4},
        {"Estonia", 15, 29, "EU", 58.60, -25.10, -2.0, "ES", "ES", "", "ES",
         {{"1234567", 57.8, 59.4, 23.5, 28.0}}, 0.2},
        {"Latvia", 15, 29, "EU", 57.00, -25.00, -2.0, "YL", "YL", "", "YL",
         {{"23", 56.2, 57.7, 21.5, 27.5}}, 0.2},
        {"Lithuania", 15, 29, "EU", 55.00, -24.00, -2.0, "LY", "LY", "", "LY",
         {{"123456", 54.2, 56.2, 21.5, 26.5}}, 0.3},
        {"Greece", 20, 28, "EU", 39.78, -21.78, -2.0, "SV", "J4,SV,SW,SX,SY,SZ", "", "SV SW SZ",
         {{"12347", 37.0, 41.0, 21.0, 24.0}}, 0.6},
        {"Crete", 20, 28, "EU", 35.23, -24.78, -2.0, "SV9", "J49,SV9,SW9,SX9,SY9,SZ9", "",
         "SV SW", {{"9", 35.0, 35.4, 23.6, 26.2}}, 0.05},
        {"Bulgaria", 20, 28, "EU", 42.83, -25.08, -2.0, "LZ", "LZ", "", "LZ",
         {{"12345", 41.8, 43.8, 22.5, 28.0}}, 0.5},
        {"Romania", 20, 28, "EU", 45.78, -24.70, -2.0, "YO", "YO,YP,YQ,YR", "", "YO",
         {{"23456789", 44.0, 47.5, 22.0, 28.0}}, 0.6},
        {"Croatia", 15, 28, "EU", 45.18, -15.30, -1.0, "9A", "9A", "", "9A",
         {{"123456", 45.0, 46.2, 15.5, 18.5}}, 0.4},
        {"Slovenia", 15, 28, "EU", 46.00, -14.00, -1.0, "S5", "S5", "", "S5",
         {{"1234579", 45.6, 46.6, 13.8, 16.0}}, 0.3},
        {"Serbia", 15, 28, "EU", 44.00, -21.00, -1.0, "YU", "YT,YU", "", "YU YT",
         {{"1234567", 43.0, 45.8, 19.5, 22.0}}, 0.3},
        {"European Turkey", 20, 39, "EU", 41.02, -28.97, -3.0, "*TA1", "TA1,TB1,TC1,YM1", "", "TA",
         {{"1", 40.8, 41.8, 26.5, 29.3}}, 0.2},
        {"Turkey", 20, 39, "AS", 39.18, -35.65, -3.0, "TA", "TA,TB,TC,YM", "", "TA TC",
         {{"2345678", 37.0, 40.5, 28.0, 40.0}}, 0.5},
        {"Iceland", 40, 17, "EU", 64.80, 18.73, 0.0, "TF", "TF", "", "TF",
         {{"12345678", 63.8, 65.8, -22.5, -15.0}}, 0.1},
        {"Luxembourg", 14, 27, "EU", 50.00, -6.00, -1.0, "LX", "LX", "", "LX",
         {{"12", 49.5, 50.1, 5.9, 6.4}}, 0.1},
        {"Malta", 15, 28, "EU", 35.88, -14.42, -1.0, "9H", "9H", "", "9H",
         {{"1", 35.8, 36.0, 14.3, 14.6}}, 0.1},
        {"Cyprus", 20, 39, "AS", 35.00, -33.00, -2.0, "5B", "5B,C4,H2,P3", "", "5B",
         {{"4", 34.7, 35.3, 32.5, 34.0}}, 0.1},
        {"Vienna Intl Ctr", 15, 28, "EU", 48.20, -16.30, -1.0, "*4U1V", "", "4U0R,4U1VIC,4U2U", "",
         {{"", 48.2, 48.3, 16.3, 16.5}}, 0.0},
        // Asia
        {"Japan", 25, 45, "AS", 36.40, -138.38, -9.0, "JA",
         "7J,7K,7L,7M,7N,8J,8K,8L,8M,8N,JA,JB,JC,JD,JE,JF,JG,JH,JI,JJ,JK,JL,JM,JN,JO,JP,JQ,JR,JS",
         "", "JA JA JH JR JE JF JG JI JJ JK JL JN JO JP JQ JS 7K 7L",
         {{"1", 35.0, 36.5, 138.8, 140.5}, {"2", 34.6, 35.8, 136.5, 138.3},
          {"3", 34.3, 35.2, 135.0, 136.3}, {"4", 34.0, 35.0, 131.5, 134.0},
          {"5", 33.3, 34.2, 132.7, 134.5}, {"6", 31.5, 33.8, 130.2, 131.8},
          {"7", 37.5, 40.5, 140.0, 141.5}, {"8", 42.5, 44.0, 141.2, 144.0},
          {"9", 36.3, 37.2, 136.4, 137.5}, {"0", 36.0, 38.0, 137.8, 139.0}},
         6.0},
        {"South Korea", 25, 44, "AS", 36.23, -127.90, -9.0, "HL", "6K,6L,6M,6N,D7,D8,D9,DS,DT,HL", "",
         "HL DS 6K", {{"12345", 35.0, 37.6, 126.7, 129.0}}, 0.6},
        {"China", 24, 44, "AS", 36.00, -102.00, -8.0, "BY",
         "3H,3I,3J,3K,3L,3M,3N,3O,3P,3Q,3R,3S,3T,3U,B,XS", "", "BY BG BD BH BA BI",
         {{"1234", 30.0, 40.0, 110.0, 120.0}}, 1.2},
        {"Taiwan", 24, 44, "AS", 23.72, -120.88, -8.0, "BV", "BM,BN,BO,BP,BQ,BU,BV,BW,BX", "",
         "BV BX BM BU BW BN", {{"2345", 22.5, 25.0, 120.3, 121.5}}, 0.3},
        {"Philippines", 27, 50, "OC", 13.00, -122.00, -8.0, "DU",
         "4D,4E,4F,4G,4H,4I,DU,DV,DW,DX,DY,DZ", "", "DU DV DW DX DZ 4F 4I",
         {{"13456789", 10.0, 16.0, 120.5, 125.0}}, 0.4},
        {"Indonesia", 28, 51, "OC", -7.30, -109.88, -7.0, "YB",
         "7A,7B,7C,7D,7E,7F,7G,7H,7I,8A,8B,8C,8D,8E,8F,8G,8H,8I,PK,PL,PM,PN,PO,YB,YC,YD,YE,YF,YG,YH",
         "", "YB YC YD YE YF YG YH", {{"0123", -8.0, -6.2, 106.5, 112.5}}, 0.8},
        {"Thailand", 26, 49, "AS", 12.60, -99.70, -7.0, "HS", "E2,HS", "", "HS E2",
         {{"0123", 13.0, 16.0, 99.5, 102.5}}, 0.3},
        {"India", 22, 41, "AS", 22.50, -77.58, -5.5, "VU",
         "8T,8U,8V,8W,8X,8Y,AT,AU,AV,AW,VT,VU,VV,VW", "", "VU", {{"23", 12.0, 26.0, 74.0, 84.0}},
         0.6},
        {"Israel", 20, 39, "AS", 31.32, -34.82, -2.0, "4X", "4X,4Z", "", "4X 4Z",
         {{"1456", 31.0, 32.8, 34.8, 35.4}}, 0.3},
        {"Saudi Arabia", 21, 39, "AS", 24.20, -43.83, -3.0, "HZ", "7Z,8Z,HZ", "", "HZ 7Z",
         {{"1", 21.0, 26.0, 40.0, 48.0}}, 0.2},
        {"United Arab Emirates", 21, 39, "AS", 24.00, -54.00, -4.0, "A6", "A6", "", "A6",
         {{"1", 24.0, 25.3, 54.5, 56.0}}, 0.1},
        {"Kazakhstan", 17, 30, "AS", 48.17, -65.18, -5.0, "UN", "UN,UO,UP,UQ", "", "UN UP",
         {{"5678", 43.5, 52.0, 66.0, 80.0}}, 0.3},
        {"West Malaysia", 28, 54, "AS", 3.95, -102.23, -8.0, "9M2", "9M2,9M4,9W2,9W4", "", "9M 9W",
         {{"2", 2.5, 6.0, 101.0, 103.0}}, 0.2},
        {"Singapore", 28, 54, "AS", 1.37, -103.78, -8.0, "9V", "9V,S6", "", "9V",
         {{"1", 1.3, 1.42, 103.7, 103.95}}, 0.1},
        {"Hong Kong", 24, 44, "AS", 22.28, -114.18, -8.0, "VR", "VR", "", "VR",
         {{"2", 22.25, 22.45, 114.0, 114.3}}, 0.1},
        {"Mongolia", 23, 32, "AS", 46.77, -102.17, -8.0, "JT", "JT,JU,JV", "", "JT",
         {{"1", 46.0, 49.0, 100.0, 110.0}}, 0.05},
        {"Vietnam", 26, 49, "AS", 15.80, -107.90, -7.0, "3W", "3W,XV", "", "XV 3W",
         {{"1239", 10.5, 21.0, 105.5, 106.8}}, 0.1},
        // Oceania
        {"Australia", 30, 59, "OC", -23.70, -132.33, -10.0, "VK", "AX,VH,VI,VJ,VK,VL,VM,VN,VZ", "",
         "VK",
         {{"2", -34.5, -29.0, 148.0, 152.0}, {"3", -38.2, -36.0, 142.0, 147.5},
          {"4", -28.0, -19.0, 145.0, 153.0}, {"5", -35.2, -32.0, 137.5, 140.0},
          {"6", -34.0, -28.0, 115.5, 118.0}, {"7", -43.0, -41.2, 145.5, 148.0}},
         2.0},
        {"New Zealand", 32, 60, "OC", -41.83, -173.27, -12.0, "ZL", "ZL,ZM", "", "ZL ZL ZM",
         {{"12", -39.5, -36.8, 174.6, 176.2}, {"34", -45.5, -42.5, 169.5, 172.5}}, 0.6},
        {"Fiji", 32, 56, "OC", -17.78, -177.92, -12.0, "3D2", "3D2", "", "3D2",
         {{"", -18.2, -17.4, 177.3, 178.6}}, 0.05},
        {"New Caledonia", 32, 56, "OC", -21.50, -165.50, -11.0, "FK", "FK,TX", "", "FK8",
         {{"", -22.3, -21.0, 165.0, 167.0}}, 0.05},
        {"Guam", 27, 64, "OC", 13.37, -144.70, -10.0, "KH2", "AH2,KH2,NH2,WH2", "", "KH NH AH",
         {{"2", 13.25, 13.6, 144.65, 144.95}}, 0.05},
        // Africa
        {"South Africa", 38, 57, "AF", -29.07, -22.63, -2.0, "ZS", "H5,S4,S8,V9,ZR,ZS,ZT,ZU", "",
         "ZS ZS ZR",
         {{"1", -34.2, -33.0, 18.4, 20.5}, {"56", -27.0, -25.5, 27.0, 29.0},
          {"4", -29.5, -27.0, 25.0, 28.0}, {"23", -34.0, -31.0, 24.0, 28.0}},
         0.8},
        {"Namibia", 38, 57, "AF", -22.00, -17.00, -1.0, "V5", "V5", "", "V5",
         {{"1", -24.0, -19.0, 15.5, 19.5}}, 0.05},
        {"Morocco", 33, 37, "AF", 32.00, 5.00, 0.0, "CN", "5C,5D,5E,5F,5G,CN", "", "CN",
         {{"28", 30.0, 35.0, -9.0, -3.0}}, 0.2},
        {"Algeria", 33, 37, "AF", 28.00, -2.00, -1.0, "7X", "7R,7T,7U,7V,7W,7X,7Y", "", "7X",
         {{"2345", 34.0, 36.5, -1.0, 7.0}}, 0.1},
        {"Tunisia", 33, 37, "AF", 35.40, -9.32, -1.0, "3V", "3V,TS", "", "3V8",
         {{"", 34.0, 37.0, 9.0, 11.0}}, 0.05},
        {"Egypt", 34, 38, "AF", 26.28, -28.60, -2.0, "SU", "6A,6B,SS,SU", "", "SU",
         {{"1", 29.5, 31.3, 30.0, 32.0}}, 0.1},
        {"Kenya", 37, 48, "AF", -0.32, -37.57, -3.0, "5Z", "5Y,5Z", "", "5Z",
         {{"4", -2.0, 1.0, 35.0, 38.5}}, 0.05},
        {"Nigeria", 35, 46, "AF", 9.87, -7.55, -1.0, "5N", "5N,5O", "", "5N",
         {{"07", 6.0, 11.0, 3.5, 9.0}}, 0.05},
        {"Senegal", 35, 46, "AF", 15.00, 16.00, 0.0, "6W", "6V,6W", "", "6W",
         {{"1", 13.0, 16.0, -17.0, -13.0}}, 0.05},
        {"Ghana", 35, 46, "AF", 7.70, 1.57, 0.0, "9G", "9G", "", "9G",
         {{"1", 5.5, 8.0, -2.5, 0.0}}, 0.05},
        {"Zambia", 36, 53, "AF", -14.22, -26.73, -2.0, "9J", "9I,9J", "", "9J2",
         {{"", -15.5, -12.5, 27.0, 30.0}}, 0.05},
        {"Reunion Island", 39, 53, "AF", -21.12, -55.48, -4.0, "FR", "FR", "", "FR",
         {{"4", -21.3, -20.9, 55.25, 55.8}}, 0.05},
        {"Mauritius", 39, 53, "AF", -20.35, -57.50, -4.0, "3B8", "3B8", "", "3B8",
         {{"", -20.5, -20.0, 57.35, 57.75}}, 0.05},
    };
    return table;
}

std::vector<std::string> SplitOn(std::string_view text, char sep) {
    std::vector<std::string> out;
    if (text.empty()) return out;
    size_t start = 0;
    while (true) {
        size_t pos = text.find(sep, start);
        out.emplace_back(text.substr(start, pos == std::string_view::npos ? text.npos : pos - start));
        if (pos == std::string_view::npos) break;
        start = pos + 1;
    }
    return out;
}

// The callsign part of a list item: without "=" and zone overrides.
std::string BareItem(std::string_view item) {
    if (!item.empty() && item[0] == '=') item.remove_prefix(1);
    size_t cut = item.find_first_of("([");
    return std::string(item.substr(0, cut));
}

// Longest-prefix match over the table, exact calls first; -1 when nothing matches.
int LookupEntity(const std::string& call) {
    static std::unordered_map<std::string, int> prefixes, exacts;
    static size_t longest = 0;
    if (prefixes.empty()) {
        const auto& table = Entities();
        for (size_t e = 0; e < table.size(); ++e) {
            for (const auto& p : SplitOn(table[e].prefixes, ',')) {
                std::string bare = BareItem(p);
                prefixes.emplace(bare, static_cast<int>(e));
                longest = std::max(longest, bare.size());
            }
            for (const auto& x : SplitOn(table[e].exacts, ','))
                exacts.emplace(BareItem(x), static_cast<int>(e));
        }
    }
    if (auto it = exacts.find(call); it != exacts.end()) return it->second;
    for (size_t n = std::min(longest, call.size()); n > 0; --n)
        if (auto it = prefixes.find(call.substr(0, n)); it != prefixes.end()) return it->second;
    return -1;
}

// ---------------------------------------------------------------------------------------------
// Stations

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

struct Station {
    std::string call;
    std::string grid;  // 4 or 6 characters
    int entity;
};

std::string PlaceIn(Rng& rng, const Area& a, bool six) {
    double lat = a.latMin + (a.latMax - a.latMin) * rng.unit();
    double lon = a.lonMin + (a.lonMax - a.lonMin) * rng.unit();
    return Locator(lat, lon, six);
}

// One callsign of a country, with the area box it belongs to.
std::string MakeCall(Rng& rng, const Entity& e, const Area** area) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    auto heads = SplitOn(e.heads, ' ');
    const Area& a = e.areas[rng.below(static_cast<uint32_t>(e.areas.size()))];
    *area = &a;
    std::string call = heads[rng.below(static_cast<uint32_t>(heads.size()))];
    size_t nd = std::strlen(a.digits);
    if (nd > 0) call += a.digits[rng.below(static_cast<uint32_t>(nd))];
    int len = rng.below(100) < 40 ? 2 : 3;
    for (int i = 0; i < len; ++i) call += letters[rng.below(26)];
    return call;
}

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

// The stations on the air: the listed exact calls first, then random calls of every country.
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

// ---------------------------------------------------------------------------------------------
// Dates: days since 1970-01-01 and back (proleptic Gregorian).

int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

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

struct Options {
    fs::path out;
    uint64_t seed = 1;
    int64_t contacts = 300;
    int64_t journalBytes = 3000 * 64;
    std::string call = "W9XYZ";
    std::string grid = "EN37";
    int endY = 2026, endM = 12, endD = 7;
    int years = 4;
    bool ctyFull = false;
    bool ctyLf = false;
    int64_t growContacts = -1;
    int64_t growJournalBytes = -1;
};

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
        const char* homeCont = home >= 0 ? Entities()[home].continent : "NA";
        for (size_t i = 0; i < pool_.size(); ++i)
            if (std::strcmp(Entities()[pool_[i].entity].continent, homeCont) == 0) local_.push_back(i);
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

// ---------------------------------------------------------------------------------------------
// WSJT-X.ini and cty.dat

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

class CtyWriter {
public:
    CtyWriter(std::FILE* f, bool lf) : f_(f), eol_(lf ? "\n" : "\r\n") {}
    void entity(const Entity& e) {
        char head[160];
        std::string name = std::string(e.name) + ":";
        std::snprintf(head, sizeof head, "%-26s%02d:%4s:%4s:%8.2f:%9.2f:%8.1f:  %s:", name.c_str(), e.cq,
                      Zone(e.itu).c_str(), e.continent, e.lat, e.lonWest, e.utc, e.primary);
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
        if (std::strcmp(e.primary, "VE") == 0) {
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

int64_t ParseNumber(std::string_view s) {
    int64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return s.empty() ? -1 : v;
}

// Seconds of a wsjtx.log line's date and time off; -1 when unreadable.
int64_t LogLineEnd(const std::string& line) {
    auto f = SplitOn(line, ',');
    if (f.size() < 4 || f[2].size() != 10 || f[3].size() != 8) return -1;
    int64_t y = ParseNumber(f[2].substr(0, 4)), m = ParseNumber(f[2].substr(5, 2)), d = ParseNumber(f[2].substr(8, 2));
    int64_t hh = ParseNumber(f[3].substr(0, 2)), mm = ParseNumber(f[3].substr(3, 2)), ss = ParseNumber(f[3].substr(6, 2));
    if (y < 0 || m < 0 || d < 0 || hh < 0 || mm < 0 || ss < 0) return -1;
    return DaysFromCivil(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)) * 86400 + hh * 3600 + mm * 60 + ss;
}

// Seconds of a journal line's time stamp (both the full and the short form); -1 when unreadable.
int64_t JournalLineTime(const std::string& line) {
    if (line.size() < 11 || line[6] != '_') return -1;
    int64_t y = ParseNumber(line.substr(0, 2)), m = ParseNumber(line.substr(2, 2)), d = ParseNumber(line.substr(4, 2));
    int64_t hh = ParseNumber(line.substr(7, 2)), mm = ParseNumber(line.substr(9, 2));
    int64_t ss = line.size() >= 13 ? ParseNumber(line.substr(11, 2)) : 0;
    if (ss < 0) ss = 0;
    if (y < 0 || m < 0 || d < 0 || hh < 0 || mm < 0) return -1;
    return DaysFromCivil(static_cast<int>(2000 + y), static_cast<int>(m), static_cast<int>(d)) * 86400 + hh * 3600 + mm * 60 + ss;
}

// ---------------------------------------------------------------------------------------------

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
        Generator g(o, std::move(pool), o.seed);
        g.writeJournal = o.journalBytes > 0;
        bool ok = g.log.open(logPath, false) && g.adif.open(adifPath, false);
        if (g.writeJournal) ok = ok && g.journal.open(allPath, false);
        if (!ok) {
            std::fprintf(stderr, "gen_station: cannot write into %s\n", dir.c_str());
            return 1;
        }
        const int64_t fromSec = endSec + 1 - static_cast<int64_t>(o.years) * 365 * 86400;
        g.needAdifHeader = true;
        g.run(o.contacts, o.journalBytes, fromSec * 1000, endSec * 1000);
        g.log.close();
        g.adif.close();
        g.journal.close();
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
    Generator g(o, std::move(pool), o.seed ^ (static_cast<uint64_t>(lastSec) * 0x9E3779B97F4A7C15ull));
    g.writeJournal = bytes > 0;
    bool adifExisted = fs::exists(adifPath);
    bool ok = true;
    if (contacts > 0) ok = g.log.open(logPath, true) && g.adif.open(adifPath, true);
    if (g.writeJournal) ok = ok && g.journal.open(allPath, true);
    if (!ok) {
        std::fprintf(stderr, "gen_station: cannot append in %s\n", dir.c_str());
        return 1;
    }
    g.needAdifHeader = !adifExisted;
    // Roughly the time the new activity needs, with room for pauses between sessions.
    const int64_t needSec = contacts * 240 + bytes / 56 / 12 * 15 * 3 + 3600;
    const int64_t fromMs = (lastSec + 600) * 1000;
    g.run(contacts, bytes, fromMs, fromMs + needSec * 1000);
    return 0;
}
