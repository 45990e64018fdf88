#pragma once

// What the main window tests hold and do: the window on a fake platform, its controls by name
// and index, and a mouse click as a user gives it.

#include "fakeplatform.h"
#include "mainwindow/mainwindow.h"

#include <QTest>
#include <memory>

class WindowDriver
{
protected:
    forms::Control *c(const QString &name, int index = forms::NoIndex) const
    {
        return m_w->control(name, index);
    }
    forms::Control *text(int number) const { return c(QStringLiteral("Text%1").arg(number)); }
    // A click on a control: on its own widget, or where it lies on its window or frame.
    void click(const QString &name, int index = forms::NoIndex)
    {
        const forms::Control *control = c(name, index);
        if (QWidget *w = control->widget())
            QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        else
            QTest::mouseClick(control->container(), Qt::LeftButton, {},
                              control->geometry().center());
    }

    FakePlatform m_platform;
    std::unique_ptr<mainwindow::MainWindow> m_w;
};
