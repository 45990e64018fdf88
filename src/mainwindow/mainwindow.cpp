#include "mainwindow/mainwindow.h"
#include "forms/names.h"

#include "calc/numbers.h"
#include "forms/keys.h"
#include "mainwindow/notice.h"
#include "print/print.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>

#include <array>
#include <cmath>

namespace mainwindow {

namespace ctl = forms::names::Form1;

MainWindow::MainWindow(forms::Platform &platform, lang::LanguageTag &language,
                       const forms::FormDef *reportPage, QWidget *parent)
    : forms::Form(forms::Form1, parent), m_platform(platform), m_language(language),
      m_reportDef(reportPage), m_help(language)
{
    connectHandlers();
    Form_Load();
    m_savedContents = designContents();
    // The title is in the language of the moment, as the window list shows it.
    showTitle();
    connect(&m_language, &lang::LanguageTag::changed, this, &MainWindow::showTitle);
    createFileCommands();
    createKeys();
}

// The report page and the print commands cost a part of the start-up that nothing on the screen
// needs: they are made once the window has been painted, or when a command needs them first.
// The page is filled wholly by each print command, from the data the window hands it.
void MainWindow::preparePrinting()
{
    if (m_printing)
        return;
    if (m_reportDef)
        m_reportPage = new forms::Form(*m_reportDef, this);
    m_printing = new print::Printing(m_platform, m_language, *this, m_reportPage);
    m_printing->setFiles(printFiles());
    connect(m_printing, &print::Printing::projectChanged, this, [this](const QString &project) {
        m_project = project;
        showTitle();
    });
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    forms::Form::paintEvent(event);
    if (m_printing || m_printingScheduled)
        return;
    m_printingScheduled = true;
    QTimer::singleShot(0, this, &MainWindow::preparePrinting);
}

// The data sheet is a window of its own, not a child: it is not disabled with this one.
MainWindow::~MainWindow()
{
    stopHandlers();
    delete m_dataSheet;
    delete m_preparedSheet;
    delete m_casesWindow;
}

void MainWindow::connectHandlers()
{
    using forms::Control;
    for (int i = 0; i < calc::ArrangementCount; ++i)
        connect(control(ctl::ImgSIT, i), &Control::clicked, this, [this, i] { ImgSIT_Click(i); });
    for (int i = 0; i < 2; ++i)
        connect(control(ctl::ImgNO, i), &Control::clicked, this, [this, i] { ImgNO_Click(i); });
    lang::connectFlags(*this, [this](int index) { ImgLanguage_Click(index); });
    connect(control(ctl::ImgCalc), &Control::clicked, this, &MainWindow::ImgCalc_Click);
    connect(control(ctl::ImgSHOW), &Control::clicked, this, &MainWindow::ImgSHOW_Click);
    connect(control(ctl::Label14), &Control::clicked, this, &MainWindow::Label14_Click);
    connect(control(ctl::ImgHelp), &Control::clicked, this, &MainWindow::ImgHelp_Click);
    connect(control(ctl::INFO), &Control::clicked, this, &MainWindow::INFO_Click);
    connect(control(ctl::ImgExit), &Control::clicked, this, &MainWindow::ImgExit_Click);
    connect(control(ctl::ImgPrint), &Control::clicked, this, &MainWindow::ImgPrint_Click);
    for (const design::Input &input : design::Inputs) {
        const int number = input.field;
        Control *text = field(number);
        connect(text, &Control::changed, this, [this, number] { Text_Change(number); });
        // A confirmation that disables the window takes the focus without leaving the field:
        // what was typed stays as it is.
        connect(text, &Control::lostFocus, this, [this, number] {
            if (isEnabled())
                Text_LostFocus(number);
        });
        // Enter in a field calculates, as the button does.
        connect(text, &Control::returnPressed, this, &MainWindow::ImgCalc_Click);
    }
}

// Every command has a key and a stop of Tab after the fields. A key does what a click does, and
// only while the command could be clicked.
void MainWindow::createKeys()
{
    using forms::addFocusStop;
    using forms::addShortcut;
    for (int i = 0; i < calc::ArrangementCount; ++i) {
        addFocusStop(control(ctl::ImgSIT, i));
        addShortcut(*this, QKeySequence(Qt::ALT | (Qt::Key_1 + i)), control(ctl::ImgSIT, i));
    }
    // Yes and No of the concrete state, in English and in Finnish (Kyllä, Ei).
    for (int i = 0; i < 2; ++i) {
        addFocusStop(control(ctl::ImgNO, i));
        for (const Qt::Key key :
             i == 0 ? std::array{Qt::Key_Y, Qt::Key_K} : std::array{Qt::Key_N, Qt::Key_E})
            addShortcut(*this, QKeySequence(Qt::ALT | key), control(ctl::ImgNO, i));
    }
    addFocusStop(control(ctl::ImgCalc));
    addFocusStop(control(ctl::Label14));
    addShortcut(*this, QKeySequence(Qt::CTRL | Qt::Key_T), control(ctl::Label14));
    addFocusStop(control(ctl::ImgPrint));
    addShortcut(*this, QKeySequence(Qt::CTRL | Qt::Key_P), control(ctl::ImgPrint));
    addFocusStop(control(ctl::ImgHelp));
    addShortcut(*this, QKeySequence(Qt::Key_F1), control(ctl::ImgHelp));
    addFocusStop(control(ctl::INFO));
    addShortcut(*this, QKeySequence(Qt::CTRL | Qt::Key_I), control(ctl::INFO));
    lang::addFlagKeys(*this, m_language);
    addFocusStop(control(ctl::ImgExit));
    addShortcut(*this, QKeySequence(Qt::CTRL | Qt::Key_Q), control(ctl::ImgExit));
}

forms::Control *MainWindow::field(int number) const
{
    return control(QStringLiteral("Text%1").arg(number));
}

void MainWindow::Form_Load()
{
    startupLanguageStep();
    ClearResults();
    m_tapaus = 1;
    control(ctl::Picture1, forms::arrangementPicture(m_tapaus))->setVisible(true);
    enableFields();
    m_concreteState = calc::NonCracked;
    m_firstPictureToClear = 0;
    control(ctl::ImgSHOW)->setVisible(false);
    control(ctl::Label14)->setVisible(false);
}

// The click areas are numbered from 0; the arrangement from 1.
void MainWindow::ImgSIT_Click(int index)
{
    chooseArrangement(index + 1);
}

void MainWindow::chooseArrangement(int tapaus)
{
    // What the choice empties is kept for Undo when there is something to lose. A second choice
    // before anything is typed loses nothing more and keeps what the first one emptied.
    Cleared cleared{m_tapaus, m_concreteState, {}, control(ctl::Label18)->caption(), m_resultShown};
    bool loses = m_resultShown;
    for (int i = 0; i < design::InputCount; ++i) {
        cleared.texts[std::size_t(i)] = field(design::Inputs[i].field)->text();
        loses = loses || !cleared.texts[std::size_t(i)].isEmpty();
    }

    for (int i = 0; i < calc::ArrangementCount; ++i)
        control(ctl::ShpSit, i)->setVisible(i == forms::arrangementIndex(tapaus));

    // Leaving the field that had the focus writes its number back first. Each emptied field
    // only sets its own stored value, so the order does not matter.
    field(1)->setFocus();
    // Of several load cases, each keeps its loads: the load fields show the case again.
    const bool keepCases = m_cases.size() > 1;
    m_showingCase = keepCases;
    for (const design::Input &input : design::Inputs)
        field(input.field)->setText(QString());
    m_showingCase = false;
    control(ctl::Label18)->setCaption(QString());

    m_tapaus = tapaus;
    ClearResults();
    control(ctl::Picture1, forms::arrangementPicture(m_tapaus))->setVisible(true);
    enableFields();
    if (keepCases)
        showCase(m_selectedCase);
    if (loses)
        m_cleared = cleared;
    showTitle();
}

void MainWindow::undoArrangementChoice()
{
    if (!m_cleared || !isEnabled())
        return;
    const Cleared cleared = *m_cleared;
    m_cleared.reset();
    for (int i = 0; i < calc::ArrangementCount; ++i)
        control(ctl::ShpSit, i)->setVisible(i == forms::arrangementIndex(cleared.tapaus));
    m_tapaus = cleared.tapaus;
    ImgNO_Click(cleared.concreteState == calc::Cracked ? 0 : 1);
    enableFields();
    for (int i = 0; i < design::InputCount; ++i)
        field(design::Inputs[i].field)->setText(cleared.texts[std::size_t(i)]);
    ClearResults();
    control(ctl::Label18)->setCaption(cleared.rowHeading);
    control(ctl::Picture1, forms::arrangementPicture(m_tapaus))->setVisible(true);
    if (cleared.resultShown && m_lastResult)
        showResult(*m_lastResult, false);
    showTitle();
}

// Ctrl+Z in a field undoes the field's own typing while it has any; in a field the arrangement
// choice emptied, it undoes the choice.
bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && m_cleared &&
        static_cast<QKeyEvent *>(event)->matches(QKeySequence::Undo)) {
        const auto *edit = qobject_cast<QLineEdit *>(watched);
        if (edit && !edit->isUndoAvailable()) {
            undoArrangementChoice();
            return true;
        }
    }
    return forms::Form::eventFilter(watched, event);
}

