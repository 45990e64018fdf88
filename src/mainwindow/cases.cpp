// The design's load cases in the main window. The four load fields are the case chosen in the
// Load cases window (the first by default): typing into them edits that case, choosing another
// case shows its loads. A design of one case is the design of the fields alone.

#include "mainwindow/mainwindow.h"

namespace mainwindow {

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
        connect(m_casesWindow, &casewindow::LoadCasesWindow::casesEdited, this,
                &MainWindow::casesEdited);
        connect(m_casesWindow, &casewindow::LoadCasesWindow::caseSelected, this,
                &MainWindow::showCase);
    }
    m_casesWindow->showWindow();
}

} // namespace mainwindow
