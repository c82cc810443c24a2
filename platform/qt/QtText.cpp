#include "platform/qt/QtText.h"

#include "platform/Text.h"

#include <QString>

namespace platform {

QString displayText(const std::string& bytes) {
    const std::string utf8 = displayUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string fromDisplayText(const QString& text) { return text.toUtf8().toStdString(); }

} // namespace platform
