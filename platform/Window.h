#pragma once
// A window object of the platform layer: what other components keep as "a window" (the owner of a
// message box, the registered main window). Dialog windows derive from it.

class QWidget;

namespace platform {

class Window {
public:
    explicit Window(QWidget* widget = nullptr) : m_widget(widget) {}
    virtual ~Window();

    // The Qt widget behind the window; may be null for a window that has no widget (yet).
    QWidget* widget() const { return m_widget; }

protected:
    void setWidget(QWidget* widget) { m_widget = widget; }

private:
    QWidget* m_widget;
};

} // namespace platform
