#pragma once
// Texts of the 8-bit code page of this port. The code page is UTF-8; bytes that are not valid UTF-8
// (legacy Windows-1251 language files and books) are shown as Windows-1251.

#include <string>

class QString;

namespace platform {

// Decodes an 8-bit text for display: valid UTF-8 sequences as UTF-8, every other byte as Windows-1251.
QString displayText(const std::string& bytes);

// The inverse for texts typed by the user: UTF-8 bytes.
std::string fromDisplayText(const QString& text);

// OEM (CP866) bytes to the 8-bit code page of this port (UTF-8), through iconv.
std::string oemToAnsi(const std::string& oemBytes);

} // namespace platform
