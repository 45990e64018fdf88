#pragma once

// The languages of the main window.
//
//   languagefile.h   reading a language file into lines and into the calculation's texts
//                    (also used by kiila-calc)
//   languages.h      the language tag, what each language sets in a window beside its texts,
//                    and the captions that lines 2 to 23 of a file fill
//
// The main window's ImgLanguage_Click and its start-up (mainwindow/language.cpp) put these
// together; every other window reads the tag.

#include "lang/languagefile.h"

#include <QString>
#include <QStringList>

namespace forms {
class Form;
}

namespace lang {

// The main window's Tag: "rus", "eng" or "fin".
QString tag(Language language);

// Label10, the version caption at the bottom right.
inline constexpr char VersionEnglish[] = "VERSION ENGLISH 01_b";
inline constexpr char VersionFinnish[] = "VERSIO SUOMI  01_b"; // two blanks

// The top of Label14 (twips): the Russian caption of the data sheet button sits a little higher.
inline constexpr int Label14Top = 6600;
inline constexpr int Label14TopRussian = 6495;

// Character sets of the "lbl" controls: Western for English and Finnish, the system's default
// set for Russian. Qt draws Unicode text whatever the value; it is kept as the control's
// property for the windows that read it.
inline constexpr int WesternCharset = 0;
inline constexpr int DefaultCharset = 1;

// Sets the character set of every control of the window tagged "lbl".
void setLabelCharset(forms::Form &form, int charset);

// Puts lines 2 to 23 of a language file into the captions of the main window; lines the file
// does not have leave their captions as they were. lines[0] is the header and goes nowhere.
void applyToCaptions(const QStringList &lines, forms::Form &mainWindow);

// Whether a language switch calculates again: when the text of Text1 sorts after "0" by
// character codes. "250" and "05" do; "", "0", "-5", " 5" and ".5" do not.
bool recalculates(const QString &text1);

} // namespace lang
