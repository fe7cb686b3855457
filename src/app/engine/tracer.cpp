#include "app/engine/tracer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "base/file_io.h"

namespace vantrel {

Tracer::~Tracer() { CloseDiagnostics(); }

void Tracer::Begin(const std::filesystem::path& folder) {
    file_ = folder / "tracer.txt";
    std::error_code ec;
    if (FileSize(file_) > 0) std::filesystem::rename(file_, folder / "tracer-previous.txt", ec);
    WriteFileAtomic(file_, "");
}

bool Tracer::Trace(std::string_view label, std::string_view text, std::string* error) {
    if (file_.empty()) return true;
    std::string line = FormatHhnnssZzz(ToLocalTime(clock_.Now()));
    line += label;
    line += text;
    line += "\r\n";
    // One write to a file opened for appending: a line is never torn, and it is in the file
    // as soon as the call returns, whatever happens to the process after.
    const int fd = ::open(file_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const bool written = fd >= 0 && ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    if (!written && error) *error = "cannot append to " + file_.string() + ": " + std::strerror(errno);
    if (fd >= 0) ::close(fd);
    return written;
}

void Tracer::OpenDiagnostics(const std::filesystem::path& file) {
    CloseDiagnostics();
    diagnostics_ = std::fopen(file.c_str(), "w");
}

void Tracer::WriteDiagnostic(std::string_view text) {
    if (!diagnostics_) return;
    std::fwrite(text.data(), 1, text.size(), diagnostics_);
    std::fputc('\n', diagnostics_);
    std::fflush(diagnostics_);
}

void Tracer::FlushDiagnostics() {
    if (diagnostics_) std::fflush(diagnostics_);
}

void Tracer::CloseDiagnostics() {
    if (diagnostics_) std::fclose(diagnostics_);
    diagnostics_ = nullptr;
}

}  // namespace vantrel
