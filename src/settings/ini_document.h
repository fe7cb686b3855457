// The text of a settings INI file held as its lines, so that a change rewrites only the line
// it touches: comments, blank lines, other programs' sections and the order of everything are
// kept. Section and key names match without regard to letter case; values are kept byte for
// byte (a value may hold "=" and leading or trailing blanks).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

class IniDocument {
public:
    enum class LineKind { Blank, Comment, Section, Key, Damaged };

    struct Line {
        LineKind kind = LineKind::Blank;
        std::string text;  // the line as read, without its line end
        std::string name;  // section or key name, surrounding blanks removed
        std::size_t valueStart = 0;  // key lines: offset of the value in text
    };

    // Lines end in LF or CR LF; a last line without a line end is kept. A line that holds a NUL
    // or another control character, or that is neither a section header, a key, a comment nor
    // blank, is a damaged line: it is counted and left out when the text is written again.
    static IniDocument Parse(std::string_view bytes);

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Replaces the first occurrence of the key in the section (keeping the key's spelling) and
    // drops later duplicates; a new key goes after the section's last key; a new section is
    // appended at the end. Control characters of the value other than the tab (line ends among
    // them) are written as blanks.
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // True when the key was there.
    bool Remove(std::string_view section, std::string_view key);

    // The file text: the lines in their order without the damaged ones, each ending in the
    // line end the file used (LF for a new file).
    std::string Render() const;

    std::size_t DamagedLines() const { return damaged_; }
    std::size_t FirstDamagedLine() const { return firstDamaged_; }  // counted from 1
    bool HasNul() const { return hasNul_; }

private:
    // Index of the line after the header's block (next header or end).
    std::size_t BlockEnd(std::size_t header) const;
    // Drops every occurrence of the key in the section except the line at index keep.
    bool RemoveKeys(std::string_view section, std::string_view key, std::size_t keep);

    std::vector<Line> lines_;
    bool crlf_ = false;
    bool bom_ = false;
    bool hasNul_ = false;
    std::size_t damaged_ = 0;
    std::size_t firstDamaged_ = 0;
};

bool EqualsNoCase(std::string_view a, std::string_view b);

// Section and key names that can be written without changing the meaning of the file.
bool IsValidSectionName(std::string_view name);
bool IsValidKeyName(std::string_view name);

}  // namespace vantrel
