// Stored bytes as the operator reads them. The program's files keep their bytes as they came
// (WSJT-X's datagrams are Latin-1, its log files UTF-8); what is shown decodes a text as UTF-8
// when it is valid UTF-8 and as Latin-1 otherwise, so no character shows as a replacement mark.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace vantrel {

QString DisplayText(std::string_view bytes);

// The bytes the operator's text stands for: `stored` itself when it displays as `shown`
// (a Latin-1 name the operator left as it was keeps its bytes), else the text as UTF-8.
std::string StoredText(const QString& shown, const std::string& stored);

}  // namespace vantrel
