// Hostile and broken books through papyrant-cli as a process: it ends with status 0 or 1 as the run
// ends, every failure with its message on stderr, never by a signal, and within a sensible time.

#include "HostileBooks.h"
#include "ScratchMount.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using testsupport::readFile;

namespace {

const std::string kFinished = "Конвертирование закончено.";
const std::string kErrorCaption = "Ошибка:";

struct Outcome {
    bool exited = false; // ended by exit(), not by a signal or the watchdog
    int status = -1;
    int signal = 0;
    bool timedOut = false;
    std::string err;
    long peakKb = 0; // the highest peak memory (VmHWM) seen while it ran
};

// The peak resident memory of a running process. Sampled, not taken from wait4(): a spawned
// child's ru_maxrss includes the memory of its parent before exec.
long peakMemoryKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

// Runs papyrant-cli with args, stdin from /dev/null; kills it after timeoutSeconds.
Outcome runCli(const testsupport::TempDir& dir, const std::vector<std::string>& args, int timeoutSeconds = 300) {
    const std::string errPath = dir.path("stderr.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> all = {PAPYRANT_CLI};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    // Under AddressSanitizer freed blocks stay resident in its quarantine; a small one keeps the peak
    // memory about the program, not the sanitizer.
    std::vector<std::string> environment;
    std::string asanOptions = "ASAN_OPTIONS=quarantine_size_mb=16";
    for (char** entry = environ; *entry; ++entry) {
        if (std::string(*entry).rfind("ASAN_OPTIONS=", 0) == 0)
            asanOptions = std::string(*entry) + ":quarantine_size_mb=16";
        else
            environment.emplace_back(*entry);
    }
    environment.push_back(asanOptions);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    Outcome outcome;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, PAPYRANT_CLI, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << PAPYRANT_CLI;
        return outcome;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    int status = 0;
    for (;;) {
        outcome.peakKb = std::max(outcome.peakKb, peakMemoryKb(pid));
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            outcome.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    outcome.exited = !outcome.timedOut && WIFEXITED(status);
    if (outcome.exited) outcome.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
    outcome.err = readFile(errPath);
    return outcome;
}

size_t occurrences(const std::string& text, const std::string& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size()))
        ++count;
    return count;
}

// Status 0 ends with the end message; status 1 has an error on stderr and no end message.
void expectCleanEnd(const Outcome& outcome) {
    ASSERT_FALSE(outcome.timedOut) << "still running after the time limit";
    ASSERT_TRUE(outcome.exited) << "ended by signal " << outcome.signal << "\n" << outcome.err;
    ASSERT_TRUE(outcome.status == 0 || outcome.status == 1) << outcome.status << "\n" << outcome.err;
    if (outcome.status == 0) {
        EXPECT_EQ(occurrences(outcome.err, kFinished), 1u) << outcome.err;
    } else {
        EXPECT_NE(outcome.err.find(kErrorCaption), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.find(kFinished), std::string::npos) << outcome.err;
    }
}

struct CliCase {
    const char* name;
    std::string book;
    int status;          // -1: either outcome is sound
    std::string message; // a text stderr must hold
};

TEST(HostileCli, BrokenBooksEndWithStatusAndMessage) {
    using namespace hostile;
    using namespace std::string_literals;
    std::string ids = kHead + "<p>text</p></section></body>\n";
    for (const std::string& id : {"a/b.png"s, "..\\x.png"s, "/abs.png"s, ".."s, std::string(300, 'n'), "a\0b"s})
        ids += "<binary id=\"" + id + "\">QUJD</binary>\n";
    ids += "</FictionBook>\n";
    const std::vector<CliCase> cases = {
        {"empty file", "", 0, kFinished},
        {"plain text", "Just text.\n", 0, kFinished},
        {"JPEG bytes", jpegBytes(), -1, ""},
        {"random bytes", randomBytes(256 * 1024, 1), -1, ""},
        {"cut in a tag", kHead + "<p>kept</p><emph", 0, kFinished},
        {"cut in a binary", kHead + "</section></body><binary id=\"a.png\">QUJD", 0, kFinished},
        {"cut in a comment", book("<p>kept</p><!-- <p>never</p>"), 0, kFinished},
        {"tag without > to the end", kHead + "<p id=\"" + std::string(200000, 'x'), 0, kFinished},
        {"NUL bytes", book("<p>a\0b</p><p\0x>c</p\0x>"s), 0, kFinished},
        {"100,000 nested sections", nestedSections(100000), 0, kFinished},
        {"100,000 attributes", manyAttributes(100000), 0, kFinished},
        {"hostile binary ids", ids, 0, "Ошибка создания файла"},
        {"crossed tags", book("<p><strong>x</p></strong>"), 1, "нет соответствия"},
    };
    for (const CliCase& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempDir dir;
        fs::create_directories(dir.path("out"));
        dir.write("book.fb2", c.book);
        const Outcome outcome =
            runCli(dir, {"-q", "--binaries", "--contents", "start", "-d", dir.path("out"), dir.path("book.fb2")});
        expectCleanEnd(outcome);
        if (c.status >= 0) {
            EXPECT_EQ(outcome.status, c.status) << outcome.err;
        }
        if (!c.message.empty()) {
            EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        }
        EXPECT_EQ(readFile(dir.path("book.fb2")), c.book);
        for (const auto& entry : fs::directory_iterator(dir.folder()))
            EXPECT_TRUE(entry.path().filename() == "out" || entry.path().filename() == "book.fb2" ||
                        entry.path().filename() == "stderr.txt")
                << "written outside the output folder: " << entry.path();
    }
}

// 50 MB in one tag or one picture: done in a bounded time, with memory a small multiple of that size.
TEST(HostileCli, FiftyMegabyteTagAndBinaryStayProportional) {
    const size_t size = 50u << 20;
    const std::vector<std::pair<const char*, std::string>> books = {
        {"tag", hostile::hugeTag(size)},
        {"binary", hostile::bookWithBinary("big.bin", hostile::randomBytes(size / 4 * 3, 3))},
    };
    for (const auto& [name, bytes] : books) {
        SCOPED_TRACE(name);
        testsupport::TempDir dir;
        dir.write("book.fb2", bytes);
        const Outcome outcome = runCli(dir, {"-q", "--binaries", dir.path("book.fb2")});
        expectCleanEnd(outcome);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        // The scanner holds the tag (or the pending text) and a copy or two of it; never more.
        EXPECT_GT(outcome.peakKb, 0);
        EXPECT_LT(outcome.peakKb, 8 * static_cast<long>(size / 1024)) << "peak memory in KiB";
    }
}

TEST(HostileCli, FailuresOfPlaceEndWithStatusOneAndOneMessage) {
    testsupport::TempDir dir;
    const std::string bytes = hostile::book(hostile::repeat("<p>" + std::string(1000, 'w') + "</p>", 200));
    const std::string bookPath = dir.write("book.fb2", bytes);

    // A missing book.
    Outcome outcome = runCli(dir, {"-q", dir.path("missing.fb2")});
    expectCleanEnd(outcome);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("не найден"), std::string::npos) << outcome.err;

