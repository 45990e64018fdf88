// The design's load cases in the main window. The four load fields are the case chosen in the
// Load cases window (the first by default): typing into them edits that case, choosing another
// case shows its loads. A design of one case is the design of the fields alone.

#include "mainwindow/mainwindow.h"

#include "calc/numbers.h"
#include "forms/names.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace mainwindow {

namespace ctl = forms::names::Form1;

namespace {

// The load of field TextN (its index in designfile::LoadInputs), or -1.
int loadOfField(int number)
{
    for (int l = 0; l < designfile::LoadCount; ++l)
        if (design::Inputs[designfile::LoadInputs[l]].field == number)
            return l;
    return -1;
}

} // namespace

design::Design MainWindow::currentDesign() const
{
    design::Design design{m_tapaus, m_concreteState == calc::Cracked, m_input, {}};
    if (m_cases.size() < 2)
        return design;
    for (const designfile::CaseTexts &typed : m_cases) {
        design::LoadCase loadCase{typed.name.toStdString(), {}};
        double *values[] = {&loadCase.loads.NSd, &loadCase.loads.V1d, &loadCase.loads.e1,
                            &loadCase.loads.e2};
        for (int l = 0; l < designfile::LoadCount; ++l) {
            if (!design::uses(m_tapaus, design::loadInput(l)))
                continue;
            const calc::ReadNumber read =
                calc::readNumber(typed.loads[std::size_t(l)].toStdString());
            *values[l] = read.reading == calc::Reading::Number
                             ? read.value
                             : std::numeric_limits<double>::quiet_NaN();
        }
        design.cases.push_back(loadCase);
    }
    design.input = calc::withLoads(design.input, design.cases.front().loads);
    return design;
}

bool MainWindow::caseReadable(int index) const
{
    for (int l = 0; l < designfile::LoadCount; ++l)
        if (design::uses(m_tapaus, design::loadInput(l)) &&
            calc::readNumber(m_cases.at(index).loads[std::size_t(l)].toStdString()).reading !=
                calc::Reading::Number)
            return false;
    return true;
}

void MainWindow::showCaseOutcomes()
{
    QString line;
    QList<casewindow::Outcome> outcomes;
    if (m_lastCases && m_lastResult) {
        const calc::CasesResult &cases = *m_lastCases;
        if (cases.governingCase && *cases.governingCase < m_cases.size())
            line = m_language.ownText(texts::Text::CasesGoverning)
                       .arg(m_cases.at(*cases.governingCase).name)
                       .arg(*cases.governingCase + 1)
                       .arg(cases.caseCount);
        else
            line = m_language.ownText(texts::Text::CasesChecked).arg(cases.caseCount);
        // Each case at the size the run ended at: the chosen one, or M16.
        const std::string separator = QLocale().decimalPoint().toStdString();
        for (const calc::CasesAtSize &at : cases.sizes) {
            if (at.sizeNo != m_lastResult->sizeNo)
                continue;
            outcomes.resize(cases.caseCount);
            for (const calc::CaseRow &row : at.cases)
                outcomes[row.caseIndex] = {QString::fromStdString(calc::formatFixed2(
                                               calc::caseUtilization(row), separator)),
                                           row.outcome, cases.governingCase == row.caseIndex};
        }
    }
    control(ctl::LbCases)->setCaption(line);
    if (m_casesWindow)
        m_casesWindow->setOutcomes(outcomes, line);
}

void MainWindow::showCase(int index)
{
    m_selectedCase = qBound(0, index, int(m_cases.size()) - 1);
    const designfile::CaseTexts &shown = m_cases.at(m_selectedCase);
    m_showingCase = true;
    for (int l = 0; l < designfile::LoadCount; ++l) {
        const design::Input &input = design::Inputs[designfile::LoadInputs[l]];
        field(input.field)
            ->setText(design::uses(m_tapaus, input) ? shown.loads[std::size_t(l)] : QString());
    }
    m_showingCase = false;
    showTitle();
}

void MainWindow::keepCaseLoad(int number)
{
    const int l = loadOfField(number);
    if (l < 0 || m_showingCase)
        return;
    designfile::CaseTexts &shown = m_cases[m_selectedCase];
    shown.loads[std::size_t(l)] = field(number)->text();
    if (m_casesWindow)
        m_casesWindow->setLoads(m_selectedCase, shown.loads);
}

void MainWindow::casesEdited()
{
    m_cases = m_casesWindow->cases();
    showCase(m_casesWindow->selected());
}

// A window of its own beside this one, as the data sheet: it is not disabled with this one.
void MainWindow::openLoadCases()
{
    if (!m_casesWindow) {
        m_casesWindow = new casewindow::LoadCasesWindow(m_platform, m_language);
        m_casesWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_casesWindow->setCases(m_cases, m_selectedCase);
        showCaseOutcomes();
        connect(m_casesWindow, &casewindow::LoadCasesWindow::casesEdited, this,
                &MainWindow::casesEdited);
        connect(m_casesWindow, &casewindow::LoadCasesWindow::caseSelected, this,
                &MainWindow::showCase);
    }
    m_casesWindow->showWindow();
}

} // namespace mainwindow
