#pragma once

// What the windows ask of the desktop beyond drawing themselves: blocking message boxes, the end
// of the program and the program's folder. Tests put a recording fake in its place.

#include <QString>

class QWidget;

namespace forms {

class Platform
{
public:
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~Platform() = default;

    // A message box without icon; blocks until the user answers.
    virtual Answer messageBox(QWidget *parent, const QString &text, const QString &title,
                              Buttons buttons = Buttons::Ok) = 0;
    // Ends the program at once; every window closes, nothing is asked.
    virtual void exit() = 0;
    // The folder that holds the program file.
    virtual QString programFolder() const = 0;
};

class DesktopPlatform : public Platform
{
public:
    Answer messageBox(QWidget *parent, const QString &text, const QString &title,
                      Buttons buttons = Buttons::Ok) override;
    void exit() override;
    QString programFolder() const override;
};

} // namespace forms
