#include "platform/Text.h"
#include "platform/qt/QtText.h"

#include <QString>
#include <gtest/gtest.h>

using platform::displayUtf8;

TEST(Text, DisplayDecodesUtf8AndFallsBackToWindows1251PerByte) {
    EXPECT_EQ(displayUtf8("Ошибка"), "Ошибка");
    // "Ошибка" in Windows-1251
    EXPECT_EQ(displayUtf8("\xCE\xF8\xE8\xE1\xEA\xE0"), "Ошибка");
    // Mixed: valid UTF-8 stays UTF-8, the stray bytes are Windows-1251 ("Ё", "№").
    EXPECT_EQ(displayUtf8("Я \xA8 \xB9 ok"), "Я Ё № ok");
    // Overlong and truncated sequences are not UTF-8.
    EXPECT_EQ(displayUtf8("\xC0\xAF"), "АЇ");
    EXPECT_EQ(displayUtf8("\xE2\x82"), "в‚");
    EXPECT_EQ(displayUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
    // The Qt form for widgets decodes the same way.
    EXPECT_EQ(platform::displayText("\xCE\xF8\xE8\xE1\xEA\xE0"), QString::fromUtf8("Ошибка"));
}

TEST(Text, OemToAnsiConvertsCp866) {
    EXPECT_EQ(platform::oemToAnsi("\x8F\xE0\xA8\xA2\xA5\xE2 abc"), "Привет abc");
}
