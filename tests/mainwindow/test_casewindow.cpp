// The Load cases window beside the main window, driven by the keyboard and the clipboard as a
// user drives them: cases typed into the table, added, duplicated and deleted; cells pasted
// from a spreadsheet; the main window's load fields showing the case chosen; a design of several
// cases saved and opened again from real files.

#include "designfile/designfile.h"
#include "mainwindow/mainwindow.h"
#include "windowdriver.h"

#include <QApplication>
#include <QClipboard>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using casewindow::LoadCasesWindow;
using mainwindow::MainWindow;
using Rows = QList<QStringList>; // name and the four loads of each case

namespace {

// The load fields TextN, in the order of a case's loads.
int loadField(int load)
{
    return design::Inputs[designfile::LoadInputs[load]].field;
}

Rows rowsOf(const QList<designfile::CaseTexts> &cases)
{
    Rows rows;
    for (const designfile::CaseTexts &loadCase : cases) {
        QStringList row{loadCase.name};
        for (const QString &load : loadCase.loads)
            row << load;
        rows << row;
    }
    return rows;
}

} // namespace

class TestCaseWindow : public QObject, protected WindowDriver<MainWindow>
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { m_w.reset(); }

    void byKeyboard();
    void keyboardStartsInTheTable();
    void paste_data();
    void paste();
    void arrangementKeepsTheCases();
    void exportAndImport();
    void calculatesEveryCase();
    void saveAndReopen();
    void kiilaCalcAgrees();
    void grab();

private:
    LoadCasesWindow *cases() const { return m_w->loadCasesWindow(); }
    QTableWidget *table() const { return cases()->table(); }
    // Keys to whatever has the focus, as the keyboard gives them.
    static void clickIn(forms::Form *window, const char *name)
    {
        support::click(*window, QString::fromLatin1(name));
    }
    static void press(QKeyCombination keys)
    {
        QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
    }
    static void typeKeys(const QString &keys)
    {
        for (const QChar c : keys)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    // Types the cells of a row from the current cell, Tab after each.
    static void typeRow(const QStringList &cells)
    {
        for (const QString &cell : cells) {
            if (!cell.isEmpty()) {
                press(Qt::Key_F2); // edits the cell as it is, to type over it
                press(Qt::CTRL | Qt::Key_A);
                typeKeys(cell);
            }
            press(Qt::Key_Tab);
        }
    }
    QStringList loadFields() const
    {
        QStringList texts;
        for (int load = 0; load < designfile::LoadCount; ++load)
            texts << text(loadField(load))->text();
        return texts;
    }
    // Arrangement 6 (all four loads) with its geometry typed: C1, C2 300, S1, S2 250.
    void sixAnchorsFarFromEdges()
    {
        click("ImgSIT", 5);
        for (const auto &[number, value] :
             {std::pair{1, "300"}, {3, "300"}, {4, "250"}, {5, "250"}})
            type(number, QString::fromLatin1(value));
    }
    bool openCases()
    {
        QTest::keyClick(m_w.get(), Qt::Key_K, Qt::ControlModifier);
        return cases() && QTest::qWaitForWindowActive(cases());
    }

    QTemporaryDir m_dir;
};

void TestCaseWindow::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
    QCoreApplication::setOrganizationName(QStringLiteral("kiila-test"));
}

void TestCaseWindow::init()
{
    QSettings().clear();
    QVERIFY(openWindow(nullptr));
    m_platform.folder = m_dir.path();
}

