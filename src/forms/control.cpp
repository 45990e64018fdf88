#include "forms/control.h"

#include "forms/widgets.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace forms {

Control::Control(const ControlDef &def, QWidget *widget, QObject *parent)
    : QObject(parent), m_def(def), m_widget(widget), m_left(def.rect.left), m_top(def.rect.top),
      m_tag(QString::fromUtf8(def.tag)), m_charset(def.font.charset)
{
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        connect(edit, &QLineEdit::textChanged, this, &Control::changed);
        connect(edit, &QLineEdit::returnPressed, this, &Control::returnPressed);
    } else if (auto *edit = qobject_cast<QPlainTextEdit *>(widget)) {
        connect(edit, &QPlainTextEdit::textChanged, this, &Control::changed);
    } else if (auto *button = qobject_cast<QPushButton *>(widget)) {
        connect(button, &QPushButton::clicked, this, &Control::clicked);
    }
    widget->installEventFilter(this);
}

QString Control::name() const
{
    return QString::fromLatin1(m_def.name);
}

QString Control::caption() const
{
    if (auto *label = qobject_cast<LabelWidget *>(m_widget))
        return label->text();
    if (auto *edit = qobject_cast<QLineEdit *>(m_widget))
        return edit->text();
    if (auto *edit = qobject_cast<QPlainTextEdit *>(m_widget))
        return edit->toPlainText();
    if (auto *button = qobject_cast<QPushButton *>(m_widget))
        return button->text();
    return m_widget->property("caption").toString();
}

void Control::setCaption(const QString &caption)
{
    if (auto *label = qobject_cast<LabelWidget *>(m_widget))
        label->setText(caption);
    else if (auto *edit = qobject_cast<QLineEdit *>(m_widget))
        edit->setText(caption);
    else if (auto *edit = qobject_cast<QPlainTextEdit *>(m_widget))
        edit->setPlainText(caption);
    else if (auto *button = qobject_cast<QPushButton *>(m_widget))
        button->setText(caption);
    else
        m_widget->setProperty("caption", caption);
}

bool Control::isVisible() const
{
    return !m_widget->isHidden();
}

void Control::setVisible(bool visible)
{
    m_widget->setVisible(visible);
}

void Control::setEnabled(bool enabled)
{
    m_enabled = enabled;
    m_widget->setEnabled(enabled);
}

QColor Control::foreColor() const
{
    if (auto *label = qobject_cast<LabelWidget *>(m_widget))
        return label->foreColor();
    return m_widget->palette().color(QPalette::Active, m_widget->foregroundRole());
}

void Control::setForeColor(const QColor &colour)
{
    if (auto *label = qobject_cast<LabelWidget *>(m_widget)) {
        label->setForeColor(colour);
        return;
    }
    QPalette palette = m_widget->palette();
    palette.setColor(QPalette::Active, m_widget->foregroundRole(), colour);
    palette.setColor(QPalette::Inactive, m_widget->foregroundRole(), colour);
    m_widget->setPalette(palette);
}

void Control::setTop(int twips)
{
    m_top = twips;
    if (m_def.kind != Kind::Line)
        m_widget->move(m_widget->x(), px(twips));
}

void Control::setFocus()
{
    m_widget->setFocus(Qt::OtherFocusReason);
}

bool Control::hasFocus() const
{
    return m_widget->hasFocus();
}

bool Control::eventFilter(QObject *watched, QEvent *event)
{
    // A disabled control takes no clicks; the widget would drop them after this filter.
    if (watched != m_widget || (!m_widget->isEnabled() && event->type() != QEvent::FocusOut))
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            m_pressed = true;
        break;
    }
    case QEvent::MouseButtonRelease: {
        // A click is a press and a release of the left button on the control; buttons report
        // their own clicks (also from the keyboard).
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        const bool wasPressed = std::exchange(m_pressed, false);
        if (wasPressed && m_widget->rect().contains(mouse->position().toPoint()) &&
            !qobject_cast<QPushButton *>(m_widget))
            emit clicked();
        break;
    }
    case QEvent::FocusOut: {
        // Only a move to another control counts, not the switch to another program's window.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            emit lostFocus();
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace forms
