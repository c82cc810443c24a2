#pragma once
// A message presenter for tests: records every box and answers from a queue of planned answers, or
// with the box's default button when nothing is planned. Installs itself for its lifetime.

#include "platform/MessageBox.h"

#include <deque>
#include <string>
#include <vector>

namespace testsupport {

class RecordingPresenter final : public platform::MessagePresenter {
public:
    RecordingPresenter() { m_previous = platform::setMessagePresenter(this); }
    ~RecordingPresenter() override { platform::setMessagePresenter(m_previous); }

    platform::MessageButton present(const platform::MessageBoxRequest& request) override {
        boxes.push_back(request);
        if (answers.empty()) return request.defaultButton;
        const platform::MessageButton answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void answer(platform::MessageButton button) { answers.push_back(button); }
    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const auto& box : boxes) result.push_back(box.text);
        return result;
    }

    std::vector<platform::MessageBoxRequest> boxes;
    std::deque<platform::MessageButton> answers;

private:
    platform::MessagePresenter* m_previous = nullptr;
};

} // namespace testsupport
