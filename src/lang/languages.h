#pragma once

// The languages of the windows.
//
//   languagetable.h  the table of languages: tag, file, code page, flag, and what each sets in
//                    the windows beside its file (also used by kiila-calc)
//   languagefile.h   reading a language file into lines and into the calculation's texts
//                    (also used by kiila-calc)
//   languages.h      the language tag, the flags, the character set of the "lbl" captions, and
//                    the captions a window's definition lets lines of a file fill (also for a
//                    page without its window, as kiila-calc's report page)
//
// The program makes one LanguageTag and hands it to every window that reads or sets the
// language; each window takes what a language sets in it from the language's row.

#include "lang/languagefile.h"
#include "texts/texts.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTranslator>

#include <functional>

namespace forms {
class Form;
struct FormDef;
} // namespace forms

namespace lang {

// The language tag, "eng" (the row's tag). It starts in the language of the windows'
// definitions (Finnish); the start-up sets English.
class LanguageTag : public QObject
{
    Q_OBJECT
public:
    explicit LanguageTag(Language language = BuiltIn, QObject *parent = nullptr)
        : QObject(parent), m_language(language)
    {
    }

    Language language() const { return m_language; }
    bool is(Language language) const { return m_language == language; }
    const LanguageRow &row() const { return lang::row(m_language); }
    // "eng".
    QString text() const { return QString::fromLatin1(row().tag); }
    // The index of the language's flag (ImgLanguage).
    int index() const { return flagOf(m_language); }
    // One of the program's own texts in the language (Russian takes the English ones).
    QString ownText(texts::Text key) const
    {
        return QString::fromUtf8(texts::text(texts::of(m_language), key));
    }

    void set(Language language);

signals:
    void changed(lang::Language language);

private:
    Language m_language;
};

// Qt's own texts (the buttons of a question, the file dialogs) in the tag's language, from the
// translations the system has for Qt (qtbase_fi.qm); they follow every change of the tag. A
// language without them keeps Qt's English.
class QtTranslations : public QObject
{
public:
    explicit QtTranslations(const LanguageTag &tag);
    ~QtTranslations() override;

private:
    void follow(Language language);

    QTranslator m_translator;
    bool m_installed = false;
};

// Connects each flag the window has (its ImgLanguage images) to the handler, which receives the
// flag's index.
void connectFlags(forms::Form &form, const std::function<void(int)> &handler);
// Lets the keyboard reach the window's flags: Tab stops at each, and Ctrl+L clicks the flag of
// English, or of Finnish while the language is English.
void addFlagKeys(forms::Form &form, const LanguageTag &tag);

// Sets the character set of every control of the window tagged "lbl".
void setLabelCharset(forms::Form &form, int charset);

// Puts the lines of a language file into the captions that the window's definition names for
// them; lines the file does not have leave their captions as they were. lines[0] is line 1.
void applyToCaptions(const QStringList &lines, forms::Form &form);

// The caption the lines of a language file give a control of the definition, as applyToCaptions
// would set it: its line, where the definition names one for it and the file has it; else the
// definition's own caption. For a page in a language without the window that shows it.
QString captionIn(const forms::FormDef &form, const QStringList &lines, const QString &control,
                  int index);

// Whether a language switch calculates again: when the text of Text1 sorts after "0" by
// character codes. "250" and "05" do; "", "0", "-5", " 5" and ".5" do not.
bool recalculates(const QString &text1);

} // namespace lang
