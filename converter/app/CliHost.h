#pragma once
// The command-line front end's side of a run: its options, output names, stop requests (Ctrl-C),
// a progress bar on a terminal, and message boxes printed to stderr and answered from the command
// line, a terminal, or their default button.

#include "engine/RunHost.h"
#include "platform/MessageBox.h"

#include <atomic>
#include <optional>
#include <string>

class CliHost final : public RunHost, public platform::MessagePresenter {
public:
    CliHost(ConversionOptions options, bool showProgress, std::optional<bool> answer);
    ~CliHost() override;

    // Starts one book: its output folder (with '/') and name, and the label of its progress line.
    void beginBook(const std::string& outputFolder, const std::string& nameFile, const std::string& label);
    void endBook();
    bool stopConfirmed() const { return m_stopConfirmed; }

    // Ctrl-C requests a stop, as the stop button does. While that request waits for its answer a second
    // Ctrl-C ends the program; after the answer No the next Ctrl-C asks again.
    static void installInterruptHandler();

    ConversionOptions options() override { return m_options; }
    std::string COUTDIR() override { return m_outputFolder; }
    std::string CNAMEFILE() override { return m_nameFile; }
    bool LGO() override { return m_go; }
    void setLGO(bool value) override;
    bool LSTOP() override;
    void setLSTOP(bool value) override;
    void ENABLECONTROL() override {}
    void setProgressRange(Progress bar, uint32_t maximum) override;
    void setProgressPosition(Progress bar, uint32_t position) override;
    void setStageCaption(const std::string&) override {}
    void setStartButtonCaption(const std::string&) override {}
    void setBackgroundChecked(bool checked) override { m_options.lBackground = checked; }
    void processPendingEvents() override {}

    platform::MessageButton present(const platform::MessageBoxRequest& request) override;

private:
    void clearProgressLine();
    platform::MessageButton askOnTerminal(const platform::MessageBoxRequest& request);

    ConversionOptions m_options;
    bool m_showProgress;
    std::optional<bool> m_answer;
    std::string m_outputFolder;
    std::string m_nameFile;
    std::string m_label;
    bool m_go = false;
    bool m_stopConfirmed = false;
    uint32_t m_maximum = 0;
    int m_shownPercent = -1;
    bool m_progressVisible = false;
    platform::MessagePresenter* m_previousPresenter = nullptr;
};
