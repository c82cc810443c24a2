// GOPROCESS paths that the golden books do not reach: the stop request at the stop check after each
// block, the contents insertion of layout 1 when the main file's tail is larger than one copy chunk, and
// pictures named like the book or a file of the run when the output lies beside the book.

#include "EngineTestSupport.h"

#include "engine/ConversionRun.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

using namespace enginetest;

namespace {

const std::string J = "<DIV ALIGN=\"justify\">&nbsp;&nbsp;&nbsp;&nbsp;";
const std::string kHeading = "<FONT color=navy align=center><H2>Contents</H2></FONT>";
const std::string kStopQuestion = "Прервать конвертирование?";
const std::string kFinished = "Конвертирование закончено.";

struct RunOfBook {
    testsupport::TempDir dir;
    testsupport::RecordingHost host;
    bool result = false;
    std::vector<std::string> texts;

    RunOfBook(const std::string& book, uint32_t blockSize, std::deque<platform::MessageButton> answers,
              std::function<void(testsupport::RecordingHost&)> onEvents = {}) {
        host.runOptions.lContents = true;
        host.runOptions.nContentsLayout = 1;
        host.outputFolder = dir.folder();
        host.nameFile = "book";
        if (onEvents) host.onEvents = [this, onEvents] { onEvents(host); };
        AnsweringPresenter presenter(std::move(answers));
        result = GOPROCESS(host, dir.write("book.fb2", book), dir.path("book.htm"), blockSize);
        for (const auto& box : presenter.boxes)
            texts.push_back(box.text);
        EXPECT_TRUE(presenter.answers.empty()) << "fewer questions than planned";
    }
    std::string main() const { return testsupport::readFile(dir.path("book.htm")); }
};

const std::string kBook = "<FictionBook><body><title>T</title><p>one</p><p>two</p></body></FictionBook>";
const std::string kEntry = "<LI><FONT color=navy size=\"-1\"><A href=book.htm#CO1>T </A></FONT></LI>\r\n";
const std::string kTitle = "<FONT color=navy align=center><H2><A name=CO1>T</A></H2></FONT>\r\n";

TEST(StopRequest, ConfirmedAfterTheFirstBlockFinishesWhatWasWritten) {
    // The first block of 40 bytes ends inside the text of the first paragraph.
    RunOfBook run(kBook, 40, {platform::MessageButton::Yes}, [](auto& host) { host.stop = true; });
    EXPECT_TRUE(run.result);
    EXPECT_EQ(run.texts, (std::vector<std::string>{kStopQuestion, kFinished}));
    EXPECT_EQ(visible(run.main()), visible("<HTML>" + kHeading + kEntry + "<HR>" + kTitle + J));
    EXPECT_FALSE(std::filesystem::exists(run.dir.path("book_C.HTM")));
    EXPECT_FALSE(run.host.go);
    EXPECT_EQ(run.host.enableControlCalls, 1);
    EXPECT_EQ(run.host.startButtonCaptions, std::vector<std::string>{"Выполнить конвертирование"});
}

TEST(StopRequest, AnsweredNoLetsTheRunGoOnAndALaterPressAsksAgain) {
    const std::string complete = "<HTML>" + kHeading + kEntry + "<HR>" + kTitle + J + "one</DIV>\r\n" + J +
                                 "two</DIV>\r\n</BODY>\r\n</HTML>\r\n";
    // One press: asked once, then LSTOP is cleared.
    RunOfBook once(kBook, 10, {platform::MessageButton::No}, [events = 0](auto& host) mutable {
        if (++events == 1) host.stop = true;
    });
    EXPECT_TRUE(once.result);
    EXPECT_EQ(once.texts, (std::vector<std::string>{kStopQuestion, kFinished}));
    EXPECT_EQ(visible(once.main()), visible(complete));
    EXPECT_FALSE(once.host.stop);

    // A press at every tag: asked after every block in which a tag ended (7 of the 8 blocks of 10 bytes;
    // no tag ends in the first).
    const std::deque<platform::MessageButton> noes(7, platform::MessageButton::No);
    RunOfBook every(kBook, 10, noes, [](auto& host) { host.stop = true; });
    EXPECT_EQ(every.texts.size(), 8u);
    EXPECT_EQ(visible(every.main()), visible(complete));
    EXPECT_TRUE(every.host.go);
    EXPECT_EQ(every.host.enableControlCalls, 0);
}

TEST(ContentsInsertion, MovesATailOfSeveralCopyChunksIntact) {
    std::string book = "<FictionBook><description></description><body><title>T</title>";
    std::string tail = kTitle;
    for (int i = 0; i < 3000; ++i) {
        const std::string text = "paragraph " + std::to_string(i) + std::string(40, 'x');
        book += "<p>" + text + "</p>\n";
        tail += J + text + "</DIV>\r\n";
    }
    book += "</body></FictionBook>";
    tail += "</BODY>\r\n</HTML>\r\n";
    ASSERT_GT(tail.size(), 3u * 64 * 1024);
    const std::string head =
        "<HTML><HEAD>\r\n<META HTTP-EQUIV=\"Content-type\" CONTENT=\"text/html; charset=utf-8\">\r\n<META "
        "name=\"autor\" content=\"Created by Papyrant, =Orvane= Software Development, https://papyrant.org\">\r\n"
        "</HEAD>\r\n<HR>\r\n";
    for (uint32_t blockSize : {3000u, 7u}) {
        RunOfBook run(book, blockSize, {});
        EXPECT_TRUE(run.result);
        EXPECT_TRUE(run.main() == head + kHeading + kEntry + "<HR>" + tail) << "block size " << blockSize;
    }
}

TEST(ReservedPictureNames, NeverReplaceTheBookOrAFileOfTheRun) {
    // The worst case: output beside the book, overwrite on, pictures without asking.
    testsupport::TempDir dir;
    const std::string book = "<FictionBook><body><p>x</p></body>\n<binary id=\"book.fb2\">QUJD</binary>"
                             "<binary id=\"book.htm\">QUJD</binary><binary id=\"book_C.HTM\">QUJD</binary>"
                             "<binary id=\"book.log\">QUJD</binary><binary id=\"pic.png\">QUJD</binary></FictionBook>";
    const std::string source = dir.write("book.fb2", book);
    testsupport::RecordingHost host;
    host.runOptions.lOverwrite = host.runOptions.lConvertBinaries = host.runOptions.lLog = true;
    host.runOptions.lContents = true;
    host.runOptions.nContentsLayout = 2;
    host.outputFolder = dir.folder();
    host.nameFile = "book";
    AnsweringPresenter presenter({platform::MessageButton::Yes});
    EXPECT_TRUE(GOPROCESS(host, source, dir.path("book.htm")));
    EXPECT_EQ(presenter.boxes.size(), 2u) << "the start question and the end message, nothing else";
    EXPECT_EQ(testsupport::readFile(source), book);
    EXPECT_EQ(visible(testsupport::readFile(dir.path("book.htm"))),
              visible("<HTML>" + J + "x</DIV>\r\n</BODY>\r\n</HTML>\r\n"));
    EXPECT_EQ(testsupport::readFile(dir.path("book_C.HTM")), "<HTML></BODY>\r\n</HTML>\r\n");
    EXPECT_EQ(testsupport::readFile(dir.path("book.log")).find("ABC"), std::string::npos);
    EXPECT_EQ(testsupport::readFile(dir.path("pic.png")), "ABC");
    // The stage shows the picture's id as written in the book while it is decoded; the end resets it.
    EXPECT_EQ(host.stageCaptions, (std::vector<std::string>{"\"pic.png\"", "Создание HTM"}));
    EXPECT_EQ(host.lastAllPosition, 0u);
}

} // namespace
