// papyrant-cli as users run it: the built program in a child process, its stdin a pipe (not a
// terminal), its exit status, stderr and the files it leaves behind.

#include "app/ConverterTexts.h"
#include "lang/Lang.h"
#include "support/TempDir.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdlib.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using testsupport::namesIn;
using testsupport::readFile;
using testsupport::TempDir;

namespace {

const std::string kCli = PAPYRANT_CLI;
const std::string kCorpus = PAPYRANT_CORPUS_DIR;
const std::string kScratch = PAPYRANT_CLI_SCRATCH; // inside the build tree, beside the program's folder

const std::string kPicture = "Hello, picture!";

// A small book: a description, two titled sections (for the contents) and one picture.
std::string bookText(const std::string& title = "Test book") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<FictionBook xmlns=\"http://www.gribuser.ru/xml/fictionbook/2.0\" "
           "xmlns:l=\"http://www.w3.org/1999/xlink\">\n"
           "<description><title-info><book-title>" +
           title +
           "</book-title></title-info></description>\n"
           "<body>\n"
           "<section id=\"one\"><title><p>Chapter one</p></title><p>First <image l:href=\"#pic.png\"/></p></section>\n"
           "<section id=\"two\"><title><p>Chapter two</p></title><p>Second</p></section>\n"
           "</body>\n"
           "<binary id=\"pic.png\" content-type=\"image/png\">SGVsbG8sIHBp\nY3R1cmUh</binary>\n"
           "</FictionBook>\n";
}

const std::string kCrossedBook = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                 "<FictionBook><body><p><strong>bold</p></strong></body></FictionBook>\n";

struct CliResult {
    int status = -1;
    bool crashed = false;
    std::string out;
    std::string err;
};

CliResult runCli(const std::vector<std::string>& arguments, const std::string& workingFolder,
                 const std::string& program = kCli) {
    QProcess process;
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    process.setWorkingDirectory(QString::fromStdString(workingFolder));
    process.start(QString::fromStdString(program), list);
    process.closeWriteChannel(); // stdin: an empty pipe, no terminal
    CliResult run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "papyrant-cli did not finish";
    }
    run.status = process.exitCode();
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class Cli : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The program's texts, to name the messages it must print.
        Orvane();
        DEFAULTLANG();
    }
    void SetUp() override { m_book = m_dir.write("book.fb2", bookText()); }

    std::string dir(const std::string& name) const {
        fs::create_directories(m_dir.path(name));
        return m_dir.path(name) + "/";
    }

    TempDir m_dir;
    std::string m_book;
};

TEST_F(Cli, UsageErrorsExitWithTwoAndTouchNothing) {
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--bogus", "book.fb2"}, "unknown option '--bogus'"},
        {{"-x", "book.fb2"}, "unknown option '-x'"},
        {{"book.fb2", "--contents"}, "option '--contents' needs a value"},
        {{"book.fb2", "-o"}, "option '-o' needs a value"},
        {{"--yes"}, "no book given"},
        {{"-o", "x.htm", "book.fb2", "book.fb2"}, "--output takes one book only"},
        {{"-o", "x.htm", "-d", ".", "book.fb2"}, "--output and --output-dir exclude each other"},
        {{"--only-binaries", "book.fb2"}, "--only-binaries needs --binaries"},
        {{"--prefix", "book.fb2"}, "--prefix needs --binaries"},
        {{"--binaries", "--only-binaries", "--contents", "file", "book.fb2"}, "--only-binaries excludes --contents"},
        {{"--yes", "--no", "book.fb2"}, "--yes and --no exclude each other"},
        {{"--contents", "middle", "book.fb2"}, "--contents takes start, file or frames, not 'middle'"},
        {{"--epigraph-indents", "many", "book.fb2"}, "--epigraph-indents needs a whole number from 0 to 999"},
        {{"--epigraph-indents", "-1", "book.fb2"}, "--epigraph-indents needs a whole number"},
        {{"--epigraph-indents", "1000", "book.fb2"}, "--epigraph-indents needs a whole number"},
        {{"--epigraph-indents", "", "book.fb2"}, "--epigraph-indents needs a whole number"},
        {{"-d", "missing", "book.fb2"}, "the output folder 'missing' does not exist"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& argument : c.arguments)
            line += "'" + argument + "' ";
        SCOPED_TRACE(line);
        const CliResult run = runCli(c.arguments, m_dir.folder());
        EXPECT_EQ(run.status, 2);
        EXPECT_FALSE(run.crashed);
        EXPECT_TRUE(contains(run.err, "papyrant-cli: " + c.message)) << run.err;
        EXPECT_TRUE(contains(run.err, "--help")) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(namesIn(m_dir.folder()), std::set<std::string>{"book.fb2"});
    }
}

