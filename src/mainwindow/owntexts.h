#pragma once

// The main window's own texts, which neither the window definitions nor the language files
// hold: the context menu, the question before changes are lost and the refusal of a number
// that cannot be read. In the windows' English or Finnish as the language's row chooses; a
// language that keeps the windows' texts as they are (Russian) takes the English ones.

#include "lang/languages.h"
#include "lang/languagetable.h"

namespace mainwindow {

struct OwnTexts
{
    const char *undo; // the last arrangement choice
    const char *open;
    const char *save;
    const char *saveAs;
    const char *recent;
    const char *savePdf;
    const char *loadCases;
    const char *print;
    const char *printDetails;
    const char *help;
    const char *zoomIn;
    const char *zoomOut;
    const char *zoomReset; // back to 100 %
    const char *exit;
    const char *changed; // %1: the file's name
    const char *unsaved; // a design that has no file yet
    // The notice's line of the empty fields; %1 their captions.
    const char *emptyField;
    const char *emptyFields;
    // A field's text that is not one number; %1 the field's caption, %2 the text.
    const char *notNumber;
    // "1,000"; %1 the caption, %2 the text, %3 and %4 the thousands and the decimals it may mean,
    // %5 the thousands written without doubt, %6 and %7 the decimals.
    const char *ambiguous;
    // After a calculation of several load cases: %1 the governing case's name, %2 its number,
    // %3 the number of cases; without a governing case, %1 the number of cases.
    const char *governingCase;
    const char *casesChecked;
};

inline constexpr OwnTexts English{
    "Undo",
    "Open…",
    "Save",
    "Save as…",
    "Recent designs",
    "Save report as PDF…",
    "Load cases…",
    "Print",
    "Print with details",
    "Help",
    "Zoom in",
    "Zoom out",
    "Actual size",
    "Exit",
    "The design has changed since it was saved in %1.\nSave the changes?",
    "The design has not been saved.\nSave it?",
    "Empty field: %1",
    "Empty fields: %1",
    "%1: \"%2\" is not a number.\nType the number alone, without a unit or a thousands "
    "separator; a point or a comma separates the decimals (2.5 or 2,5).",
    "%1: \"%2\" can be read as %3 or as %4.\nWrite %5 if the comma separates thousands, or %6 "
    "or %7 if it separates decimals.",
    "Governing case: %1 (%2 of %3)",
    "Load cases checked: %1",
};
inline constexpr OwnTexts Finnish{
    "Kumoa",
    "Avaa…",
    "Tallenna",
    "Tallenna nimellä…",
    "Viimeisimmät mitoitukset",
    "Tallenna raportti PDF-tiedostoksi…",
    "Kuormitustapaukset…",
    "Tulosta",
    "Tulosta laskelmineen",
    "Ohje",
    "Suurenna",
    "Pienennä",
    "Todellinen koko",
    "Lopeta",
    "Mitoitusta on muutettu sen jälkeen, kun se tallennettiin tiedostoon %1.\n"
    "Tallennetaanko muutokset?",
    "Mitoitusta ei ole tallennettu.\nTallennetaanko se?",
    "Tyhjä kenttä: %1",
    "Tyhjät kentät: %1",
    "%1: \"%2\" ei ole luku.\nKirjoita pelkkä luku ilman yksikköä ja tuhaterottimia; desimaalit "
    "erotetaan pisteellä tai pilkulla (2.5 tai 2,5).",
    "%1: \"%2\" voidaan lukea lukuna %3 tai lukuna %4.\nKirjoita %5, jos pilkku erottaa "
    "tuhannet, tai %6 tai %7, jos se erottaa desimaalit.",
    "Mitoittava kuormitustapaus: %1 (%2/%3)",
    "Tarkistettuja kuormitustapauksia: %1",
};

inline const OwnTexts &ownTexts(const lang::LanguageTag &language)
{
    return lang::row(language.language()).windowTexts == lang::WindowTexts::Finnish ? Finnish
                                                                                    : English;
}

} // namespace mainwindow
