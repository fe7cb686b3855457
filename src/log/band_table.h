// The amateur band of a frequency, by its whole number of megahertz.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// "630m", "160m", ... "3cm" for a frequency text in megahertz ("14.074"); only the whole part
// (the text before the first ".") counts. "0" for a number outside the table and for a text
// whose whole part is not a number.
std::string BandFromFrequency(std::string_view frequencyMHz);

// The band of a frequency text as its row in the band table (0 for "630m" up to 18 for "3cm");
// -1 where BandFromFrequency gives "0".
int BandRowOfFrequency(std::string_view frequencyMHz);
// The band name of a row; "0" for -1.
std::string_view BandOfRow(int row);
// The highest whole number of megahertz the table's top band covers.
long TopOfBandTableMHz();

}  // namespace vantrel
