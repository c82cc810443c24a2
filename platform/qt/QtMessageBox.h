#pragma once
// Qt's message boxes as the default presenter of every message box (see platform/MessageBox.h).

namespace platform {

// Makes Qt's QMessageBox the default presenter (true) or the stderr one again (false). The GUI
// application object does this for its lifetime.
void useQtMessageBoxes(bool use);

} // namespace platform