    // The output named like the book: refused, the book untouched.
    outcome = runCli(dir, {"-q", "--overwrite", "--yes", "-o", bookPath, bookPath});
    expectCleanEnd(outcome);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("совпадает с исходным"), std::string::npos) << outcome.err;
    EXPECT_EQ(readFile(bookPath), bytes);

    // A full disk: one write error, no end message.
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    outcome = runCli(dir, {"-q", "--yes", "-o", "/dev/full", bookPath});
    expectCleanEnd(outcome);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(occurrences(outcome.err, "Запись"), 1u) << outcome.err;
    EXPECT_EQ(readFile(bookPath), bytes);
}

TEST(HostileCli, UnwritableOutputFolderEndsWithStatusOne) {
    testsupport::TempDir dir;
    const std::string bookPath = dir.write("book.fb2", hostile::book("<p>text</p>"));
    const std::string folder = dir.path("locked");
    hostile::ScratchMount mount(folder, 1 << 20);
    if (::geteuid() == 0) {
        if (!mount.mounted() || !mount.makeReadOnly()) GTEST_SKIP() << mount.reason();
    } else {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    }
    const Outcome outcome = runCli(dir, {"-q", "-d", folder, bookPath});
    expectCleanEnd(outcome);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("Ошибка создания файла"), std::string::npos) << outcome.err;
}

// A real book from the read-only corpus folder converts and stays as it was.
TEST(HostileCli, BookOnAReadOnlyPathConverts) {
    const std::string book = std::string(PAPYRANT_CORPUS_DIR) + "/fb2-go__test.fb2";
    if (!fs::exists(book)) GTEST_SKIP() << "no corpus at " << PAPYRANT_CORPUS_DIR;
    testsupport::TempDir dir;
    const std::string before = readFile(book);
    const Outcome outcome = runCli(dir, {"-q", "--binaries", "-d", dir.folder(), book});
    expectCleanEnd(outcome);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(fs::exists(dir.path("fb2-go__test.htm")));
    EXPECT_EQ(readFile(book), before);
}

} // namespace
