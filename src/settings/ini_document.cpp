#include "settings/ini_document.h"

#include <algorithm>

namespace vantrel {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Control characters other than the tab never appear in a text line of the file.
bool HasControl(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u < 0x20 && c != '\t') || u == 0x7f;
    });
}

IniDocument::Line Classify(std::string_view raw) {
    IniDocument::Line line;
    line.text = std::string(raw);
    const std::string_view t = Trim(raw);
    if (HasControl(raw)) {
        line.kind = IniDocument::LineKind::Damaged;
    } else if (t.empty()) {
        line.kind = IniDocument::LineKind::Blank;
    } else if (t.front() == ';' || t.front() == '#') {
        line.kind = IniDocument::LineKind::Comment;
    } else if (t.front() == '[' && t.back() == ']' && t.size() >= 2) {
        const std::string_view name = Trim(t.substr(1, t.size() - 2));
        line.kind = name.empty() ? IniDocument::LineKind::Damaged : IniDocument::LineKind::Section;
        line.name = std::string(name);
    } else if (const auto eq = raw.find('='); eq != std::string_view::npos &&
                                               !Trim(raw.substr(0, eq)).empty()) {
        line.kind = IniDocument::LineKind::Key;
        line.name = std::string(Trim(raw.substr(0, eq)));
        line.valueStart = eq + 1;
    } else {
        line.kind = IniDocument::LineKind::Damaged;
    }
    return line;
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool IsValidSectionName(std::string_view name) {
    return !name.empty() && Trim(name) == name && !HasControl(name) &&
           name.find_first_of("[]") == std::string_view::npos;
}

bool IsValidKeyName(std::string_view name) {
    return !name.empty() && Trim(name) == name && !HasControl(name) &&
           name.find('=') == std::string_view::npos && name.front() != '[' &&
           name.front() != ';' && name.front() != '#';
}

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        doc.bom_ = true;
        bytes.remove_prefix(3);
    }
    doc.hasNul_ = bytes.find('\0') != std::string_view::npos;
    std::size_t pos = 0;
    bool firstEnd = true;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        const bool last = end == std::string_view::npos;
        if (last) end = bytes.size();
        std::string_view raw = bytes.substr(pos, end - pos);
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
            if (firstEnd && !last) doc.crlf_ = true;
        }
        if (!last) firstEnd = false;
        doc.lines_.push_back(Classify(raw));
        if (doc.lines_.back().kind == LineKind::Damaged && doc.damaged_++ == 0)
            doc.firstDamaged_ = doc.lines_.size();
        pos = last ? end : end + 1;
    }
    return doc;
}

std::size_t IniDocument::BlockEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != LineKind::Section) ++i;
    return i;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (const Line& line : lines_) {
        if (line.kind == LineKind::Section)
            inSection = EqualsNoCase(line.name, section);
        else if (inSection && line.kind == LineKind::Key && EqualsNoCase(line.name, key))
            return line.text.substr(line.valueStart);
    }
    return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    // A control character would make the line unreadable (a damaged line, dropped at the next
    // read with the value): each becomes a blank, as line ends do.
    std::string clean(value);
    std::replace_if(clean.begin(), clean.end(),
                    [](char c) { return HasControl(std::string_view(&c, 1)); }, ' ');

    std::optional<std::size_t> firstHeader, found;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size() && !found; ++i) {
        const Line& line = lines_[i];
        if (line.kind == LineKind::Section) {
            inSection = EqualsNoCase(line.name, section);
            if (inSection && !firstHeader) firstHeader = i;
        } else if (inSection && line.kind == LineKind::Key && EqualsNoCase(line.name, key)) {
            found = i;
        }
    }
    if (found) {
        Line& line = lines_[*found];
        line.text.resize(line.valueStart);
        line.text += clean;
        RemoveKeys(section, key, *found);
        return;
    }

    Line line;
    line.kind = LineKind::Key;
    line.name = std::string(key);
    line.text = line.name + "=" + clean;
    line.valueStart = line.name.size() + 1;
    if (firstHeader) {
        std::size_t at = *firstHeader + 1;
        for (std::size_t i = at; i < BlockEnd(*firstHeader); ++i)
            if (lines_[i].kind == LineKind::Key) at = i + 1;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
        return;
    }
    if (!lines_.empty() && lines_.back().kind != LineKind::Blank) lines_.push_back(Line{});
    Line header;
    header.kind = LineKind::Section;
    header.name = std::string(section);
    header.text = "[" + header.name + "]";
    lines_.push_back(std::move(header));
    lines_.push_back(std::move(line));
}

bool IniDocument::Remove(std::string_view section, std::string_view key) {
    return RemoveKeys(section, key, lines_.size());
}

bool IniDocument::RemoveKeys(std::string_view section, std::string_view key, std::size_t keep) {
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        Line& line = lines_[i];
        if (line.kind == LineKind::Section) inSection = EqualsNoCase(line.name, section);
        if (i != keep && inSection && line.kind == LineKind::Key && EqualsNoCase(line.name, key))
            continue;
        kept.push_back(std::move(line));
    }
    const bool removed = kept.size() != lines_.size();
    lines_ = std::move(kept);
    return removed;
}

std::string IniDocument::Render() const {
    const std::string_view eol = crlf_ ? "\r\n" : "\n";
    std::string out;
    if (bom_) out += "\xEF\xBB\xBF";
    for (const Line& line : lines_) {
        if (line.kind == LineKind::Damaged) continue;
        out += line.text;
        out += eol;
    }
    return out;
}

}  // namespace vantrel
