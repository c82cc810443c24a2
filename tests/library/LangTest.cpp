#include "lang/Lang.h"
#include "lang/LangFiles.h"
#include "lang/TokenString.h"

#include <gtest/gtest.h>

class Lang : public ::testing::Test {
protected:
    void SetUp() override {
        Orvane();
        aLang.clear();
        aLangSet.clear();
        SelectLanguage("");
    }
};

TEST_F(Lang, BuiltInTextsAndPlaceholders) {
    EXPECT_EQ(GetLangToken("000020"), "Ошибка");
    EXPECT_EQ(GetLangToken("000017", "a.txt"), "Файл a.txt не найден.");
    EXPECT_EQ(GetLangToken("000017", ""), "Файл && не найден.");    // blank argument: unchanged
    EXPECT_EQ(GetLangToken("000017", " \r\n"), "Файл && не найден."); // blank argument: unchanged
    EXPECT_EQ(GetLangToken("0000"), "");                             // ids match exactly, not by prefix
    EXPECT_EQ(GetLangToken("999999", "x"), "");
}

TEST_F(Lang, ListArgumentsFillPlaceholdersFromTheStartEachTime) {
    AADD_LangDefault({"400014", "Element && closes &&."});
    EXPECT_EQ(GetLangToken("400014", TextList{"\"sec\"", "\"section\""}), "Element \"sec\" closes \"section\".");
    // An argument holding "&&" is itself filled by the next element.
    EXPECT_EQ(GetLangToken("400014", TextList{"&&", "x", "y"}), "Element x closes y.");
    EXPECT_EQ(GetLangToken("400014", TextList{"one"}), "Element one closes &&.");
    EXPECT_EQ(GetLangToken("400014", TextList{}), "Element && closes &&.");
}

TEST_F(Lang, CurrentTableWinsEvenWithAnEmptyText) {
    auto current = std::make_shared<TokenTable>(TokenTable{{"000020", "Error"}, {"000019", ""}, {"000020", "later"}});
    aLang = {{"Default", "***"}, {"Test", "TST"}};
    aLangSet = {nullptr, current};
    EXPECT_EQ(SelectLanguage("TST"), 2);
    EXPECT_EQ(GetLangToken("000020"), "Error");
    EXPECT_EQ(GetLangToken("000019"), "");
    EXPECT_EQ(GetLangToken("000004"), "Запрос"); // falls back to the default table
}

TEST_F(Lang, DefaultLangDropsAddedPairsAndCodeIsStoredAlone) {
    AADD_LangDefault({"100001", "Title"});
    EXPECT_EQ(GetLangToken("100001"), "Title");
    DefaultLang();
    EXPECT_EQ(GetLangToken("100001"), "");
    EXPECT_EQ(PutCurentKodLanguage("ENG"), "ENG");
    EXPECT_EQ(GetCurentKodLanguage(), "ENG");
}

TEST(TokenString, FieldsAndCounts) {
    struct Case {
        const char* text;
        const char* separator;
        int index;
        const char* field;
        int count;
    };
    const Case cases[] = {
        {"  whole text ", ";", 1, "whole text", 1},
        {"whole", ";", 2, "", 1},
        {"a;;b", ";", 2, "", 3},
        {";a", ";", 1, "", 2},
        {"a;", ";", 2, "", 2},
        {"a;   ;b", ";", 2, "", 3},
        {"   ", ";", 1, "", 0},
        {"", ";", 1, "", 0},
        {"a;b", ";", 0, "", 2},
        {"a;b", ";", 3, "", 2},
        {"a ::  b :: c", "::", 2, "b", 3},
        {"a:::b", "::", 2, ":b", 2},
        {" id = text = more ", "=", 2, "text", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Token(c.text, c.separator, c.index), c.field);
        EXPECT_EQ(NumToken(c.text, c.separator), c.count);
    }
}
