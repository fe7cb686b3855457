#include "app/gui/qt_desktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QUrl>

namespace vantrel {

void QtDesktop::OpenFile(const std::string& path) {
    if (path.empty()) return;
    // File names are bytes in the system's encoding, not necessarily UTF-8.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path))));
}

void QtDesktop::OpenUrl(const std::string& url) {
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    if (!address.isValid() || address.host().isEmpty()) return;
    if (address.scheme() != QLatin1String("https") && address.scheme() != QLatin1String("http")) return;
    QDesktopServices::openUrl(address);
}

void QtDesktop::CopyText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace vantrel
