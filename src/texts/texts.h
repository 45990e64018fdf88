#pragma once

// The program's own texts: every word it composes beyond the lines of the language files and
// the window definitions (titles, the context menu, questions and refusals, printing's notes,
// the details page, the working, kiila-calc's summary, the names screen readers read). One
// table per language, keyed by Text; standard C++ only, so that kiila-calc and the working
// take them as the windows do.
//
//   texts.h      the keys, the languages, text() and the language of a lang::Language
//   english.cpp  the English table
//   finnish.cpp  the Finnish table
//
// A new text: its key below, in the group where it is used, and its line in every table, in
// the order of the keys (a table that misses one, or has them in another order, does not
// compile). Texts are UTF-8; a placeholder is Qt's %1, %2 … where a QString fills it, printf's
// %s and %d in the working (standard C++); every language has the same placeholders.

#include "lang/languagetable.h"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace texts {

// The languages the program's own texts are written in. A language of the windows without
// texts of its own (Russian) takes the English ones.
enum class Language { English, Finnish };

enum class Text {
    // The design file's messages: what a value holds, why a file is not read or written
    // (%1 the file, %2 why or the input's key).
    FileValueText,
    FileValueList,
    FileValueObject,
    FileValueMissing,
    FileSeveralLines,
    FileNotUtf8,
    FileNotJson,
    FileNotObject,
    FileNoFormat,
    FileBadVersion,
    FileNewerVersion,
    FileBadArrangement,
    FileBadCracked,
    FileBadInputs,
    FileBadInput,
    FileLongInput,
    FileBadProject,
    FileCannotOpen,
    FileNotRegular,
    FileTooLarge,
    FileCannotWrite,
    FileUnwritableInput,
    FileNotReadBack,
    FileWouldBeTooLarge,
    // The load cases of a version 2 file: %1 the load's key (or the case's number), %2 what
    // is wrong.
    FileBadLoad,
    FileLongLoad,
    FileBadCases,
    FileCaseCount,
    FileBadCase,
    FileCaseNotObject,
    FileBadCaseName,
    FileUnwritableCase,
    FileTooManyCases,
    // The help window: the line under the help of the window's definition that points to the
    // page below it, and that page (the design files, the menu, printing with details, the keys).
    HelpMore,
    HelpAdded,
    // Window titles.
    TitleMain,
    TitleDataSheet,
    TitleHelp,
    // The main window's context menu.
    MenuUndo,
    MenuOpen,
    MenuSave,
    MenuSaveAs,
    MenuRecent,
    MenuSavePdf,
    MenuLoadCases,
    MenuPrint,
    MenuPrintDetails,
    MenuHelp,
    MenuZoomIn,
    MenuZoomOut,
    MenuZoomReset, // back to 100 %
    MenuExit,
    // The design file dialogs' filter; the question before changes are lost: %1 the file's
    // name; the same for a design that has no file yet.
    DesignFilter,
    DesignChanged,
    DesignUnsaved,
    // The notice's line of the empty fields; %1 their captions.
    EmptyField,
    EmptyFields,
    // A field's text that is not one number; %1 the field's caption, %2 the text.
    NotNumber,
    // "1,000"; %1 the caption, %2 the text, %3 and %4 the thousands and the decimals it may
    // mean, %5 the thousands written without doubt, %6 and %7 the decimals.
    AmbiguousNumber,
    // After a calculation of several load cases: %1 the governing case's name, %2 its number,
    // %3 the number of cases; without a governing case, %1 the number of cases.
    CasesGoverning,
    CasesChecked,
    // The Load cases window: its title, the line above the table, its commands and columns;
    // a block or file refused (%1 why, or the file and why), an export refused (%1 the case,
    // %2 the load, %3 the text), the most cases (%1); a case's outcome and the governing mark.
    CasesTitle,
    CasesExplained,
    CasesAdd,
    CasesDuplicate,
    CasesDelete,
    CasesPaste,
    CasesImport,
    CasesExport,
    CasesClose,
    CasesName,
    CasesUtilisation,
    CasesOutcome,
    CasesNotPasted,
    CasesNotImported,
    CasesNotExported,
    CasesTooMany,
    CasesPasses,
    CasesGoverns,
    // Why nothing was printed (the failure's detail follows), the save dialogs, the note after
    // a print.
    PrintNoPrinter,
    PrintNotSpooled,
    PrintRefused,
    PrintModule,
    PrintSaveInstead,
    PrintSaveReport,
    PrintSent,
    // The report and the details page where no result belongs to the inputs.
    ResultStale,
    ResultUncalculated,
    // The concrete, as the main window asks it ("Haljennut betoni").
    Cracked,
    NonCracked,
    // The capacity checks in words, and the check that failed.
    CheckTension,
    CheckShear,
    CheckEccentric,
    FailsTension,
    FailsShear,
    FailsEccentric,
    // The details page.
    DetailsTitle,
    DetailsCase, // "CASE", before the arrangement's number
    DetailsInputs,
    DetailsValue,
    DetailsChecks,
    DetailsLegend,
    DetailsOutcome,
    DetailsChosen,
    DetailsStopped,
    DetailsChosenSentence,  // %1 the anchors chosen
    DetailsStoppedSentence, // %1 the message
    // Several load cases: the governing case (%1 its name, %2 its number, %3 the cases) or the
    // number of cases; the pages of the cases (%1 to %2 of %3), their legend and columns.
    DetailsGoverningCase,
    DetailsLoadCases,
    DetailsCasesTitle,
    DetailsCasesLegend,
    DetailsCaseColumn,
    DetailsNameColumn,
    // kiila-calc --details: the columns of the checks, the marks of a check, the size's end.
    DetailsColumnCheck,
    DetailsColumnLoad,
    DetailsColumnCapacity,
    DetailsColumnUtilisation,
    DetailsMarkFails,
    DetailsMarkGoverns,
    DetailsFailsCheck, // %1 the check in words
    // The working: the words around the formulas.
    WorkOneAnchorTakesAll,
    WorkStepWidth,
    WorkNoMiddleRow,
    WorkFarFromEdges,
    WorkYes,
    WorkNo,
    WorkStop,
    WorkStops,
    WorkSearchHeading,
    WorkSearchStep,      // %d the step
    WorkSearchZero,      //
    WorkSearchBisection, // %d and %d the two steps
    WorkSearchLast,      // %d the last step
    WorkRaised,
    // kiila-calc's summary: the rows of the table of sizes (a row's label is padded to a
    // column), the result headings, the stop.
    SummaryCase, // %1 the arrangement
    SummaryAnchorCapacity,
    SummaryGroupShear,
    SummaryEccentric,
    SummaryUseTension,
    SummaryUseShear,
    SummaryUseEccentric,
    SummaryFails,
    SummaryCapacityHeading,
    SummaryShearHeading,
    SummaryEccentricHeading,
    SummaryStopped, // %1 the size, %2 the message's title
    // With several load cases: the heading of the cases' table, the row of the case each size
    // shows, and the closing line (%1 the case's number and name, %2 its number, %3 the cases).
    SummaryLoadCase,
    SummaryGoverningRow,
    SummaryGoverningLine,
    // The names screen readers read for the tabs painted in the windows' backgrounds.
    TabExit,
    TabPrint,
    TabHelp,
    TabBack,
    Count
};

struct Entry
{
    Text key;
    const char *text;
};

inline constexpr std::size_t TextCount = static_cast<std::size_t>(Text::Count);

// Whether a table has every key once, in the order of the keys.
template <std::size_t N> constexpr bool complete(const Entry (&table)[N])
{
    if (N != TextCount)
        return false;
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<std::size_t>(table[i].key) != i || !table[i].text)
            return false;
    return true;
}

// The text in the language, UTF-8.
const char *text(Language language, Text key);

// The language of the program's own texts for a language of the windows.
constexpr Language of(lang::Language language)
{
    return lang::row(language).windowTexts == lang::WindowTexts::Finnish ? Language::Finnish
                                                                         : Language::English;
}

// The pattern with %1, %2 … replaced by the arguments, for who composes without Qt.
std::string fill(std::string_view pattern, std::initializer_list<std::string_view> args);
// The characters of a UTF-8 text, and the text padded with blanks to that many.
std::size_t length(std::string_view utf8);
std::string padded(std::string utf8, std::size_t characters);

// The languages, for who walks every table (the tests).
inline constexpr Language All[] = {Language::English, Language::Finnish};

} // namespace texts
