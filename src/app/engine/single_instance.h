// One running copy per WSJT-X instance: a lock file in the user's runtime folder, held with
// flock, so a copy that crashed leaves no stale lock behind.
#pragma once

#include <string>

namespace vantrel {

class SingleInstance {
public:
    explicit SingleInstance(const std::string& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    bool Acquired() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace vantrel
