#pragma once
// Language files and the choice of the current language.
//
// A language file is any "*.lng" file (any case) in the program's folder: 8-bit text read byte for
// byte, one "id = text" pair per line, an optional header line "LANGUAGE = code, display name",
// comments after ";" or "//". aLang lists the languages (entry 1 is the built-in one, code "***"),
// aLangSet their token tables (entry 1 is the default token table itself). Indices are 1-based.

#include "KelmoraExport.h"
#include "lang/Lang.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// (display name, language code)
struct LanguageEntry {
    std::string name;
    std::string code;
};
using LanguageList = std::vector<LanguageEntry>;
using TokenTableList = std::vector<std::shared_ptr<TokenTable>>;

KELMORA_EXPORT extern LanguageList aLang;
KELMORA_EXPORT extern TokenTableList aLangSet;

// Reads the language files, appends them to the lists and selects the last language whose code equals
// code exactly (else the built-in one). Returns the 1-based index of the selected language.
KELMORA_EXPORT int32_t ReadLngFile(const std::string& code);
// The language list itself (shared, not a copy).
KELMORA_EXPORT LanguageList& GetListLanguage();
// Selects the first language whose code begins with code (else the built-in texts) and stores code as
// the current code. Returns the 1-based index of the selected language.
KELMORA_EXPORT int32_t SelectLanguage(const std::string& code);