TEST_F(Cli, HelpAndVersion) {
    const CliResult help = runCli({"--help"}, m_dir.folder());
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(contains(help.out, "Usage: papyrant-cli [OPTIONS] BOOK.fb2")) << help.out;
    EXPECT_TRUE(contains(help.out, "--contents start|file|frames"));
    EXPECT_EQ(runCli({"-h"}, m_dir.folder()).out, help.out);

    const CliResult version = runCli({"--version"}, m_dir.folder());
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "papyrant-cli " PAPYRANT_VERSION "\n");
}

// Where the output goes and which files a run leaves, for the naming options and each contents layout.
TEST_F(Cli, OutputFilesForNamingOptionsAndContentsLayouts) {
    struct Case {
        std::string label;
        std::vector<std::string> arguments;
        std::string folder; // where the output lands, relative to the test folder
        std::set<std::string> files;
        std::string main;
    };
    m_dir.write("my.book.v2.fb2", bookText("Dotted name"));
    dir("sub");
    m_dir.write("sub/second.fb2", bookText("Second book"));
    const std::vector<Case> cases = {
        {"default: beside the book, cut before its last dot",
         {"my.book.v2.fb2"},
         ".",
         {"book.fb2", "my.book.v2.fb2", "my.book.v2.htm", "out", "pic.png", "sub"},
         "my.book.v2.htm"},
        {"-o names the main file; the log follows its folder and name",
         {"--log", "-o", "out/result.html", "book.fb2"},
         "out",
         {"result.html", "result.log", "pic.png"},
         "result.html"},
        {"-d takes every book",
         {"-d", "out", "book.fb2", "sub/second.fb2"},
         "out",
         {"book.htm", "second.htm", "pic.png"},
         "second.htm"},
        {"--contents start",
         {"--contents", "start", "-d", "out", "book.fb2"},
         "out",
         {"book.htm", "pic.png"},
         "book.htm"},
        {"--contents file",
         {"--contents", "file", "-d", "out", "book.fb2"},
         "out",
         {"book.htm", "book_C.HTM", "pic.png"},
         "book.htm"},
        {"--contents frames",
         {"--contents", "frames", "-d", "out", "book.fb2"},
         "out",
         {"book.htm", "book_C.HTM", "book_I.HTM", "pic.png"},
         "book.htm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove_all(m_dir.path("out"));
        fs::remove(m_dir.path("my.book.v2.htm"));
        fs::remove(m_dir.path("pic.png"));
        dir("out");
        const CliResult run = runCli(c.arguments, m_dir.folder());
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(contains(run.err, GetLangToken("400018"))) << run.err;
        const std::string folder = m_dir.path(c.folder) + "/";
        EXPECT_EQ(namesIn(folder), c.files);
        EXPECT_EQ(readFile(folder + "pic.png"), kPicture);
        const std::string main = readFile(folder + c.main);
        EXPECT_TRUE(contains(main, "<IMG src=\"pic.png\"")) << main;
        if (c.label == "--contents start") {
            EXPECT_TRUE(contains(main, "<H2>Contents</H2>")) << main;
            EXPECT_TRUE(contains(main, "Chapter two"));
        }
        if (c.label == "--contents file") {
            EXPECT_TRUE(contains(readFile(folder + "book_C.HTM"), "<A href=book.htm#"));
        }
        if (c.label == "--contents frames") {
            const std::string frameset = readFile(folder + "book_I.HTM");
            EXPECT_TRUE(contains(frameset, "<frame src=\"book_C.HTM\" >\r\n")) << frameset;
            EXPECT_TRUE(contains(frameset, "<frame src=\"book.htm\" name=\"window-1\">\r\n")) << frameset;
        }
    }
}

TEST_F(Cli, FailedBooksExitWithOneAndSayWhyOnStderr) {
    m_dir.write("crossed.fb2", kCrossedBook);
    dir("out");

    const CliResult missing = runCli({"-d", "out", "missing.fb2"}, m_dir.folder());
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(contains(missing.err, "missing.fb2")) << missing.err;
    EXPECT_TRUE(namesIn(m_dir.path("out")).empty());

    const CliResult crossed = runCli({"-d", "out", "crossed.fb2"}, m_dir.folder());
    EXPECT_EQ(crossed.status, 1);
    EXPECT_FALSE(crossed.crashed);
    EXPECT_TRUE(contains(crossed.err, GetLangToken("400014", TextList{"\"p\"", "\"strong\""}))) << crossed.err;
    EXPECT_FALSE(contains(crossed.err, GetLangToken("400018"))) << crossed.err;

    // A failed book does not keep the others from converting; the status still says that one failed.
    const CliResult mixed = runCli({"-d", "out", "missing.fb2", "book.fb2"}, m_dir.folder());
    EXPECT_EQ(mixed.status, 1);
    EXPECT_EQ(readFile(m_dir.path("out/pic.png")), kPicture);
    EXPECT_TRUE(fs::exists(m_dir.path("out/book.htm")));
}

// --yes and --no answer every question; without them and without a terminal, each question takes its
// default button: Yes for "create this picture?", No for "overwrite this file?" and "start with
// overwriting on?".
TEST_F(Cli, QuestionsAreAnsweredByYesNoOrTheirDefaultButton) {
    const std::string question = GetLangToken("400025", "\"pic.png\"");
    {
        const CliResult run = runCli({"-d", dir("no"), "--no", "book.fb2"}, m_dir.folder());
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(contains(run.err, question)) << run.err;
        EXPECT_EQ(namesIn(m_dir.path("no")), std::set<std::string>{"book.htm"});
    }
    for (const std::string& answer : {std::string("--yes"), std::string()}) {
        SCOPED_TRACE(answer.empty() ? "default button" : answer);
        const std::string out = dir("yes" + answer);
        std::vector<std::string> arguments = {"-d", out, "book.fb2"};
        if (!answer.empty()) arguments.push_back(answer);
        const CliResult run = runCli(arguments, m_dir.folder());
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(contains(run.err, question + "\n-> yes")) << run.err;
        EXPECT_EQ(readFile(out + "pic.png"), kPicture);
    }

    // An existing main file: the default keeps it and the book fails; --yes replaces it.
    const std::string out = dir("existing");
    m_dir.write("existing/book.htm", "old");
    const CliResult kept = runCli({"-d", out, "book.fb2"}, m_dir.folder());
    EXPECT_EQ(kept.status, 1);
    EXPECT_TRUE(contains(kept.err, "book.htm")) << kept.err;
    EXPECT_TRUE(contains(kept.err, "-> no")) << kept.err;
    EXPECT_EQ(readFile(out + "book.htm"), "old");
    EXPECT_EQ(namesIn(out), std::set<std::string>{"book.htm"});
    const CliResult replaced = runCli({"-d", out, "--yes", "book.fb2"}, m_dir.folder());
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_TRUE(contains(readFile(out + "book.htm"), "Chapter one"));

    // --overwrite asks once before the run, default No: nothing is written.
    const std::string refused = dir("refused");
    const CliResult start = runCli({"-d", refused, "--overwrite", "book.fb2"}, m_dir.folder());
    EXPECT_EQ(start.status, 1);
    EXPECT_TRUE(contains(start.err, GetLangToken("400008"))) << start.err;
    EXPECT_TRUE(namesIn(refused).empty());
}

TEST_F(Cli, BackgroundCopiesTheShippedPaper) {
    const std::string shipped = readFile(fs::path(kCli).parent_path().string() + "/Paper.jpg");
    ASSERT_GT(shipped.size(), 3u) << "Paper.jpg is missing beside papyrant-cli";
    EXPECT_EQ(shipped.substr(0, 3), "\xFF\xD8\xFF"); // a JPEG file

    const std::string out = dir("out");
    const CliResult run = runCli({"--background", "--yes", "-d", out, "book.fb2"}, m_dir.folder());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFile(out + "Paper.jpg"), shipped);
    EXPECT_TRUE(contains(readFile(out + "book.htm"), "<BODY BACKGROUND=\"Paper.jpg\">"));
}

