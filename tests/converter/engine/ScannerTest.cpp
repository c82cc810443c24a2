// The scanner on its own: a trace of its tag calls (kind, name, attributes, pending text, positions,
// stack) for block boundaries, tag kinds, attribute pieces, constructs that are not elements, the
// element stack and its mismatch message, and the block loop's end.

#include "EngineTestSupport.h"

#include "engine/Scanner.h"
#include "platform/File.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"
#include "textfile/TextFile.h"

using namespace enginetest;

namespace {

struct Trace {
    std::vector<std::string> calls; // "<kind> <name> {attr=value}... \"pending\""
    std::vector<uint32_t> starts, ends;
    std::vector<size_t> depths;             // entries on the element stack during the call
    std::vector<uint32_t> progressAfterTag; // the whole-run bar when the tag's events run
    ScanResult result = ScanResult::Finished;
    int stopChecks = 0;
    std::vector<std::string> errors;
};

std::string render(const ScannedTag& tag) {
    std::string line = std::to_string(static_cast<int>(tag.kind)) + " " + tag.name;
    for (const auto& [name, value] : tag.attributes)
        line += " {" + name + "=" + value + "}";
    return line + " \"" + visible(tag.pending) + "\"";
}

// Scans source in blocks of blockSize. The handler opens an anchor named after every opening element,
// as the translator does, and checks what the stack shows it. stopAfter: the stop check confirms a
// stop after that many blocks (0: never).
Trace scan(const std::string& source, uint32_t blockSize, int stopAfter = 0) {
    testsupport::TempDir dir;
    const std::string path = dir.write("book.fb2", source);
    TextFile file;
    file.Open(path, platform::FO_READONLY);
    testsupport::RecordingHost host;
    AnsweringPresenter presenter;
    Trace trace;
    std::string CSTACK;
    host.onEvents = [&] { trace.progressAfterTag.push_back(host.lastAllPosition); };
    auto onTag = [&](const ScannedTag& tag) {
        trace.calls.push_back(render(tag));
        trace.starts.push_back(tag.tagStart);
        trace.ends.push_back(tag.tagEnd);
        EXPECT_EQ(CSTACK, "") << "the anchor register is emptied after every push";
        trace.depths.push_back(tag.stack.size());
        if (tag.kind == TagKind::Opening) CSTACK = "anchor " + tag.name;
        if (tag.kind == TagKind::Closing && !tag.stack.empty() && tag.name == tag.stack.top().name) {
            EXPECT_EQ(tag.stack.top().savedAnchor, "anchor " + tag.name) << "the closing tag's own entry is on top";
        }
    };
    auto stopCheck = [&] { return ++trace.stopChecks == stopAfter; };
    Scanner scanner(host, onTag, stopCheck, blockSize);
    trace.result = scanner.scan(file, CSTACK);
    file.Close();
    for (const auto& box : presenter.boxes)
        trace.errors.push_back(box.text);
    return trace;
}

constexpr uint32_t kBlockSizes[] = {3000, 1, 2, 7};

// The calls of every block size must be those of the normal one.
Trace scanAll(const std::string& source) {
    const Trace normal = scan(source, kBlockSizes[0]);
    for (uint32_t blockSize : kBlockSizes) {
        const Trace tiny = scan(source, blockSize);
        EXPECT_EQ(tiny.calls, normal.calls) << "block size " << blockSize;
        EXPECT_EQ(tiny.errors, normal.errors) << "block size " << blockSize;
        EXPECT_EQ(tiny.result, normal.result) << "block size " << blockSize;
    }
    return normal;
}

struct TraceCase {
    const char* what;
    std::string source;
    std::vector<std::string> calls;
};

// clang-format off
const TraceCase kTraceCases[] = {
    {"kinds: opening, closing, empty element, processing instruction",
     "<?xml version=\"1.0\" encoding=\"windows-1251\"?><p>x</p><empty-line/>",
     {"0 xml {version=\"1.0\"} {encoding=\"windows-1251\"} \"\"", "10 p \"\"", "20 p \"x\"", "30 empty-line \"\""}},
    {"a tag of a single question mark: kind 0, no name, no attributes",
     "<?>a<?pi>", {"0  \"\"", "10 ?pi \"a\""}},
    {"an empty tag text is an opening element without a name", "<>", {"10  \"\""}},
    {"a blank before the closing slash gives an empty pair",
     "<image l:href=\"#cover\"/><image l:href=\"#cover\" />",
     {"30 image {l:href=\"#cover\"} \"\"", "30 image {l:href=\"#cover\"} {=} \"\""}},
    {"a blank before '>' of a closing tag", "<p></p >", {"10 p \"\"", "20 p {=} \"\""}},
    {"consecutive blanks, values split at their first '=', pieces without '='",
     "<a  b=1=2 c>", {"10 a {=} {b=1=2} {c=} \"\""}},
    {"tab, CR and LF separate like the blank",
     "<section\tid=\"s1\"><image\r\nl:href=\"#a\"/></section\n>",
     {"10 section {id=\"s1\"} \"\"", "30 image {=} {l:href=\"#a\"} \"\"", "20 section {=} \"\""}},
    {"a slash at both ends is a closing tag", "<x></x/>", {"10 x \"\"", "20 x/ \"\""}},
    {"text before the first tag (a byte-order mark) comes with the first tag",
     "\xEF\xBB\xBF<p>", {"10 p \"\xEF\xBB\xBF\""}},
    {"text and references pass unchanged, line ends included",
     "<p>&amp;&#1234;\r\n\xC0</p>", {"10 p \"\"", "20 p \"&amp;&#1234;\\r\n\xC0\""}},
    {"comments, declarations and character data never reach the translator",
     "<!DOCTYPE FictionBook [<!ENTITY a \"<b>\">]>A<!-- <p> > -- -->B<![CDATA[<i>&\"]]>C<p>D<!---->E</p>",
     {"10 p \"AB&lt;i&gt;&amp;\"C\"", "20 p \"DE\""}},
    {"a '>' inside character data does not end it", "<p><![CDATA[a>b]]]></p>", {"10 p \"\"", "20 p \"a&gt;b]\""}},
    {"a closing tag that begins with the open element's name pops it",
     "<section></sectionx>", {"10 section \"\"", "20 sectionx \"\""}},
    {"an empty name on top accepts every closing tag", "<></anything>", {"10  \"\"", "20 anything \"\""}},
    {"what is pending at the end (text, a tag without '>') is dropped", "<p>x</p>tail<unclosed",
     {"10 p \"\"", "20 p \"x\""}},
};
// clang-format on

TEST(ScannerTrace, CutsTagsTheSameAtEveryBlockSize) {
    for (const TraceCase& row : kTraceCases) {
        SCOPED_TRACE(row.what);
        const Trace trace = scanAll(row.source);
        EXPECT_EQ(trace.calls, row.calls);
        EXPECT_EQ(trace.result, ScanResult::Finished);
        EXPECT_TRUE(trace.errors.empty());
    }
}

TEST(ScannerTrace, TagAcrossThreeBlocksIsHandledOnceWithTheProgressOfItsOpeningBlock) {
    // Blocks of 8: "<" is the last byte of block 1, ">" the 4th byte of block 3.
    const Trace trace = scan("abcdefg<p class=\"x\">tail</p>", 8);
    ASSERT_EQ(trace.calls.size(), 2u);
    EXPECT_EQ(trace.calls[0], "10 p {class=\"x\"} \"abcdefg\"");
    EXPECT_EQ(trace.starts[0], 3 * 8 + 8u); // bytes read (three blocks) + position of "<" in block 1
    EXPECT_EQ(trace.ends[0], 3 * 8 + 4u);   // bytes read + position of ">" in block 3
    EXPECT_EQ(trace.progressAfterTag[0], trace.starts[0]);
    EXPECT_EQ(trace.calls[1], "20 p \"tail\"");
    EXPECT_EQ(trace.starts[1], 4 * 8 + 1u); // "</p>" starts at byte 1 of block 4
    EXPECT_EQ(trace.stopChecks, 4);
}

TEST(ScannerTrace, OpeningTagAtTheEndOfABlockHandsItsTextToTheNextTag) {
    const Trace trace = scan("<p>Hello</p>", 3);
    EXPECT_EQ(trace.calls, (std::vector<std::string>{"10 p \"\"", "20 p \"Hello\""}));
    // "</p>" opens at byte 3 of block 3 and ends in block 4: bytes read then count four blocks.
    EXPECT_EQ(trace.starts, (std::vector<uint32_t>{3 + 1, 12 + 3}));
    EXPECT_EQ(trace.progressAfterTag, trace.starts) << "events run once per tag, after the bars moved";
}

TEST(ScannerTrace, StackHoldsTheAncestorsOfAnOpeningTagAndTheOwnEntryOfAClosingTag) {
    // The handler checks that a closing tag's own entry, with the anchor its opening tag left, is on top.
    const Trace trace = scanAll("<a><b/><?pi?><c></c></a>");
    EXPECT_EQ(trace.depths, (std::vector<size_t>{0, 1, 1, 1, 2, 1}));
}

TEST(ScannerTrace, SourceOfExactlyOneBlockIsReadOnce) {
    const std::string book = "<p>" + std::string(3000 - 7, 'x') + "</p>";
    ASSERT_EQ(book.size(), 3000u);
    const Trace one = scan(book, 3000);
    EXPECT_EQ(one.stopChecks, 1);
    EXPECT_EQ(one.calls.size(), 2u);
    EXPECT_EQ(scan(book + " ", 3000).stopChecks, 2);
}

TEST(ScannerTrace, ConfirmedStopEndsTheScanAfterTheBlock) {
    const Trace trace = scan("<a></a><b></b>", 4, 1);
    EXPECT_EQ(trace.result, ScanResult::Stopped);
    EXPECT_EQ(trace.calls, (std::vector<std::string>{"10 a \"\""}));
    EXPECT_EQ(trace.stopChecks, 1);
}

TEST(ScannerTrace, MismatchNamesBothElementsInQuotesAndEndsTheScan) {
    const std::string text = "В исходном файле нет соответствия между открывающими и закрывающими элементами. Элемент ";
    struct Row {
        const char* source;
        std::vector<std::string> calls;
        std::string message;
    };
    const Row rows[] = {
        {"<section></sec><p>", {"10 section \"\"", "20 sec \"\""}, text + "\"sec\" закрывает элемент \"section\""},
        {"x</p><p>", {"20 p \"x\""}, text + "\"p\" закрывает элемент \"\""},
        {"<a><b></a></b>", {"10 a \"\"", "10 b \"\"", "20 a \"\""}, text + "\"a\" закрывает элемент \"b\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.source);
        const Trace trace = scanAll(row.source);
        EXPECT_EQ(trace.result, ScanResult::Mismatch);
        EXPECT_EQ(trace.calls, row.calls) << "the translator sees the closing tag, then the scan ends";
        EXPECT_EQ(trace.errors, std::vector<std::string>{row.message});
    }
}

} // namespace
