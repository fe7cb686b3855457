// The release check's texts: the body of the release file against the program's own version
// text (major.minor.release.build).
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// The body without the blanks and control characters (line ends among them) around it.
std::string TrimReleaseBody(std::string_view body);

// Whether a trimmed body can be a version text: one short line of printable characters without
// blanks or markup. An error or sign-in page answered in its place is none.
bool LooksLikeVersionText(std::string_view trimmed);

// True when the release named by the body is not this program's: the exact text compared after
// trimming, so a newer and an older release both differ, and so does a change of letter case.
bool ReleaseDiffers(std::string_view body, std::string_view ownVersion);

}  // namespace vantrel
