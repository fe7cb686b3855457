// A small station for the award tests: a cty.dat of five entities (one listed for another award
// only, zones given to single prefixes and a callsign) and a log of ten contacts counted by hand.
#pragma once

#include <string_view>

namespace vantrel::test {

inline constexpr std::string_view kAwardCountryFile =
    "Fed. Rep. of Germany:     14:  28:  EU:   51.00:   -10.00:    -1.0:  DL:\n"
    "    DA,DB,DC,DD,DE,DF,DG,DH,DI,DJ,DK,DL,DM,DN,DO,DP,DQ,DR;\n"
    "United States:            05:  08:  NA:   37.53:    91.67:     5.0:  K:\n"
    "    AA,K,N,W,K6(3)[6],W6(3)[6],\n"
    "    =KL7XYZ(1){OC};\n"
    "Asiatic Russia:           17:  30:  AS:   55.88:   -84.08:    -7.0:  UA9:\n"
    "    UA9,UA0(19)[34];\n"
    "Sicily:                   15:  28:  EU:   37.50:   -14.00:    -1.0:  *IT9:\n"
    "    IT9;\n"
    "Italy:                    15:  28:  EU:   42.82:   -12.58:    -1.0:  I:\n"
    "    I;\n";

// Germany 20m (FT8) and 40m (FT4); the United States 20m in zone 3 (W6, FT8) and zone 5 (W1, SSB)
// and 6m; Asiatic Russia 15m in zone 19; Sicily (Italy for DXCC) 2m; a callsign no entity names;
// 630m and 23cm, outside the columns.
inline constexpr std::string_view kAwardLog =
    "2024-03-05,10:15:00,2024-03-05,10:16:00,DL1ABC,JO62qm,14.074,FT8,-10,-12,,,,\r\n"
    "2024-03-05,11:00:00,2024-03-05,11:01:00,DL2XYZ,JO51,7.0475,FT4,-10,-12,,,,\r\n"
    "2024-03-05,12:00:00,2024-03-05,12:01:00,W6ABC,CM87,14.074,FT8,-10,-12,,,,\r\n"
    "2024-03-05,13:00:00,2024-03-05,13:05:00,W1AW,FN31,14.250,USB,59,59,,,,\r\n"
    "2024-03-05,14:00:00,2024-03-05,14:01:00,UA0ABC,,21.074,FT8,-10,-12,,,,\r\n"
    "2024-03-05,15:00:00,2024-03-05,15:01:00,IT9XYZ,JM77,144.174,FT8,-10,-12,,,,\r\n"
    "2024-03-05,16:00:00,2024-03-05,16:01:00,K1ABC,FN4,50.313,FT8,-10,-12,,,,\r\n"
    "2024-03-05,17:00:00,2024-03-05,17:01:00,ZZ9ZZ,JJ00,14.074,FT8,-10,-12,,,,\r\n"
    "2024-03-05,18:00:00,2024-03-05,18:01:00,DL3AAA,JO40,0.475,FT8,-10,-12,,,,\r\n"
    "2024-03-05,19:00:00,2024-03-05,19:01:00,DL4BBB,JO30,1296.174,FT8,-10,-12,,,,\r\n";

}  // namespace vantrel::test
