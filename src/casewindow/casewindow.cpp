#include "casewindow/casewindow.h"

#include "calc/numbers.h"
#include "design/design.h"
#include "forms/definitions.h"
#include "forms/keys.h"
#include "forms/names.h"
#include "lang/languagefile.h"
#include "lang/languagetable.h"
#include "loadcases/loadcases.h"
#include "outfile/outfile.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace casewindow {

namespace ctl = forms::names::FrmCASES;

namespace {

// The window's texts in its language, from the program's own texts.
struct Texts
{
    QString caption, label1, add, copy, remove, paste, import, exportCsv, close, name, utilisation,
        outcome;
    // A pasted block or an imported file refused; %1 what is wrong with it (or the file's name
    // and that), %2 the most cases a design holds.
    QString notPasted, notImported;
    QString notExported; // %1 the case's number, %2 the load's title, %3 the text
    QString tooManyCases;
    // A case's outcome at the size: it passes, or the check it fails; the governing case's mark.
    QString passes;
    QString fails[3]; // tension, shear, eccentric tension
    QString governs;
};

Texts textsFor(const lang::LanguageTag &language)
{
    using texts::Text;
    const auto t = [&language](Text key) { return language.ownText(key); };
    return {t(Text::CasesTitle),
            t(Text::CasesExplained),
            t(Text::CasesAdd),
            t(Text::CasesDuplicate),
            t(Text::CasesDelete),
            t(Text::CasesPaste),
            t(Text::CasesImport),
            t(Text::CasesExport),
            t(Text::CasesClose),
            t(Text::CasesName),
            t(Text::CasesUtilisation),
            t(Text::CasesOutcome),
            t(Text::CasesNotPasted),
            t(Text::CasesNotImported),
            t(Text::CasesNotExported),
            t(Text::CasesTooMany),
            t(Text::CasesPasses),
            {t(Text::FailsTension), t(Text::FailsShear), t(Text::FailsEccentric)},
            t(Text::CasesGoverns)};
}

QString text(const QString &text)
{
    return text;
}

QString loadTitle(int load)
{
    const design::Input &input = design::loadInput(load);
    return QStringLiteral("%1 (%2)").arg(
        QLatin1String(input.label.data(), qsizetype(input.label.size())),
        QLatin1String(input.unit.data(), qsizetype(input.unit.size())));
}

} // namespace

QString defaultName(int row)
{
    return QString::number(row + 1);
}

LoadCasesWindow::LoadCasesWindow(forms::Platform &platform, lang::LanguageTag &language,
                                 QWidget *parent)
    : forms::Form(forms::FrmCASES, parent), m_platform(platform), m_language(language)
{
    QWidget *frame = control(ctl::Frame1)->widget();
    m_table = new QTableWidget(0, ColumnCount, frame);
    m_table->setObjectName(QStringLiteral("cases"));
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);
    m_table->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    // Typing or F2 edits the current cell; moving to a cell does not, so that Ctrl+V there
    // pastes a block rather than into one cell.
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    m_table->setTabKeyNavigation(true);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(OutcomeColumn, QHeaderView::ResizeToContents);
    m_table->verticalHeader()->setDefaultSectionSize(22);
    m_table->installEventFilter(this);
    setTabOrder(m_table, control(ctl::CmdAdd)->widget());
    // The keyboard starts in the table, on the first case, as a window opened by its key is used.
    m_table->setFocus();

    connect(this, &forms::Form::activated, this, &LoadCasesWindow::Form_Activate);
    using forms::Control;
    connect(control(ctl::CmdAdd), &Control::clicked, this, &LoadCasesWindow::CmdAdd_Click);
    connect(control(ctl::CmdCopy), &Control::clicked, this, &LoadCasesWindow::CmdCopy_Click);
    connect(control(ctl::CmdDelete), &Control::clicked, this, &LoadCasesWindow::CmdDelete_Click);
    connect(control(ctl::CmdPaste), &Control::clicked, this, &LoadCasesWindow::CmdPaste_Click);
    connect(control(ctl::CmdImport), &Control::clicked, this, &LoadCasesWindow::CmdImport_Click);
    connect(control(ctl::CmdExport), &Control::clicked, this, &LoadCasesWindow::CmdExport_Click);
    connect(control(ctl::CmdClose), &Control::clicked, this, &LoadCasesWindow::CmdClose_Click);
    forms::addShortcut(*this, QKeySequence(Qt::CTRL | Qt::Key_Insert), control(ctl::CmdAdd));
    forms::addShortcut(*this, QKeySequence(Qt::CTRL | Qt::Key_D), control(ctl::CmdCopy));
    forms::addShortcut(*this, QKeySequence(Qt::CTRL | Qt::Key_Delete), control(ctl::CmdDelete));
    forms::addShortcut(*this, QKeySequence(Qt::Key_Escape), control(ctl::CmdClose));

    connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (!m_filling && item->column() < UtilisationColumn)
            emit casesEdited();
    });
    connect(m_table, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previous, int) {
                if (!m_filling && row >= 0 && row != previous)
                    emit caseSelected(row);
            });
    setCases({}, 0);
    Form_Activate();
}

