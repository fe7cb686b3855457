// The confirmation report download: the service's report query for the confirmations received
// since a date, fetched over HTTPS (certificate checked) into a temporary file in the viewer
// folder, with progress. What is in the file is judged and merged by the caller.
#pragma once

#include <QUrl>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "net/https_fetch.h"
#include "net/lotw_credentials.h"

namespace vantrel {

// The temporary file of a download; removed once it has been merged or judged.
inline constexpr const char* kLotwDownloadFile = "lotwreport.download";

// The report address with its query: the confirmations only, with the details that carry the
// entity and zone, received since `since` ("2022-06-02"; every confirmation when empty). The
// values are percent-encoded.
QUrl LotwReportUrl(const std::string& base, const LotwLogin& credentials, const std::string& since);
// The same address for a trace line: the password replaced by "*".
std::string LotwReportUrlForTrace(const std::string& base, const LotwLogin& credentials, const std::string& since);
// The date part of a last-confirmation time ("2022-06-02 23:31:22" -> "2022-06-02"); empty when
// the text does not start with a date.
std::string SinceDate(const std::string& lastConfirmation);

// The fetch settings of the report: no size limit worth the name (a whole log's confirmations can
// run to a hundred megabytes), a patient time-out (the service takes its time to answer a large
// query), no redirects followed (a login page is no report).
FetchSettings LotwFetchSettings(FetchSettings base);

}  // namespace vantrel
