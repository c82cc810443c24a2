#include "platform/MessageBox.h"

#include <cstdio>

namespace platform {
namespace {

// Without a GUI: say what the box said and take its default answer.
class StderrPresenter final : public MessagePresenter {
public:
    MessageButton present(const MessageBoxRequest& request) override {
        std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
        return request.defaultButton;
    }
};

StderrPresenter g_stderrPresenter;
MessagePresenter* g_defaultPresenter = &g_stderrPresenter;
MessagePresenter* g_presenter = nullptr; // an installed one; null means the default

} // namespace

void setDefaultMessagePresenter(MessagePresenter* presenter) {
    g_defaultPresenter = presenter ? presenter : &g_stderrPresenter;
}

MessagePresenter* setMessagePresenter(MessagePresenter* presenter) {
    MessagePresenter* previous = g_presenter;
    g_presenter = presenter;
    return previous;
}

MessageButton showMessageBox(const MessageBoxRequest& request) {
    return (g_presenter ? g_presenter : g_defaultPresenter)->present(request);
}

void errorBox(const Window* owner, const std::string& caption, const std::string& text) {
    showMessageBox({owner, caption, text, MessageIcon::Error, {MessageButton::Ok}, MessageButton::Ok});
}

void infoBox(const Window* owner, const std::string& caption, const std::string& text) {
    showMessageBox({owner, caption, text, MessageIcon::Information, {MessageButton::Ok}, MessageButton::Ok});
}

int MessageBoxA(const Window* owner, const std::string& text, const std::string& caption, unsigned style) {
    MessageBoxRequest request{owner, caption, text, MessageIcon::Information, {}, MessageButton::Ok};
    if (style & MB_ICONQUESTION) request.icon = MessageIcon::Question;
    if ((style & 0xF) == MB_YESNO) {
        request.buttons = {MessageButton::Yes, MessageButton::No};
        request.defaultButton = (style & MB_DEFBUTTON2) ? MessageButton::No : MessageButton::Yes;
    } else {
        request.buttons = {MessageButton::Ok};
    }
    switch (showMessageBox(request)) {
    case MessageButton::Yes:
        return IDYES;
    case MessageButton::No:
        return IDNO;
    default:
        return IDOK;
    }
}

} // namespace platform
