#pragma once

#include "forms/form.h"

namespace mainwindow {

// FrmATT: asks for the missing inputs. Built from its definition each time it is opened and
// destroyed when closed. It reads the language tag of the window given (the main window) each
// time it becomes active.
class Notice : public forms::Form
{
    Q_OBJECT
public:
    explicit Notice(const forms::Form &languageOwner, QWidget *parent = nullptr);

    void Form_Activate();
    void Command1_Click();

private:
    const forms::Form &m_languageOwner;
};

} // namespace mainwindow
