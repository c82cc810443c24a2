#include "platform/Text.h"

#include <array>
#include <iconv.h>

namespace platform {
namespace {

// Length of the valid UTF-8 sequence at s[i], or 0 when the byte there does not start one.
size_t utf8SequenceLength(const std::string& s, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    size_t length;
    char32_t min;
    if (b0 < 0x80) return 1;
    if ((b0 & 0xE0) == 0xC0) {
        length = 2;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    char32_t cp = b0 & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

// Converts with iconv; returns false when iconv cannot open or convert.
bool iconvConvert(const char* to, const char* from, const std::string& in, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out.assign(in.size() * 4 + 4, '\0');
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return rc != static_cast<size_t>(-1);
}

// The upper half of Windows-1251 as UTF-8, built once through iconv; 0x98 has no character (U+FFFD).
const std::array<std::string, 128>& cp1251Table() {
    static const std::array<std::string, 128> table = [] {
        std::array<std::string, 128> t;
        for (int i = 0; i < 128; ++i) {
            if (!iconvConvert("UTF-8", "CP1251", std::string(1, static_cast<char>(0x80 + i)), t[i]) || t[i].empty())
                t[i] = "\xEF\xBF\xBD";
        }
        return t;
    }();
    return table;
}

} // namespace

std::string displayUtf8(const std::string& bytes) {
    std::string result;
    result.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const size_t length = utf8SequenceLength(bytes, i);
        if (length == 0) {
            result += cp1251Table()[static_cast<unsigned char>(bytes[i]) - 0x80];
            ++i;
        } else {
            result.append(bytes, i, length);
            i += length;
        }
    }
    return result;
}

std::string oemToAnsi(const std::string& oemBytes) {
    std::string out;
    if (!iconvConvert("UTF-8", "CP866", oemBytes, out)) return oemBytes;
    return out;
}

} // namespace platform
