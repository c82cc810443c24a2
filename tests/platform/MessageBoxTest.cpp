#include "platform/MessageBox.h"

#include "support/RecordingPresenter.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(MessageBox, MessageBoxAMapsStyleToButtonsAndDefault) {
    testsupport::RecordingPresenter presenter;
    EXPECT_EQ(MessageBoxA(nullptr, "q?", "cap", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "q?", "cap", MB_YESNO | MB_ICONQUESTION), IDYES);
    presenter.answer(MessageButton::Yes);
    EXPECT_EQ(MessageBoxA(nullptr, "q?", "cap", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), IDYES);
    ASSERT_EQ(presenter.boxes.size(), 3u);
    const auto& box = presenter.boxes[0];
    EXPECT_EQ(box.caption, "cap");
    EXPECT_EQ(box.icon, MessageIcon::Question);
    EXPECT_EQ(box.buttons, (std::vector<MessageButton>{MessageButton::Yes, MessageButton::No}));
    EXPECT_EQ(box.defaultButton, MessageButton::No);
    EXPECT_EQ(presenter.boxes[1].defaultButton, MessageButton::Yes);
}

TEST(MessageBox, ErrorAndInformationBoxes) {
    testsupport::RecordingPresenter presenter;
    errorBox(nullptr, "E", "bad");
    infoBox(nullptr, "I", "fine");
    ASSERT_EQ(presenter.boxes.size(), 2u);
    EXPECT_EQ(presenter.boxes[0].icon, MessageIcon::Error);
    EXPECT_EQ(presenter.boxes[0].buttons, std::vector<MessageButton>{MessageButton::Ok});
    EXPECT_EQ(presenter.boxes[1].icon, MessageIcon::Information);
    EXPECT_EQ(presenter.boxes[1].text, "fine");
}
