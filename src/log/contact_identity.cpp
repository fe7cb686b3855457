#include "log/contact_identity.h"

#include "log/band_table.h"
#include "log/extract_field.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

// Hands the identity's bytes to `put`, one piece after the other, without building the text.
template <class Put>
void IdentityBytes(std::string_view localLine, Put put) {
    std::string_view f[7];
    CutFirstFields(localLine, ',', f, 7);
    const std::string_view time = TrimBlanks(f[1]);
    put(TrimBlanks(f[0]));
    put(" ");
    if (time.size() == 7 && time[1] == ':') put("0");
    put(time);
    put(" ");
    for (const char c : TrimBlanks(f[4])) {
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        put(std::string_view(&upper, 1));
    }
    put(" ");
    put(BandFromFrequency(f[6]));
}

}  // namespace

std::string ContactIdentity(std::string_view localLine) {
    std::string identity;
    identity.reserve(40);
    IdentityBytes(localLine, [&](std::string_view piece) { identity += piece; });
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

std::uint64_t ContactIdentitySet::Key(std::string_view localLine) {
    // FNV-1a, 64 bits, over the identity's text.
    std::uint64_t h = 14695981039346656037ull;
    IdentityBytes(localLine, [&](std::string_view piece) {
        for (const char c : piece) {
            h ^= static_cast<unsigned char>(c);
            h *= 1099511628211ull;
        }
    });
    return h;
}

void ContactIdentitySet::CatchUp(const LogLines& lines) {
    const LogLinesFollower::Step step = follower_.Next(lines);
    if (step.restart) keys_.clear();
    if (keys_.empty()) keys_.reserve(lines.size() + lines.size() / 4);
    for (std::size_t i = step.first; i < lines.size(); ++i)
        if (!lines[i].empty()) Add(lines[i]);
}

void ContactIdentitySet::Add(std::string_view localLine) { keys_.insert(Key(localLine)); }

bool ContactIdentitySet::Contains(std::string_view localLine) const { return keys_.count(Key(localLine)) != 0; }

}  // namespace vantrel
