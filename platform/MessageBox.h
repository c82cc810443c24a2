#pragma once
// Modal message boxes. Every box goes through one presenter: the default one (a line on stderr
// answered with the default button, or Qt's message box once a GUI application object exists), or
// one that tests and the command-line front end install to answer and record every box.

#include <string>
#include <vector>

namespace platform {

class Window;

enum class MessageIcon { Error, Information, Question };
enum class MessageButton { None, Ok, Yes, No };

struct MessageBoxRequest {
    const Window* owner = nullptr;
    std::string caption; // 8-bit texts, shown through displayText()
    std::string text;
    MessageIcon icon = MessageIcon::Information;
    std::vector<MessageButton> buttons;
    MessageButton defaultButton = MessageButton::Ok;
};

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Shows the box modally and returns the button that closed it.
    virtual MessageButton present(const MessageBoxRequest& request) = 0;
};

// Installs a presenter (not owned); nullptr restores the default one. Returns the previous one.
MessagePresenter* setMessagePresenter(MessagePresenter* presenter);
// Replaces the default presenter (the GUI application object installs Qt's); nullptr restores stderr.
void setDefaultMessagePresenter(MessagePresenter* presenter);

MessageButton showMessageBox(const MessageBoxRequest& request);

// An error box (error icon, OK) and an information box (information icon, OK).
void errorBox(const Window* owner, const std::string& caption, const std::string& text);
void infoBox(const Window* owner, const std::string& caption, const std::string& text);

// MessageBoxA-style box: the style bits below select buttons, icon and default button; the result is
// one of the ID values.
enum : unsigned {
    MB_OK = 0x0,
    MB_YESNO = 0x4,
    MB_ICONQUESTION = 0x20,
    MB_DEFBUTTON2 = 0x100,
};
enum : int { IDOK = 1, IDYES = 6, IDNO = 7 };
int MessageBoxA(const Window* owner, const std::string& text, const std::string& caption, unsigned style);

} // namespace platform
