// Replays every saved fuzz input (tests/fuzz/regressions/: inputs that once broke a rule) and the
// hand-made seed books under a spread of option headers, through the same checks the fuzzer applies.

#include "FuzzTarget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> filesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file() && entry.path().filename() != "README.md") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string run(const std::string& input) {
    return fuzzing::runConversion(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

TEST(FuzzRegressions, EverySavedInputKeepsTheRules) {
    for (const fs::path& file : filesIn(fs::path(PAPYRANT_FUZZ_DIR) / "regressions"))
        EXPECT_EQ(run(readAll(file)), "") << file.filename();
}

// Header bytes: options, layout and indents, block size, answers.
TEST(FuzzRegressions, SeedBooksKeepTheRulesUnderEveryOptionMix) {
    const std::array<std::array<uint8_t, fuzzing::kHeaderSize>, 7> headers = {{
        {0x00, 0x00, 0x00, 0x00}, // defaults, every question answered No
        {0xFB, 0x0D, 0x01, 0xFF}, // everything but only-binaries, layout 1, 1-byte blocks, all Yes
        {0xBB, 0x0A, 0x02, 0xAA}, // layout 2, 2-byte blocks, answers alternate
        {0xFA, 0xFF, 0x07, 0x55}, // layout 3, 63 indents, 7-byte blocks
        {0x0E, 0x00, 0x00, 0xFF}, // only binaries with prefix
        {0x01, 0x00, 0x00, 0x01}, // overwrite, start question Yes, then No
        {0x23, 0x03, 0x03, 0xFF}, // overwrite, binaries, log, layout 3 without contents
    }};
    const std::vector<fs::path> books = filesIn(fs::path(PAPYRANT_FUZZ_DIR) / "books");
    ASSERT_FALSE(books.empty());
    for (const fs::path& book : books) {
        const std::string bytes = readAll(book);
        for (const auto& header : headers) {
            const std::string input = std::string(header.begin(), header.end()) + bytes;
            EXPECT_EQ(run(input), "") << book.filename() << " with options " << int(header[0]) << " block "
                                      << int(header[2]);
        }
    }
}

} // namespace
