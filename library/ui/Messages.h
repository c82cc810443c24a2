#pragma once
// Message windows and the main-window registry. Every error, information and yes/no question of the
// system is a modal box owned by the registered main window, with its caption looked up by token at
// each call (so a language switch applies to the next box). The message text is shown as given.

#include "KelmoraExport.h"

#include <cstdint>
#include <string>

namespace platform {
class Window;
}

// Error box (error icon, OK, caption "000020"). Always false.
KELMORA_EXPORT bool ErrMsg(const std::string& text);
// Information box (information icon, OK, caption "000019"). Always false.
KELMORA_EXPORT bool IMsg(const std::string& text);
// Yes/No question (caption "000004"). No is the default button unless defaultButton is 1, which makes
// Yes the default. True when Yes was chosen.
KELMORA_EXPORT bool ASkYN(const std::string& question, int32_t defaultButton = 0);

// Registers the owner of every message box (not owned by the library). Always true.
KELMORA_EXPORT bool SetMainWindow(platform::Window* window);
KELMORA_EXPORT platform::Window* GetMainWindow();