// The captions and fields of the arrangement's inputs are enabled, the others disabled.
void MainWindow::enableFields()
{
    for (const design::Input &input : design::Inputs) {
        const bool enabled = design::uses(m_tapaus, input);
        control(QStringLiteral("Label%1").arg(input.field))->setEnabled(enabled);
        field(input.field)->setEnabled(enabled);
    }
}

// Only the state and its markers change: results on screen keep the state they were
// calculated with until the next calculation.
void MainWindow::ImgNO_Click(int index)
{
    const bool cracked = index == 0;
    if (cracked != (m_concreteState == calc::Cracked))
        m_cleared.reset();
    m_concreteState = cracked ? calc::Cracked : calc::NonCracked;
    control(ctl::Shape1, 0)->setVisible(cracked);
    control(ctl::Shape1, 1)->setVisible(!cracked);
    showTitle();
}

void MainWindow::ImgSHOW_Click()
{
    openDataSheet();
}

void MainWindow::Label14_Click()
{
    openDataSheet();
}

// A new sheet is made and created on the display while the program waits for the user, so that
// the command only has to show it; none while a sheet is open or one is ready. It is not
// activated before it is opened.
void MainWindow::prepareDataSheet()
{
    if (m_preparedSheet || m_dataSheet)
        return;
    m_preparedSheet = new datasheet::DataSheet(m_language, m_help, this);
    m_preparedSheet->prepare();
}

