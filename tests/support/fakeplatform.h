#pragma once

#include "forms/platform.h"

#include <QList>
#include <utility>

// Records what the windows ask of the desktop and answers at once.
class FakePlatform : public forms::Platform
{
public:
    Answer messageBox(QWidget *, const QString &text, const QString &title,
                      Buttons buttons = Buttons::Ok) override
    {
        messages.append({text, title});
        return buttons == Buttons::Ok ? Answer::Ok : answer;
    }
    void exit() override { ++exits; }
    QString programFolder() const override { return folder; }

    QList<std::pair<QString, QString>> messages; // text, title
    int exits = 0;
    Answer answer = Answer::Yes;
    QString folder;
};
