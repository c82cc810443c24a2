#include "platform/qt/QtMessageBox.h"

#include "platform/MessageBox.h"
#include "platform/Window.h"
#include "platform/qt/QtText.h"

#include <QMessageBox>
#include <QPushButton>

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

class QtPresenter final : public MessagePresenter {
public:
    MessageButton present(const MessageBoxRequest& request) override {
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

QtPresenter g_qtPresenter;

} // namespace

void useQtMessageBoxes(bool use) { setDefaultMessagePresenter(use ? &g_qtPresenter : nullptr); }

} // namespace platform
