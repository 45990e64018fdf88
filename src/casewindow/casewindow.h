#pragma once

// The Load cases window: the design's load cases as a table, a row per case.
//
//   casewindow.cpp   the window: the table in Frame1, its commands, keys and texts; pasted
//                    cells and CSV files read and written by loadcases/
//
// The window holds the cases as typed (name and the four load texts) and tells the window that
// opened it of every change (casesEdited) and of the row chosen (caseSelected); that window
// hands it the cases (setCases), a case's loads typed elsewhere (setLoads) and, after a
// calculation, each case's utilisation and outcome (setOutcomes). It knows no other window.

#include "calc/calc.h"
#include "design/design.h"
#include "designfile/designfile.h"
#include "forms/form.h"
#include "forms/platform.h"
#include "lang/languages.h"

#include <QList>
#include <QStringList>

class QTableWidget;

namespace casewindow {

using Case = designfile::CaseTexts;

// The table's columns: the name, the loads in the order of designfile::LoadInputs, then the
// utilisation and outcome of the last calculation, which are not typed.
inline constexpr int NameColumn = 0;
inline constexpr int FirstLoadColumn = 1;
inline constexpr int UtilisationColumn = FirstLoadColumn + designfile::LoadCount;
inline constexpr int OutcomeColumn = UtilisationColumn + 1;
inline constexpr int ColumnCount = OutcomeColumn + 1;

// The name a new case gets: its row's number.
QString defaultName(int row);

// What a calculation leaves for a case at the size it chose (or at M16, when none suffices):
// the case's highest utilisation there ("0.87") and its outcome, and whether it governs.
struct Outcome
{
    QString utilisation;
    calc::SizeOutcome outcome = calc::SizeOutcome::Chosen;
    bool governing = false;
};

class LoadCasesWindow : public forms::Form
{
    Q_OBJECT
public:
    LoadCasesWindow(forms::Platform &platform, lang::LanguageTag &language,
                    QWidget *parent = nullptr);

    // The cases shown (at least one; none shows one empty case) and the row chosen; the
    // outcomes are cleared.
    void setCases(const QList<Case> &cases, int selected);
    QList<Case> cases() const;
    int selected() const;
    // The loads of case `row` as typed in another window.
    void setLoads(int row, const std::array<QString, designfile::LoadCount> &loads);
    // After a calculation, one outcome a case, and the line that sums them up; no outcomes and
    // an empty line clear them.
    void setOutcomes(const QList<Outcome> &outcomes, const QString &summary);
    QTableWidget *table() const { return m_table; }
    // Chooses case `row`, as a click on it does.
    void select(int row);

    // The captions in the language of the moment.
    void Form_Activate();
    void CmdAdd_Click();
    void CmdCopy_Click();
    void CmdDelete_Click();
    void CmdPaste_Click();
    void CmdImport_Click();
    void CmdExport_Click();
    void CmdClose_Click();
    // Cells of a spreadsheet as the clipboard holds them (rows of tab-separated cells, with or
    // without a header row of the column keys, as loadcases/ reads them) put in the rows from
    // the current one, rows added beyond the last. A row that cannot be read refuses the whole
    // block, naming the row. False when it was refused.
    bool pasteCells(const QString &text);

signals:
    void casesEdited();
    void caseSelected(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void insertRow(int row, const Case &loadCase);
    void setRow(int row, const Case &loadCase);
    bool putCases(const std::vector<design::LoadCase> &cases, int first);
    void selectRow(int row);
    void showOutcomes();
    void refuse(const QString &why);

    forms::Platform &m_platform;
    lang::LanguageTag &m_language;
    QTableWidget *m_table = nullptr;
    bool m_filling = false; // the window itself changes the table: no casesEdited
    QList<Outcome> m_outcomes;
};

} // namespace casewindow
