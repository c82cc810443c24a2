#include "app/CliHost.h"

#include "platform/Text.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stopRequested = 0;

// Box texts use CR (and CR LF) as line breaks; a terminal wants LF.
std::string forTerminal(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    // Legacy language files may hold Windows-1251 bytes: print them as UTF-8.
    return platform::displayUtf8(out);
}

} // namespace

CliHost::CliHost(ConversionOptions options, bool showProgress, std::optional<bool> answer)
    : m_options(options), m_showProgress(showProgress && ::isatty(STDERR_FILENO)), m_answer(answer) {
    m_previousPresenter = platform::setMessagePresenter(this);
}

CliHost::~CliHost() { platform::setMessagePresenter(m_previousPresenter); }

namespace {

void onInterrupt(int) {
    g_stopRequested = 1;
    std::signal(SIGINT, SIG_DFL);
}

} // namespace

void CliHost::installInterruptHandler() { std::signal(SIGINT, onInterrupt); }

void CliHost::beginBook(const std::string& outputFolder, const std::string& nameFile, const std::string& label) {
    m_outputFolder = outputFolder;
    m_nameFile = nameFile;
    m_label = label;
    m_go = true;
    m_shownPercent = -1;
}

void CliHost::endBook() {
    clearProgressLine();
    m_go = false;
}

void CliHost::setLGO(bool value) {
    m_go = value;
    if (!value) m_stopConfirmed = true;
}

bool CliHost::LSTOP() { return g_stopRequested != 0; }

void CliHost::setLSTOP(bool value) {
    if (g_stopRequested && !value) installInterruptHandler(); // the request was answered No
    g_stopRequested = value ? 1 : 0;
}

void CliHost::setProgressRange(Progress bar, uint32_t maximum) {
    if (bar == Progress::All) m_maximum = maximum;
}

void CliHost::setProgressPosition(Progress bar, uint32_t position) {
    if (!m_showProgress || bar != Progress::All || m_maximum == 0) return;
    const int percent = static_cast<int>(std::min<uint64_t>(100, uint64_t(position) * 100 / m_maximum));
    if (percent == m_shownPercent) return;
    m_shownPercent = percent;
    const int filled = percent * 30 / 100;
    std::fprintf(stderr, "\r[%s%s] %3d%% %s", std::string(filled, '#').c_str(), std::string(30 - filled, ' ').c_str(),
                 percent, m_label.c_str());
    std::fflush(stderr);
    m_progressVisible = true;
}

void CliHost::clearProgressLine() {
    if (!m_progressVisible) return;
    std::fprintf(stderr, "\r\033[K");
    m_progressVisible = false;
    m_shownPercent = -1;
}

platform::MessageButton CliHost::askOnTerminal(const platform::MessageBoxRequest& request) {
    const bool yesDefault = request.defaultButton == platform::MessageButton::Yes;
    for (;;) {
        std::fprintf(stderr, "%s ", yesDefault ? "[Y/n]" : "[y/N]");
        std::fflush(stderr);
        std::string line;
        if (!std::getline(std::cin, line)) return request.defaultButton;
        if (line.empty()) return request.defaultButton;
        if (line[0] == 'y' || line[0] == 'Y') return platform::MessageButton::Yes;
        if (line[0] == 'n' || line[0] == 'N') return platform::MessageButton::No;
    }
}

platform::MessageButton CliHost::present(const platform::MessageBoxRequest& request) {
    clearProgressLine();
    std::fprintf(stderr, "%s: %s\n", forTerminal(request.caption).c_str(), forTerminal(request.text).c_str());
    if (request.buttons.size() < 2) return request.defaultButton;
    platform::MessageButton answer = request.defaultButton;
    if (m_answer)
        answer = *m_answer ? platform::MessageButton::Yes : platform::MessageButton::No;
    else if (::isatty(STDIN_FILENO))
        answer = askOnTerminal(request);
    if (m_answer || !::isatty(STDIN_FILENO))
        std::fprintf(stderr, "%s\n", answer == platform::MessageButton::Yes ? "-> yes" : "-> no");
    return answer;
}