void LoadCasesWindow::Form_Activate()
{
    const Texts texts = textsFor(m_language);
    setCaption(text(texts.caption));
    control(ctl::Label1)->setCaption(texts.label1);
    control(ctl::CmdAdd)->setCaption(text(texts.add));
    control(ctl::CmdCopy)->setCaption(text(texts.copy));
    control(ctl::CmdDelete)->setCaption(text(texts.remove));
    control(ctl::CmdPaste)->setCaption(text(texts.paste));
    control(ctl::CmdImport)->setCaption(text(texts.import));
    control(ctl::CmdExport)->setCaption(text(texts.exportCsv));
    control(ctl::CmdClose)->setCaption(text(texts.close));
    QStringList titles{text(texts.name)};
    for (int load = 0; load < designfile::LoadCount; ++load)
        titles << loadTitle(load);
    titles << text(texts.utilisation) << text(texts.outcome);
    m_table->setHorizontalHeaderLabels(titles);
    showOutcomes();
}

void LoadCasesWindow::setCases(const QList<Case> &cases, int selected)
{
    m_filling = true;
    m_table->setRowCount(0);
    const QList<Case> shown = cases.isEmpty() ? QList<Case>{Case{defaultName(0), {}}} : cases;
    for (qsizetype row = 0; row < shown.size(); ++row)
        insertRow(int(row), shown[row]);
    m_filling = false;
    selectRow(qBound(0, selected, m_table->rowCount() - 1));
    setOutcomes({}, QString());
}

QList<Case> LoadCasesWindow::cases() const
{
    QList<Case> cases;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        Case loadCase;
        const auto cell = [&](int column) {
            const QTableWidgetItem *item = m_table->item(row, column);
            return item ? item->text() : QString();
        };
        loadCase.name = cell(NameColumn);
        for (int load = 0; load < designfile::LoadCount; ++load)
            loadCase.loads[std::size_t(load)] = cell(FirstLoadColumn + load);
        cases.append(loadCase);
    }
    return cases;
}

int LoadCasesWindow::selected() const
{
    return qMax(0, m_table->currentRow());
}

void LoadCasesWindow::setLoads(int row, const std::array<QString, designfile::LoadCount> &loads)
{
    if (row < 0 || row >= m_table->rowCount())
        return;
    m_filling = true;
    for (int load = 0; load < designfile::LoadCount; ++load)
        m_table->item(row, FirstLoadColumn + load)->setText(loads[std::size_t(load)]);
    m_filling = false;
}

void LoadCasesWindow::setOutcomes(const QList<Outcome> &outcomes, const QString &summary)
{
    m_outcomes = outcomes;
    showOutcomes();
    control(ctl::Label2)->setCaption(summary);
}