// The program looks for its language files and Paper.jpg in its own folder. A hard link of the built
// program in a folder of the test's own gives it such a folder without copying it or putting test
// files beside the real program, where parallel tests would see them.
class CliInOwnFolder : public Cli {
protected:
    void SetUp() override {
        Cli::SetUp();
        fs::create_directories(kScratch);
        std::string pattern = kScratch + "/program-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_programFolder = pattern + "/";
        std::error_code error;
        fs::create_hard_link(kCli, m_programFolder + "papyrant-cli", error);
        if (error) GTEST_SKIP() << "cannot link papyrant-cli into " << m_programFolder << ": " << error.message();
        m_program = m_programFolder + "papyrant-cli";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_programFolder, ignored);
    }

    std::string m_programFolder;
    std::string m_program;
};

TEST_F(CliInOwnFolder, LanguageFromALanguageFileBesideTheProgram) {
    std::ofstream(m_programFolder + "test.lng", std::ios::binary)
        << "LANGUAGE = tst, Test language\r\n"
           "400018 = Conversion finished (test language).\r\n";
    const std::string out = dir("out");

    const CliResult chosen = runCli({"--language", "tst", "--yes", "-d", out, "book.fb2"}, m_dir.folder(), m_program);
    EXPECT_EQ(chosen.status, 0) << chosen.err;
    EXPECT_TRUE(contains(chosen.err, "Conversion finished (test language).")) << chosen.err;
    EXPECT_FALSE(contains(chosen.err, GetLangToken("400018"))) << chosen.err;

    const CliResult unknown = runCli({"--language", "xyz", "--yes", "-d", out, "book.fb2"}, m_dir.folder(), m_program);
    EXPECT_EQ(unknown.status, 0) << unknown.err;
    EXPECT_TRUE(contains(unknown.err, "no language file with the code 'xyz'")) << unknown.err;
    EXPECT_TRUE(contains(unknown.err, GetLangToken("400018"))) << unknown.err;
}

