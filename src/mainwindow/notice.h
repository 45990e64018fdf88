#pragma once

#include "forms/form.h"
#include "lang/languages.h"

#include <QStringList>

namespace mainwindow {

// FrmATT: asks for the missing inputs and names the empty fields. Built from its definition
// each time it is opened and destroyed when closed. It reads the language tag each time it
// becomes active. OK, Enter and Esc close it and return to the main window.
class Notice : public forms::Form
{
    Q_OBJECT
public:
    explicit Notice(const lang::LanguageTag &language, QWidget *parent = nullptr);

    // Names the empty fields by their captions, in the window's language.
    void showEmptyFields(const QStringList &captions);
    void Form_Activate();
    void Command1_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    const lang::LanguageTag &m_language;
};

} // namespace mainwindow
