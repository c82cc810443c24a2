#include "lang/LangFiles.h"

#include "lang/TokenString.h"
#include "platform/File.h"
#include "textfile/TextFile.h"

#include <cctype>

LanguageList aLang;
TokenTableList aLangSet;

namespace {

const char* const kBuiltInName = "По умолчанию (Default)";
const char* const kBuiltInCode = "***";
const char* const kNamelessName = "Язык без названия (No name language) №";

std::string trim(const std::string& text) {
    const size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return {};
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

bool isHeaderLine(const std::string& line) {
    static const char keyword[] = "LANGUAGE";
    if (line.size() < 8) return false;
    for (size_t i = 0; i < 8; ++i)
        if (std::toupper(static_cast<unsigned char>(line[i])) != keyword[i]) return false;
    return true;
}

// Applies one line of a language file to the file's entry and token table.
void readLine(std::string line, LanguageEntry& entry, TokenTable& table) {
    line = trim(line);
    if (kelmora::detail::isBlank(line)) return;
    if (line[0] == ';' || line.compare(0, 2, "//") == 0) return;
    line = line.substr(0, line.find("//"));
    line = line.substr(0, line.find(';'));
    if (isHeaderLine(line)) {
        const size_t equals = line.find('=');
        const std::string fields = equals == std::string::npos ? line : line.substr(equals + 1);
        entry.code = Token(fields, ",", 1);
        entry.name = Token(fields, ",", 2);
        return;
    }
    table.emplace_back(Token(line, "=", 1), Token(line, "=", 2));
}

std::string threeDigits(int n) {
    std::string digits = std::to_string(n);
    return digits.size() < 3 ? std::string(3 - digits.size(), '0') + digits : digits;
}

} // namespace

int32_t ReadLngFile(const std::string& code) {
    int32_t selected = 1;
    aLang.push_back({kBuiltInName, kBuiltInCode});
    aLangSet.push_back(kelmora::detail::defaultTokenTable());

    const std::string folder = platform::programFolder();
    int n = 0;
    for (const std::string& name : platform::listFolder(folder, "*.lng")) {
        ++n;
        // Language files are only read: open them read-only, so a read-only installation works.
        TextFile file;
        file.Open(folder + name, platform::FO_READONLY);
        if (file.lError()) continue; // the file object has shown why; the file gets no entry
        LanguageEntry entry{kNamelessName + std::to_string(n), threeDigits(n)};
        auto table = std::make_shared<TokenTable>();
        std::string line;
        while (file.pInFile()->readLine(line)) readLine(line, entry, *table);
        aLang.push_back(entry);
        aLangSet.push_back(table);
        file.Close();
        if (entry.code == code) selected = static_cast<int32_t>(aLang.size());
    }
    kelmora::detail::currentCode() = aLang[static_cast<size_t>(selected) - 1].code;
    kelmora::detail::setCurrentTokenTable(aLangSet[static_cast<size_t>(selected) - 1]);
    return selected;
}

LanguageList& GetListLanguage() { return aLang; }

int32_t SelectLanguage(const std::string& code) {
    int32_t selected = 1;
    for (size_t i = 0; i < aLang.size(); ++i) {
        if (aLang[i].code.compare(0, code.size(), code) == 0 && aLang[i].code.size() >= code.size()) {
            selected = static_cast<int32_t>(i + 1);
            break;
        }
    }
    // Before the language files are read the lists are empty and the default table answers alone.
    kelmora::detail::setCurrentTokenTable(
        static_cast<size_t>(selected) <= aLangSet.size() ? aLangSet[static_cast<size_t>(selected) - 1] : nullptr);
    kelmora::detail::currentCode() = code;
    return selected;
}
