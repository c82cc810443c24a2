#pragma once
// Broken and hostile books, built at test time, shared by the in-process and the command-line tests.

#include <cstdint>
#include <random>
#include <string>

namespace hostile {

inline std::string repeat(const std::string& piece, size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

// Deterministic bytes of every value (the same on every platform).
inline std::string randomBytes(size_t size, uint32_t seed) {
    std::mt19937 engine(seed);
    std::string out(size, '\0');
    for (char& c : out)
        c = static_cast<char>(engine() & 0xFF);
    return out;
}

// The start of a JPEG file (SOI, APP0 "JFIF", a quantisation table), then compressed-looking bytes.
inline std::string jpegBytes() {
    const char header[] = "\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xFF\xDB\x00\x43\x00";
    return std::string(header, sizeof header - 1) + randomBytes(4096, 7) + "\xFF\xD9";
}

inline const std::string kHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<FictionBook><description><title-info>"
                                 "<book-title>Hostile</book-title></title-info></description>\n<body><section>";
inline const std::string kTail = "</section></body></FictionBook>\n";

// A book whose body section holds the given markup.
inline std::string book(const std::string& sectionContent) {
    return kHead + sectionContent + kTail;
}

inline std::string nestedSections(size_t depth) {
    return kHead + repeat("<section>", depth) + "<p>deep</p>" + repeat("</section>", depth) + kTail;
}

inline std::string manyAttributes(size_t count) {
    return book("<p" + repeat(" a=\"1\"", count) + " id=\"last\">text</p>");
}

// One tag of about size bytes: a paragraph with a huge attribute value.
inline std::string hugeTag(size_t size) {
    return book("<p title=\"" + std::string(size, 'x') + "\">after</p>");
}

// Base64 of `bytes`, in lines of 76 characters as books write it.
inline std::string base64(const std::string& bytes) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve(bytes.size() / 3 * 4 + bytes.size() / 57 * 2 + 8);
    size_t column = 0;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const uint32_t b0 = static_cast<unsigned char>(bytes[i]);
        const uint32_t b1 = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        const uint32_t b2 = i + 2 < bytes.size() ? static_cast<unsigned char>(bytes[i + 2]) : 0;
        const uint32_t v = (b0 << 16) | (b1 << 8) | b2;
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? alphabet[(v >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? alphabet[v & 63] : '=';
        if ((column += 4) == 76) {
            out += "\r\n";
            column = 0;
        }
    }
    return out;
}

// A book with one <binary> of id `id` holding `bytes`.
inline std::string bookWithBinary(const std::string& id, const std::string& bytes) {
    return kHead + "<p>text</p>" + "</section></body>\n<binary id=\"" + id + "\" content-type=\"image/png\">" +
           base64(bytes) + "</binary>\n</FictionBook>\n";
}

} // namespace hostile
