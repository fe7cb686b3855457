// The trace file and the diagnostic log. Trace lines ("hhnnss.zzz" then a label and a text) go
// to tracer.txt as they happen, so a crash leaves them for diagnosis; the file of the run
// before is kept as tracer-previous.txt. With "/DEBUG" the diagnostic texts go to errorlog.txt.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/services.h"

namespace vantrel {

class Tracer {
public:
    explicit Tracer(const Clock& clock) : clock_(clock) {}
    ~Tracer();
    Tracer(const Tracer&) = delete;
    Tracer& operator=(const Tracer&) = delete;

    // A new run's trace file in the folder: the previous one is kept aside, the new one empty.
    void Begin(const std::filesystem::path& folder);
    // Appends one line; false with the reason when the file could not be written.
    bool Trace(std::string_view label, std::string_view text, std::string* error = nullptr);
    // Stops writing (after the close's last line).
    void End() { file_.clear(); }
    const std::filesystem::path& File() const { return file_; }

    // The diagnostic log: created empty by OpenDiagnostics, one line per text, flushed now and
    // then and at close.
    void OpenDiagnostics(const std::filesystem::path& file);
    void WriteDiagnostic(std::string_view text);
    void FlushDiagnostics();
    void CloseDiagnostics();

private:
    const Clock& clock_;
    std::filesystem::path file_;
    std::FILE* diagnostics_ = nullptr;
};

}  // namespace vantrel
