#include "log/contact_identity.h"

#include "log/band_table.h"
#include "log/extract_field.h"
#include "log/line_text.h"

namespace vantrel {

std::string ContactIdentity(std::string_view localLine) {
    const std::string_view time = TrimBlanks(ExtractFieldView(localLine, ',', 2));
    std::string identity(TrimBlanks(ExtractFieldView(localLine, ',', 1)));
    identity += ' ';
    if (time.size() == 7 && time[1] == ':') identity += '0';
    identity += time;
    identity += ' ';
    identity += UpperCase(TrimBlanks(ExtractFieldView(localLine, ',', 5)));
    identity += ' ';
    identity += BandFromFrequency(ExtractFieldView(localLine, ',', 7));
    return identity;
}

LogLinesFollower::Step LogLinesFollower::Next(const LogLines& lines) {
    Step step;
    const bool sameStart = lines.size() >= lines_ &&
                           lines.Bytes().size() - lines.BytesFrom(lines_).size() == bytes_ &&
                           (lines_ == 0 || lines[lines_ - 1] == lastLine_);
    if (!sameStart) {
        step.restart = true;
        lines_ = 0;
        bytes_ = 0;
    }
    step.first = lines_;
    lines_ = lines.size();
    bytes_ = lines.Bytes().size();
    lastLine_ = lines_ == 0 ? std::string() : std::string(lines[lines_ - 1]);
    return step;
}

std::uint64_t ContactIdentitySet::Key(std::string_view identity) {
    // FNV-1a, 64 bits.
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : identity) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

void ContactIdentitySet::CatchUp(const LogLines& lines) {
    const LogLinesFollower::Step step = follower_.Next(lines);
    if (step.restart) keys_.clear();
    if (keys_.empty()) keys_.reserve(lines.size() + lines.size() / 4);
    for (std::size_t i = step.first; i < lines.size(); ++i)
        if (!lines[i].empty()) Add(lines[i]);
}

void ContactIdentitySet::Add(std::string_view localLine) { keys_.insert(Key(ContactIdentity(localLine))); }

bool ContactIdentitySet::Contains(std::string_view localLine) const {
    return keys_.count(Key(ContactIdentity(localLine))) != 0;
}

}  // namespace vantrel
