#include "texts/texts.h"

namespace texts {

using enum Text;

extern constexpr Entry EnglishTable[] = {
    {FileValueText, "a text"},
    {FileValueList, "a list"},
    {FileValueObject, "an object"},
    {FileValueMissing, "missing"},
    {FileSeveralLines, "a text of more than one line or a character no field holds"},
    {FileNotUtf8, "it is not UTF-8 text"},
    {FileNotJson, "it is not JSON (%1 at byte %2)"},
    {FileNotObject, "it is not a Kiila design (not a JSON object)"},
    {FileNoFormat, "it is not a Kiila design (no \"format\": \"%1\")"},
    {FileBadVersion, "the \"version\" is %1, not a whole number from 1"},
    {FileNewerVersion, "it is of version %1, written by a newer Kiila; this one reads version %2"},
    {FileBadArrangement, "the \"arrangement\" is %1, not 1 to 7"},
    {FileBadCracked, "\"cracked\" is %1, not true or false"},
    {FileBadInputs, "\"inputs\" is %1, not an object"},
    {FileBadInput, "the input %1 is %2, not the one-line text of a field"},
    {FileLongInput, "the input %1 is a text of %2 characters, longer than the %3 a field holds"},
    {FileBadProject, "the \"project\" is %1, not a one-line text"},
    {FileCannotOpen, "cannot open the design '%1': %2"},
    {FileNotRegular, "it is not a regular file"},
    {FileTooLarge, "it is larger than 64 KiB"},
    {FileCannotWrite, "cannot write '%1': %2"},
    {FileUnwritableInput,
     "cannot write '%1': the input %2 holds a line break or a character a design file cannot keep"},
    {FileNotReadBack, "the design would not read back as it is"},
    {FileWouldBeTooLarge,
     "cannot write '%1': the design would be larger than 64 KiB, which no reader opens"},
    {FileBadLoad, "the %1 is %2, not the one-line text of a field"},
    {FileLongLoad, "the %1 is a text of %2 characters, longer than the %3 a field holds"},
    {FileBadCases, "\"cases\" is %1, not a list of 1 to %2 cases"},
    {FileCaseCount, "a list of %1"},
    {FileBadCase, "case %1 of \"cases\": %2"},
    {FileCaseNotObject, "it is %1, not an object"},
    {FileBadCaseName, "the \"name\" is %1, not a one-line text"},
    {FileUnwritableCase, "cannot write '%1': case %2 holds a line break or a character a design "
                         "file cannot keep"},
    {FileTooManyCases, "cannot write '%1': the design has %2 load cases, more than the %3 a "
                       "design file keeps"},
    {HelpMore,
     "Page Down or the mouse wheel: design files, the menu, printing with details and the keys"},
    {HelpAdded,
     "4 Design files and the menu\r\n"
     "\r\n"
     "A right-click on the window outside the fields opens a menu. Open… (Ctrl+O), Save (Ctrl+S) "
     "and Save as… (Ctrl+Shift+S) keep the design in a design file (.kiila): the case, the "
     "concrete, the fields as typed and the project name. A design opened from the menu, from its "
     "recent designs or from the command line, or dropped on the window, is restored and "
     "calculated. Before a changed design would be lost, the program asks whether to save it.\r\n"
     "\r\n"
     "5 Printing with details\r\n"
     "\r\n"
     "Print with details (Ctrl+Shift+P, or the menu) prints the report page and behind it a page "
     "with the whole calculation: each value with its formula and its numbers for every size "
     "tried, the checks and the one that governs. Save report as PDF… in the menu saves both "
     "pages as a PDF file.\r\n"
     "\r\n"
     "6 Keys\r\n"
     "\r\n"
     "Tab moves between the fields and the commands; Space or Enter clicks the command marked, "
     "Enter in a field calculates. Alt+1 … Alt+7 choose the case, Alt+Y and Alt+N the concrete, "
     "Ctrl+T opens the technical data, Ctrl+P prints, F1 opens this help, Ctrl+I the disclaimer, "
     "Ctrl+L switches the language and Ctrl+Q exits. Esc closes this window.\r\n"
     "\r\n"
     "Page Up or the mouse wheel: back to the help above."},
    {TitleMain, "KALVEX OY Through bolt calculation program acc. to OPTION 4         (beta 1.01)"},
    {TitleDataSheet, "Technical data"},
    {TitleHelp, "Help"},
    {MenuUndo, "Undo"},
    {MenuOpen, "Open…"},
    {MenuSave, "Save"},
    {MenuSaveAs, "Save as…"},
    {MenuRecent, "Recent designs"},
    {MenuSavePdf, "Save report as PDF…"},
    {MenuLoadCases, "Load cases…"},
    {MenuPrint, "Print"},
    {MenuPrintDetails, "Print with details"},
    {MenuHelp, "Help"},
    {MenuZoomIn, "Zoom in"},
    {MenuZoomOut, "Zoom out"},
    {MenuZoomReset, "Actual size"},
    {MenuExit, "Exit"},
    {DesignFilter, "Kiila designs (*.kiila)"},
    {DesignChanged, "The design has changed since it was saved in %1.\nSave the changes?"},
    {DesignUnsaved, "The design has not been saved.\nSave it?"},
    {EmptyField, "Empty field: %1"},
    {EmptyFields, "Empty fields: %1"},
    {NotNumber, "%1: \"%2\" is not a number.\nType the number alone, without a unit or a thousands "
                "separator; a point or a comma separates the decimals (2.5 or 2,5)."},
    {AmbiguousNumber, "%1: \"%2\" can be read as %3 or as %4.\nWrite %5 if the comma separates "
                      "thousands, or %6 or %7 if it separates decimals."},
    {CasesGoverning, "Governing case: %1 (%2 of %3)"},
    {CasesChecked, "Load cases checked: %1"},
    {PrintNoPrinter, "No printer is set up."},
    {PrintNotSpooled, "The page could not be prepared for the printer."},
    {PrintRefused, "The printer refused the page."},
    {PrintModule, "The printing module is missing or was refused."},
    {PrintSaveInstead, "Save as PDF instead of printing"},
    {PrintSaveReport, "Save report as PDF"},
    {PrintSent, "Sent to the printer."},
    {ResultStale, "The inputs have changed since the last calculation: no result belongs to them."},
    {ResultUncalculated, "No calculation has been made yet: no result belongs to the inputs."},
    {Cracked, "cracked concrete"},
    {NonCracked, "non-cracked concrete"},
    {CheckTension, "tension"},
    {CheckShear, "shear"},
    {CheckEccentric, "eccentric"},
    {FailsTension, "tension fails"},
    {FailsShear, "shear fails"},
    {FailsEccentric, "eccentric tension fails"},
    {DetailsTitle, "Calculation in full"},
    {DetailsCase, "CASE"},
    {DetailsInputs, "Inputs"},
    {DetailsValue, "value"},
    {DetailsChecks, "Checks: load / capacity = utilisation"},
    {DetailsLegend, "* governs: the check that failed, else the highest utilisation"},
    {DetailsOutcome, "outcome"},
    {DetailsChosen, "chosen"},
    {DetailsStopped, "stopped"},
    {DetailsChosenSentence, "Chosen: %1"},
    {DetailsStoppedSentence, "The calculation stopped: %1"},
    {DetailsGoverningCase, "Governing case: %1 (%2 of %3)"},
    {DetailsLoadCases, "Load cases: %1"},
    {DetailsCasesTitle, "Load cases %1 to %2 of %3: utilisation per size"},
    {DetailsCasesLegend, "* the case that governs the size; in bold the governing case"},
    {DetailsCaseColumn, "case"},
    {DetailsNameColumn, "name"},
    {DetailsColumnCheck, "check"},
    {DetailsColumnLoad, "load"},
    {DetailsColumnCapacity, "capacity"},
    {DetailsColumnUtilisation, "utilisation"},
    {DetailsMarkFails, "fails"},
    {DetailsMarkGoverns, "governs"},
    {DetailsFailsCheck, "fails the %1 check"},
    {WorkOneAnchorTakesAll, "(one anchor takes all the shear)"},
    {WorkStepWidth, "step width"},
    {WorkNoMiddleRow, "(no middle row)"},
    {WorkFarFromEdges, "far from the edges (C1 and C2 ≥ 10·hef)"},
    {WorkYes, "yes"},
    {WorkNo, "no"},
    {WorkStop, "stop"},
    {WorkStops, "the run stops at this size"},
    {WorkSearchHeading, "first step with NGroup/NFromM within 5 % of 1"},
    {WorkSearchStep, "step %d"},
    {WorkSearchZero, "none; below 1 at step 0: step 0"},
    {WorkSearchBisection, "none; bisection of steps %d and %d, where NGroup/NFromM falls below 1"},
    {WorkSearchLast, "none, and NGroup/NFromM never falls below 1: step %d"},
    {WorkRaised, "(9 when between 0 and 9)"},
    {SummaryCase, "CASE %1"},
    {SummaryAnchorCapacity, "anchor capacity kN"},
    {SummaryGroupShear, "group shear kN"},
    {SummaryEccentric, "eccentric tension kN"},
    {SummaryUseTension, "utilisation tension"},
    {SummaryUseShear, "utilisation shear"},
    {SummaryUseEccentric, "utilisation eccentric"},
    {SummaryFails, "fails"},
    {SummaryCapacityHeading, "capacity:"},
    {SummaryShearHeading, "shear:"},
    {SummaryEccentricHeading, "eccentric:"},
    {SummaryStopped, "stopped at %1 (%2):"},
    {SummaryLoadCase, "load case"},
    {SummaryGoverningRow, "governing case"},
    {SummaryGoverningLine, "governing case: %1 (%2 of %3)"},
    {TabExit, "Exit"},
    {TabPrint, "Print"},
    {TabHelp, "Help"},
    {TabBack, "Back"},
};
static_assert(complete(EnglishTable), "the English table has every text, in the order of the keys");

} // namespace texts
