#include "platform/File.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace platform;
using testsupport::TempDir;

TEST(File, BufferedWritesKeepPositionsExactAndReachTheFile) {
    TempDir dir;
    auto file = File::create(dir.path("out.bin"));
    ASSERT_TRUE(file);
    for (char c : std::string("hello")) ASSERT_EQ(file->write(&c, 1), 1u);
    EXPECT_EQ(file->position(), 5u);
    EXPECT_EQ(file->size(), 5u);
    EXPECT_TRUE(file->atEnd());
    // Overwrite inside the file, then read back through the same handle.
    file->seek(1);
    ASSERT_EQ(file->write("EL", 2), 2u);
    EXPECT_EQ(file->position(), 3u);
    EXPECT_EQ(file->size(), 5u);
    file->seek(0);
    char back[8] = {};
    EXPECT_EQ(file->read(back, sizeof back), 5u);
    EXPECT_EQ(std::string(back, 5), "hELlo");
    EXPECT_EQ(lastError(), 0); // a short read at the end is no error
    EXPECT_TRUE(file->close());
    EXPECT_EQ(testsupport::readFile(dir.path("out.bin")), "hELlo");
}

TEST(File, LargeWritesPassTheBuffer) {
    TempDir dir;
    auto file = File::create(dir.path("big.bin"));
    const std::string chunk(100000, 'x');
    ASSERT_EQ(file->write("a", 1), 1u);
    ASSERT_EQ(file->write(chunk.data(), chunk.size()), chunk.size());
    ASSERT_EQ(file->write("b", 1), 1u);
    EXPECT_EQ(file->size(), chunk.size() + 2);
    ASSERT_TRUE(file->close());
    EXPECT_EQ(testsupport::readFile(dir.path("big.bin")), "a" + chunk + "b");
}

TEST(File, WriteErrorOnAFullDeviceIsReported) {
    auto file = File::create("/dev/full");
    if (!file) GTEST_SKIP() << "no /dev/full";
    const std::string chunk(70000, 'x');
    EXPECT_LT(file->write(chunk.data(), chunk.size()), chunk.size());
    EXPECT_EQ(lastError(), ENOSPC);
    ASSERT_EQ(file->write("y", 1), 1u); // buffered; the error shows when it is flushed
    EXPECT_FALSE(file->close());
    EXPECT_EQ(lastError(), ENOSPC);
    EXPECT_FALSE(errorText(ENOSPC).empty());
}

TEST(File, ReadLineEndsAtLfOrCrLf) {
    TempDir dir;
    dir.write("lines.txt", "one\r\ntwo\nthree\rstill\n\nlast");
    auto file = File::open(dir.path("lines.txt"), FO_READONLY);
    ASSERT_TRUE(file);
    std::vector<std::string> lines;
    std::string line;
    while (file->readLine(line)) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three\rstill", "", "last"}));
}

TEST(File, OpenFailuresSetTheLastError) {
    TempDir dir;
    EXPECT_FALSE(File::open(dir.path("missing"), FO_READWRITE));
    EXPECT_EQ(lastError(), ENOENT);
    EXPECT_FALSE(File::open(dir.folder(), FO_READONLY));
    EXPECT_EQ(lastError(), EISDIR);
    EXPECT_FALSE(File::create(dir.path("no/such/folder.txt")));
    EXPECT_NE(lastError(), 0);
}

TEST(File, ListFolderMatchesRegardlessOfCaseAndSkipsFolders) {
    TempDir dir;
    for (const char* name : {"b.lng", "A.LNG", "c.Lng", "d.txt", ".hidden.lng"}) dir.write(name, "");
    std::filesystem::create_directory(dir.path("folder.lng"));
    EXPECT_EQ(listFolder(dir.folder(), "*.lng"), (std::vector<std::string>{"A.LNG", "b.lng", "c.Lng"}));
}

TEST(File, PathPieces) {
    EXPECT_EQ(folderOf("/a/b/book.fb2"), "/a/b/");
    EXPECT_EQ(fileNameOf("/a/b/book.x.fb2"), "book.x.fb2");
    EXPECT_EQ(baseNameOf("/a/b/book.x.fb2"), "book.x");
    EXPECT_EQ(baseNameOf("book"), "book");
    EXPECT_EQ(programFolder().back(), '/');
}

TEST(File, CopyReplacesTheTarget) {
    TempDir dir;
    dir.write("src", "new bytes");
    dir.write("dst", "old bytes that are longer");
    ASSERT_TRUE(copyFile(dir.path("src"), dir.path("dst")));
    EXPECT_EQ(testsupport::readFile(dir.path("dst")), "new bytes");
    EXPECT_FALSE(copyFile(dir.path("missing"), dir.path("dst2")));
    EXPECT_FALSE(fileExists(dir.path("dst2")));
}