void LoadCasesWindow::showOutcomes()
{
    const Texts texts = textsFor(m_language);
    const bool filling = m_filling;
    m_filling = true;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        QString utilisation;
        QString outcome;
        if (row < m_outcomes.size()) {
            const Outcome &o = m_outcomes[row];
            utilisation = o.utilisation;
            outcome = o.outcome == calc::SizeOutcome::Chosen
                          ? text(texts.passes)
                          : text(texts.fails[int(o.outcome) - int(calc::SizeOutcome::Tension)]);
            if (o.governing)
                outcome += u' ' + texts.governs;
        }
        m_table->item(row, UtilisationColumn)->setText(utilisation);
        m_table->item(row, OutcomeColumn)->setText(outcome);
    }
    m_filling = filling;
}

void LoadCasesWindow::select(int row)
{
    selectRow(qBound(0, row, m_table->rowCount() - 1));
}

void LoadCasesWindow::insertRow(int row, const Case &loadCase)
{
    const bool filling = m_filling;
    m_filling = true;
    m_table->insertRow(row);
    m_table->setItem(row, NameColumn, new QTableWidgetItem(loadCase.name));
    for (int load = 0; load < designfile::LoadCount; ++load) {
        auto *item = new QTableWidgetItem(loadCase.loads[std::size_t(load)]);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(row, FirstLoadColumn + load, item);
    }
    for (const int column : {UtilisationColumn, OutcomeColumn}) {
        auto *item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        if (column == UtilisationColumn)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(row, column, item);
    }
    m_filling = filling;
}

void LoadCasesWindow::selectRow(int row)
{
    const int column = qMax(0, m_table->currentColumn());
    m_table->setCurrentCell(row, column);
}

void LoadCasesWindow::refuse(const QString &why)
{
    m_platform.messageBox(this, why, caption());
}

// A new case below the current one, empty but for its name; the case chosen becomes it.
void LoadCasesWindow::CmdAdd_Click()
{
    if (m_table->rowCount() >= designfile::MaxCases)
        return m_platform.beep();
    const int row = m_table->currentRow() + 1;
    insertRow(row, Case{defaultName(m_table->rowCount()), {}});
    setOutcomes({}, QString());
    emit casesEdited();
    selectRow(row);
}

void LoadCasesWindow::CmdCopy_Click()
{
    if (m_table->rowCount() >= designfile::MaxCases)
        return m_platform.beep();
    const int row = selected();
    Case copy = cases().at(row);
    insertRow(row + 1, copy);
    setOutcomes({}, QString());
    emit casesEdited();
    selectRow(row + 1);
}

// The last case is not deleted: a design has at least one.
void LoadCasesWindow::CmdDelete_Click()
{
    if (m_table->rowCount() <= 1)
        return m_platform.beep();
    const int row = selected();
    m_filling = true;
    m_table->removeRow(row);
    m_filling = false;
    setOutcomes({}, QString());
    emit casesEdited();
    const int next = qMin(row, m_table->rowCount() - 1);
    selectRow(next);
    emit caseSelected(next); // the row's number may be the same, its case is not
}

void LoadCasesWindow::CmdPaste_Click()
{
    pasteCells(QApplication::clipboard()->text());
}

void LoadCasesWindow::CmdClose_Click()
{
    close();
}

bool LoadCasesWindow::pasteCells(const QString &text)
{
    const Texts texts = textsFor(m_language);
    QString error;
    const std::optional<std::vector<design::LoadCase>> pasted = loadcases::fromCells(text, error);
    if (!pasted) {
        refuse(texts.notPasted.arg(error));
        return false;
    }
    return putCases(*pasted, qMax(0, m_table->currentRow()));
}

// The cases in the rows from `first` on, rows added beyond the last; their loads as leaving a
// field writes them.
bool LoadCasesWindow::putCases(const std::vector<design::LoadCase> &cases, int first)
{
    if (first + qsizetype(cases.size()) > designfile::MaxCases) {
        refuse(textsFor(m_language).tooManyCases.arg(designfile::MaxCases));
        return false;
    }
    m_filling = true;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const design::LoadCase &loadCase = cases[i];
        const calc::DesignInput loads = calc::withLoads({}, loadCase.loads);
        Case typed{QString::fromStdString(loadCase.name), {}};
        for (int l = 0; l < designfile::LoadCount; ++l)
            typed.loads[std::size_t(l)] =
                QString::fromStdString(calc::writtenForm(loads.*design::loadInput(l).value));
        const int row = first + int(i);
        if (row >= m_table->rowCount())
            insertRow(row, typed);
        else
            setRow(row, typed);
    }
    m_filling = false;
    setOutcomes({}, QString());
    emit casesEdited();
    emit caseSelected(selected());
    return true;
}