TEST_F(CliInOwnFolder, BackgroundWithoutPaperBesideTheProgramConvertsWithoutIt) {
    const std::string out = dir("out");
    const CliResult run = runCli({"--background", "--yes", "-d", out, "book.fb2"}, m_dir.folder(), m_program);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(run.err, GetLangToken("400012") + " " + m_programFolder + "Paper.jpg")) << run.err;
    EXPECT_FALSE(fs::exists(out + "Paper.jpg"));
    const std::string main = readFile(out + "book.htm");
    EXPECT_FALSE(contains(main, "BACKGROUND")) << main;
}

// Ctrl-C during a run: the stop question (answered by --yes), the run ends at its next block with its
// files complete as far as they got, the status is 1, and later books are not started. One book
// converts in a few tens of milliseconds, so the same big book is given many times (as links) and the
// signal is sent as soon as the first output file appears.
TEST_F(Cli, InterruptStopsTheRunWithItsFilesClosed) {
    const std::string big = kCorpus + "/hpmorru__hpmor_ru.fb2";
    if (!fs::exists(big)) GTEST_SKIP() << big << " not found (PAPYRANT_CORPUS_DIR); interrupt test skipped";

    const CliResult reference = runCli({"-q", "--no", "-o", dir("reference") + "full.htm", big}, m_dir.folder());
    ASSERT_EQ(reference.status, 0) << reference.err;
    const std::string full = readFile(m_dir.path("reference/full.htm"));

    constexpr int kBooks = 40;
    std::vector<std::string> arguments = {"-q", "--yes", "-d", dir("out")};
    for (int i = 0; i < kBooks; ++i) {
        // Built by appending: GCC 12 warns falsely (-Wrestrict) on "literal" + std::string at -O3.
        std::string name = "b";
        name += std::to_string(100 + i);
        name += ".fb2";
        const std::string link = m_dir.path(name);
        fs::create_symlink(big, link);
        arguments.push_back(link);
    }
    QProcess process;
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    process.start(QString::fromStdString(kCli), list);
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForStarted());
    const std::string first = m_dir.path("out/b100.htm");
    while (!fs::exists(first) && process.state() == QProcess::Running)
        process.waitForFinished(1);
    if (process.state() != QProcess::Running) GTEST_SKIP() << "all books converted before the signal could be sent";
    ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), SIGINT), 0);
    ASSERT_TRUE(process.waitForFinished(60000));
    const std::string err = process.readAllStandardError().toStdString();

    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << err;
    EXPECT_EQ(process.exitCode(), 1) << err;
    EXPECT_TRUE(contains(err, GetLangToken("400016") + "\n-> yes")) << err;
    EXPECT_TRUE(contains(err, GetLangToken("400018"))) << err;

    // Books before the stop are whole, the stopped one holds a beginning of the whole output (nothing
    // lost in a buffer, nothing broken), the ones after it were never begun.
    int stopped = -1;
    for (int i = 0; i < kBooks; ++i) {
        const std::string main = m_dir.path("out/b" + std::to_string(100 + i) + ".htm");
        if (!fs::exists(main)) {
            if (stopped < 0) stopped = i - 1;
            continue;
        }
        EXPECT_LT(stopped, 0) << "book " << i << " was begun after the stop";
    }
    if (stopped < 0) stopped = kBooks - 1;
    ASSERT_GE(stopped, 0);
    for (int i = 0; i <= stopped; ++i) {
        SCOPED_TRACE("book " + std::to_string(i));
        const std::string main = readFile(m_dir.path("out/b" + std::to_string(100 + i) + ".htm"));
        if (i < stopped) {
            EXPECT_TRUE(main == full) << main.size() << " bytes, " << full.size() << " expected";
        } else {
            EXPECT_FALSE(main.empty());
            EXPECT_LE(main.size(), full.size());
            EXPECT_TRUE(full.compare(0, main.size(), main) == 0) << "the stopped book's file is not a beginning";
        }
    }
}

} // namespace
