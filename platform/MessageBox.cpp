#include "platform/MessageBox.h"

#include "platform/Text.h"
#include "platform/Window.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace platform {
namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButton toQtButton(MessageButton button) {
    switch (button) {
    case MessageButton::Ok:
        return QMessageBox::Ok;
    case MessageButton::Yes:
        return QMessageBox::Yes;
    case MessageButton::No:
        return QMessageBox::No;
    case MessageButton::None:
        break;
    }
    return QMessageBox::NoButton;
}

class DefaultPresenter final : public MessagePresenter {
public:
    MessageButton present(const MessageBoxRequest& request) override {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
            // No GUI: say what the box said and take its default answer.
            std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
            return request.defaultButton;
        }
        QWidget* parent = request.owner ? request.owner->widget() : nullptr;
        QMessageBox box(toQtIcon(request.icon), displayText(request.caption), displayText(request.text),
                        QMessageBox::NoButton, parent);
        for (MessageButton button : request.buttons) {
            QPushButton* added = box.addButton(toQtButton(button));
            if (button == request.defaultButton) box.setDefaultButton(added);
        }
        box.exec();
        switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Yes:
            return MessageButton::Yes;
        case QMessageBox::No:
            return MessageButton::No;
        case QMessageBox::Ok:
            return MessageButton::Ok;
        default:
            // Closed by Escape or the window's close button: a yes/no box answers No.
            return request.buttons.size() == 1 ? request.buttons.front() : MessageButton::No;
        }
    }
};

DefaultPresenter g_defaultPresenter;
MessagePresenter* g_presenter = &g_defaultPresenter;

} // namespace

MessagePresenter* setMessagePresenter(MessagePresenter* presenter) {
    MessagePresenter* previous = g_presenter == &g_defaultPresenter ? nullptr : g_presenter;
    g_presenter = presenter ? presenter : &g_defaultPresenter;
    return previous;
}

MessageButton showMessageBox(const MessageBoxRequest& request) { return g_presenter->present(request); }

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
