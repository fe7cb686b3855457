#include "app/engine/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vantrel {

namespace {

// The lock's descriptor; -1 when another copy holds it, or when the file cannot be made (then
// with the reason).
int Lock(const std::filesystem::path& file, int* openError) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) *openError = errno;
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
    int error = 0;
    runtimeFd_ = Lock(folder / (name + ".lock"), &error);
    if (error != 0) problem_ = "cannot write in the runtime folder " + folder.string() + ": " + std::strerror(error);
    if (runtimeFd_ < 0) return;
    folderFd_ = Lock(viewerFolder / ".vantrel.lock", &error);
    if (error != 0) problem_ = "cannot write in the data folder " + viewerFolder.string() + ": " + std::strerror(error);
}

SingleInstance::~SingleInstance() {
    if (folderFd_ >= 0) ::close(folderFd_);
    if (runtimeFd_ >= 0) ::close(runtimeFd_);
}

}  // namespace vantrel
