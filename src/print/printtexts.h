#pragma once

// Printing's own texts, which neither the window definitions nor the language files hold: why a
// page was not printed (the line under CannotPrint, which stays English in every language), the
// titles of the PDF save dialog and the note after a print. In the windows' English or Finnish
// as the language's row chooses; a language that keeps the windows' texts as they are
// (Russian) takes the English ones.

#include "forms/platform.h"
#include "lang/languages.h"
#include "lang/languagetable.h"

namespace print {

struct PrintTexts
{
    // Why nothing was printed, by forms::PrintFailure::Kind; the failure's detail follows.
    const char *noPrinter;
    const char *notSpooled;
    const char *refused;
    const char *module;
    const char *saveInstead; // the save dialog offered after a print failed
    const char *saveReport;  // the save dialog of "Save report as PDF…"
    const char *printed;     // the note after a print was handed to the printer
};

inline constexpr PrintTexts EnglishTexts{
    "No printer is set up.",
    "The page could not be prepared for the printer.",
    "The printer refused the page.",
    "The printing module is missing or was refused.",
    "Save as PDF instead of printing",
    "Save report as PDF",
    "Sent to the printer.",
};
inline constexpr PrintTexts FinnishTexts{
    "Tulostinta ei ole asetettu.",
    "Sivua ei saatu valmiiksi tulostimelle.",
    "Tulostin ei ottanut sivua vastaan.",
    "Tulostusmoduuli puuttuu tai sitä ei hyväksytty.",
    "Tallenna PDF-tiedostoksi tulostamisen sijaan",
    "Tallenna raportti PDF-tiedostoksi",
    "Lähetetty tulostimelle.",
};

inline const PrintTexts &printTexts(const lang::LanguageTag &language)
{
    return lang::row(language.language()).windowTexts == lang::WindowTexts::Finnish ? FinnishTexts
                                                                                    : EnglishTexts;
}

// The line under CannotPrint that says why; empty when no reason is known.
inline QString failureReason(const PrintTexts &texts, const forms::PrintFailure &failure)
{
    using Kind = forms::PrintFailure::Kind;
    const char *reason = nullptr;
    switch (failure.kind) {
    case Kind::None:
        return {};
    case Kind::NoPrinter:
        reason = texts.noPrinter;
        break;
    case Kind::NotSpooled:
        reason = texts.notSpooled;
        break;
    case Kind::Refused:
        reason = texts.refused;
        break;
    case Kind::Module:
        reason = texts.module;
        break;
    }
    QString line = QString::fromUtf8(reason);
    if (!failure.detail.isEmpty())
        line += u' ' + failure.detail;
    return line;
}

} // namespace print
