// Feeds arbitrary bytes to the catch-up with WSJT-X's log as wsjtx.log: every line it appends
// is a complete local log line of the contact it came from, the lines it leaves out hold no
// contact, and a second catch-up with the same log appends nothing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "log/contact_identity.h"
#include "log/extract_field.h"
#include "log/local_log.h"
#include "log/local_log_record.h"
#include "log/log_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const LogLines wsjtx = LogLines::FromBytes(text);
    const StationDetails station{"QQ0XYZ", "JO62QM", "IC-7300", "Vertical [7,14,21]"};

    LogLines local;
    ContactIndex index;
    const WsjtxMerge merge = update_local_with_new(local, index, wsjtx, station);
    Check(local.size() == merge.appended);
    Check(merge.appended + merge.skipped <= wsjtx.size());
    Check(merge.skippedLines.size() == std::min<std::size_t>(merge.skipped, 10));
    Check((merge.skipped == 0) == SkippedLinesTrace(merge).empty());
    Check(index.IndexedLines() == local.size());

    for (std::string_view line : local) {
        for (char c : line) Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
        Check(ContactIdentityOf(line).has_value());
        Check(index.Contains(line));
        Check(SplitPieces(line, ',').size() >= 18);
        Check(ExtractFieldView(line, ',', 14) == station.call);
        Check(ExtractFieldView(line, ',', 15) == station.grid);
        Check(ExtractFieldView(line, ',', 16) == station.rig);
        Check(line.ends_with(",Vertical [7,14,21],"));
    }
    // Every contact line (without control bytes, which are removed from what is appended) is in
    // the local log now, as the contact it is.
    for (std::string_view line : wsjtx) {
        if (!IsWsjtxContactLine(line)) continue;
        bool control = false;
        for (char c : line) control = control || static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
        if (control) continue;
        Check(index.Contains(line));
        Check(ContactIdentityOf(line) == ContactIdentityOf(LocalLineFromWsjtx(line, station)));
    }

    LogLines again = local;
    Check(update_local_with_new(again, wsjtx, station).appended == 0);
    Check(again == local);
    return 0;
}