void LoadCasesWindow::setRow(int row, const Case &loadCase)
{
    m_table->item(row, NameColumn)->setText(loadCase.name);
    for (int load = 0; load < designfile::LoadCount; ++load)
        m_table->item(row, FirstLoadColumn + load)->setText(loadCase.loads[std::size_t(load)]);
}

// The file's cases take the place of the table's.
void LoadCasesWindow::CmdImport_Click()
{
    const QString path = m_platform.openCasesPath(this, QString());
    if (path.isEmpty())
        return;
    const Texts texts = textsFor(m_language);
    QString error;
    QFile file(path);
    const QFileInfo info(path);
    std::optional<std::vector<design::LoadCase>> read;
    if (!info.isFile())
        error = QStringLiteral("it is not a regular file");
    else if (info.size() > loadcases::MaxFileSize || !file.open(QIODevice::ReadOnly))
        error = file.isOpen() ? QStringLiteral("it is larger than 1 MiB") : file.errorString();
    else if (const QByteArray bytes = file.read(loadcases::MaxFileSize + 1);
             bytes.size() > loadcases::MaxFileSize)
        error = QStringLiteral("it is larger than 1 MiB");
    else
        read = loadcases::fromCsv(bytes, error);
    if (read && read->size() > std::size_t(designfile::MaxCases)) {
        read.reset();
        error = texts.tooManyCases.arg(designfile::MaxCases);
    }
    if (!read) {
        refuse(texts.notImported.arg(path, error));
        return;
    }
    m_filling = true;
    m_table->setRowCount(0);
    m_filling = false;
    putCases(*read, 0);
    selectRow(0);
}

// The cases as the calculation reads them; a load that is not a number is not exported.
void LoadCasesWindow::CmdExport_Click()
{
    const Texts texts = textsFor(m_language);
    std::vector<design::LoadCase> numbers;
    const QList<Case> typed = cases();
    for (qsizetype c = 0; c < typed.size(); ++c) {
        design::LoadCase loadCase{typed[c].name.toStdString(), {}};
        calc::DesignInput loads;
        for (int l = 0; l < designfile::LoadCount; ++l) {
            const QString &text = typed[c].loads[std::size_t(l)];
            const calc::ReadNumber read = calc::readNumber(text.toStdString());
            if (read.reading == calc::Reading::NotNumber ||
                read.reading == calc::Reading::Ambiguous) {
                refuse(texts.notExported.arg(c + 1).arg(loadTitle(l), text));
                return;
            }
            loads.*design::loadInput(l).value = read.value;
        }
        loadCase.loads = {loads.NSd, loads.V1d, loads.e1, loads.e2};
        numbers.push_back(loadCase);
    }
    const QString path = m_platform.saveCasesPath(this, QString(), QStringLiteral("cases.csv"));
    if (path.isEmpty())
        return;
    const QByteArray bytes = loadcases::toCsv(numbers);
    // The table never takes the place of a language file the program reads.
    QList<outfile::Input> inputs;
    for (const QString &language : lang::findFiles(m_platform.programFolder()))
        if (const auto in =
                outfile::input(language, QStringLiteral("the language file '%1'").arg(language)))
            inputs << *in;
    outfile::OutputFile file(path, inputs);
    if (!file.start() || file.device()->write(bytes) != bytes.size() || !file.finish())
        m_platform.messageBox(
            this, QStringLiteral("cannot write '%1': %2").arg(path, file.failure()), caption());
}

// Ctrl+V in the table pastes the block, not one cell's text.
bool LoadCasesWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
        CmdPaste_Click();
        return true;
    }
    return forms::Form::eventFilter(watched, event);
}

} // namespace casewindow
