#pragma once
// Splitting a text into fields at a separator (which may be longer than one character). k occurrences
// give k + 1 fields numbered from 1; a blank text (empty, or only spaces, tabs, CR, LF) has none.

#include "KelmoraExport.h"

#include <cstdint>
#include <string>

// Field number index of text, with its leading and trailing spaces removed; empty when there is no
// such field.
KELMORA_EXPORT std::string Token(const std::string& text, const std::string& separator, int32_t index);
// The number of fields: 0 for a blank text, else the occurrences of separator plus 1.
KELMORA_EXPORT int32_t NumToken(const std::string& text, const std::string& separator);
