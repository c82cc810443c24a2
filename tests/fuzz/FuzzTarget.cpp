#include "FuzzTarget.h"

#include "app/ConverterTexts.h"
#include "engine/ConversionRun.h"
#include "lang/Lang.h"
#include "platform/MessageBox.h"
#include "platform/testing/ProgramFolderOverride.h"
#include "support/RecordingHost.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdlib.h>
#include <vector>

namespace fs = std::filesystem;

namespace fuzzing {
namespace {

const char kPaper[] = "paper";

// Answers every box at once from the input's answer bits and keeps the texts.
class AnsweringPresenter final : public platform::MessagePresenter {
public:
    platform::MessageButton present(const platform::MessageBoxRequest& request) override {
        texts.push_back(request.text);
        if (request.buttons.size() < 2) return request.defaultButton;
        const bool yes = (answers >> (questions++ % 8)) & 1;
        return yes ? platform::MessageButton::Yes : platform::MessageButton::No;
    }

    uint8_t answers = 0;
    unsigned questions = 0;
    std::vector<std::string> texts;
};

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const fs::path& path, const char* data, size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(data, static_cast<std::streamsize>(size));
}

// The scratch folder of this process: "in" holds the book, "prog" the program folder with Paper.jpg,
// "out" the output folder. Nothing else may ever appear in it.
struct Scratch {
    fs::path root, in, prog, out, book;
    AnsweringPresenter presenter;

    Scratch() {
        std::error_code error;
        fs::path base = fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "papyrant-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        root = pattern;
        in = root / "in";
        prog = root / "prog";
        out = root / "out";
        book = in / "book.fb2";
        fs::create_directories(in);
        fs::create_directories(prog);
        fs::create_directories(out);
        writeAll(prog / "Paper.jpg", kPaper, sizeof kPaper - 1);
        platform::testing::setProgramFolder(prog.string() + "/");
        platform::setMessagePresenter(&presenter);
        Orvane();
        DEFAULTLANG();
    }
    ~Scratch() {
        platform::setMessagePresenter(nullptr);
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    void emptyOutput() {
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(out, ignored))
            fs::remove_all(entry.path(), ignored);
    }
};

Scratch& scratch() {
    static Scratch instance;
    return instance;
}

std::string checkFolders(const Scratch& s, const std::string& bookBytes) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(s.root, error)) {
        const fs::path name = entry.path().filename();
        if (name != "in" && name != "prog" && name != "out")
            return "a file was created beside the output folder: " + name.string();
    }
    for (const auto& entry : fs::directory_iterator(s.in, error))
        if (entry.path() != s.book) return "a file was created beside the book: " + entry.path().string();
    for (const auto& entry : fs::directory_iterator(s.prog, error))
        if (entry.path().filename() != "Paper.jpg")
            return "a file was created in the program folder: " + entry.path().string();
    if (readAll(s.book) != bookBytes) return "the book was changed";
    if (readAll(s.prog / "Paper.jpg") != kPaper) return "the program folder's Paper.jpg was changed";
    for (const auto& entry : fs::directory_iterator(s.out, error)) {
        if (entry.is_symlink() || !entry.is_regular_file())
            return "the output folder holds something other than a file: " + entry.path().string();
    }
    return {};
}

} // namespace

std::string runConversion(const uint8_t* data, size_t size) {
    if (size < kHeaderSize) return {};
    Scratch& s = scratch();
    const uint8_t flags = data[0];
    const uint8_t layout = data[1];
    const uint32_t blockSize = data[2] == 0 ? 3000 : data[2];
    const std::string bookBytes(reinterpret_cast<const char*>(data) + kHeaderSize, size - kHeaderSize);
    writeAll(s.book, bookBytes.data(), bookBytes.size());

    testsupport::RecordingHost host;
    host.outputFolder = s.out.string() + "/";
    host.nameFile = "book";
    ConversionOptions& options = host.runOptions;
    options.lOverwrite = flags & 0x01;
    options.lConvertBinaries = flags & 0x02;
    options.lOnlyBinaries = flags & 0x04;
    options.lPrefixFileName = flags & 0x08;
    options.lWideSpacing = flags & 0x10;
    options.lLog = flags & 0x20;
    options.lBackground = flags & 0x40;
    options.lContents = flags & 0x80;
    options.nContentsLayout = (layout & 3) == 0 ? 1 : layout & 3;
    options.nEpigraphIndents = layout >> 2;

    s.presenter.answers = data[3];
    s.presenter.questions = 0;
    s.presenter.texts.clear();
    const bool converted = GOPROCESS(host, s.book.string(), host.outputFolder + "book.htm", blockSize);

    std::string broken = checkFolders(s, bookBytes);
    if (broken.empty()) {
        const std::string finished = GetLangToken("400018");
        size_t finishedBoxes = 0;
        for (const std::string& text : s.presenter.texts)
            if (text == finished) ++finishedBoxes;
        if (converted && (finishedBoxes != 1 || s.presenter.texts.back() != finished))
            broken = "a successful run did not end with the end message";
        if (!converted && finishedBoxes != 0) broken = "a failed run showed the end message";
        if (!converted && s.presenter.texts.empty()) broken = "a run failed without a message";
    }
    s.emptyOutput();
    return broken;
}

} // namespace fuzzing