// Ctrl+K opens the window on the design's one case; cases are typed, added, duplicated and
// deleted by keys, and the main window's load fields follow the case chosen both ways.
void TestCaseWindow::byKeyboard()
{
    click("ImgSIT", 5); // arrangement 6 uses all four loads
    type(6, QStringLiteral("12,5"));
    QVERIFY(openCases());
    QCOMPARE(rowsOf(cases()->cases()), (Rows{{"1", "12,5", "", "", ""}}));
    QCOMPARE(table()->horizontalHeaderItem(1)->text(), "NSd (kN)");

    table()->setFocus();
    table()->setCurrentCell(0, 0);
    typeRow({"ULS 1", "", "3", "40", "0"});
    QCOMPARE(rowsOf(m_w->loadCases()), (Rows{{"ULS 1", "12,5", "3", "40", "0"}}));
    QCOMPARE(loadFields(), (QStringList{"12,5", "3", "40", "0"}));

    press(Qt::CTRL | Qt::Key_Insert); // a new case below, chosen
    QCOMPARE(table()->currentRow(), 1);
    QCOMPARE(loadFields(), (QStringList{"", "", "", ""}));
    table()->setCurrentCell(1, 0);
    typeRow({"ULS 2", "20", "1.5", "", "10"});
    press(Qt::CTRL | Qt::Key_D);
    QCOMPARE(rowsOf(m_w->loadCases()), (Rows{{"ULS 1", "12,5", "3", "40", "0"},
                                             {"ULS 2", "20", "1.5", "", "10"},
                                             {"ULS 2", "20", "1.5", "", "10"}}));
    QCOMPARE(m_w->selectedCase(), 2);

    // Typed into the main window, the load goes into the case chosen.
    cases()->table()->setCurrentCell(0, 1);
    QCOMPARE(loadFields(), (QStringList{"12,5", "3", "40", "0"}));
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    text(6)->setText(QString());
    type(6, QStringLiteral("7"));
    QCOMPARE(table()->item(0, 1)->text(), "7");

    cases()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(cases()));
    table()->setFocus();
    table()->setCurrentCell(1, 0);
    press(Qt::CTRL | Qt::Key_Delete);
    QCOMPARE(rowsOf(m_w->loadCases()),
             (Rows{{"ULS 1", "7", "3", "40", "0"}, {"ULS 2", "20", "1.5", "", "10"}}));
    QCOMPARE(m_w->selectedCase(), 1);
    QCOMPARE(loadFields(), (QStringList{"20", "1.5", "", "10"}));
    // The last case stays: a design has one at least.
    press(Qt::CTRL | Qt::Key_Delete);
    press(Qt::CTRL | Qt::Key_Delete);
    QCOMPARE(m_w->loadCases().size(), 1);
    QCOMPARE(m_platform.beeps, 1);
    press(Qt::Key_Escape);
    QTRY_VERIFY(!cases());
}

// Opened by its key, the window takes typing in the table at once: the first case's name is
// typed over without a click.
void TestCaseWindow::keyboardStartsInTheTable()
{
    QVERIFY(openCases());
    QCOMPARE(QApplication::focusWidget(), table());
    typeKeys(QStringLiteral("Wind"));
    press(Qt::Key_Tab);
    QCOMPARE(cases()->cases().at(0).name, QStringLiteral("Wind"));
}

void TestCaseWindow::paste_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QPoint>("at"); // the current cell: column, row
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("refusal"); // the start of the message, or empty
    const Rows before{{"A", "1", "2", "3", "4"}, {"B", "5", "6", "7", "8"}};
    QTest::newRow("rows without a header, comma decimals")
        << "LC1\t12,5\t3\t0\t0\r\nLC2\t-4,25\t0,5\t\t10\r\n"
        << QPoint(0, 0) << Rows{{"LC1", "12.5", "3", "0", "0"}, {"LC2", "-4.25", "0.5", "0", "10"}}
        << "";
    QTest::newRow("header in another order, from the chosen row, rows added")
        << "e2\tNSd\tname\n1\t2\tX\n5\t6\tY\n7\t8\tZ\n"
        << QPoint(3, 1)
        << Rows{{"A", "1", "2", "3", "4"},
                {"X", "2", "0", "0", "1"},
                {"Y", "6", "0", "0", "5"},
                {"Z", "8", "0", "0", "7"}}
        << "";
    QTest::newRow("a broken row refused with its number")
        << "name\tnsd\nLC1\t1\nLC2\t12 kN\n"
        << QPoint(0, 0) << before << "Nothing was pasted: row 3: nsd: not a number: '12 kN'.";
    QTest::newRow("ambiguous comma refused")
        << "1\t1,000" << QPoint(0, 0) << before
        << "Nothing was pasted: row 1: nsd: '1,000' can be read as 1000 or as 1";
    QTest::newRow("more cells than columns")
        << "name\tnsd\nA\t1\t2\n"
        << QPoint(1, 0) << before << "Nothing was pasted: row 2: 3 cells, the table has 2 columns.";
}

