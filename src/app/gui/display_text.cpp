#include "app/gui/display_text.h"

#include <QByteArrayView>

namespace vantrel {

QString DisplayText(std::string_view bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return view.isValidUtf8() ? QString::fromUtf8(view) : QString::fromLatin1(view);
}

std::string StoredText(const QString& shown, const std::string& stored) {
    return DisplayText(stored) == shown ? stored : shown.toStdString();
}

}  // namespace vantrel
