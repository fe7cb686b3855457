// The desktop of the windowed program: files, folders and web addresses go to the operator's
// default applications (never through a shell), text to the system clipboard.
#pragma once

#include "base/services.h"

namespace vantrel {

class QtDesktop : public Desktop {
public:
    // False when the desktop has no program for the file or folder.
    bool OpenFile(const std::string& path) override;
    // Only a well-formed http or https address is opened; anything else is refused (false), as is
    // an address for which the desktop has no browser.
    bool OpenUrl(const std::string& url) override;
    void CopyText(const std::string& text) override;
};

}  // namespace vantrel
