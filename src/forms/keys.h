#pragma once

// The keyboard for the windowless commands (labels and images that take clicks): a shortcut on
// their window and a focus stop that Tab reaches. Either clicks the control only when a click
// with the mouse could reach it: the control shown and enabled, on a shown, enabled window.

#include <QKeySequence>
#include <QWidget>
#include <functional>

class QAction;

namespace forms {

class Control;

// Whether a click on the control would reach it now.
bool clickable(const Control &control);
// Clicks the control as the mouse would, when it is clickable; false when nothing happened.
bool clickFromKeyboard(Control *control);

// A shortcut on the window (while it is active) that clicks the control `target` returns; a
// null target does nothing.
QAction *addShortcut(QWidget &window, const QKeySequence &keys,
                     const std::function<Control *()> &target);
QAction *addShortcut(QWidget &window, const QKeySequence &keys, Control *control);

// Lets Tab reach a windowless control: an invisible widget over it, after the widgets made
// before it in the order of Tab. With the focus it draws a dotted focus mark around the control
// (once the keyboard has moved the focus or pressed a key), and Space or Enter clicks it. Tab
// passes over a control that is not clickable.
void addFocusStop(Control *control);

// The focus stop of a windowless control.
class FocusStop : public QWidget
{
    Q_OBJECT
public:
    explicit FocusStop(Control *control);

    Control *control() const { return m_control; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    Control *m_control;
    // Whether the focus came by a key: a window that gives its first stop the focus as it
    // opens shows no mark until the keyboard is used.
    bool m_byKey = false;
};

} // namespace forms