// A block of spreadsheet cells goes in as a whole, or not at all with the row that is wrong.
void TestCaseWindow::paste()
{
    QFETCH(QString, clipboard);
    QFETCH(QPoint, at);
    QFETCH(Rows, rows);
    QFETCH(QString, refusal);
    click("ImgSIT", 5);
    QVERIFY(openCases());
    cases()->setCases({{"A", {"1", "2", "3", "4"}}, {"B", {"5", "6", "7", "8"}}}, 0);
    table()->setFocus();
    table()->setCurrentCell(at.y(), at.x());
    QApplication::clipboard()->setText(clipboard);
    press(Qt::CTRL | Qt::Key_V);
    QCOMPARE(rowsOf(cases()->cases()), rows);
    if (refusal.isEmpty()) {
        QVERIFY(m_platform.messages.isEmpty());
        QCOMPARE(rowsOf(m_w->loadCases()), rows);
    } else {
        QCOMPARE(m_platform.messages.size(), 1);
        QVERIFY2(m_platform.messages[0].first.startsWith(refusal),
                 qPrintable(m_platform.messages[0].first));
    }
}

// Another arrangement empties the geometry; each case keeps its loads.
void TestCaseWindow::arrangementKeepsTheCases()
{
    click("ImgSIT", 5);
    QVERIFY(openCases());
    table()->setCurrentCell(0, 0);
    QVERIFY(cases()->pasteCells(QStringLiteral("A\t1\t2\t3\t4\nB\t5\t6\t7\t8")));
    table()->setCurrentCell(1, 0);
    QCOMPARE(loadFields(), (QStringList{"5", "6", "7", "8"}));
    m_w->ImgSIT_Click(0); // arrangement 1: no eccentricities
    QCOMPARE(loadFields(), (QStringList{"5", "6", "", ""}));
    QCOMPARE(rowsOf(m_w->loadCases()),
             (Rows{{"A", "1", "2", "3", "4"}, {"B", "5", "6", "7", "8"}}));
}

// Exported cases import as they were; a file that is not a table of cases changes nothing and
// says why.
void TestCaseWindow::exportAndImport()
{
    click("ImgSIT", 5);
    QVERIFY(openCases());
    const Rows pasted{{"Max N, V", "12.5", "3", "40", "0"}, {"Uplift", "-3", "0.25", "0", "20"}};
    QVERIFY(
        cases()->pasteCells(QStringLiteral("Max N, V\t12,5\t3\t40\t0\nUplift\t-3\t0,25\t0\t20")));
    m_platform.savePath = m_dir.filePath(QStringLiteral("cases.csv"));
    clickIn(cases(), "CmdExport");
    QFile csv(m_platform.savePath);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readLine(), "name,nsd,v1d,e1,e2\r\n");

    cases()->setCases({}, 0);
    m_platform.openPath = m_platform.savePath;
    clickIn(cases(), "CmdImport");
    QCOMPARE(rowsOf(cases()->cases()), pasted);
    QCOMPARE(rowsOf(m_w->loadCases()), pasted);
    QCOMPARE(loadFields(), pasted[0].mid(1));

    // Not over a language file the program reads.
    const QString language = m_dir.filePath(QStringLiteral("english.txt"));
    QFile languageFile(language);
    QVERIFY(languageFile.open(QIODevice::WriteOnly));
    languageFile.write("lines\n");
    languageFile.close();
    m_platform.savePath = language;
    clickIn(cases(), "CmdExport");
    QCOMPARE(m_platform.messages.size(), 1);
    QVERIFY2(m_platform.messages.takeFirst().first.contains(QStringLiteral("language file")),
             "refused");
    QVERIFY(languageFile.open(QIODevice::ReadOnly));
    QCOMPARE(languageFile.readAll(), "lines\n");
    languageFile.close();
    QVERIFY(languageFile.remove());

    const QString broken = m_dir.filePath(QStringLiteral("broken.csv"));
    QFile out(broken);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("name,nsd\nA,1\nB,5 kN\n");
    out.close();
    m_platform.openPath = broken;
    clickIn(cases(), "CmdImport");
    QCOMPARE(rowsOf(cases()->cases()), pasted);
    QCOMPARE(m_platform.messages.size(), 1);
    QCOMPARE(m_platform.messages[0].first,
             QStringLiteral("The load cases of %1 were not imported: row 3: nsd: not a number: "
                            "'5 kN'.")
                 .arg(broken));
}

