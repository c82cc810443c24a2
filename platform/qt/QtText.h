#pragma once
// 8-bit texts of the port to and from Qt strings, for widgets.

#include <string>

class QString;

namespace platform {

// As displayUtf8(): UTF-8 where the bytes are valid UTF-8, Windows-1251 for every other byte.
QString displayText(const std::string& bytes);
// Text typed by the user, as UTF-8 bytes.
std::string fromDisplayText(const QString& text);

} // namespace platform
