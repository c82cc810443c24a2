// The real books of the corpus, converted end to end in-process: pictures, log, background and contents
// on (the three contents layouts taken in turn), each book into a fresh output folder. A book may fail
// only where its tags really cross, and then only with the mismatch message; every picture file holds
// the bytes of its <binary>; nothing is written anywhere but the output folder.
//
// In-process rather than through papyrant-cli: every message box is recorded with its kind (an error
// cannot hide among the lines of stderr), a run costs no process start, and the sanitizer build checks
// the engine's memory use on every real book.

#include "app/ConverterTexts.h"
#include "engine/ConversionRun.h"
#include "lang/Lang.h"
#include "platform/testing/ProgramFolderOverride.h"
#include "support/RecordingHost.h"
#include "support/RecordingPresenter.h"
#include "support/TempDir.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using testsupport::namesIn;
using testsupport::readFile;

namespace {

const std::string kCorpus = PAPYRANT_CORPUS_DIR;

std::vector<std::string> corpusBooks() {
    std::vector<std::string> books;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(kCorpus, error))
        if (entry.is_regular_file() && entry.path().extension() == ".fb2") books.push_back(entry.path().string());
    std::sort(books.begin(), books.end());
    return books;
}

// The number of <binary> elements per book, from the corpus's MANIFEST.tsv (column "has_binary").
std::map<std::string, int> manifestBinaryCounts() {
    std::map<std::string, int> counts;
    std::ifstream in(kCorpus + "/MANIFEST.tsv");
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string file, bytes, encoding, binaries;
        std::getline(fields, file, '\t');
        std::getline(fields, bytes, '\t');
        std::getline(fields, encoding, '\t');
        std::getline(fields, binaries, '\t');
        if (!file.empty() && !binaries.empty()) counts[file] = std::stoi(binaries);
    }
    return counts;
}

struct Binary {
    std::string id;
    QByteArray bytes;
};

// Every <binary id=...> of the book with its decoded text, found by plain search (many real books are
// not well-formed XML). Decoding keeps only Base64 alphabet characters, so text that is not Base64 at
// all still has the bytes that its alphabet characters spell.
std::vector<Binary> binariesOf(const std::string& book) {
    std::vector<Binary> binaries;
    size_t at = 0;
    while ((at = book.find("<binary", at)) != std::string::npos) {
        const size_t tagEnd = book.find('>', at);
        if (tagEnd == std::string::npos) break;
        const char next = book[at + 7];
        if (next != ' ' && next != '\t' && next != '\r' && next != '\n' && next != '>') {
            at = tagEnd;
            continue;
        }
        const std::string tag = book.substr(at, tagEnd - at);
        const size_t textEnd = book.find("</binary>", tagEnd);
        if (textEnd == std::string::npos) break;
        std::optional<std::string> id;
        for (size_t key = tag.find("id="); key != std::string::npos; key = tag.find("id=", key + 1)) {
            const char before = tag[key - 1];
            const char quote = tag[key + 3];
            if ((before != ' ' && before != '\t' && before != '\r' && before != '\n') ||
                (quote != '"' && quote != '\''))
                continue;
            const size_t close = tag.find(quote, key + 4);
            if (close != std::string::npos) id = tag.substr(key + 4, close - key - 4);
            break;
        }
        QByteArray alphabet;
        for (size_t i = tagEnd + 1; i < textEnd; ++i) {
            const char c = book[i];
            if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/')
                alphabet += c;
        }
        if (id) binaries.push_back({*id, QByteArray::fromBase64(alphabet)});
        at = textEnd;
    }
    return binaries;
}

std::string pictureFileName(std::string id) {
    std::replace(id.begin(), id.end(), '/', '_');
    std::replace(id.begin(), id.end(), '\\', '_');
    return id;
}

struct Crossing {
    std::string closing;
    std::string open; // empty when nothing was open
};

// The first closing tag that does not close the innermost open element. Comments, character data,
// declarations and processing instructions hold no elements.
std::optional<Crossing> firstCrossing(const std::string& book) {
    std::vector<std::string> open;
    size_t at = 0;
    while ((at = book.find('<', at)) != std::string::npos) {
        const auto skipTo = [&](const char* end) {
            const size_t found = book.find(end, at);
            at = found == std::string::npos ? book.size() : found + std::strlen(end);
        };
        if (book.compare(at, 4, "<!--") == 0) {
            skipTo("-->");
            continue;
        }
        if (book.compare(at, 9, "<![CDATA[") == 0) {
            skipTo("]]>");
            continue;
        }
        if (book.compare(at, 2, "<!") == 0 || book.compare(at, 2, "<?") == 0) {
            skipTo(">");
            continue;
        }
        const size_t end = book.find('>', at);
        if (end == std::string::npos) break;
        std::string tag = book.substr(at + 1, end - at - 1);
        at = end + 1;
        const bool closing = !tag.empty() && tag.front() == '/';
        const bool empty = !tag.empty() && tag.back() == '/';
        if (closing) tag.erase(0, 1);
        const std::string name = tag.substr(0, tag.find_first_of(" \t\r\n/"));
        if (closing) {
            if (open.empty() || open.back() != name) return Crossing{name, open.empty() ? "" : open.back()};
            open.pop_back();
        } else if (!empty) {
            open.push_back(name);
        }
    }
    return std::nullopt;
}

std::string allTexts(const testsupport::RecordingPresenter& presenter) {
    std::string texts;
    for (const std::string& text : presenter.texts())
        texts += "[" + text + "] ";
    return texts;
}

class Corpus : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Orvane();
        DEFAULTLANG();
    }
};

