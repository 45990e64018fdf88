#include "forms/keys.h"

#include "forms/control.h"

#include <QAccessible>
#include <QAction>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace forms {

bool clickable(const Control &control)
{
    const QWidget *container = control.container();
    return control.isVisible() && control.isEnabled() && container && container->isVisible() &&
           container->isEnabled();
}

bool clickFromKeyboard(Control *control)
{
    if (!control || !clickable(*control))
        return false;
    emit control->clicked();
    return true;
}

QAction *addShortcut(QWidget &window, const QKeySequence &keys,
                     const std::function<Control *()> &target)
{
    auto *action = new QAction(&window);
    action->setShortcut(keys);
    QObject::connect(action, &QAction::triggered, &window,
                     [target] { clickFromKeyboard(target()); });
    window.addAction(action);
    return action;
}

QAction *addShortcut(QWidget &window, const QKeySequence &keys, Control *control)
{
    const QPointer<Control> target(control);
    return addShortcut(window, keys, [target] { return target.data(); });
}

void addFocusStop(Control *control)
{
    new FocusStop(control);
}

FocusStop::FocusStop(Control *control) : QWidget(control->container()), m_control(control)
{
    setObjectName(control->index() == NoIndex
                      ? control->name()
                      : QStringLiteral("%1(%2)").arg(control->name()).arg(control->index()));
    setFocusPolicy(Qt::TabFocus);
    // The clicks of the mouse go to the window under it, which hands them to the control.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(control->geometry());
    show();
}

// Without the focus nothing is drawn: the window looks as it does without the stop. The mark
// is dotted in black and white by turns, so that it stands out on the dark tab bars as well as
// on the light panels.
void FocusStop::paintEvent(QPaintEvent *)
{
    if (!hasFocus() || !m_byKey || !clickable(*m_control))
        return;
    // One pixel wide at 100 %, wider as the window is drawn larger.
    const int width = std::max(1, static_cast<int>(std::lround(m_control->zoom())));
    QPainter painter(this);
    const QRectF edge =
        width == 1 ? QRectF(rect().adjusted(0, 0, -1, -1))
                   : QRectF(rect()).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0);
    painter.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::FlatCap));
    painter.drawRect(edge);
    painter.setPen(QPen(Qt::black, width, Qt::DotLine, Qt::FlatCap));
    painter.drawRect(edge);
}

void FocusStop::keyPressEvent(QKeyEvent *event)
{
    if (!m_byKey) {
        m_byKey = true;
        update();
    }
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            clickFromKeyboard(m_control);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void FocusStop::focusInEvent(QFocusEvent *event)
{
    // A hidden or disabled command is passed over, in the direction Tab went; on a window whose
    // commands are all passed over the focus stays where the round ends.
    static int passing = 0;
    if (!clickable(*m_control) && passing < 64) {
        ++passing;
        if (event->reason() == Qt::BacktabFocusReason)
            focusPreviousChild();
        else if (event->reason() == Qt::TabFocusReason)
            focusNextChild();
        --passing;
        return;
    }
    // Coming back to the window keeps the mark as it was.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        m_byKey = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                  reason == Qt::ShortcutFocusReason;
    setGeometry(m_control->geometry());
    update();
    // A screen reader reads the command, not its stop.
    QAccessibleEvent focus(m_control, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

void FocusStop::focusOutEvent(QFocusEvent *)
{
    update();
}

} // namespace forms
