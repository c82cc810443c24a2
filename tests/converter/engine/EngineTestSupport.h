#pragma once
// Shared by the engine tests: the texts environment, the option words of the fixtures, a presenter
// that answers only questions, and a readable byte-for-byte comparison of two texts.

#include "app/ConverterTexts.h"
#include "engine/Records.h"
#include "lang/Lang.h"
#include "platform/MessageBox.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace enginetest {

// The engine's messages are looked up by token: the library's and the converter's default texts.
class TextsEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Orvane();
        DEFAULTLANG();
    }
};
inline ::testing::Environment* const kTextsEnvironment = ::testing::AddGlobalTestEnvironment(new TextsEnvironment);

// What a fixture's option words ("contents=2 log=1 answers=yes,no ...") set up for a run.
struct CaseOptions {
    ConversionOptions options;
    std::deque<platform::MessageButton> answers; // for the questions, in order; then the default button
    std::string extension = ".htm";              // of the result path ("ext=.HTM", "ext=none")
    bool paper = true;                           // a Paper.jpg lies in the program folder
};

// Words separated by blanks or line ends, each "key=value". False with a reason for an unknown key.
inline bool parseOptions(const std::string& text, CaseOptions& out, std::string& error) {
    out.options.nEpigraphIndents = 10; // the settings page's default
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        const size_t equals = word.find('=');
        const std::string key = word.substr(0, equals);
        const std::string value = equals == std::string::npos ? std::string() : word.substr(equals + 1);
        const bool on = value == "1" || value == "yes";
        ConversionOptions& o = out.options;
        static const std::pair<const char*, bool ConversionOptions::*> kBoxes[] = {
            {"overwrite", &ConversionOptions::lOverwrite},       {"binaries", &ConversionOptions::lConvertBinaries},
            {"onlybinaries", &ConversionOptions::lOnlyBinaries}, {"prefix", &ConversionOptions::lPrefixFileName},
            {"wide", &ConversionOptions::lWideSpacing},          {"log", &ConversionOptions::lLog},
            {"background", &ConversionOptions::lBackground}};
        const auto box =
            std::find_if(std::begin(kBoxes), std::end(kBoxes), [&](const auto& entry) { return key == entry.first; });
        if (box != std::end(kBoxes)) {
            o.*(box->second) = on;
        } else if (key == "epigraph") {
            o.nEpigraphIndents = parseEpigraphIndents(value);
        } else if (key == "contents") {
            o.lContents = value != "0";
            o.nContentsLayout = value == "0" ? 1 : std::stoi(value);
        } else if (key == "ext") {
            out.extension = value == "none" ? std::string() : value;
        } else if (key == "paper") {
            out.paper = on;
        } else if (key == "answers") {
            std::istringstream list(value);
            std::string answer;
            while (std::getline(list, answer, ','))
                out.answers.push_back(answer == "yes" ? platform::MessageButton::Yes : platform::MessageButton::No);
        } else {
            error = "unknown option word \"" + word + "\"";
            return false;
        }
    }
    return true;
}

// Records every box; a question takes the next planned answer (or its default button), every other
// box its default button.
class AnsweringPresenter final : public platform::MessagePresenter {
public:
    explicit AnsweringPresenter(std::deque<platform::MessageButton> planned = {}) : answers(std::move(planned)) {
        m_previous = platform::setMessagePresenter(this);
    }
    ~AnsweringPresenter() override { platform::setMessagePresenter(m_previous); }

    platform::MessageButton present(const platform::MessageBoxRequest& request) override {
        boxes.push_back(request);
        if (request.icon != platform::MessageIcon::Question || answers.empty()) return request.defaultButton;
        const platform::MessageButton answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<platform::MessageBoxRequest> boxes;
    std::deque<platform::MessageButton> answers;

private:
    platform::MessagePresenter* m_previous = nullptr;
};

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// CR shown as "\r" and other control bytes as "\xNN", so line-end faults are visible in a diff.
inline std::string visible(const std::string& bytes) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n' || c == '\t' || byte >= 0x20) {
            out += c;
        } else {
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 15];
        }
    }
    return out;
}

// Empty when the two are equal; otherwise a "diff -u" of their visible forms and the first differing
// byte.
inline std::string compareBytes(const std::string& expected, const std::string& actual, const std::string& label) {
    if (expected == actual) return {};
    size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    std::ostringstream report;
    report << label << ": " << expected.size() << " bytes expected, " << actual.size()
           << " produced; first difference at byte " << at << "\n";
    const testsupport::TempDir scratch;
    const std::string command = "diff -u --label 'expected " + label + "' --label 'produced " + label + "' '" +
                                scratch.write("expected", visible(expected) + "\n") + "' '" +
                                scratch.write("actual", visible(actual) + "\n") + "'";
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            report.write(buffer, std::streamsize(got));
        ::pclose(pipe);
    }
    return report.str();
}

} // namespace enginetest
