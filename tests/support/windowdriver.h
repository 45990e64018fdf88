#pragma once

// What the window tests hold and do: a window on a fake platform with the program's language
// tag, its controls by name and index, and a mouse click as a user gives it.

#include "fakeplatform.h"
#include "forms/form.h"
#include "lang/languages.h"

#include <QTest>
#include <memory>

namespace support {

// A click on a control: on its own widget, or where it lies on its window or frame.
inline void click(const forms::Control *control)
{
    if (QWidget *w = control->widget())
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    else
        QTest::mouseClick(control->container(), Qt::LeftButton, {}, control->geometry().center());
}

inline void click(const forms::Form &form, const QString &name, int index = forms::NoIndex)
{
    click(form.control(name, index));
}

} // namespace support

// Window: the window under test, a forms::Form.
template <class Window> class WindowDriver
{
protected:
    forms::Control *c(const QString &name, int index = forms::NoIndex) const
    {
        return m_w->control(name, index);
    }
    forms::Control *text(int number) const { return c(QStringLiteral("Text%1").arg(number)); }
    void click(const QString &name, int index = forms::NoIndex)
    {
        support::click(*m_w, name, index);
    }
    // Clicks the field TextN and types into it, as a user does.
    void type(int number, const QString &keys)
    {
        QWidget *w = text(number)->widget();
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        QTest::keyClicks(w, keys);
    }
    // A new window on a fresh fake platform, shown; false when it did not become active.
    template <class... Args> bool openWindow(Args &&...args)
    {
        m_platform = FakePlatform();
        m_w = std::make_unique<Window>(m_platform, m_language, std::forward<Args>(args)...);
        m_w->showWindow();
        return QTest::qWaitForWindowActive(m_w.get());
    }

    FakePlatform m_platform;
    lang::LanguageTag m_language;
    std::unique_ptr<Window> m_w;
};
