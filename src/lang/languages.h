#pragma once

// The languages of the windows.
//
//   languagefile.h   reading a language file into lines and into the calculation's texts
//                    (also used by kiila-calc)
//   languages.h      the language tag, the character set of the "lbl" captions, and the
//                    captions a window's definition lets lines of a file fill
//
// The program makes one LanguageTag and hands it to every window that reads or sets the
// language; what a language sets in a window beside the files lies with that window's
// definition (forms/definitions.h).

#include "lang/languagefile.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace forms {
class Form;
}

namespace lang {

// The language tag: "rus", "eng" or "fin". It starts as the main window's definition has it
// (Finnish); the start-up sets English.
class LanguageTag : public QObject
{
    Q_OBJECT
public:
    explicit LanguageTag(Language language = Language::Finnish, QObject *parent = nullptr)
        : QObject(parent), m_language(language)
    {
    }

    Language language() const { return m_language; }
    bool is(Language language) const { return m_language == language; }
    // "rus", "eng", "fin".
    QString text() const;
    // The index of the language images (ImgLanguage): 0 Russian, 1 English, 2 Finnish.
    int index() const { return static_cast<int>(m_language); }

    void set(Language language);

signals:
    void changed(lang::Language language);

private:
    Language m_language;
};

// Character sets of the "lbl" controls: Western for English and Finnish, the system's default
// set for Russian. Qt draws Unicode text whatever the value; it is kept as the control's
// property for the windows that read it.
inline constexpr int WesternCharset = 0;
inline constexpr int DefaultCharset = 1;

// Sets the character set of every control of the window tagged "lbl".
void setLabelCharset(forms::Form &form, int charset);

// Puts the lines of a language file into the captions that the window's definition names for
// them; lines the file does not have leave their captions as they were. lines[0] is line 1.
void applyToCaptions(const QStringList &lines, forms::Form &form);

// Whether a language switch calculates again: when the text of Text1 sorts after "0" by
// character codes. "250" and "05" do; "", "0", "-5", " 5" and ".5" do not.
bool recalculates(const QString &text1);

} // namespace lang