// LASKE checks every case: the size is the one the most demanding case needs alone, the main
// window names the governing case, the table shows each case's outcome; a case whose load is
// not a number is shown in the fields, which refuse it.
void TestCaseWindow::calculatesEveryCase()
{
    sixAnchorsFarFromEdges();
    QVERIFY(openCases());
    const QStringList loads[] = {
        {"2", "1", "0", "0"}, {"12", "6", "20", "20"}, {"5", "2", "0", "0"}};
    QVERIFY(cases()->pasteCells(
        QStringLiteral("name\tnsd\tv1d\te1\te2\nA\t%1\nB\t%2\nC\t%3")
            .arg(loads[0].join(u'\t'), loads[1].join(u'\t'), loads[2].join(u'\t'))));
    // Each case alone, as the calculation of one case gives it.
    QList<int> alone;
    for (const QStringList &l : loads) {
        calc::DesignInput input = m_w->input();
        input.NSd = l[0].toDouble();
        input.V1d = l[1].toDouble();
        input.e1 = l[2].toDouble();
        input.e2 = l[3].toDouble();
        calc::Texts texts = m_w->texts();
        const calc::Result r = calc::Mitoitus(input, 6, calc::NonCracked, texts);
        QCOMPARE(r.outcome, calc::Outcome::Chosen);
        alone << r.sizeNo;
    }
    QVERIFY2(alone[1] > alone[0] && alone[1] > alone[2], "case B must need the largest size");

    m_w->ImgCalc_Click();
    QCOMPARE(m_w->sizeNo(), alone[1]);
    QCOMPARE(c("LbCases")->caption(), "Governing case: B (2 of 3)");
    QCOMPARE(cases()->control(QStringLiteral("Label2"))->caption(), "Governing case: B (2 of 3)");
    QStringList outcomes;
    for (int row = 0; row < 3; ++row)
        outcomes << table()->item(row, casewindow::OutcomeColumn)->text();
    QCOMPARE(outcomes, (QStringList{"passes", "passes (governs)", "passes"}));
    for (int row = 0; row < 3; ++row)
        QVERIFY(table()->item(row, casewindow::UtilisationColumn)->text().toDouble() <= 1.0);

    // Of one case, the line is empty: the window is as it always was.
    table()->setCurrentCell(2, 0);
    cases()->CmdDelete_Click();
    cases()->CmdDelete_Click();
    m_w->ImgCalc_Click();
    QCOMPARE(c("LbCases")->caption(), QString());

    table()->setCurrentCell(0, 0);
    QVERIFY(cases()->pasteCells(QStringLiteral("A\t2\t1\t0\t0\nB\t9\t6\t20\t20\nC\t5\t2\t0\t0")));
    table()->item(2, 1)->setText(QStringLiteral("5 kN"));
    table()->setCurrentCell(0, 0);
    m_platform.messages.clear();
    m_w->ImgCalc_Click();
    QCOMPARE(m_w->selectedCase(), 2);
    QCOMPARE(text(6)->text(), "5 kN");
    QCOMPARE(m_platform.messages.size(), 1);
    QVERIFY2(m_platform.messages[0].first.contains("\"5 kN\" is not a number"),
             qPrintable(m_platform.messages[0].first));
}

// A design of several cases is saved as such and opens as it was saved: the cases in the
// table, the first in the load fields; a design of one case is saved as before.
void TestCaseWindow::saveAndReopen()
{
    click("ImgSIT", 5);
    for (const auto &[number, value] : {std::pair{1, "200"}, {3, "150"}, {4, "120"}, {5, "130"}})
        type(number, QString::fromLatin1(value));
    type(6, QStringLiteral("4"));
    m_platform.savePath = m_dir.filePath(QStringLiteral("one.kiila"));
    QTest::keyClick(m_w.get(), Qt::Key_S, Qt::ControlModifier);
    const designfile::Contents one = m_w->designContents();
    QVERIFY(one.cases.isEmpty());
    QFile oneFile(m_platform.savePath);
    QVERIFY(oneFile.open(QIODevice::ReadOnly));
    QCOMPARE(oneFile.readAll(), designfile::encode(one));

    QVERIFY(openCases());
    table()->setCurrentCell(0, 0);
    QVERIFY(cases()->pasteCells(QStringLiteral("ULS 1\t4\t2\t10\t0\nULS 2\t8,5\t1\t0\t20\n"
                                               "Tuuli\t-2\t6\t0\t0\n")));
    table()->setFocus();
    table()->setCurrentCell(1, 2);
    press(Qt::Key_F2);
    press(Qt::CTRL | Qt::Key_A);
    typeKeys(QStringLiteral("1,25"));
    press(Qt::Key_Return);
    const Rows typed{{"ULS 1", "4", "2", "10", "0"},
                     {"ULS 2", "8.5", "1,25", "0", "20"},
                     {"Tuuli", "-2", "6", "0", "0"}};
    QVERIFY(m_w->windowTitle().startsWith(u'*'));
    m_platform.savePath = m_dir.filePath(QStringLiteral("three.kiila"));
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    QTest::keyClick(m_w.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!m_w->windowTitle().startsWith(u'*'));
    QString error;
    const std::optional<designfile::Contents> saved = designfile::read(m_platform.savePath, error);
    QVERIFY2(saved, qPrintable(error));
    QCOMPARE(rowsOf(saved->cases), typed);

    QVERIFY(openWindow(nullptr));
    m_platform.folder = m_dir.path();
    QVERIFY(m_w->openDesign(m_dir.filePath(QStringLiteral("three.kiila"))));
    QVERIFY(!m_w->windowTitle().startsWith(u'*'));
    QCOMPARE(rowsOf(m_w->loadCases()), typed);
    QCOMPARE(loadFields(), typed[0].mid(1));
    QCOMPARE(text(1)->text(), "200");
    QVERIFY(openCases());
    QCOMPARE(rowsOf(cases()->cases()), typed);
}

