#include "base/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

namespace vantrel {

namespace {

void SetError(std::string* error, const std::string& what, const fs::path& file) {
    if (error) *error = what + " " + file.string() + ": " + std::strerror(errno);
}

// Closes a descriptor on every way out.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
    bool Close() {
        const int f = fd;
        fd = -1;
        return ::close(f) == 0;
    }
};

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void SyncFolder(const fs::path& folder) {
    Fd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd >= 0) ::fsync(dir.fd);
}

fs::path TempBeside(const fs::path& target) {
    fs::path temp = target;
    temp += ".part";
    return temp;
}

// Copies bytes [offset, end) of `in` to `out`, reporting progress against `total`.
bool CopyRange(int in, int out, std::int64_t offset, std::int64_t end, std::int64_t total,
               const CopyProgress& progress) {
    std::vector<char> buffer(1 << 20);
    int lastPercent = -1;
    while (offset < end) {
        const auto want = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(buffer.size()), end - offset));
        const ssize_t n = ::pread(in, buffer.data(), want, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        if (!WriteAll(out, buffer.data(), static_cast<std::size_t>(n))) return false;
        offset += n;
        if (progress && total > 0) {
            const int percent = static_cast<int>(100 * offset / total);
            if (percent != lastPercent) progress(lastPercent = percent);
        }
    }
    return true;
}

}  // namespace

std::int64_t FileSize(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

std::optional<std::string> ReadWholeFile(const fs::path& file, std::string* error) {
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.fd < 0) {
        SetError(error, "cannot open", file);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error) *error = "not a regular file: " + file.string();
        return std::nullopt;
    }
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size()) bytes.resize(bytes.size() + 65536);
        const ssize_t n = ::read(fd.fd, bytes.data() + have, bytes.size() - have);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            SetError(error, "cannot read", file);
            return std::nullopt;
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    bytes.resize(have);
    return bytes;
}

bool WriteFileAtomic(const fs::path& file, std::string_view bytes, std::string* error) {
    const fs::path temp = TempBeside(file);
    {
        Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (fd.fd < 0) {
            SetError(error, "cannot create", temp);
            return false;
        }
        if (!WriteAll(fd.fd, bytes.data(), bytes.size()) || ::fdatasync(fd.fd) != 0 ||
            !fd.Close()) {
            SetError(error, "cannot write", temp);
            ::unlink(temp.c_str());
            return false;
        }
    }
    if (::rename(temp.c_str(), file.c_str()) != 0) {
        SetError(error, "cannot replace", file);
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(file.parent_path());
    return true;
}

bool AppendFileDurable(const fs::path& file, std::string_view bytes, std::string* error) {
    Fd fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    if (fd.fd < 0) {
        SetError(error, "cannot open", file);
        return false;
    }
    struct stat st {};
    if (::fstat(fd.fd, &st) != 0) {
        SetError(error, "cannot read the size of", file);
        return false;
    }
    // One write call: a killed process cannot leave half of it (regular files are not
    // interrupted part-way by signals). A short write (disk full) is cut back off.
    const ssize_t n = ::write(fd.fd, bytes.data(), bytes.size());
    if (n != static_cast<ssize_t>(bytes.size()) || ::fdatasync(fd.fd) != 0) {
        SetError(error, "cannot append to", file);
        [[maybe_unused]] const int cut = ::ftruncate(fd.fd, st.st_size);
        return false;
    }
    if (!fd.Close()) {
        SetError(error, "cannot close", file);
        return false;
    }
    return true;
}

bool CopyFileReplacing(const fs::path& from, const fs::path& to, std::string* error,
                       const CopyProgress& progress) {
    Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0) {
        SetError(error, "cannot open", from);
        return false;
    }
    struct stat st {};
    if (::fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error) *error = "not a regular file: " + from.string();
        return false;
    }
    const fs::path temp = TempBeside(to);
    {
        Fd out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (out.fd < 0) {
            SetError(error, "cannot create", temp);
            return false;
        }
        if (!CopyRange(in.fd, out.fd, 0, st.st_size, st.st_size, progress) ||
            ::fdatasync(out.fd) != 0 || !out.Close()) {
            SetError(error, "cannot copy to", temp);
            ::unlink(temp.c_str());
            return false;
        }
    }
    if (::rename(temp.c_str(), to.c_str()) != 0) {
        SetError(error, "cannot replace", to);
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(to.parent_path());
    return true;
}

CopyRefresh RefreshAppendOnlyCopy(const fs::path& from, const fs::path& to, std::string* error,
                                  const CopyProgress& progress) {
    const std::int64_t sourceSize = FileSize(from);
    const std::int64_t copySize = FileSize(to);
    if (sourceSize == copySize) return CopyRefresh::Unchanged;
    if (sourceSize < 0) {
        if (error) *error = "journal missing: " + from.string();
        return CopyRefresh::Failed;
    }
    bool isPrefix = false;
    if (copySize > 0 && copySize < sourceSize) {
        // Compare sampled blocks before the copy's end: the last bytes, the first bytes and a
        // few in between. A journal that was erased and written anew differs in them.
        Fd src(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
        Fd dst(::open(to.c_str(), O_RDONLY | O_CLOEXEC));
        if (src.fd >= 0 && dst.fd >= 0) {
            constexpr std::int64_t kBlock = 4096;
            std::array<char, kBlock> a{}, b{};
            std::vector<std::int64_t> offsets = {0, copySize / 4, copySize / 2, 3 * copySize / 4,
                                                 std::max<std::int64_t>(0, copySize - kBlock)};
            isPrefix = true;
            for (const std::int64_t offset : offsets) {
                const auto len = static_cast<std::size_t>(std::min(kBlock, copySize - offset));
                if (::pread(src.fd, a.data(), len, offset) != static_cast<ssize_t>(len) ||
                    ::pread(dst.fd, b.data(), len, offset) != static_cast<ssize_t>(len) ||
                    std::memcmp(a.data(), b.data(), len) != 0) {
                    isPrefix = false;
                    break;
                }
            }
        }
    }
    if (!isPrefix)
        return CopyFileReplacing(from, to, error, progress) ? CopyRefresh::Copied
                                                            : CopyRefresh::Failed;

    Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    Fd out(::open(to.c_str(), O_WRONLY | O_CLOEXEC));
    if (in.fd < 0 || out.fd < 0 || ::lseek(out.fd, copySize, SEEK_SET) != copySize) {
        SetError(error, "cannot open", to);
        return CopyRefresh::Failed;
    }
    if (!CopyRange(in.fd, out.fd, copySize, sourceSize, sourceSize - copySize, progress)) {
        // Cut back to the old end so the copy stays a true prefix of the journal.
        SetError(error, "cannot append to", to);
        [[maybe_unused]] const int cut = ::ftruncate(out.fd, copySize);
        return CopyRefresh::Failed;
    }
    return CopyRefresh::Appended;
}

std::optional<fs::path> FindFileNoCase(const fs::path& folder, std::string_view name) {
    std::error_code ec;
    if (fs::exists(folder / name, ec)) return folder / name;
    auto lower = [](std::string_view s) {
        std::string out(s);
        std::transform(out.begin(), out.end(), out.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return out;
    };
    const std::string wanted = lower(name);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (lower(it->path().filename().string()) == wanted) return it->path();
    }
    return std::nullopt;
}

}  // namespace vantrel
