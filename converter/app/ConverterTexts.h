#pragma once
// The converter's own interface texts: the defaults that a language file may replace.
// Ids: 1xxxxx main dialog, 2xxxxx conversion page, 3xxxxx settings page, 4xxxxx messages and dialogs.

#include "lang/Lang.h"

// The 62 texts of the windows and messages, in registration order.
const TokenTable& converterDefaultTexts();
// Texts of the messages that guard against unsafe runs (an output file that is the book itself).
const TokenTable& converterExtraTexts();
// Registers all of them with AADD_LangDefault; called once per program run, after Orvane.
void DEFAULTLANG();
