#include "textfile/TextFile.h"
#include "lang/Lang.h"
#include "platform/File.h"

#include "support/RecordingPresenter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using platform::MessageButton;
using testsupport::readFile;
using testsupport::RecordingPresenter;
using testsupport::TempDir;

namespace {

// True when the process cannot open this read-only file for writing (not so for root on most file systems).
bool readOnlyIsEnforced(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR);
    if (fd >= 0) ::close(fd);
    return fd < 0;
}

} // namespace

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override { Orvane(); }
    TempDir dir;
    RecordingPresenter presenter;
};

TEST_F(TextFileTest, FreshObject) {
    TextFile file;
    EXPECT_FALSE(file.lError());
    EXPECT_EQ(file.nLenF(), 0u);
    EXPECT_EQ(file.nCur(), 0u);
    EXPECT_FALSE(file.Eof());
    EXPECT_FALSE(file.Bof());
    EXPECT_EQ(file.cName(), "");
    EXPECT_EQ(file.pInFile(), nullptr);
}

TEST_F(TextFileTest, BlankTextsNeedTheForceFlag) {
    TextFile file;
    file.Create(dir.path("out.txt"));
    ASSERT_FALSE(file.lError());
    EXPECT_TRUE(file.Write("   "));
    EXPECT_TRUE(file.Write("\r\n"));
    EXPECT_TRUE(file.Write("", true));
    EXPECT_EQ(file.nLenF(), 0u);
    EXPECT_TRUE(file.Write(" \t", true));
    EXPECT_TRUE(file.Write("x"));
    for (char c : std::string("\n\r ")) EXPECT_TRUE(file.Write(std::string(1, c), true));
    EXPECT_EQ(file.nCur(), 6u);
    EXPECT_EQ(file.nLenF(), 6u);
    EXPECT_TRUE(file.Eof());
    file.Close();
    EXPECT_EQ(file.cName(), "");
    EXPECT_EQ(file.nLenF(), 6u); // kept after Close
    file.Close();                // closing twice does nothing
    EXPECT_EQ(readFile(dir.path("out.txt")), " \tx\n\r ");
    EXPECT_TRUE(presenter.boxes.empty());
}

TEST_F(TextFileTest, ReadingPositionsAndSeek) {
    dir.write("in.txt", "abcdef");
    dir.write("empty.txt", "");
    TextFile empty;
    EXPECT_FALSE(empty.Open(dir.path("empty.txt")));
    EXPECT_EQ(empty.nLenF(), 0u);
    EXPECT_TRUE(empty.Eof());

    TextFile file;
    EXPECT_FALSE(file.Open(dir.path("in.txt"), 0));
    EXPECT_EQ(file.nLenF(), 6u);
    EXPECT_TRUE(file.Bof());
    EXPECT_EQ(file.cName(), dir.path("in.txt"));
    EXPECT_EQ(file.oName().FileName(), "in");
    EXPECT_EQ(file.Read(4), "abcd");
    EXPECT_EQ(file.nCur(), 4u);
    EXPECT_FALSE(file.Bof());
    EXPECT_FALSE(file.Eof());
    file.Seek(0);
    EXPECT_EQ(file.nCur(), 4u); // Seek alone leaves the properties
    file.GetCur();
    EXPECT_EQ(file.nCur(), 0u);
    EXPECT_TRUE(file.Bof());
    file.Seek(4);
    EXPECT_EQ(file.Read(10), "ef");
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(file.Read(10), "");
    EXPECT_TRUE(presenter.boxes.empty()); // short reads at the end are silent
}

TEST_F(TextFileTest, OpenFailuresAreStickyAndReported) {
    TextFile noName;
    EXPECT_TRUE(noName.Open(""));
    TextFile missing;
    EXPECT_TRUE(missing.Open(dir.path("missing.txt")));
    dir.write("there.txt", "x");
    EXPECT_TRUE(missing.Open(dir.path("there.txt"))); // sticky: nothing more happens
    EXPECT_EQ(missing.pInFile(), nullptr);
    TextFile folder;
    EXPECT_TRUE(folder.Open(dir.folder()));
    EXPECT_EQ(presenter.texts(), (std::vector<std::string>{"Не указан файл.",
                                                           "Файл " + dir.path("missing.txt") + " не найден.",
                                                           "Ошибка открытия " + dir.folder()}));
    EXPECT_EQ(presenter.boxes[0].caption, "Ошибка");
}

TEST_F(TextFileTest, ReadOnlyFileNeedsTheReadOnlyMode) {
    const std::string path = dir.write("ro.txt", "data");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    if (!readOnlyIsEnforced(path)) GTEST_SKIP() << "running with rights that ignore file permissions";
    TextFile readWrite;
    EXPECT_TRUE(readWrite.Open(path));
    EXPECT_EQ(presenter.texts(), std::vector<std::string>{"Ошибка открытия " + path});
    TextFile readOnly;
    EXPECT_FALSE(readOnly.Open(path, platform::FO_READONLY));
    EXPECT_EQ(readOnly.Read(10), "data");
}

TEST_F(TextFileTest, CreateAsksBeforeOverwriting) {
    const std::string path = dir.write("old.txt", "old");
    TextFile refused;
    presenter.answer(MessageButton::No);
    refused.Create(path);
    EXPECT_TRUE(refused.lError());
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, "Файл " + path + " уже существует. Переписать?");
    EXPECT_EQ(presenter.boxes[0].caption, "Запрос");
    EXPECT_EQ(presenter.boxes[0].defaultButton, MessageButton::No);
    refused.Create(dir.path("new.txt")); // sticky: no question, no file
    EXPECT_FALSE(std::filesystem::exists(dir.path("new.txt")));
    EXPECT_EQ(readFile(path), "old");

    TextFile accepted;
    presenter.answer(MessageButton::Yes);
    accepted.Create(path);
    EXPECT_FALSE(accepted.lError());
    EXPECT_EQ(accepted.nLenF(), 0u);

    TextFile rewrite;
    rewrite.lRewrite(true);
    rewrite.Create(path);
    EXPECT_FALSE(rewrite.lError());
    EXPECT_EQ(presenter.boxes.size(), 2u); // no question with lRewrite

    TextFile bad;
    bad.Create(dir.path("no/folder/x.txt"));
    EXPECT_TRUE(bad.lError());
    EXPECT_EQ(presenter.boxes.back().text, "Ошибка создания файла " + dir.path("no/folder/x.txt"));
}

TEST_F(TextFileTest, WriteErrorOnAFullDeviceIsShown) {
    TextFile file;
    file.lRewrite(true);
    file.Create("/dev/full");
    if (file.lError()) GTEST_SKIP() << "no /dev/full";
    EXPECT_TRUE(file.Write("buffered"));
    file.Close();
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text.rfind("Запись\r28 ", 0), 0u);
    EXPECT_EQ(presenter.boxes[0].icon, platform::MessageIcon::Error);
}

TEST_F(TextFileTest, OneByteWritesThenInsertKeepsEveryByte) {
    TextFile file;
    file.Create(dir.path("main.htm"));
    for (char c : std::string("<HTML>tail")) file.Write(std::string(1, c), true);
    file.Seek(6);
    const std::string tail = file.Read(file.nLenF() - 6);
    file.Seek(6);
    file.Write("inserted", true);
    file.Write(tail, true);
    EXPECT_EQ(file.nLenF(), 18u);
    file.Close();
    EXPECT_EQ(readFile(dir.path("main.htm")), "<HTML>insertedtail");
}
