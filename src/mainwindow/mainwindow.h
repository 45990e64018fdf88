#pragma once

// The main window: the owner of everything the design calculation reads.
//
//   mainwindow.cpp   start-up, the arrangement and concrete choices and the arrangement
//                    choice's Undo, the other commands
//   calculate.cpp    the input fields, the calculate command, ClearResults, Mitoitus
//   notice.cpp       the notice FrmATT that a missing input opens
//   language.cpp     the start-up language step and the flags (lang/ reads the files)
//   designfiles.cpp  design files: open, save, the recent designs, the context menu and its
//                    shortcuts, dropping a file, the question before changes are lost
//   cases.cpp        the design's load cases: the load fields show the case chosen, the Load
//                    cases window (casewindow/) edits them
//
// The window is built from the definition Form1 (forms/), its handlers bear the names of the
// controls and events, and the calculation itself is calc::Mitoitus: this window turns its
// result into the displays. It opens the data sheet (datasheet/), the help window (help/) and
// printing (print/) and the Load cases window (casewindow/) and hands them plain values: the
// chosen size and title, the language tag, the cases as typed.

#include "calc/calc.h"
#include "calc/numbers.h"
#include "casewindow/casewindow.h"
#include "datasheet/datasheet.h"
#include "design/design.h"
#include "designfile/designfile.h"
#include "forms/definitions.h"
#include "forms/form.h"
#include "forms/platform.h"
#include "help/helpwindow.h"
#include "lang/languages.h"
#include "mainwindow/notice.h"
#include "print/print.h"

#include <QMenu>
#include <QPointer>
#include <QStringList>

#include <array>
#include <optional>

