// Hostile and broken books through the whole run in-process: each case has its outcome, nothing is
// created outside the output folder, every failure is one clear message, and no run reports success
// after a failure.

#include "HostileBooks.h"
#include "ScratchMount.h"

#include "app/ConverterTexts.h"
#include "engine/ConversionRun.h"
#include "lang/Lang.h"
#include "support/RecordingHost.h"
#include "support/RecordingPresenter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;
using testsupport::readFile;

namespace {

class HostileRun : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Orvane();
        DEFAULTLANG();
    }

    void SetUp() override {
        fs::create_directories(dir.path("in"));
        fs::create_directories(dir.path("out"));
        host.outputFolder = dir.path("out/");
        host.nameFile = "book";
        host.runOptions.lConvertBinaries = true;
    }

    std::string bookPath() const { return dir.path("in/book.fb2"); }
    std::string mainPath() const { return dir.path("out/book.htm"); }

    // Converts bytes as in/book.fb2 into an empty out/ as book.htm; the book must come out unchanged.
    bool convert(const std::string& bytes, uint32_t blockSize = 3000) {
        fs::remove_all(dir.path("out"));
        fs::create_directories(dir.path("out"));
        presenter.boxes.clear();
        dir.write("in/book.fb2", bytes);
        const bool converted = GOPROCESS(host, bookPath(), mainPath(), blockSize);
        EXPECT_EQ(readFile(bookPath()), bytes) << "the book was changed";
        expectNothingOutside();
        return converted;
    }

    void expectNothingOutside() const {
        std::set<std::string> top, in;
        for (const auto& entry : fs::directory_iterator(dir.folder()))
            top.insert(entry.path().filename());
        for (const auto& entry : fs::directory_iterator(dir.path("in")))
            in.insert(entry.path().filename());
        EXPECT_EQ(top, (std::set<std::string>{"in", "out"}));
        EXPECT_EQ(in, (std::set<std::string>{"book.fb2"}));
    }

    std::set<std::string> outputFiles() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path("out")))
            names.insert(entry.path().filename());
        return names;
    }

    size_t boxesWith(const std::string& text) const {
        const auto texts = presenter.texts();
        return static_cast<size_t>(std::count_if(
            texts.begin(), texts.end(), [&](const std::string& t) { return t.find(text) != std::string::npos; }));
    }
    // Success is reported by exactly one end message, as the last box; a failure shows its own
    // message and no end message.
    void expectReported(bool converted) const {
        const std::string finished = GetLangToken("400018");
        ASSERT_FALSE(presenter.boxes.empty());
        EXPECT_EQ(boxesWith(finished), converted ? 1u : 0u);
        if (converted) {
            EXPECT_EQ(presenter.boxes.back().text, finished);
        }
    }

    testsupport::TempDir dir;
    testsupport::RecordingHost host;
    testsupport::RecordingPresenter presenter;
};

struct BrokenBook {
    const char* name;
    std::string bytes;
    bool converts;
    std::string inMain;    // what the main file must hold ("" when nothing in particular)
    std::string notInMain; // what it must not hold
};

