#include "lang/Lang.h"

namespace kelmora::detail {

// The default table is replaced (not cleared) by DefaultLang: the language list keeps the old one.
std::shared_ptr<TokenTable> g_defaultTable = std::make_shared<TokenTable>();
namespace {
std::shared_ptr<TokenTable> g_currentTable;
std::string g_currentCode;

const std::string* findText(const TokenTable* table, const std::string& id) {
    if (!table) return nullptr;
    for (const TokenPair& pair : *table)
        if (pair.first == id) return &pair.second;
    return nullptr;
}

void fill(std::string& text, const std::string& argument) {
    const size_t at = text.find("&&");
    if (at != std::string::npos) text.replace(at, 2, argument);
}

std::string lookup(const std::string& id) {
    const std::string* text = findText(g_currentTable.get(), id);
    if (!text) text = findText(g_defaultTable.get(), id);
    return text ? *text : std::string();
}

} // namespace

std::shared_ptr<TokenTable> defaultTokenTable() { return g_defaultTable; }
void setCurrentTokenTable(std::shared_ptr<TokenTable> table) { g_currentTable = std::move(table); }

bool isBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

std::string& currentCode() { return g_currentCode; }

} // namespace kelmora::detail

namespace detail = kelmora::detail;

bool Orvane() {
    DefaultLang();
    return true;
}

void DefaultLang() {
    detail::g_defaultTable = std::make_shared<TokenTable>(TokenTable{
        {"000004", "Запрос"},
        {"000015", "Не указан файл."},
        {"000017", "Файл && не найден."},
        {"000019", "Информация"},
        {"000020", "Ошибка"},
        {"000021", "Ошибка открытия &&"},
        {"000022", "Файл && уже существует. Переписать?"},
        {"000023", "Ошибка создания файла &&"},
        {"000024", "Запись"},
        {"000026", "Чтение"},
    });
}

void AADD_LangDefault(const TokenPair& pair) { detail::defaultTokenTable()->push_back(pair); }

std::string GetCurentKodLanguage() { return detail::currentCode(); }

std::string PutCurentKodLanguage(const std::string& code) {
    detail::currentCode() = code;
    return code;
}

std::string GetLangToken(const std::string& id) { return detail::lookup(id); }

std::string GetLangToken(const std::string& id, const std::string& argument) {
    std::string text = detail::lookup(id);
    if (!detail::isBlank(argument)) detail::fill(text, argument);
    return text;
}

std::string GetLangToken(const std::string& id, const TextList& arguments) {
    std::string text = detail::lookup(id);
    for (const std::string& argument : arguments) detail::fill(text, argument);
    return text;
}
