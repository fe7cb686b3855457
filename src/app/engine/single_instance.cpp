#include "app/engine/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace vantrel {

SingleInstance::SingleInstance(const std::string& name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::filesystem::path folder =
        runtime && *runtime ? std::filesystem::path(runtime)
                            : std::filesystem::temp_directory_path() /
                                  ("vantrel-" + std::to_string(::getuid()));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const auto file = folder / (name + ".lock");
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace vantrel
