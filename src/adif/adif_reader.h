// Reading ADIF text: data specifiers "<name:length>value" or "<name:length:type>value", records
// ended by "<eor>" and a header ended by "<eoh>".
//
// Fields are read one after the other by their declared lengths, so a value that contains
// something tag-like ("see <rig:3>abc") is part of that value and nothing else. Text outside the
// specifiers is ignored, tag names match in any letter case, and lengths may have any number of
// digits. Bytes are kept as they are (a Latin-1 value stays Latin-1).
//
// Declared lengths are not trusted past what is there: a value is cut at the end of the text and
// at an "<eor>" inside it. Where a file counted characters but stored UTF-8 (WSJT-X's ADIF log
// writes a replacement character as three bytes under a length of one), the value is taken by
// characters when the byte count would stop inside the value and the character count stops right
// before a blank, a line end or the next tag.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct AdifField {
    std::string_view name;   // as written, any letter case
    std::string_view type;   // the data-type indicator, empty when there is none
    std::string_view value;  // the value's bytes, untrimmed
};

enum class AdifItem { Field, EndOfRecord, EndOfHeader, End };

// A cursor over ADIF text. The views it hands out point into the text.
class AdifScanner {
public:
    explicit AdifScanner(std::string_view text) : text_(text) {}
    // The next field, record end or header end; End when the text is used up.
    AdifItem Next(AdifField& field);

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

struct AdifRecord {
    std::vector<AdifField> fields;
    bool ended = false;  // closed by "<eor>"; false for a record cut off by the end of the text

    // The first field of that name (letter case ignored), or null.
    const AdifField* Find(std::string_view name) const;
    // Its value with blanks and line ends removed at both ends; empty when absent.
    std::string_view Value(std::string_view name) const;
};

// Reads the records of an ADIF text in order. Fields before "<eoh>" are the header; a text
// without "<eoh>" has no header. A record is the fields up to "<eor>" wherever the line breaks
// fall; fields after the last "<eor>" make a last record with `ended` false. Records without
// fields are skipped.
class AdifRecordReader {
public:
    explicit AdifRecordReader(std::string_view text) : scanner_(text) {}
    bool Next(AdifRecord& record);
    const std::vector<AdifField>& Header() const { return header_; }

private:
    AdifScanner scanner_;
    std::vector<AdifField> header_;
};

std::vector<AdifRecord> ReadAdifRecords(std::string_view text);
// The first record of the text (empty when it holds no field).
AdifRecord ReadFirstAdifRecord(std::string_view text);

// The value of one field of the first record of `text`, blanks removed at both ends; empty when
// absent. `name` may be written as a tag opening ("<call:") or bare ("call"); case is ignored.
std::string ReadAdifField(std::string_view text, std::string_view name);

// True when the text holds at least one readable field.
bool HoldsAdifField(std::string_view text);

bool AdifNamesEqual(std::string_view a, std::string_view b);
std::string_view TrimAdifValue(std::string_view value);

}  // namespace vantrel