// Books the scanner must take in stride: what is complete converts, what is cut off is dropped.
TEST_F(HostileRun, BrokenAndForeignBooksEndWithTheirOutcome) {
    using namespace hostile;
    using namespace std::string_literals;
    const std::vector<BrokenBook> cases = {
        {"empty file", "", true, "", ""},
        {"plain text", "Just a line of text,\r\nand another, with no markup at all.\r\n", true, "", "Just"},
        {"cut in a tag", kHead + "<p>kept</p><p>lost</p><emph", true, "kept", "emph"},
        {"cut in a comment", book("<p>kept</p><!-- a comment <p>never</p> that never ends"), true, "kept", "never"},
        {"tag without > to the end", kHead + "<p>kept</p><p id=\"" + std::string(200000, 'x'), true, "kept", "xxx"},
        {"NUL bytes in text and names", book("<p>a\0b</p><p\0x>c</p\0x>"s), true, "a\0b"s, ""},
        {"closing tag after the stack was emptied", "<a></a></b>", false, "", ""},
        {"closing tag first", "</FictionBook>", false, "", ""},
    };
    for (const BrokenBook& c : cases) {
        SCOPED_TRACE(c.name);
        for (uint32_t blockSize : {3000u, 7u}) {
            const bool converted = convert(c.bytes, blockSize);
            EXPECT_EQ(converted, c.converts) << "block " << blockSize;
            expectReported(converted);
            if (!c.converts) {
                EXPECT_EQ(boxesWith("\"\""), 1u) << "a mismatch with no open element";
            }
            const std::string main = readFile(mainPath());
            if (!c.inMain.empty()) {
                EXPECT_NE(main.find(c.inMain), std::string::npos);
            }
            if (!c.notInMain.empty()) {
                EXPECT_EQ(main.find(c.notInMain), std::string::npos);
            }
        }
    }
}

// Files that are not FB2 at all: the run ends one way or the other, says so once, and writes only
// into the output folder.
TEST_F(HostileRun, ForeignBytesEndCleanly) {
    for (const std::string& bytes : {hostile::jpegBytes(), hostile::randomBytes(256 * 1024, 1)}) {
        const bool converted = convert(bytes);
        expectReported(converted);
        if (!converted) {
            EXPECT_EQ(presenter.boxes.size(), 1u) << "one mismatch message";
        }
    }
}

TEST_F(HostileRun, BookCutOffInsideABinaryLeavesItsFileEmpty) {
    const bool converted = convert(hostile::kHead + "<p>kept</p></section></body><binary id=\"a.png\">QUJDREVG");
    EXPECT_TRUE(converted);
    expectReported(converted);
    EXPECT_EQ(outputFiles(), (std::set<std::string>{"a.png", "book.htm"}));
    EXPECT_EQ(readFile(dir.path("out/a.png")), "");
}

// Depth and width are handled in time linear in the book (the test's timeout is the bound).
TEST_F(HostileRun, DeepNestingAndManyAttributesConvert) {
    host.runOptions.lContents = true;
    bool converted = convert(hostile::nestedSections(100000));
    EXPECT_TRUE(converted);
    expectReported(converted);
    EXPECT_NE(readFile(mainPath()).find("deep"), std::string::npos);

    converted = convert(hostile::manyAttributes(100000));
    EXPECT_TRUE(converted);
    expectReported(converted);
    EXPECT_NE(readFile(mainPath()).find("<A name=last>text"), std::string::npos) << "the last attribute counts";
}

// A 50 MB tag and a 50 MB picture: the scanner holds one tag and one pending text, never the book
// twice over, and works in linear time.
TEST_F(HostileRun, FiftyMegabyteTagAndBinaryConvert) {
    bool converted = convert(hostile::hugeTag(50u << 20));
    EXPECT_TRUE(converted);
    expectReported(converted);
    EXPECT_NE(readFile(mainPath()).find("after"), std::string::npos);

    const std::string picture = hostile::randomBytes(3u * 50 * (1u << 20) / 4, 3); // 50 MB of Base64
    converted = convert(hostile::bookWithBinary("big.bin", picture));
    EXPECT_TRUE(converted);
    expectReported(converted);
    EXPECT_TRUE(readFile(dir.path("out/big.bin")) == picture) << "the picture holds its Base64 bytes";
}

