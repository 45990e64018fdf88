#pragma once

// The technical data sheet Form2: the installation data and article numbers of the anchor size
// the last calculation chose.
//
//   datasheet.cpp   the window: language step, size step, fill and show on each activation
//
// The product data it shows stand in product/sheettable.h.
//
// The window that opens the sheet hands it the size and the title (setChosenSize) and listens
// to its print command; the sheet opens help through the program's one Help object.

#include "forms/form.h"
#include "help/helpwindow.h"
#include "lang/languages.h"

namespace datasheet {

// The size index shown for the text of Text1: the number at its start as the input fields read
// it, rounded half to even; 0 (the empty sheet) for no number or one outside 0 to 4.
int sizeIndexOf(const QString &text1);

class DataSheet : public forms::Form
{
    Q_OBJECT
public:
    // returnTo: the window that the exit tab shows again.
    DataSheet(lang::LanguageTag &language, help::Help &help, QWidget *returnTo,
              QWidget *parent = nullptr);

    // What the calculation leaves in the sheet when it chooses a size: the size index (1 to 4,
    // in Text1) and the title (Label1).
    void setChosenSize(int sizeNo, const QString &title);

    // Closing the sheet (Form_Unload) is its unloaded() signal: the window that opened it hides
    // its commands to it.
    void Form_Activate();
    void ImgExit_Click();
    void ImgHelp_Click();
    void ImgPrint_Click();
    void ImgLanguage_Click(int index);

signals:
    void printRequested();

private:
    lang::LanguageTag &m_language;
    help::Help &m_help;
    QPointer<QWidget> m_returnTo;
};

} // namespace datasheet
