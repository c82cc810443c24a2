#include "platform/Window.h"

namespace platform {

Window::~Window() = default;

} // namespace platform