// Picture ids never leave the output folder: separators become '_', names that are no file name get
// no file, and a name the file system refuses is one clear error while the run goes on.
TEST_F(HostileRun, BinaryIdsStayInTheOutputFolder) {
    const std::string longName(300, 'n');
    std::string content = hostile::kHead + "<p>text</p></section></body>\n";
    for (const std::string& id : {std::string("a/b.png"), std::string("..\\x.png"), std::string("../up.png"),
                                  std::string("/abs.png"), std::string(".."), std::string("."), std::string(""),
                                  longName + ".png", std::string("n\0l.png", 7), std::string("after.png")})
        content += "<binary id=\"" + id + "\">QUJD</binary>\n";
    content += "</FictionBook>\n";

    const bool converted = convert(content);
    EXPECT_TRUE(converted);
    expectReported(converted);
    const std::set<std::string> expected = {"book.htm", "a_b.png", ".._x.png", ".._up.png",
                                            "_abs.png", "n_l.png", "after.png"};
    EXPECT_EQ(outputFiles(), expected);
    for (const std::string& name : expected)
        if (name != "book.htm") {
            EXPECT_EQ(readFile(dir.path("out/" + name)), "ABC") << name;
        }
    EXPECT_EQ(boxesWith(GetLangToken("000023", dir.path("out/" + longName + ".png"))), 1u);
    EXPECT_EQ(presenter.boxes.size(), 2u) << "the long name's error and the end message";
}

// Links planted in the output folder (unpacked beside the book from the same archive, say) must not
// lead a picture out of it, whether they point at a file or at nothing yet; even with overwrite on.
TEST_F(HostileRun, PicturesDoNotFollowLinksOutOfTheOutputFolder) {
    fs::create_directories(dir.path("outside"));
    dir.write("outside/old.png", "keep");
    fs::create_symlink(dir.path("outside/old.png"), dir.path("out/existing.png"));
    fs::create_symlink(dir.path("outside/new.png"), dir.path("out/dangling.png"));
    host.runOptions.lOverwrite = true;
    presenter.answer(platform::MessageButton::Yes); // the start question of overwrite mode
    dir.write("in/book.fb2", hostile::kHead + "<p>text</p></section></body>\n<binary id=\"existing.png\">QUJD</binary>"
                                              "<binary id=\"dangling.png\">QUJD</binary>\n</FictionBook>\n");

    const bool converted = GOPROCESS(host, bookPath(), mainPath());
    EXPECT_TRUE(converted);
    expectReported(converted);
    EXPECT_EQ(readFile(dir.path("outside/old.png")), "keep");
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path("outside/new.png"))));
    EXPECT_EQ(boxesWith(GetLangToken("000023", dir.path("out/existing.png"))), 1u);
    EXPECT_EQ(boxesWith(GetLangToken("000023", dir.path("out/dangling.png"))), 1u);
}

// The output must not be the book: refused before anything is created, under any spelling.
TEST_F(HostileRun, OutputNamedLikeTheBookIsRefused) {
    const std::string bytes = hostile::book("<p>text</p>");
    dir.write("in/book.fb2", bytes);
    fs::create_symlink(bookPath(), dir.path("out/link.fb2"));
    for (const std::string& result :
         {bookPath(), dir.path("out/../in/book.fb2"), dir.path("in/./book.fb2"), dir.path("out/link.fb2")}) {
        SCOPED_TRACE(result);
        presenter.boxes.clear();
        EXPECT_FALSE(GOPROCESS(host, bookPath(), result));
        ASSERT_EQ(presenter.boxes.size(), 1u);
        EXPECT_EQ(presenter.boxes[0].text, GetLangToken("400030", result));
        EXPECT_EQ(readFile(bookPath()), bytes);
    }
    // The log named like the book: the book is called book.log and the output name is book.
    dir.write("out/book.log", bytes);
    host.runOptions.lLog = true;
    presenter.boxes.clear();
    EXPECT_FALSE(GOPROCESS(host, dir.path("out/book.log"), mainPath()));
    EXPECT_EQ(boxesWith(GetLangToken("400030", dir.path("out/book.log"))), 1u);
    EXPECT_EQ(readFile(dir.path("out/book.log")), bytes);
    EXPECT_FALSE(fs::exists(mainPath())) << "refused before anything is created";
}

