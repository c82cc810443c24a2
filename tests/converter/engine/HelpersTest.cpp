// The small helpers of the translator, one table each: the Base64 decoder, DELFIRSTEND and the
// epigraph indent field.

#include "EngineTestSupport.h"

#include "engine/Base64.h"
#include "engine/TextHelpers.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"
#include "textfile/TextFile.h"

using namespace enginetest;

namespace {

TEST(DECODEBASE64, DecodesTheStandardAlphabetAndSkipsEverythingElse) {
    struct Row {
        std::string text;
        std::string bytes;
        int groups; // event passes: one per group of up to 8 characters taken
    };
    const Row rows[] = {
        {"QUJD", "ABC", 1},
        {"QUI=", "AB", 1},
        {"QQ==", "A", 1},
        {"Q\r\nUJD", "ABC", 1},
        {"QUJ\r\nD", "ABC", 1},
        {"QUJDREVG", "ABCDEF", 1},
        {"QUJDREVGR0g=", "ABCDEFGH", 2},
        {"QUJDREV", "ABCDE", 1}, // a last group of 7 characters: 5 bytes
        {"Q", "", 1},            // of 1 character: nothing
        {"QU=JD", "ABC", 1},     // "=" in the middle does not end the text
        {"Q U\tJ-D*", "ABC", 1}, // characters outside the alphabet are skipped wherever they stand
        {"IAo=", " \n", 1},      // bytes 32 and 10 reach the file
        {"AA0J", std::string("\0\r\t", 3), 1},
        {"+/+/", "\xFB\xFF\xBF", 1},
        {"", "", 0},
        {" \r\n \r\n", "", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(visible(row.text));
        testsupport::TempDir dir;
        testsupport::RecordingHost host;
        int groups = 0;
        host.onEvents = [&] { ++groups; };
        TextFile file;
        file.Create(dir.path("picture"));
        EXPECT_TRUE(DECODEBASE64(row.text, file, host));
        file.Close();
        EXPECT_EQ(visible(testsupport::readFile(dir.path("picture"))), visible(row.bytes));
        EXPECT_EQ(groups, row.groups);
    }
}

TEST(DELFIRSTEND, RemovesOneDelimiterAtEachEndWherePresent) {
    struct Row {
        std::string text, delimiter, result;
    };
    const Row rows[] = {
        {"\"#cover\"", "\"", "#cover"},
        {"\"#cover", "\"", "#cover"},
        {"#cover\"", "\"", "#cover"},
        {"\"\"", "\"", ""},
        {"\"", "\"", ""}, // a lone delimiter matches at both ends: the empty text
        {"\"\"\"", "\"", "\""},
        {"'x'", "\"", "'x'"},
        {"x", "\"", "x"},
        {"", "\"", ""},
        {"\"x\"", "", "\"x\""},
        {"abxab", "ab", "x"},
        {"aba", "ab", "a"}, // only the start matches
        {"a", "ab", "a"},   // shorter than the delimiter
        {"AB", "ab", "AB"}, // case-sensitive
    };
    for (const Row& row : rows)
        EXPECT_EQ(DELFIRSTEND(row.text, row.delimiter), row.result) << row.text << " / " << row.delimiter;
}

TEST(EpigraphIndents, LeadingDigitsOfTheFieldAtMost999) {
    const std::pair<std::string, int32_t> rows[] = {
        {"10", 10}, {"2", 2},  {"0", 0},   {"", 0},      {"abc", 0},    {"-5", 0},
        {" 3", 0},  {"3x", 3}, {"007", 7}, {"999", 999}, {"1000", 999}, {"99999999999999999999", 999},
    };
    for (const auto& [text, value] : rows)
        EXPECT_EQ(parseEpigraphIndents(text), value) << text;
}

} // namespace
