#include "ui/Messages.h"
#include "lang/Lang.h"
#include "platform/Window.h"

#include "support/RecordingPresenter.h"

#include <gtest/gtest.h>

using platform::MessageButton;

TEST(Messages, BoxesAreOwnedByTheMainWindowAndCaptionedByToken) {
    Orvane();
    testsupport::RecordingPresenter presenter;
    EXPECT_EQ(GetMainWindow(), nullptr);
    platform::Window window;
    EXPECT_TRUE(SetMainWindow(&window));
    EXPECT_EQ(GetMainWindow(), &window);

    EXPECT_FALSE(ErrMsg("error && text"));
    EXPECT_FALSE(IMsg("info"));
    EXPECT_FALSE(ASkYN("default no?"));   // Enter: No
    EXPECT_TRUE(ASkYN("default yes?", 1)); // Enter: Yes
    presenter.answer(MessageButton::Yes);
    EXPECT_TRUE(ASkYN("answered yes?", 5));

    ASSERT_EQ(presenter.boxes.size(), 5u);
    for (const auto& box : presenter.boxes) EXPECT_EQ(box.owner, &window);
    EXPECT_EQ(presenter.boxes[0].caption, "Ошибка");
    EXPECT_EQ(presenter.boxes[0].text, "error && text");
    EXPECT_EQ(presenter.boxes[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(presenter.boxes[1].caption, "Информация");
    EXPECT_EQ(presenter.boxes[1].icon, platform::MessageIcon::Information);
    EXPECT_EQ(presenter.boxes[2].caption, "Запрос");
    EXPECT_EQ(presenter.boxes[2].defaultButton, MessageButton::No);
    EXPECT_EQ(presenter.boxes[3].defaultButton, MessageButton::Yes);
    EXPECT_EQ(presenter.boxes[4].defaultButton, MessageButton::No);
    SetMainWindow(nullptr);
}
