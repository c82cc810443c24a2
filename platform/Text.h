#pragma once
// Texts of the 8-bit code page of this port. The code page is UTF-8; bytes that are not valid UTF-8
// (legacy Windows-1251 language files and books) are shown as Windows-1251.

#include <string>

namespace platform {

// An 8-bit text as UTF-8 for display: valid UTF-8 sequences stay, every other byte is read as
// Windows-1251.
std::string displayUtf8(const std::string& bytes);

// OEM (CP866) bytes to the 8-bit code page of this port (UTF-8), through iconv.
std::string oemToAnsi(const std::string& oemBytes);

} // namespace platform
