#include "app/engine/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

namespace vantrel {

namespace {

int Lock(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

SingleInstance::SingleInstance(const std::string& name, const std::filesystem::path& viewerFolder) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::filesystem::path folder =
        runtime && *runtime ? std::filesystem::path(runtime)
                            : std::filesystem::temp_directory_path() / ("vantrel-" + std::to_string(::getuid()));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    runtimeFd_ = Lock(folder / (name + ".lock"));
    if (runtimeFd_ >= 0) folderFd_ = Lock(viewerFolder / ".vantrel.lock");
}

SingleInstance::~SingleInstance() {
    if (folderFd_ >= 0) ::close(folderFd_);
    if (runtimeFd_ >= 0) ::close(runtimeFd_);
}

}  // namespace vantrel
