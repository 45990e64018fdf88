#pragma once

// What the window benchmarks share: a mouse click as a user gives it, sent straight to the
// widget, and medians of times in milliseconds.

#include "forms/control.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace bench {

// A click on a control: on its own widget, or where it lies on its container.
inline void click(forms::Control *control)
{
    QWidget *target = control->widget() ? control->widget() : control->container();
    const QPointF at =
        control->widget() ? QRectF(target->rect()).center() : QRectF(control->geometry()).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace bench