namespace mainwindow {

class MainWindow : public forms::Form
{
    Q_OBJECT
public:
    // The report page is made from its definition, when the program has one, while the program
    // waits after the window's first paint, or earlier when something needs it.
    MainWindow(forms::Platform &platform, lang::LanguageTag &language,
               const forms::FormDef *reportPage = forms::findDefinition("FrmPRINT"),
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // What the window holds between commands.
    const calc::DesignInput &input() const { return m_input; }
    int tapaus() const { return m_tapaus; }
    calc::ConcreteState concreteState() const { return m_concreteState; }
    int sizeNo() const { return m_sizeNo; }
    lang::LanguageTag &language() const { return m_language; }
    // The pieces of the result texts and messages; the language files fill them.
    calc::Texts &texts() { return m_texts; }
    forms::Form *reportPage()
    {
        preparePrinting();
        return m_reportPage;
    }
    // The print commands and their confirmations.
    print::Printing *printing()
    {
        preparePrinting();
        return m_printing;
    }
    // The notice, the data sheet and the help window while they are open, else nullptr.
    Notice *notice() const { return m_notice; }
    datasheet::DataSheet *dataSheet() const { return m_dataSheet; }
    help::HelpWindow *helpWindow() const { return m_help.window(); }
    // The design file the window's design came from or was last saved to, else empty; the
    // report's project name; the context menu while it is open, else nullptr.
    QString designPath() const { return m_designPath; }
    QString project() const { return m_project; }
    QMenu *contextMenu() const { return m_menu; }
    // The recent designs, newest first, as the settings keep them.
    static QStringList recentDesigns();

    // Design files. Opening restores the design and calculates; a file that cannot be read
    // changes nothing and shows why. Saving asks for a name when the design has no file yet
    // (or always, for save as); false when nothing was saved.
    bool openDesign(const QString &path);
    void openDesignAsked();
    bool saveDesign();
    bool saveDesignAs();
    // The report page and its details page (the working values of the last calculation),
    // printed after the print confirmation or saved as a PDF file.
    void printWithDetails();
    void saveReportAsPdf();
    // What the window would save now.
    designfile::Contents designContents() const;
    // The design's load cases as typed (at least one; the case the load fields show holds what
    // they hold) and that case's index. The Load cases window (Ctrl+K) while it is open, else
    // nullptr.
    const QList<designfile::CaseTexts> &loadCases() const { return m_cases; }
    int selectedCase() const { return m_selectedCase; }
    void openLoadCases();
    casewindow::LoadCasesWindow *loadCasesWindow() const { return m_casesWindow; }

    // Start-up and handlers.
    void Form_Load();
    void ImgSIT_Click(int index);
    void ImgNO_Click(int index);
    void ImgCalc_Click();
    void ImgSHOW_Click();
    void Label14_Click();
    void ImgHelp_Click();
    void INFO_Click();
    void ImgExit_Click();
    void ImgPrint_Click();
    void ImgLanguage_Click(int index);
    // Change and LostFocus of the fields Text1, Text3 ... Text9, by the field's number.
    void Text_Change(int number);
    void Text_LostFocus(int number);
    // What leaving field TextN writes into it.
    QString writtenText(int number) const;

    void ClearResults();
    void Mitoitus();

    // Undo of the last arrangement choice that emptied fields or results: it brings back the
    // arrangement, the concrete, the fields and the results as they were. Offered until the
    // user types into a field or chooses the concrete again.
    bool canUndo() const { return m_cleared.has_value(); }
    void undoArrangementChoice();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void preparePrinting();
    void connectHandlers();
    void createFileCommands();
    void createKeys();
    bool writeDesign(const QString &path);
    void designOpened(const QString &path, const designfile::Contents &contents);
    void rememberDesign(const QString &path);
    // The design files' folder and name, for the PDF save dialogs.
    print::Printing::Files printFiles() const;
    // The title: the design file's name, and a "*" while the design has changes not saved.
    // The program's title in the language; the window's caption adds the design's file.
    QString title() const;
    void showTitle();
    bool hasChanges() const;
    bool mayEnd();
    void startupLanguageStep();
    std::optional<QStringList> readLanguageFile(lang::Language language) const;
    void showLanguageMarks(const lang::LanguageRow &language);
    void setLabelCharset(int charset);
    void applyLanguageLines(const QStringList &lines);
    // The arrangement tapaus (1 to 7) chosen: its marker, picture and fields, the fields and
    // results emptied.
    void chooseArrangement(int tapaus);
    void enableFields();
    void showResult(const calc::Result &result, bool announce);
    void openNotice();
    void refuseNumber(const design::Input &input, calc::Reading reading);
    void prepareDataSheet();
    void openDataSheet();
    void printDataSheet();
    // What the report page prints now, with the project name given.
    print::ReportData reportData(const QString &project) const;
    // The design as calculated: of several load cases, each case's loads as its texts read
    // (those the arrangement does not use 0, as their empty fields) and the first case's in the
    // input, whichever case the fields show.
    design::Design currentDesign() const;
    // Whether every load of case `index` that the arrangement uses holds one number.
    bool caseReadable(int index) const;
    // The last calculation's line of the governing case, and each case's outcome in the Load
    // cases window.
    void showCaseOutcomes();
    forms::Control *field(int number) const;
    // The load fields show case `index`, the fields the arrangement does not use empty.
    void showCase(int index);
    // A load field's text typed: the case shown takes it.
    void keepCaseLoad(int number);
    void casesEdited();

    forms::Platform &m_platform;
    lang::LanguageTag &m_language;
    // The desktop's own texts (a question's buttons, the file dialogs) follow the language.
    lang::QtTranslations m_qtTexts{m_language};
    const forms::FormDef *m_reportDef;
    QPointer<forms::Form> m_reportPage;
    print::Printing *m_printing = nullptr;
    // The character set a language set on the "lbl" captions; none before the first.
    std::optional<int> m_labelCharset;
    bool m_printingScheduled = false;
    QPointer<Notice> m_notice;
    QPointer<datasheet::DataSheet> m_dataSheet;
    // A sheet made ready, hidden, once a calculation has shown the commands to it; the next
    // opening shows it.
    QPointer<datasheet::DataSheet> m_preparedSheet;
    help::Help m_help;

    calc::DesignInput m_input;
    int m_tapaus = 0;
    calc::ConcreteState m_concreteState = calc::Cracked;
    int m_firstPictureToClear = 0;
    int m_sizeNo = 0;
    bool m_resultShown = false;
    calc::Texts m_texts;
    // What the last arrangement choice emptied, while Undo may bring it back.
    struct Cleared
    {
        int tapaus;
        calc::ConcreteState concreteState;
        std::array<QString, design::InputCount> texts;
        QString rowHeading; // Label18
        bool resultShown;
    };
    std::optional<Cleared> m_cleared;
    // What the last calculation was made from and its result, with its working values: a
    // report prints the result only beside these inputs.
    std::optional<design::Design> m_lastCalculation;
    std::optional<calc::Result> m_lastResult;
    std::optional<calc::CasesResult> m_lastCases; // of a design of several load cases
    // What the last calculation that chose a size left for the data sheet: the size index and
    // the title (" Kalvex X-TR M 12"); kept until the next such calculation.
    int m_dataSheetSize = 0;
    QString m_dataSheetTitle;

    // The design file: its path; the design as the window started with it or as it was last
    // opened or saved (the window asks before changes to it are lost); the project name and the
    // window's title without a file.
    QString m_designPath;
    designfile::Contents m_savedContents;
    QString m_project;
    bool m_ending = false; // the program is ending through the exit command
    QAction *m_openAction = nullptr;
    QAction *m_saveAction = nullptr;
    QAction *m_saveAsAction = nullptr;
    QPointer<QMenu> m_menu;

    QList<designfile::CaseTexts> m_cases{{casewindow::defaultName(0), {}}};
    int m_selectedCase = 0;
    bool m_showingCase = false; // the fields are being set from a case, not typed
    QPointer<casewindow::LoadCasesWindow> m_casesWindow;
};

} // namespace mainwindow
