#include "engine/Base64.h"

#include "engine/RunHost.h"
#include "textfile/TextFile.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr uint8_t kNoDigit = 0xFF;

constexpr std::array<uint8_t, 256> makeDigitTable() {
    std::array<uint8_t, 256> table{};
    for (auto& entry : table) entry = kNoDigit;
    const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (uint8_t i = 0; i < 64; ++i) table[static_cast<unsigned char>(alphabet[i])] = i;
    return table;
}

constexpr std::array<uint8_t, 256> kDigits = makeDigitTable();
constexpr size_t kChunk = 64 * 1024;

} // namespace

bool DECODEBASE64(const std::string& text, TextFile& file, RunHost& host) {
    const size_t n = text.size();
    // The bytes go to the file in chunks: one Write per byte cost more than the decoding itself.
    std::string bytes;
    bytes.reserve(std::min(kChunk, n / 4 * 3 + 6));
    size_t p = 0;
    while (p < n) {
        host.processPendingEvents();
        host.setProgressPosition(RunHost::Progress::Stage, static_cast<uint32_t>(p + 1));
        // A group: up to 8 alphabet characters, 48 bits, 6 bytes.
        uint64_t bits = 0;
        int count = 0;
        while (count < 8 && p < n) {
            const uint8_t digit = kDigits[static_cast<unsigned char>(text[p++])];
            if (digit == kNoDigit) continue;
            bits = (bits << 6) | digit;
            ++count;
        }
        const int totalBits = count * 6;
        for (int taken = 8; taken <= totalBits; taken += 8)
            bytes.push_back(static_cast<char>((bits >> (totalBits - taken)) & 0xFF));
        if (bytes.size() >= kChunk) {
            if (!file.Write(bytes, true)) return false;
            bytes.clear();
        }
    }
    return file.Write(bytes, true);
}
