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
//
// Received contacts are read strictly instead (AdifLengths::Strict): a declared length is taken
// as it stands, and a value that would run past the end of the text, past its record's "<eor>"
// or into the middle of other text makes its record unreadable, never a contact made of what
// happens to follow.
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

// How declared lengths are trusted.
enum class AdifLengths {
    Lenient,  // files: a length is cut at the end of the text and at "<eor>" (see above)
    Strict,   // received contacts: a length counts bytes and must fit its value exactly
};

// Unreadable: a field whose declared length does not fit (Strict only). `field` then holds its
// name and the bytes from its value to the end of the text; the scan goes on after the next
// "<eor>", so the records after it are still read.
enum class AdifItem { Field, EndOfRecord, EndOfHeader, Unreadable, End };

// A cursor over ADIF text. The views it hands out point into the text.
class AdifScanner {
public:
    explicit AdifScanner(std::string_view text, AdifLengths lengths = AdifLengths::Lenient)
        : text_(text), lengths_(lengths) {}
    // The next field, record end or header end; End when the text is used up.
    AdifItem Next(AdifField& field);
    // Why the last Unreadable item could not be read ("<call:60> runs past the end of the text").
    const std::string& Problem() const { return problem_; }

private:
    AdifItem Unreadable(std::string_view name, std::string_view declared, std::size_t start,
                        const char* why, AdifField& field);

    std::string_view text_;
    AdifLengths lengths_;
    std::size_t pos_ = 0;
    std::string problem_;
};

struct AdifRecord {
    std::vector<AdifField> fields;
    bool ended = false;  // closed by "<eor>"; false for a record cut off by the end of the text
    // Empty for a readable record; otherwise why it cannot be read (Strict reading only). The
    // fields read before the fault are kept for the trace; they make no contact.
    std::string problem;

    // The first field of that name (letter case ignored), or null.
    const AdifField* Find(std::string_view name) const;
    // Its value with blanks and line ends removed at both ends; empty when absent.
    std::string_view Value(std::string_view name) const;
};

// Reads the records of an ADIF text in order. Fields before "<eoh>" are the header; a text
// without "<eoh>" has no header. A record is the fields up to "<eor>" wherever the line breaks
// fall; fields after the last "<eor>" make a last record with `ended` false. Records without
// fields are skipped.
//
// With Strict lengths a record that holds an unreadable field is returned with its `problem`
// set, and reading goes on with the record after its "<eor>".
class AdifRecordReader {
public:
    explicit AdifRecordReader(std::string_view text, AdifLengths lengths = AdifLengths::Lenient)
        : scanner_(text, lengths) {}
    bool Next(AdifRecord& record);
    const std::vector<AdifField>& Header() const { return header_; }

private:
    AdifScanner scanner_;
    std::vector<AdifField> header_;
};

std::vector<AdifRecord> ReadAdifRecords(std::string_view text, AdifLengths lengths = AdifLengths::Lenient);
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
