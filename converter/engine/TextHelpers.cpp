#include "engine/TextHelpers.h"

std::string DELFIRSTEND(const std::string& text, const std::string& delimiter) {
    const size_t n = delimiter.size();
    if (n == 0 || text.size() < n) return text;
    size_t start = 0;
    size_t cut = 0;
    if (text.compare(0, n, delimiter) == 0) {
        start = n;
        cut = n;
    }
    if (text.compare(text.size() - n, n, delimiter) == 0) cut += n;
    if (cut > text.size()) return {};
    return text.substr(start, text.size() - cut);
}
