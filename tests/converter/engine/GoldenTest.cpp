// Whole-book golden tests: every golden/<case>.fb2 is converted by GOPROCESS into a fresh folder and
// every file of the output folder is compared byte for byte with golden/<case>.expected/, which must
// hold exactly the files that the run produces. The message boxes of the run and its result are
// compared with golden/<case>.messages. golden/<case>.options holds the option words of the case
// (see README.md). Each case runs with the block sizes 3000, 1, 2 and 7 and must give the same bytes.
//
// Re-blessing (only after reviewing every changed byte against the rules):
//     PAPYRANT_BLESS=1 build/bin/engine_golden_test
// rewrites the .expected folders and .messages files from the output of the 3000-byte runs.

#include "EngineTestSupport.h"

#include "engine/ConversionRun.h"
#include "platform/testing/ProgramFolderOverride.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace fs = std::filesystem;
using namespace enginetest;

namespace {

const fs::path kGolden = PAPYRANT_GOLDEN_DIR;
constexpr uint32_t kBlockSizes[] = {3000, 1, 2, 7};

bool blessing() {
    const char* value = std::getenv("PAPYRANT_BLESS");
    return value && std::string(value) == "1";
}

std::vector<std::string> caseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kGolden))
        if (entry.path().extension() == ".fb2") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Every regular file under folder, by its path relative to folder; a folder inside is listed too, so
// a run that makes one fails.
std::map<std::string, std::string> filesUnder(const fs::path& folder) {
    std::map<std::string, std::string> files;
    if (!fs::exists(folder)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).string();
        files[entry.is_directory() ? name + "/" : name] = entry.is_directory() ? std::string() : readBytes(entry);
    }
    return files;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// One line per box ("E: ", "I: " or "Q: " and its text with CR and LF written as "\r" and "\n"), then
// the result.
std::string messagesOf(const AnsweringPresenter& presenter, bool result, const std::string& root) {
    std::string lines;
    for (const auto& box : presenter.boxes) {
        const char kind = box.icon == platform::MessageIcon::Error      ? 'E'
                          : box.icon == platform::MessageIcon::Question ? 'Q'
                                                                        : 'I';
        lines +=
            std::string(1, kind) + ": " + replaceAll(visible(replaceAll(box.text, root, "{tmp}/")), "\n", "\\n") + "\n";
    }
    return lines + "result: " + (result ? "true" : "false") + "\n";
}

struct RunOutput {
    std::map<std::string, std::string> files;
    std::string messages;
    std::vector<std::string> strayFiles; // anything in the temporary folder outside the output folder
    size_t unusedAnswers = 0;
};

RunOutput convert(const std::string& name, const CaseOptions& setup, uint32_t blockSize) {
    testsupport::TempDir temp;
    const std::string out = temp.folder() + "out/";
    fs::create_directories(out);
    platform::testing::setProgramFolder(setup.paper ? (kGolden / "program").string() : temp.folder() + "empty");

    testsupport::RecordingHost host;
    host.runOptions = setup.options;
    host.outputFolder = out;
    host.nameFile = name;
    AnsweringPresenter presenter(setup.answers);
    const bool result = GOPROCESS(host, (kGolden / (name + ".fb2")).string(), out + name + setup.extension, blockSize);
    platform::testing::setProgramFolder({});

    RunOutput output;
    output.files = filesUnder(out);
    output.messages =
        replaceAll(messagesOf(presenter, result, temp.folder()), (kGolden / "program").string() + "/", "{program}/");
    for (const auto& entry : fs::directory_iterator(temp.folder()))
        if (entry.path().filename() != "out") output.strayFiles.push_back(entry.path().filename().string());
    output.unusedAnswers = presenter.answers.size();
    return output;
}

void bless(const std::string& name, const RunOutput& output) {
    const fs::path expected = kGolden / (name + ".expected");
    fs::remove_all(expected);
    if (!output.files.empty()) fs::create_directories(expected);
    for (const auto& [file, bytes] : output.files) {
        if (file.back() == '/')
            fs::create_directories(expected / file);
        else
            writeBytes(expected / file, bytes);
    }
    writeBytes(kGolden / (name + ".messages"), output.messages);
}

// Every difference between two sets of output files and messages, as readable reports.
std::vector<std::string> differences(const std::map<std::string, std::string>& expected,
                                     const std::string& expectedMessages, const RunOutput& output) {
    std::vector<std::string> reports;
    for (const auto& [file, bytes] : expected) {
        const auto produced = output.files.find(file);
        if (produced == output.files.end())
            reports.push_back("not produced: " + file);
        else if (std::string report = compareBytes(bytes, produced->second, file); !report.empty())
            reports.push_back(report);
    }
    for (const auto& entry : output.files)
        if (!expected.count(entry.first)) reports.push_back("produced but not expected: " + entry.first);
    if (std::string report = compareBytes(expectedMessages, output.messages, "messages"); !report.empty())
        reports.push_back(report);
    for (const std::string& stray : output.strayFiles)
        reports.push_back("written outside the output folder: " + stray);
    if (output.unusedAnswers) reports.push_back("planned answers left over: fewer questions than planned");
    return reports;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, ConvertsToTheExpectedFiles) {
    const std::string name = GetParam();
    CaseOptions setup;
    std::string error;
    ASSERT_TRUE(parseOptions(readBytes(kGolden / (name + ".options")), setup, error)) << error;

    // The normal block size against the references; the tiny blocks against the normal one.
    const RunOutput reference = convert(name, setup, kBlockSizes[0]);
    if (blessing()) bless(name, reference);
    for (const std::string& report :
         differences(filesUnder(kGolden / (name + ".expected")), readBytes(kGolden / (name + ".messages")), reference))
        ADD_FAILURE() << report;
    for (const uint32_t blockSize : kBlockSizes) {
        if (blockSize == kBlockSizes[0]) continue;
        for (const std::string& report :
             differences(reference.files, reference.messages, convert(name, setup, blockSize)))
            ADD_FAILURE() << "block size " << blockSize << " differs from block size " << kBlockSizes[0] << ": "
                          << report;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(caseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(GoldenFolder, EveryCaseHasItsOptionsAndMessages) {
    const auto names = caseNames();
    EXPECT_FALSE(names.empty());
    for (const std::string& name : names) {
        EXPECT_TRUE(fs::exists(kGolden / (name + ".options"))) << name;
        EXPECT_TRUE(fs::exists(kGolden / (name + ".messages")) || blessing()) << name;
    }
}

} // namespace