// A design of five pasted cases, calculated and saved, is the same design to kiila-calc: the same
// size and governing case.
void TestCaseWindow::kiilaCalcAgrees()
{
    sixAnchorsFarFromEdges();
    QVERIFY(openCases());
    QVERIFY(cases()->pasteCells(QStringLiteral("ULS 1\t6\t3\t40\t0\nULS 2\t4\t9,5\t0\t20\n"
                                               "SLS\t3\t1\t0\t0\nUplift\t-3\t1\t0\t0\n"
                                               "Wind\t5\t6\t10\t10\n")));
    m_w->ImgCalc_Click();
    m_platform.savePath = m_dir.filePath(QStringLiteral("five.kiila"));
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    QTest::keyClick(m_w.get(), Qt::Key_S, Qt::ControlModifier);

    QProcess process;
    process.start(QStringLiteral(KIILA_CALC),
                  {"--design", m_platform.savePath, "--json", "--lang", "none"});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    const QJsonObject json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    QCOMPARE(json["chosen"].toObject()["sizeNo"].toInt(), m_w->sizeNo());
    const int governing = json["governingCase"].toInt();
    QVERIFY(governing >= 1 && governing <= 5);
    QCOMPARE(c("LbCases")->caption(), QStringLiteral("Governing case: %1 (%2 of 5)")
                                          .arg(m_w->loadCases().at(governing - 1).name)
                                          .arg(governing));
}

// The window with several cases, in both languages, written to $KIILA_GRAB_DIR for a look by
// eye.
void TestCaseWindow::grab()
{
    sixAnchorsFarFromEdges();
    QVERIFY(openCases());
    QVERIFY(
        cases()->pasteCells(QStringLiteral("name\tnsd\tv1d\te1\te2\nULS 1 max N\t12,5\t3\t40\t0\n"
                                           "ULS 2 max V\t4\t9,5\t0\t20\nSLS\t8\t2\t40\t0\n"
                                           "Uplift\t-3\t1\t0\t0\nWind\t6\t6\t0\t0\n")));
    m_w->ImgCalc_Click();
    QVERIFY(!c("LbCases")->caption().isEmpty());
    const QString folder = qEnvironmentVariable("KIILA_GRAB_DIR");
    if (!folder.isEmpty())
        QVERIFY(m_w->grab().save(folder + QStringLiteral("/form1-cases-eng.png")));
    for (const auto &[flag, name] : {std::pair{1, "eng"}, {2, "fin"}}) {
        m_w->ImgLanguage_Click(flag);
        cases()->Form_Activate();
        const QPixmap image = cases()->grab();
        QVERIFY(!image.isNull());
        if (!folder.isEmpty())
            QVERIFY(image.save(QStringLiteral("%1/loadcases-%2.png").arg(folder, name)));
    }
    QCOMPARE(cases()->caption(), "Kuormitustapaukset");
    QCOMPARE(table()->horizontalHeaderItem(0)->text(), "Nimi");
}

QTEST_MAIN(TestCaseWindow)
#include "test_casewindow.moc"
