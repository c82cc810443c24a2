#include "platform/qt/Application.h"

#include "platform/qt/QtMessageBox.h"

#include <QApplication>
#include <QFont>

#include <chrono>
#include <memory>

namespace platform {
namespace {

std::unique_ptr<QApplication> g_app;

// QCoreApplication::processEvents costs about 2 microseconds even with nothing pending; a run calls
// this after every tag, so the real call is made at most once per interval.
constexpr auto kEventInterval = std::chrono::milliseconds(4);
std::chrono::steady_clock::time_point g_lastProcessed{};

} // namespace

void applyFixedFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setStyleHint(QFont::SansSerif);
    QApplication::setFont(font);
}

Application::Application(int& argc, char** argv) {
    g_app = std::make_unique<QApplication>(argc, argv);
    applyFixedFont();
    useQtMessageBoxes(true);
}

Application::~Application() {
    useQtMessageBoxes(false);
    g_app.reset();
}

int Application::exec() { return QApplication::exec(); }

void Application::processPendingEvents() {
    if (!QCoreApplication::instance()) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - g_lastProcessed < kEventInterval) return;
    g_lastProcessed = now;
    QCoreApplication::processEvents();
}

void Application::processPendingEventsNow() {
    if (!QCoreApplication::instance()) return;
    g_lastProcessed = std::chrono::steady_clock::now();
    QCoreApplication::processEvents();
}

} // namespace platform
