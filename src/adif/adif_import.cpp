#include "adif/adif_import.h"

#include <algorithm>
#include <unordered_set>

#include "adif/adif_contact.h"
#include "adif/adif_reader.h"
#include "base/file_io.h"

namespace vantrel {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
    });
}

bool NamesCallsign(const AdifRecord& record) {
    for (const AdifField& field : record.fields) {
        for (std::size_t i = 0; i + 4 <= field.name.size(); ++i)
            if (AdifNamesEqual(field.name.substr(i, 4), "call")) return true;
    }
    return false;
}

std::size_t CountDistinctLines(std::string_view bytes) {
    std::unordered_set<std::string> seen;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string lower(line);
        for (char& c : lower) c = Lower(c);
        seen.insert(std::move(lower));
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
    return seen.size();
}

}  // namespace

AdifImportResult AdifImport(std::string_view fileBytes) {
    AdifImportResult result;
    result.distinctFileLines = CountDistinctLines(fileBytes);
    AdifRecordReader reader(fileBytes);
    AdifRecord record;
    while (reader.Next(record)) {
        ++result.records;
        if (NamesCallsign(record)) result.lines.push_back(AdifRecordToImportLine(record));
        if (auto confirmation = ConfirmationFromRecord(record, kSourceAdif))
            result.confirmations.push_back(std::move(*confirmation));
    }
    std::stable_sort(result.lines.begin(), result.lines.end(), LessNoCase);
    const auto equalNoCase = [](const std::string& a, const std::string& b) {
        return !LessNoCase(a, b) && !LessNoCase(b, a);
    };
    result.lines.erase(std::unique(result.lines.begin(), result.lines.end(), equalNoCase), result.lines.end());
    return result;
}

std::optional<AdifImportResult> AdifImportFile(const std::filesystem::path& file, std::string* error) {
    const std::optional<std::string> bytes = ReadWholeFile(file, error);
    if (!bytes) return std::nullopt;
    return AdifImport(*bytes);
}

bool SaveAdifImport(const std::filesystem::path& file, const std::vector<std::string>& lines,
                    std::string* error) {
    std::string text;
    for (const std::string& line : lines) text.append(line).append("\r\n");
    return WriteFileAtomic(file, text, error);
}

}  // namespace vantrel
