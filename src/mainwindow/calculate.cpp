// The input fields, the calculate command and the displays of its result.

#include "forms/names.h"
#include "mainwindow/mainwindow.h"

#include "calc/numbers.h"

#include <QLocale>
#include <QTimer>

#include <cmath>
#include <limits>

namespace mainwindow {

namespace ctl = forms::names::Form1;
namespace {

double calc::DesignInput::*valueOf(int number)
{
    return design::inputOfField(number)->value;
}

const QColor ResetColour(64, 0, 64);

QString fromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

// The stored value follows every change of the text, typed or set by the program. A text that
// is not wholly one number stores no number (NaN): nothing is calculated from a part of it, and
// the design differs from every design calculated before.
void MainWindow::Text_Change(int number)
{
    const calc::ReadNumber read = calc::readNumber(field(number)->text().toStdString());
    const bool refused =
        read.reading == calc::Reading::NotNumber || read.reading == calc::Reading::Ambiguous;
    m_input.*valueOf(number) = refused ? std::numeric_limits<double>::quiet_NaN() : read.value;
    // Typing after an arrangement choice is newer than what Undo would bring back.
    if (!field(number)->text().isEmpty())
        m_cleared.reset();
    keepCaseLoad(number);
    showTitle();
}

// Leaving the field shows the number it holds ("2,50" becomes "2.5", the empty text "0"); a text
// that is not one number stays as typed, so that the user sees what the calculation refuses.
QString MainWindow::writtenText(int number) const
{
    const double value = m_input.*valueOf(number);
    return std::isnan(value) ? field(number)->text() : fromUtf8(calc::writtenForm(value));
}

// Writing the number back is not typing: Undo of an arrangement choice stays offered.
void MainWindow::Text_LostFocus(int number)
{
    const std::optional<Cleared> cleared = m_cleared;
    field(number)->setText(writtenText(number));
    m_cleared = cleared;
}

// An empty field opens the notice and leaves the results; a text that is not one number is
// refused by name, and nothing calculated before stays on screen beside it.
void MainWindow::ImgCalc_Click()
{
    // Of several load cases, the first whose loads cannot be calculated is shown in the fields,
    // whose check then names what is missing or wrong.
    for (int i = 0; i < m_cases.size() && m_cases.size() > 1; ++i) {
        if (caseReadable(i))
            continue;
        showCase(i);
        if (m_casesWindow)
            m_casesWindow->select(i);
        break;
    }
    for (const design::Input &input : design::Inputs) {
        forms::Control *text = field(input.field);
        if (!text->isEnabled())
            continue;
        if (text->text().isEmpty()) {
            openNotice();
            return;
        }
        const calc::Reading reading = calc::readNumber(text->text().toStdString()).reading;
        if (reading == calc::Reading::NotNumber || reading == calc::Reading::Ambiguous) {
            refuseNumber(input, reading);
            return;
        }
    }
    m_firstPictureToClear = forms::installationPicture(1);
    ClearResults();
    m_lastCalculation = currentDesign();
    Mitoitus();
}

void MainWindow::refuseNumber(const design::Input &input, calc::Reading reading)
{
    m_firstPictureToClear = forms::installationPicture(1);
    ClearResults();
    m_lastCalculation.reset();

    forms::Control *text = field(input.field);
    const QString caption =
        control(QStringLiteral("Label%1").arg(input.field))->caption().trimmed();
    QString message;
    if (reading == calc::Reading::Ambiguous) {
        const calc::AmbiguousReadings r = calc::ambiguousReadings(text->text().toStdString());
        message = m_language.ownText(texts::Text::AmbiguousNumber)
                      .arg(caption, text->text(), fromUtf8(calc::writtenForm(r.thousands)),
                           fromUtf8(calc::writtenForm(r.decimals)), fromUtf8(r.thousandsText),
                           fromUtf8(r.pointText), fromUtf8(r.commaText));
    } else {
        message = m_language.ownText(texts::Text::NotNumber).arg(caption, text->text());
    }
    m_platform.messageBox(this, message, title());
    text->setFocus();
}

// From the calculate command only the installation drawings are hidden and the arrangement
// picture stays; from the start-up and the arrangement choice all eleven pictures. The results
// panel goes with the results.
void MainWindow::ClearResults()
{
    for (int k = m_firstPictureToClear; k <= forms::LastPicture; ++k)
        control(ctl::Picture1, k)->setVisible(false);
    for (const char *name : {"Label12", "Label17", "Label20", "label21"})
        control(QLatin1String(name))->setCaption(QString());
    for (int i = 1; i <= calc::SizeCount; ++i) {
        for (const char *row : {"veto_leikkaus", "leikkaus", "epak"}) {
            forms::Control *value = control(QLatin1String(row), i);
            value->setCaption(QString());
            value->setForeColor(ResetColour);
        }
    }
    m_firstPictureToClear = 0;
    m_resultShown = false;
    m_lastCases.reset();
    showCaseOutcomes();
    control(ctl::ImgSHOW)->setVisible(false);
    control(ctl::Label14)->setVisible(false);
    control(ctl::Label2)->setVisible(false);
    // The results panel belongs to the chosen size: empty, it would look like a result.
    control(ctl::ImgPodlozh)->setVisible(false);
    // The advice is shown while it holds a text (see Mitoitus).
    control(ctl::Label12)->setVisible(false);
}

void MainWindow::Mitoitus()
{
    // Results use the decimal separator of the user's regional settings.
    const std::string separator = QLocale().decimalPoint().toStdString();
    m_texts.tapaus7Caption =
        control(ctl::LbSit, forms::arrangementIndex(7))->caption().toStdString();
    // The working values are kept for the details page, which prints this result.
    // Of several load cases, every case is checked at each size on the geometry of the fields.
    const design::Design design = currentDesign();
    std::vector<calc::CaseLoads> loads;
    for (const design::LoadCase &loadCase : design.cases)
        loads.push_back(loadCase.loads);
    calc::CasesResult cases;
    const calc::Result &result = m_lastResult.emplace(
        loads.size() > 1 ? calc::MitoitusCases(m_input, loads, m_tapaus, m_concreteState, m_texts,
                                               cases, separator, calc::Working::Kept)
                         : calc::Mitoitus(m_input, m_tapaus, m_concreteState, m_texts, separator,
                                          calc::Working::Kept));
    if (loads.size() > 1)
        m_lastCases = cases;
    showResult(result, true);
}

// The displays of a result; a run that stopped says why in a message only when it has just been
// calculated (not when Undo brings its displays back).
void MainWindow::showResult(const calc::Result &result, bool announce)
{
    const std::string separator = QLocale().decimalPoint().toStdString();
    m_resultShown = true;
    m_sizeNo = result.sizeNo;
    const print::ResultTexts texts = print::resultTexts(result, separator);

    control(ctl::Picture1, forms::arrangementPicture(m_tapaus))->setVisible(true);
    // A heading the run did not write keeps its caption.
    const std::pair<const char *, const QString *> headings[] = {
        {"Label18", &texts.capacityHeading},
        {"Label20", &texts.shearHeading},
        {"label21", &texts.eccentricHeading}};
    for (const auto &[name, heading] : headings)
        if (!heading->isEmpty())
            control(QLatin1String(name))->setCaption(*heading);
    for (int i = 1; i <= calc::SizeCount; ++i) {
        const std::size_t s = std::size_t(i - 1);
        control(ctl::veto_leikkaus, i)->setCaption(texts.tension[s]);
        control(ctl::leikkaus, i)->setCaption(texts.shear[s]);
        control(ctl::epak, i)->setCaption(texts.eccentric[s]);
    }

    showCaseOutcomes();
    switch (result.outcome) {
    case calc::Outcome::Chosen: {
        const calc::ChosenSize &chosen = *result.chosen;
        control(ctl::Label17)->setCaption(texts.anchor);
        m_dataSheetSize = chosen.sizeNo;
        m_dataSheetTitle = fromUtf8(chosen.dataSheetTitle);
        // An open sheet takes the new size and title at once; it shows the table of the size
        // when it next becomes active.
        if (m_dataSheet)
            m_dataSheet->setChosenSize(m_dataSheetSize, m_dataSheetTitle);
        QTimer::singleShot(0, this, &MainWindow::prepareDataSheet);
        control(ctl::ImgSHOW)->setVisible(true);
        control(ctl::Label14)->setVisible(true);
        control(ctl::Picture1, forms::installationPicture(texts.drawing))->setVisible(true);
        control(ctl::ImgPodlozh)->setVisible(true);
        if (!texts.plate.isEmpty()) {
            forms::Control *plate = control(ctl::Label2);
            plate->setCaption(texts.plate);
            plate->setVisible(true);
        }
        break;
    }
    case calc::Outcome::Stopped:
        if (announce)
            m_platform.messageBox(this, texts.failure, fromUtf8(result.message->title));
        break;
    case calc::Outcome::Advice: {
        // The advice is the only word of what went wrong: it must be seen, so the label that
        // holds it is shown with it.
        forms::Control *advice = control(ctl::Label12);
        advice->setCaption(texts.failure);
        advice->setVisible(true);
        break;
    }
    }
}

} // namespace mainwindow
