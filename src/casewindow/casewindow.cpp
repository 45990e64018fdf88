#include "casewindow/casewindow.h"

#include "calc/numbers.h"
#include "design/design.h"
#include "forms/definitions.h"
#include "forms/keys.h"
#include "forms/names.h"
#include "lang/languagetable.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace casewindow {

namespace ctl = forms::names::FrmCASES;

namespace {

// The window's texts beside the Finnish captions of its definition.
struct Texts
{
    const char *caption;
    const char *label1;
    const char *add;
    const char *copy;
    const char *remove;
    const char *paste;
    const char *import;
    const char *exportCsv;
    const char *close;
    const char *name;
    const char *utilisation;
    const char *outcome;
    // A pasted block refused; %1 the row of the block (counting a header), %2 the column's
    // title, %3 the text.
    const char *notNumber;
    const char *tooWide;      // %1 the row
    const char *tooManyCases; // %1 the most a design holds
};

constexpr Texts English{
    "Load cases",
    "Load cases: name, NSd (kN), V1d (kN), e1 (mm), e2 (mm). Cells can be pasted from a "
    "spreadsheet (Ctrl+V).",
    "Add",
    "Duplicate",
    "Delete",
    "Paste",
    "Import CSV…",
    "Export CSV…",
    "Close",
    "Name",
    "Utilisation",
    "Outcome",
    "Row %1: %2 \"%3\" is not a number. Nothing was pasted.",
    "Row %1 has more cells than the table has columns from the current cell. Nothing was "
    "pasted.",
    "A design holds at most %1 load cases. Nothing was pasted.",
};
constexpr Texts Finnish{
    "Kuormitustapaukset",
    nullptr, // the definition's caption
    "Lisää",
    "Monista",
    "Poista",
    "Liitä",
    "Tuo CSV…",
    "Vie CSV…",
    "Sulje",
    "Nimi",
    "Käyttöaste",
    "Tulos",
    "Rivi %1: %2 \"%3\" ei ole luku. Mitään ei liitetty.",
    "Rivillä %1 on enemmän soluja kuin taulukossa on sarakkeita valitusta solusta alkaen. "
    "Mitään ei liitetty.",
    "Mitoituksessa voi olla enintään %1 kuormitustapausta. Mitään ei liitetty.",
};

const Texts &textsFor(const lang::LanguageTag &language)
{
    return lang::row(language.language()).windowTexts == lang::WindowTexts::Finnish ? Finnish
                                                                                    : English;
}

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

const design::Input &loadInput(int load)
{
    return design::Inputs[designfile::LoadInputs[load]];
}

QString loadTitle(int load)
{
    const design::Input &input = loadInput(load);
    return QStringLiteral("%1 (%2)").arg(
        QLatin1String(input.label.data(), qsizetype(input.label.size())),
        QLatin1String(input.unit.data(), qsizetype(input.unit.size())));
}

// The column a header cell names: "name" or a load's key, in any case; -1 for none.
int columnNamed(const QString &cell)
{
    const QString key = cell.trimmed().toLower();
    if (key == u"name")
        return NameColumn;
    for (int load = 0; load < designfile::LoadCount; ++load)
        if (key == QLatin1String(loadInput(load).key.data(), qsizetype(loadInput(load).key.size())))
            return FirstLoadColumn + load;
    return -1;
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
    m_table->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    m_table->verticalHeader()->setDefaultSectionSize(22);
    m_table->installEventFilter(this);
    setTabOrder(m_table, control(ctl::CmdAdd)->widget());

    connect(this, &forms::Form::activated, this, &LoadCasesWindow::Form_Activate);
    using forms::Control;
    connect(control(ctl::CmdAdd), &Control::clicked, this, &LoadCasesWindow::CmdAdd_Click);
    connect(control(ctl::CmdCopy), &Control::clicked, this, &LoadCasesWindow::CmdCopy_Click);
    connect(control(ctl::CmdDelete), &Control::clicked, this, &LoadCasesWindow::CmdDelete_Click);
    connect(control(ctl::CmdPaste), &Control::clicked, this, &LoadCasesWindow::CmdPaste_Click);
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
    const Texts &texts = textsFor(m_language);
    setCaption(text(texts.caption));
    control(ctl::Label1)
        ->setCaption(text(texts.label1 ? texts.label1
                                       : forms::findControl(forms::FrmCASES, "Label1")->caption));
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
    control(ctl::Label2)->setCaption(QString());
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
    m_filling = true;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const Outcome outcome = row < outcomes.size() ? outcomes[row] : Outcome{};
        m_table->item(row, UtilisationColumn)->setText(outcome.utilisation);
        m_table->item(row, OutcomeColumn)->setText(outcome.outcome);
    }
    m_filling = false;
    control(ctl::Label2)->setCaption(summary);
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
    const Texts &texts = textsFor(m_language);
    QStringList lines = text.split(u'\n');
    for (QString &line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // a spreadsheet ends the block with a line break
    if (lines.isEmpty())
        return true;

    // A first row that names columns maps the cells to them; else they go from the current
    // cell rightwards.
    QList<int> columns;
    const QStringList first = lines.first().split(u'\t');
    for (const QString &cell : first)
        columns.append(columnNamed(cell));
    const bool header = !columns.contains(-1);
    const int startColumn = qMax(0, m_table->currentColumn());
    const int startRow = qMax(0, m_table->currentRow());
    struct Cell
    {
        int row;
        int column;
        QString text;
    };
    QList<Cell> cells;
    int rowsNeeded = m_table->rowCount();
    for (qsizetype l = header ? 1 : 0; l < lines.size(); ++l) {
        const int row = startRow + int(l) - (header ? 1 : 0);
        const QStringList values = lines[l].split(u'\t');
        for (qsizetype i = 0; i < values.size(); ++i) {
            const int column =
                header ? (i < columns.size() ? columns[i] : ColumnCount) : startColumn + int(i);
            if (column >= UtilisationColumn) {
                refuse(QString::fromUtf8(texts.tooWide).arg(l + 1));
                return false;
            }
            if (column >= FirstLoadColumn) {
                const calc::Reading reading = calc::readNumber(values[i].toStdString()).reading;
                if (reading == calc::Reading::NotNumber || reading == calc::Reading::Ambiguous) {
                    refuse(QString::fromUtf8(texts.notNumber)
                               .arg(l + 1)
                               .arg(loadTitle(column - FirstLoadColumn), values[i]));
                    return false;
                }
            }
            cells.append({row, column, values[i].trimmed()});
        }
        rowsNeeded = qMax(rowsNeeded, row + 1);
    }
    if (rowsNeeded > designfile::MaxCases) {
        refuse(QString::fromUtf8(texts.tooManyCases).arg(designfile::MaxCases));
        return false;
    }
    m_filling = true;
    while (m_table->rowCount() < rowsNeeded)
        insertRow(m_table->rowCount(), Case{defaultName(m_table->rowCount()), {}});
    for (const Cell &cell : cells)
        m_table->item(cell.row, cell.column)->setText(cell.text);
    m_filling = false;
    setOutcomes({}, QString());
    emit casesEdited();
    emit caseSelected(selected());
    return true;
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
