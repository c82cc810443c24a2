#include "ui/Messages.h"

#include "lang/Lang.h"
#include "platform/MessageBox.h"

namespace {
platform::Window* g_mainWindow = nullptr;
}

bool ErrMsg(const std::string& text) {
    platform::errorBox(g_mainWindow, GetLangToken("000020"), text);
    return false;
}

bool IMsg(const std::string& text) {
    platform::infoBox(g_mainWindow, GetLangToken("000019"), text);
    return false;
}

bool ASkYN(const std::string& question, int32_t defaultButton) {
    unsigned style = platform::MB_YESNO | platform::MB_ICONQUESTION;
    if (defaultButton != 1) style |= platform::MB_DEFBUTTON2;
    return platform::MessageBoxA(g_mainWindow, question, GetLangToken("000004"), style) == platform::IDYES;
}

bool SetMainWindow(platform::Window* window) {
    g_mainWindow = window;
    return true;
}

platform::Window* GetMainWindow() { return g_mainWindow; }
