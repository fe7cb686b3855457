// The amateur band of a frequency, by its whole number of megahertz.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// "630m", "160m", ... "3cm" for a frequency text in megahertz ("14.074"); only the whole part
// (the text before the first ".") counts. "0" for a number outside the table and for a text
// whose whole part is not a number.
std::string BandFromFrequency(std::string_view frequencyMHz);

}  // namespace vantrel
