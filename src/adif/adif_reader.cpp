#include "adif/adif_reader.h"

#include <algorithm>

namespace vantrel {

namespace {

// Longest name (with its length and type) looked at before a "<" is taken for plain text.
constexpr std::size_t kMaxSpecifier = 256;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool EndsValue(std::string_view text, std::size_t pos) {
    return pos >= text.size() || IsBlank(text[pos]) || text[pos] == '<';
}

// Position of "<eor>" (any case) in the text, or npos.
std::size_t FindRecordEnd(std::string_view text) {
    for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
        if (text.size() - at >= 5 && Lower(text[at + 1]) == 'e' && Lower(text[at + 2]) == 'o' &&
            Lower(text[at + 3]) == 'r' && text[at + 4] == '>')
            return at;
    }
    return std::string_view::npos;
}

// The end of `count` UTF-8 characters from `start`, or npos when the bytes are not UTF-8.
std::size_t Utf8CharactersEnd(std::string_view text, std::size_t start, std::size_t count) {
    std::size_t pos = start;
    for (std::size_t n = 0; n < count; ++n) {
        if (pos >= text.size()) return std::string_view::npos;
        const auto lead = static_cast<unsigned char>(text[pos]);
        std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3
                                                                 : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || text.size() - pos < length) return std::string_view::npos;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[pos + k]) >> 6) != 2) return std::string_view::npos;
        pos += length;
    }
    return pos;
}

}  // namespace

bool AdifNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::string_view TrimAdifValue(std::string_view value) {
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
    return value;
}

AdifItem AdifScanner::Next(AdifField& field) {
    const std::size_t size = text_.size();
    while (true) {
        const std::size_t open = text_.find('<', pos_);
        if (open == std::string_view::npos) {
            pos_ = size;
            return AdifItem::End;
        }
        pos_ = open + 1;  // when this "<" opens no specifier, the scan goes on after it
        const std::size_t limit = std::min(size, open + kMaxSpecifier);

        std::size_t i = open + 1;
        while (i < limit && text_[i] != '>' && text_[i] != ':' && text_[i] != '<' && !IsBlank(text_[i]))
            ++i;
        if (i >= limit || i == open + 1 || (text_[i] != '>' && text_[i] != ':')) continue;
        const std::string_view name = text_.substr(open + 1, i - open - 1);

        if (text_[i] == '>') {
            pos_ = i + 1;
            if (AdifNamesEqual(name, "eor")) return AdifItem::EndOfRecord;
            if (AdifNamesEqual(name, "eoh")) return AdifItem::EndOfHeader;
            continue;  // a tag without a length carries nothing
        }

        // The length: one or more digits; a number beyond the text means "all that is there".
        ++i;
        const std::size_t digits = i;
        std::size_t length = 0;
        while (i < limit && text_[i] >= '0' && text_[i] <= '9') {
            if (length <= size) length = length * 10 + static_cast<std::size_t>(text_[i] - '0');
            ++i;
        }
        if (i == digits || i >= limit) continue;
        const std::size_t digitsEnd = i;
        std::string_view type;
        if (text_[i] == ':') {
            const std::size_t typeStart = ++i;
            while (i < limit && text_[i] != '>' && text_[i] != '<' && !IsBlank(text_[i])) ++i;
            if (i >= limit) continue;
            type = text_.substr(typeStart, i - typeStart);
        }
        if (text_[i] != '>') continue;

        const std::size_t start = i + 1;
        if (lengths_ == AdifLengths::Strict) {
            const std::string_view declared = text_.substr(digits, digitsEnd - digits);
            if (length > size - start)
                return Unreadable(name, declared, start, "runs past the end of the text", field);
            const std::string_view value = text_.substr(start, length);
            if (FindRecordEnd(value) != std::string_view::npos)
                return Unreadable(name, declared, start, "runs past the end of its record", field);
            if (!EndsValue(text_, start + length))
                return Unreadable(name, declared, start, "does not end where its length says", field);
            field.name = name;
            field.type = type;
            field.value = value;
            pos_ = start + length;
            return AdifItem::Field;
        }
        std::size_t end = start + std::min(length, size - start);
        if (!EndsValue(text_, end)) {
            const std::size_t byCharacters = Utf8CharactersEnd(text_, start, length);
            if (byCharacters != std::string_view::npos && byCharacters != end &&
                EndsValue(text_, byCharacters))
                end = byCharacters;
        }
        std::string_view value = text_.substr(start, end - start);
        const std::size_t recordEnd = FindRecordEnd(value);
        if (recordEnd != std::string_view::npos) value = value.substr(0, recordEnd);

        field.name = name;
        field.type = type;
        field.value = value;
        pos_ = start + value.size();
        return AdifItem::Field;
    }
}

AdifItem AdifScanner::Unreadable(std::string_view name, std::string_view declared, std::size_t start,
                                  const char* why, AdifField& field) {
    problem_.assign("<").append(name).append(":").append(declared).append("> ").append(why);
    field.name = name;
    field.type = {};
    field.value = text_.substr(start);
    const std::size_t recordEnd = FindRecordEnd(field.value);
    pos_ = recordEnd == std::string_view::npos ? text_.size() : start + recordEnd + 5;
    return AdifItem::Unreadable;
}

const AdifField* AdifRecord::Find(std::string_view name) const {
    for (const AdifField& field : fields)
        if (AdifNamesEqual(field.name, name)) return &field;
    return nullptr;
}

std::string_view AdifRecord::Value(std::string_view name) const {
    const AdifField* field = Find(name);
    return field ? TrimAdifValue(field->value) : std::string_view();
}

bool AdifRecordReader::Next(AdifRecord& record) {
    record.fields.clear();
    record.ended = false;
    record.problem.clear();
    AdifField field;
    while (true) {
        switch (scanner_.Next(field)) {
        case AdifItem::Field:
            record.fields.push_back(field);
            break;
        case AdifItem::EndOfHeader:
            header_.insert(header_.end(), record.fields.begin(), record.fields.end());
            record.fields.clear();
            break;
        case AdifItem::Unreadable:
            // The scan resumed after this record's "<eor>".
            record.problem = scanner_.Problem();
            record.ended = true;
            return true;
        case AdifItem::EndOfRecord:
            if (!record.fields.empty()) {
                record.ended = true;
                return true;
            }
            break;
        case AdifItem::End:
            return !record.fields.empty();
        }
    }
}

std::vector<AdifRecord> ReadAdifRecords(std::string_view text, AdifLengths lengths) {
    std::vector<AdifRecord> records;
    AdifRecordReader reader(text, lengths);
    AdifRecord record;
    while (reader.Next(record)) records.push_back(record);
    return records;
}

AdifRecord ReadFirstAdifRecord(std::string_view text) {
    AdifRecord record;
    AdifRecordReader reader(text);
    reader.Next(record);
    return record;
}

std::string ReadAdifField(std::string_view text, std::string_view name) {
    if (!name.empty() && name.front() == '<') name.remove_prefix(1);
    if (!name.empty() && name.back() == ':') name.remove_suffix(1);
    return std::string(ReadFirstAdifRecord(text).Value(name));
}

bool HoldsAdifField(std::string_view text) {
    AdifScanner scanner(text);
    AdifField field;
    for (AdifItem item = scanner.Next(field); item != AdifItem::End; item = scanner.Next(field))
        if (item == AdifItem::Field) return true;
    return false;
}

}  // namespace vantrel
