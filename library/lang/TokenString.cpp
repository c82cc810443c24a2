#include "lang/TokenString.h"

#include "lang/Lang.h"

namespace {

std::string trimSpaces(const std::string& text, size_t begin, size_t end) {
    while (begin < end && text[begin] == ' ') ++begin;
    while (end > begin && text[end - 1] == ' ') --end;
    return text.substr(begin, end - begin);
}

} // namespace

// An empty separator is never passed by the system; it is treated as "no separator": one field.
std::string Token(const std::string& text, const std::string& separator, int32_t index) {
    if (kelmora::detail::isBlank(text) || index < 1) return {};
    size_t start = 0;
    for (int32_t field = 1;; ++field) {
        const size_t at = separator.empty() ? std::string::npos : text.find(separator, start);
        if (at == std::string::npos) return field == index ? trimSpaces(text, start, text.size()) : std::string();
        if (field == index) return trimSpaces(text, start, at);
        start = at + separator.size();
    }
}

int32_t NumToken(const std::string& text, const std::string& separator) {
    if (kelmora::detail::isBlank(text)) return 0;
    int32_t count = 1;
    if (separator.empty()) return count;
    for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, at + separator.size()))
        ++count;
    return count;
}
