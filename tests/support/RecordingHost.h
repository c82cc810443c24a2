#pragma once
// A run host for tests: fixed options and output names, a scripted stop request, and a record of the
// progress and caption calls.

#include "engine/RunHost.h"

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

class RecordingHost final : public RunHost {
public:
    ConversionOptions runOptions;
    std::string outputFolder; // with trailing '/'
    std::string nameFile;
    bool go = true;
    bool stop = false;
    int enableControlCalls = 0;
    bool backgroundChecked = true;
    std::vector<std::string> stageCaptions;
    std::vector<std::string> startButtonCaptions;
    uint32_t allMaximum = 0, stageMaximum = 0;
    uint32_t lastAllPosition = 0;
    // Called for every event pass (after every tag and picture group); tests use it to press "stop".
    std::function<void()> onEvents;

    ConversionOptions options() override { return runOptions; }
    std::string COUTDIR() override { return outputFolder; }
    std::string CNAMEFILE() override { return nameFile; }
    bool LGO() override { return go; }
    void setLGO(bool value) override { go = value; }
    bool LSTOP() override { return stop; }
    void setLSTOP(bool value) override { stop = value; }
    void ENABLECONTROL() override { ++enableControlCalls; }
    void setProgressRange(Progress bar, uint32_t maximum) override {
        (bar == Progress::All ? allMaximum : stageMaximum) = maximum;
    }
    void setProgressPosition(Progress bar, uint32_t position) override {
        if (bar == Progress::All) lastAllPosition = position;
    }
    void setStageCaption(const std::string& caption) override { stageCaptions.push_back(caption); }
    void setStartButtonCaption(const std::string& caption) override { startButtonCaptions.push_back(caption); }
    void setBackgroundChecked(bool checked) override { backgroundChecked = checked; }
    void processPendingEvents() override {
        if (onEvents) onEvents();
    }
};

} // namespace testsupport
