#include "lang/LangFiles.h"
#include "platform/Text.h"
#include "platform/testing/ProgramFolderOverride.h"
#include "ui/Messages.h"

#include "support/RecordingPresenter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

class LangFiles : public ::testing::Test {
protected:
    void SetUp() override {
        Orvane();
        aLang.clear();
        aLangSet.clear();
        platform::testing::setProgramFolder(dir.folder());
    }
    void TearDown() override {
        platform::testing::setProgramFolder("");
        aLang.clear();
        aLangSet.clear();
        SelectLanguage(""); // back to the built-in texts for the tests that follow
    }

    testsupport::TempDir dir;
};

TEST_F(LangFiles, NoFilesSelectsTheBuiltInLanguage) {
    EXPECT_EQ(ReadLngFile(""), 1);
    ASSERT_EQ(aLang.size(), 1u);
    EXPECT_EQ(aLang[0].name, "По умолчанию (Default)");
    EXPECT_EQ(aLang[0].code, "***");
    EXPECT_EQ(GetCurentKodLanguage(), "***");
    EXPECT_EQ(&GetListLanguage(), &aLang);
    // The built-in entry is the default table itself: pairs added later are seen through it.
    AADD_LangDefault({"100001", "Added later"});
    EXPECT_EQ(aLangSet[0]->back().second, "Added later");
}

TEST_F(LangFiles, LineRules) {
    dir.write("eng.lng", "; comment line\r\n"
                         "// another\r\n"
                         "   \r\n"
                         "  language = ENG , English , extra\r\n"
                         "000020 = Error ; remark\r\n"
                         "000019=Info // remark\r\n"
                         "000004 =\r\n"
                         "000024 = Write = ignored\r\n"
                         "justanid\n"
                         "000020 = Second definition\r\n"
                         "000026=Read");
    EXPECT_EQ(ReadLngFile("ENG"), 2);
    ASSERT_EQ(aLang.size(), 2u);
    EXPECT_EQ(aLang[1].code, "ENG");
    EXPECT_EQ(aLang[1].name, "English");
    const TokenTable expected{{"000020", "Error"},   {"000019", "Info"}, {"000004", ""},
                              {"000024", "Write"},   {"justanid", ""},   {"000020", "Second definition"},
                              {"000026", "Read"}};
    EXPECT_EQ(*aLangSet[1], expected);
    EXPECT_EQ(GetLangToken("000020"), "Error"); // first pair of an id counts
    EXPECT_EQ(GetLangToken("000004"), "");      // empty text, no fallback
    EXPECT_EQ(GetLangToken("000021", "x"), "Ошибка открытия x"); // undefined: default
}

TEST_F(LangFiles, NamelessFilesAndHeaderWithoutName) {
    dir.write("a.lng", "000020=A\r\n");
    dir.write("b.LNG", "LANGUAGE=XX\r\n");
    dir.write("c.lng", "000020=C\r\n");
    EXPECT_EQ(ReadLngFile("003"), 4);
    ASSERT_EQ(aLang.size(), 4u);
    EXPECT_EQ(aLang[1].name, "Язык без названия (No name language) №1");
    EXPECT_EQ(aLang[1].code, "001");
    EXPECT_EQ(aLang[2].code, "XX");
    EXPECT_EQ(aLang[2].name, "");
    EXPECT_EQ(aLang[3].code, "003");
    EXPECT_EQ(GetLangToken("000020"), "C");
}

TEST_F(LangFiles, DuplicateCodesAndPrefixSelection) {
    dir.write("1.lng", "LANGUAGE=ENG,First\r\n000020=first\r\n");
    dir.write("2.lng", "LANGUAGE=ENG,Second\r\n000020=second\r\n");
    EXPECT_EQ(ReadLngFile("ENG"), 3); // the last file with the code
    EXPECT_EQ(GetLangToken("000020"), "second");
    EXPECT_EQ(SelectLanguage("EN"), 2); // the first code that begins with it
    EXPECT_EQ(GetLangToken("000020"), "first");
    EXPECT_EQ(GetCurentKodLanguage(), "EN");
    EXPECT_EQ(SelectLanguage("ENGLISH"), 1); // a shorter code does not match
    EXPECT_EQ(GetLangToken("000020"), "Ошибка");
    EXPECT_EQ(GetCurentKodLanguage(), "ENGLISH");
    EXPECT_EQ(SelectLanguage("***"), 1);
    EXPECT_EQ(SelectLanguage(""), 1);
}

TEST_F(LangFiles, EmptyCodeAndStarCodeSelectTheBuiltInUnlessAFileDeclaresThem) {
    dir.write("x.lng", "LANGUAGE=,Nameless code\r\n");
    EXPECT_EQ(ReadLngFile(""), 2);
    aLang.clear();
    aLangSet.clear();
    EXPECT_EQ(ReadLngFile("***"), 1);
}

TEST_F(LangFiles, Windows1251AndUtf8FilesBothShowRight) {
    dir.write("ru1251.lng", "LANGUAGE=RU1251,\xD0\xF3\xF1\xF1\xEA\xE8\xE9\r\n000020=\xCE\xF8\xE8\xE1\xEA\xE0!\r\n");
    dir.write("ruutf8.lng", "LANGUAGE=RUUTF8,Русский\r\n000020=Ошибка!\r\n");
    ReadLngFile("RU1251");
    testsupport::RecordingPresenter presenter;
    ErrMsg("text && stays");
    SelectLanguage("RUUTF8");
    ErrMsg("second");
    ASSERT_EQ(presenter.boxes.size(), 2u);
    EXPECT_EQ(platform::displayUtf8(presenter.boxes[0].caption), "Ошибка!");
    EXPECT_EQ(presenter.boxes[0].text, "text && stays");
    EXPECT_EQ(platform::displayUtf8(presenter.boxes[1].caption), "Ошибка!");
    EXPECT_EQ(platform::displayUtf8(aLang[1].name), "Русский");
    EXPECT_EQ(platform::displayUtf8(aLang[2].name), "Русский");
}

TEST_F(LangFiles, ReadOnlyFilesAreRead) {
    const std::string path = dir.write("ro.lng", "LANGUAGE=RO,Read only\r\n000020=RO error\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    testsupport::RecordingPresenter presenter;
    EXPECT_EQ(ReadLngFile("RO"), 2);
    EXPECT_TRUE(presenter.boxes.empty());
    EXPECT_EQ(GetLangToken("000020"), "RO error");
}
