// The input fields, the calculate command and the displays of its result.

#include "mainwindow/mainwindow.h"

#include "calc/numbers.h"

#include <QLocale>
#include <QTimer>

namespace mainwindow {
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

// The stored value follows every change of the text, typed or set by the program.
void MainWindow::Text_Change(int number)
{
    m_input.*valueOf(number) = calc::parseField(field(number)->text().toStdString());
}

// Leaving the field shows the number it holds ("12abc" becomes "12", the empty text "0").
void MainWindow::Text_LostFocus(int number)
{
    field(number)->setText(fromUtf8(calc::writtenForm(m_input.*valueOf(number))));
}

void MainWindow::ImgCalc_Click()
{
    for (const design::Input &input : design::Inputs) {
        forms::Control *text = field(input.field);
        if (text->isEnabled() && text->text().isEmpty()) {
            openNotice();
            return;
        }
    }
    m_firstPictureToClear = forms::installationPicture(1);
    ClearResults();
    m_lastCalculation = currentDesign();
    Mitoitus();
}

// From the calculate command only the installation drawings are hidden and the arrangement
// picture stays; from the start-up and the arrangement choice all eleven pictures.
void MainWindow::ClearResults()
{
    for (int k = m_firstPictureToClear; k <= forms::LastPicture; ++k)
        control("Picture1", k)->setVisible(false);
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
    control("ImgSHOW")->setVisible(false);
    control("Label14")->setVisible(false);
    control("Label2")->setVisible(false);
    // The advice is shown while it holds a text (see Mitoitus).
    control("Label12")->setVisible(false);
}

void MainWindow::Mitoitus()
{
    // Results use the decimal separator of the user's regional settings.
    const std::string separator = QLocale().decimalPoint().toStdString();
    m_texts.tapaus7Caption = control("LbSit", forms::arrangementIndex(7))->caption().toStdString();
    // The working values are kept for the details page, which prints this result.
    const calc::Result &result = m_lastResult.emplace(calc::Mitoitus(
        m_input, m_tapaus, m_concreteState, m_texts, separator, calc::Working::Kept));
    m_sizeNo = result.sizeNo;
    const print::ResultTexts texts = print::resultTexts(result, separator);

    control("Picture1", forms::arrangementPicture(m_tapaus))->setVisible(true);
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
        control("veto_leikkaus", i)->setCaption(texts.tension[s]);
        control("leikkaus", i)->setCaption(texts.shear[s]);
        control("epak", i)->setCaption(texts.eccentric[s]);
    }

    switch (result.outcome) {
    case calc::Outcome::Chosen: {
        const calc::ChosenSize &chosen = *result.chosen;
        control("Label17")->setCaption(texts.anchor);
        m_dataSheetSize = chosen.sizeNo;
        m_dataSheetTitle = fromUtf8(chosen.dataSheetTitle);
        // An open sheet takes the new size and title at once; it shows the table of the size
        // when it next becomes active.
        if (m_dataSheet)
            m_dataSheet->setChosenSize(m_dataSheetSize, m_dataSheetTitle);
        QTimer::singleShot(0, this, &MainWindow::prepareDataSheet);
        control("ImgSHOW")->setVisible(true);
        control("Label14")->setVisible(true);
        control("Picture1", forms::installationPicture(texts.drawing))->setVisible(true);
        control("ImgPodlozh")->setVisible(true);
        if (!texts.plate.isEmpty()) {
            forms::Control *plate = control("Label2");
            plate->setCaption(texts.plate);
            plate->setVisible(true);
        }
        break;
    }
    case calc::Outcome::Stopped:
        m_platform.messageBox(this, texts.failure, fromUtf8(result.message->title));
        break;
    case calc::Outcome::Advice: {
        // The advice is the only word of what went wrong: it must be seen, so the label that
        // holds it is shown with it.
        forms::Control *advice = control("Label12");
        advice->setCaption(texts.failure);
        advice->setVisible(true);
        break;
    }
    }
}

} // namespace mainwindow
