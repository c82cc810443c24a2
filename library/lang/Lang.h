#pragma once
// Interface texts by token id. Every visible text of the system is looked up here: first in the
// current language's token table, then in the built-in default table; "&&" placeholders in the text
// are filled from left to right with the arguments. State is process-wide and owned by the library.

#include "KelmoraExport.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

// (token id, text). Ids are six decimal digits ("000020", "400014").
using TokenPair = std::pair<std::string, std::string>;
// Ordered: a lookup takes the first pair whose id matches.
using TokenTable = std::vector<TokenPair>;
using TextList = std::vector<std::string>;

// Library initialisation: installs the built-in texts (DefaultLang) and returns true.
KELMORA_EXPORT bool Orvane();
// Replaces the default token table with a new one holding the library's ten built-in pairs.
KELMORA_EXPORT void DefaultLang();
// Appends a copy of pair to the default token table.
KELMORA_EXPORT void AADD_LangDefault(const TokenPair& pair);

KELMORA_EXPORT std::string GetCurentKodLanguage();
// Stores code as the current language code and returns it; the current token table stays.
KELMORA_EXPORT std::string PutCurentKodLanguage(const std::string& code);

// The text of token id: from the current table, else the default table, else empty. With a text
// argument the first "&&" is replaced by it; with a list, each element replaces the first "&&" of the
// result so far. A blank argument or an empty list leaves the text as it is.
KELMORA_EXPORT std::string GetLangToken(const std::string& id);
KELMORA_EXPORT std::string GetLangToken(const std::string& id, const std::string& argument);
KELMORA_EXPORT std::string GetLangToken(const std::string& id, const TextList& arguments);

namespace kelmora::detail {
// Shared with the language file reader: the default table and the current table.
std::shared_ptr<TokenTable> defaultTokenTable();
extern std::shared_ptr<TokenTable> g_defaultTable;
void setCurrentTokenTable(std::shared_ptr<TokenTable> table);
std::string& currentCode();
// Empty, or only spaces, tabs, CR and LF.
bool isBlank(const std::string& text);
} // namespace kelmora::detail
