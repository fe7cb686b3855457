#include "app/gui/qt_desktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QUrl>

#include "app/gui/display_text.h"

namespace vantrel {

bool QtDesktop::OpenFile(const std::string& path) {
    if (path.empty()) return false;
    // File names are bytes in the system's encoding, not necessarily UTF-8.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path))));
}

bool QtDesktop::OpenUrl(const std::string& url) {
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    if (!address.isValid() || address.host().isEmpty()) return false;
    if (address.scheme() != QLatin1String("https") && address.scheme() != QLatin1String("http")) return false;
    return QDesktopServices::openUrl(address);
}

void QtDesktop::CopyText(const std::string& text) { QGuiApplication::clipboard()->setText(DisplayText(text)); }

}  // namespace vantrel
