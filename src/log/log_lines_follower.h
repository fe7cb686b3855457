// Follows a list of log lines that mostly grows at its end: tells which lines are new since the
// last call, or that the list was changed in another way (a repair, a reload) and must be read
// again from its start.
#pragma once

#include <cstddef>
#include <string>

#include "log/log_lines.h"

namespace vantrel {

class LogLinesFollower {
public:
    struct Step {
        bool restart = false;   // the lines up to the last call changed: read every line again
        std::size_t first = 0;  // the first line not read yet
    };
    Step Next(const LogLines& lines);
    void Reset() { *this = LogLinesFollower(); }

private:
    std::size_t lines_ = 0;
    std::size_t bytes_ = 0;
    std::string lastLine_;
};

}  // namespace vantrel
