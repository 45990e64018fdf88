#pragma once

#include "forms/form.h"
#include "lang/languages.h"

namespace mainwindow {

// FrmATT: asks for the missing inputs. Built from its definition each time it is opened and
// destroyed when closed. It reads the language tag each time it becomes active.
class Notice : public forms::Form
{
    Q_OBJECT
public:
    explicit Notice(const lang::LanguageTag &language, QWidget *parent = nullptr);

    void Form_Activate();
    void Command1_Click();

private:
    const lang::LanguageTag &m_language;
};

} // namespace mainwindow
