#include "app/engine/station_log.h"


namespace vantrel {

std::optional<LogLines> StationLog::Load(std::string* error) { return file_.Load(error); }

void StationLog::Take(LogLines lines, std::size_t onDisk) {
    lines_ = std::move(lines);
    saved_ = std::min(onDisk, lines_.size());
}

bool StationLog::Contains(std::string_view line) {
    // The last contact again (the start-up's last-contact box) needs no look-up.
    if (!lines_.empty() && lines_.back() == line) return true;
    identities_.CatchUp(lines_);
    return identities_.Contains(line);
}

std::size_t StationLog::Add(const std::vector<std::string>& lines, bool& saved, std::string* error) {
    std::size_t added = 0;
    for (const std::string& line : lines) {
        if (Contains(line)) continue;
        lines_.push_back(line);
        identities_.Add(line);
        ++added;
    }
    saved = Flush(error);
    return added;
}

bool StationLog::Replace(LogLines lines, std::string* error) {
    lines_ = std::move(lines);
    saved_ = 0;
    if (!file_.Save(lines_, error)) return false;
    saved_ = lines_.size();
    return true;
}

bool StationLog::Flush(std::string* error) {
    if (saved_ == lines_.size()) return true;
    if (!file_.SaveGrown(lines_, saved_, error)) return false;
    saved_ = lines_.size();
    return true;
}

void StationLog::Release() {
    lines_.clear();
    saved_ = 0;
}

}  // namespace vantrel
