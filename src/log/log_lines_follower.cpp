#include "log/log_lines_follower.h"

namespace vantrel {

LogLinesFollower::Step LogLinesFollower::Next(const LogLines& lines) {
    Step step;
    const bool sameStart = lines.size() >= lines_ &&
                           lines.Bytes().size() - lines.BytesFrom(lines_).size() == bytes_ &&
                           (lines_ == 0 || lines[lines_ - 1] == lastLine_);
    if (!sameStart) {
        step.restart = true;
        lines_ = 0;
        bytes_ = 0;
    }
    step.first = lines_;
    lines_ = lines.size();
    bytes_ = lines.Bytes().size();
    lastLine_ = lines_ == 0 ? std::string() : std::string(lines[lines_ - 1]);
    return step;
}

}  // namespace vantrel
