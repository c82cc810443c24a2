#pragma once
// The application object: owns the one QApplication of a GUI program and lets pending window events
// run in the middle of long work (a conversion runs on the GUI thread and calls this after every tag).

namespace platform {

class Application {
public:
    // Creates the QApplication with a fixed font, so sizes in dialog units do not depend on the desktop.
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    int exec();

    // Processes all pending window events and returns. Cheap when called very often: the real work
    // runs at most once every few milliseconds; events are never dropped, only left queued until then.
    // Does nothing when no QApplication exists (command-line use).
    static void processPendingEvents();
    // The same without the throttle (tests, and before a modal wait).
    static void processPendingEventsNow();
};

// Sets the fixed application font; called by Application, and by tests that make their own QApplication.
void applyFixedFont();

} // namespace platform
