#include "platform/Text.h"

#include <QString>
#include <gtest/gtest.h>

using platform::displayText;

TEST(Text, DisplayDecodesUtf8AndFallsBackToWindows1251PerByte) {
    EXPECT_EQ(displayText("Ошибка"), QString::fromUtf8("Ошибка"));
    // "Ошибка" in Windows-1251
    EXPECT_EQ(displayText("\xCE\xF8\xE8\xE1\xEA\xE0"), QString::fromUtf8("Ошибка"));
    // Mixed: valid UTF-8 stays UTF-8, the stray bytes are Windows-1251 ("Ё", "№").
    EXPECT_EQ(displayText("Я \xA8 \xB9 ok"), QString::fromUtf8("Я Ё № ok"));
    // Overlong and truncated sequences are not UTF-8.
    EXPECT_EQ(displayText("\xC0\xAF"), QString::fromUtf8("АЇ"));
    EXPECT_EQ(displayText(std::string("a\0b", 3)).size(), 3);
}

TEST(Text, OemToAnsiConvertsCp866) {
    EXPECT_EQ(platform::oemToAnsi("\x8F\xE0\xA8\xA2\xA5\xE2 abc"), "Привет abc");
}