// Root ignores permission bits: for root the folder is a read-only tmpfs of the test's own.
TEST_F(HostileRun, UnwritableOutputFolderFailsWithOneMessage) {
    const std::string folder = dir.path("out/locked");
    hostile::ScratchMount mount(folder, 1 << 20);
    if (::geteuid() == 0) {
        if (!mount.mounted() || !mount.makeReadOnly()) GTEST_SKIP() << mount.reason();
    } else {
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    }
    host.outputFolder = folder + "/";
    dir.write("in/book.fb2", hostile::book("<p>text</p>"));
    EXPECT_FALSE(GOPROCESS(host, bookPath(), folder + "/book.htm"));
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, GetLangToken("000023", folder + "/book.htm"));
    EXPECT_TRUE(fs::is_empty(folder));
}

// A full disk: the write error is shown once, the run stops, no success is reported, the book stays.
TEST_F(HostileRun, FullDiskStopsTheRunWithOneWriteError) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    struct Case {
        const char* name;
        std::string book;
    };
    // A small book fails when the main file is closed, a big one in the middle of the scan.
    const std::vector<Case> cases = {
        {"small book", hostile::book("<p>text</p>")},
        {"big book", hostile::book(hostile::repeat("<p>" + std::string(1000, 'w') + "</p>", 2000))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        presenter.boxes.clear();
        presenter.answer(platform::MessageButton::Yes); // replace the existing /dev/full
        host.outputFolder = "/dev/";
        host.nameFile = "full";
        host.runOptions.lConvertBinaries = false;
        dir.write("in/book.fb2", c.book);
        size_t eventsAfterFailure = 0;
        host.onEvents = [&] {
            if (boxesWith(GetLangToken("000024"))) ++eventsAfterFailure;
        };
        EXPECT_FALSE(GOPROCESS(host, bookPath(), "/dev/full", 1000));
        EXPECT_EQ(boxesWith(GetLangToken("000024")), 1u);
        expectReported(false);
        EXPECT_EQ(readFile(bookPath()), c.book);
        EXPECT_LT(eventsAfterFailure, 100u) << "the run stops at the next block";
    }
}

TEST_F(HostileRun, FullTmpfsStopsThePictureAndTheRun) {
    const std::string folder = dir.path("out/small");
    hostile::ScratchMount mount(folder, 64 * 1024);
    if (!mount.mounted()) GTEST_SKIP() << mount.reason();
    host.outputFolder = folder + "/";
    const std::string picture = hostile::randomBytes(256 * 1024, 5);
    const std::string bytes = hostile::bookWithBinary("big.png", picture) + hostile::book("<p>after</p>");
    dir.write("in/book.fb2", bytes);
    EXPECT_FALSE(GOPROCESS(host, bookPath(), folder + "/book.htm"));
    EXPECT_EQ(boxesWith(GetLangToken("000024")), 1u);
    expectReported(false);
    EXPECT_EQ(readFile(bookPath()), bytes);
    EXPECT_EQ(readFile(folder + "/book.htm").find("after"), std::string::npos) << "the run stopped";
}

// The book is only read: it converts from a read-only place (a read-only tmpfs for root).
TEST_F(HostileRun, BookOnAReadOnlyPathConverts) {
    const std::string folder = dir.path("in/ro");
    const std::string bytes = hostile::book("<p>read only</p>");
    hostile::ScratchMount mount(folder, 1 << 20);
    if (::geteuid() == 0 && !mount.mounted()) GTEST_SKIP() << mount.reason();
    fs::create_directories(folder);
    dir.write("in/ro/book.fb2", bytes);
    if (::geteuid() == 0) {
        if (!mount.makeReadOnly()) GTEST_SKIP() << mount.reason();
    } else {
        fs::permissions(dir.path("in/ro/book.fb2"), fs::perms::owner_read);
    }
    const bool converted = GOPROCESS(host, dir.path("in/ro/book.fb2"), mainPath());
    EXPECT_TRUE(converted);
    expectReported(converted);
    EXPECT_NE(readFile(mainPath()).find("read only"), std::string::npos);
    EXPECT_EQ(readFile(dir.path("in/ro/book.fb2")), bytes);
}

} // namespace