TEST_F(Corpus, EveryBookConvertsAndEveryPictureHoldsItsBinary) {
    const std::vector<std::string> books = corpusBooks();
    if (books.empty()) GTEST_SKIP() << "no FB2 books in " << kCorpus << " (PAPYRANT_CORPUS_DIR); corpus test skipped";
    const std::map<std::string, int> manifest = manifestBinaryCounts();
    const std::set<std::string> corpusBefore = namesIn(kCorpus);

    // Nothing may appear anywhere in the parent but the output folders and the program folder; the
    // working folder is the parent too, so a file written by a relative name is caught as well.
    testsupport::TempDir parent;
    const std::string programFolder = parent.path("program/");
    fs::create_directory(programFolder);
    const std::string paper = "not a real picture, copied byte for byte";
    std::ofstream(programFolder + "Paper.jpg", std::ios::binary) << paper;
    // Restored however the test ends.
    struct Surroundings {
        fs::path workingFolder = fs::current_path();
        Surroundings(const std::string& program, const std::string& working) {
            platform::testing::setProgramFolder(program);
            fs::current_path(working);
        }
        ~Surroundings() {
            fs::current_path(workingFolder);
            platform::testing::setProgramFolder("");
        }
    };
    std::optional<Surroundings> surroundings(std::in_place, programFolder, parent.folder());

    int failedBooks = 0;
    std::set<std::string> expectedInParent = {"program"};
    for (size_t index = 0; index < books.size(); ++index) {
        const std::string& bookPath = books[index];
        const std::string fileName = fs::path(bookPath).filename().string();
        const std::string name = fs::path(bookPath).stem().string();
        SCOPED_TRACE(fileName);
        const std::string book = readFile(bookPath);
        const std::vector<Binary> binaries = binariesOf(book);
        if (manifest.count(fileName)) {
            EXPECT_EQ(int(binaries.size()), manifest.at(fileName)) << "binaries found";
        }
        const std::optional<Crossing> crossing = firstCrossing(book);

        const std::string outputName = "out" + std::to_string(index);
        expectedInParent.insert(outputName);
        const std::string outputFolder = parent.path(outputName + "/");
        fs::create_directory(outputFolder);

        testsupport::RecordingHost host;
        host.outputFolder = outputFolder;
        host.nameFile = name;
        host.runOptions.lConvertBinaries = true;
        host.runOptions.lLog = true;
        host.runOptions.lBackground = true;
        host.runOptions.lContents = true;
        host.runOptions.nContentsLayout = int32_t(index % 3) + 1;
        testsupport::RecordingPresenter presenter;
        const bool converted = GOPROCESS(host, bookPath, outputFolder + name + ".htm");

        std::set<std::string> expectedFiles = {name + ".htm", name + ".log", "Paper.jpg"};
        if (host.runOptions.nContentsLayout != 1) expectedFiles.insert(name + "_C.HTM");
        if (host.runOptions.nContentsLayout == 3) expectedFiles.insert(name + "_I.HTM");
        if (crossing) {
            ++failedBooks;
            EXPECT_FALSE(converted);
            ASSERT_EQ(presenter.boxes.size(), 1u) << allTexts(presenter);
            EXPECT_EQ(presenter.boxes[0].icon, platform::MessageIcon::Error);
            EXPECT_EQ(presenter.boxes[0].text,
                      GetLangToken("400014", TextList{"\"" + crossing->closing + "\"", "\"" + crossing->open + "\""}));
            // The run ended before the contents were moved into the main file: the temporary file stays.
            if (host.runOptions.nContentsLayout == 1) expectedFiles.insert(name + "_C.HTM");
        } else {
            EXPECT_TRUE(converted);
            ASSERT_EQ(presenter.boxes.size(), 1u) << allTexts(presenter);
            EXPECT_EQ(presenter.boxes[0].icon, platform::MessageIcon::Information);
            EXPECT_EQ(presenter.boxes[0].text, GetLangToken("400018"));
        }

        // Pictures: a converted book has one file per binary; a failed one may lack some, never hold
        // a wrong one.
        const std::set<std::string> written = namesIn(outputFolder);
        for (const Binary& binary : binaries) {
            const std::string picture = pictureFileName(binary.id);
            SCOPED_TRACE("binary " + binary.id);
            if (!written.count(picture)) {
                EXPECT_TRUE(crossing.has_value()) << "picture file missing";
                continue;
            }
            expectedFiles.insert(picture);
            const std::string bytes = readFile(outputFolder + picture);
            EXPECT_TRUE(bytes == binary.bytes.toStdString())
                << "picture differs: " << bytes.size() << " bytes written, " << binary.bytes.size() << " expected";
        }
        EXPECT_EQ(written, expectedFiles);
        EXPECT_EQ(readFile(outputFolder + "Paper.jpg"), paper);

        const std::string html = readFile(outputFolder + name + ".htm");
        EXPECT_FALSE(html.empty());
        if (!crossing && host.runOptions.nContentsLayout == 1) {
            EXPECT_NE(html.find("<H2>Contents</H2>"), std::string::npos);
        }
    }

    surroundings.reset();
    EXPECT_EQ(namesIn(parent.folder()), expectedInParent);
    EXPECT_EQ(namesIn(programFolder), std::set<std::string>{"Paper.jpg"});
    EXPECT_EQ(readFile(programFolder + "Paper.jpg"), paper);
    EXPECT_EQ(namesIn(kCorpus), corpusBefore);
    // The corpus's book with crossed end tags must be found by the checker, or the test proves little.
    if (corpusBefore.count("fb2document__Test_Invalid.fb2")) {
        EXPECT_GE(failedBooks, 1);
    }
}

} // namespace
