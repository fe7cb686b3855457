// One running copy per WSJT-X instance and per viewer folder: a lock file in the user's runtime
// folder for the rig name, and one in the viewer folder itself, so no two copies ever share a
// local log, whatever their rig names, login sessions or runtime folders. Both are held with
// flock, so a copy that crashed leaves no stale lock behind.
#pragma once

#include <filesystem>
#include <string>

namespace vantrel {

class SingleInstance {
public:
    SingleInstance(const std::string& name, const std::filesystem::path& viewerFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    bool Acquired() const { return runtimeFd_ >= 0 && folderFd_ >= 0; }
    // Why a lock file could not even be made ("cannot write in the data folder X: Permission
    // denied"); empty when the lock is held, or is held by another running copy.
    const std::string& Problem() const { return problem_; }

private:
    std::string problem_;
    int runtimeFd_ = -1;
    int folderFd_ = -1;
};

}  // namespace vantrel