// The sheet shows the size the last calculation chose; the commands to it are shown only after
// such a calculation. Closing it hides them again.
void MainWindow::openDataSheet()
{
    if (!m_dataSheet) {
        m_dataSheet = m_preparedSheet ? m_preparedSheet.data()
                                      : new datasheet::DataSheet(m_language, m_help, this);
        m_preparedSheet = nullptr;
        connect(m_dataSheet, &forms::Form::unloaded, this, [this] {
            control(ctl::ImgSHOW)->setVisible(false);
            control(ctl::Label14)->setVisible(false);
        });
        connect(m_dataSheet, &datasheet::DataSheet::printRequested, this,
                &MainWindow::printDataSheet);
    }
    m_dataSheet->setChosenSize(m_dataSheetSize, m_dataSheetTitle);
    m_dataSheet->showWindow();
}

void MainWindow::printDataSheet()
{
    if (!m_dataSheet)
        return;
    // The sheet prints the last calculation's size even when it was made while the sheet asked.
    const auto refresh = [this] {
        if (!m_dataSheet)
            return;
        m_dataSheet->setChosenSize(m_dataSheetSize, m_dataSheetTitle);
        m_dataSheet->Form_Activate();
    };
    printing()->printDataSheet(*m_dataSheet, {control(ctl::Label11)->caption(),
                                              control(ctl::Label10)->caption(), refresh});
}

void MainWindow::ImgHelp_Click()
{
    m_help.open();
}

void MainWindow::INFO_Click()
{
    m_help.openInfo();
}

void MainWindow::ImgPrint_Click()
{
    // The confirmation offers the project name of a design that has a file; without one it
    // starts empty, as it always has.
    printing()->printReport(reportData(m_designPath.isEmpty() ? QString() : m_project));
}

print::ReportData MainWindow::reportData(const QString &project) const
{
    print::ReportData data;
    data.design = currentDesign();
    // The page shows the number the field being edited holds, as leaving it would write it
    // where those 15 digits read back as that number, else with every digit it holds, so that
    // the page never prints another number than the one calculated; a text that is not one
    // number prints as typed. The field itself keeps what was typed, and an empty one stays
    // empty, so that the calculation still asks for it.
    for (int i = 0; i < design::InputCount; ++i) {
        const design::Input &input = design::Inputs[i];
        const forms::Control *text = field(input.field);
        const bool edited = focusWidget() && focusWidget() == text->widget();
        const double value = m_input.*input.value;
        data.fields[std::size_t(i)] = edited && !text->caption().isEmpty() && !std::isnan(value)
                                          ? QString::fromStdString(calc::exactForm(value))
                                          : text->caption();
    }
    data.captions = print::reportCaptions(
        [this](const QString &name, int index) { return control(name, index)->caption(); });
    // A result is printed only beside the inputs it was calculated from.
    if (m_lastCalculation && *m_lastCalculation == data.design) {
        data.result = m_lastResult;
        data.cases = m_lastCases; // of several load cases
    } else
        data.noResult = m_lastCalculation ? print::NoResult::Stale : print::NoResult::Uncalculated;
    data.decimalSeparator = QLocale().decimalPoint().toStdString();
    data.project = project;
    data.dateTime = print::dateTimeText(m_platform.now());
    data.language = m_language.language();
    data.labelCharset = m_labelCharset;
    return data;
}

// Changes to the design are not lost without a question.
void MainWindow::ImgExit_Click()
{
    if (!mayEnd())
        return;
    m_ending = true;
    m_platform.exit();
    m_ending = false;
}

// The notice names every empty field in use, and the first of them takes the focus: closing
// the notice returns to it.
void MainWindow::openNotice()
{
    QStringList empty;
    forms::Control *first = nullptr;
    for (const design::Input &input : design::Inputs) {
        forms::Control *text = field(input.field);
        if (!text->isEnabled() || !text->text().isEmpty())
            continue;
        if (!first)
            first = text;
        empty << control(QStringLiteral("Label%1").arg(input.field))->caption().trimmed();
    }
    if (!m_notice)
        m_notice = new Notice(m_language, this);
    m_notice->showEmptyFields(empty);
    m_notice->showWindow();
    if (first)
        first->setFocus();
}

} // namespace mainwindow
