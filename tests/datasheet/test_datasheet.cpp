// The technical data sheet opened as a user opens it: after a calculation that chooses a size,
// from the main window's data sheet command.

#include "datasheet/datasheet.h"
#include "mainwindow/mainwindow.h"
#include "product/sheettable.h"
#include "standinreport.h"
#include "windowdriver.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QScreen>
#include <QTest>

#include <algorithm>
#include <cmath>

using datasheet::DataSheet;
using lang::Language;

class TestDataSheet : public QObject, protected WindowDriver<mainwindow::MainWindow>
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void sizeIndexOfText_data();
    void sizeIndexOfText();
    void opensWithTheChosenSize_data();
    void opensWithTheChosenSize();
    void spotRows_data();
    void spotRows();
    void emptySheet_data();
    void emptySheet();
    void reactivationAfterHelp();
    void calculationWhileOpen();
    void exitReturnsAndHidesTheCommands();
    void printCommandReachesPrinting();
    void keysRunTheCommands();
    void tableIsAligned();
    void grabWindow();

private:
    // Arrangement 1, non-cracked, C1 = C2 = c, NSd = n, V1d = 1.
    void calculate(const char *c, const char *n)
    {
        for (const auto &[number, value] :
             {std::pair{1, c}, std::pair{3, c}, std::pair{6, n}, std::pair{7, "1"}})
            text(number)->setText(QString::fromLatin1(value));
        click("ImgCalc");
    }
    DataSheet *openSheet()
    {
        click("ImgSHOW");
        DataSheet *sheet = m_w->dataSheet();
        return sheet && QTest::qWaitForWindowActive(sheet) ? sheet : nullptr;
    }
    // A data sheet made ready but not opened.
    static DataSheet *hiddenSheet()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *sheet = qobject_cast<DataSheet *>(w); sheet && !sheet->isVisible())
                return sheet;
        return nullptr;
    }
    // The thirteen captions of a row, in the order of the product table's columns.
    static QStringList row(const DataSheet *sheet, int row)
    {
        QStringList captions;
        for (const product::Column &column : product::Columns)
            captions << sheet->control(QLatin1String(column.array), row)->caption();
        return captions;
    }
};

void TestDataSheet::init()
{
    QVERIFY(openWindow(&standin::ReportPage));
}

void TestDataSheet::cleanup()
{
    m_w.reset();
}

void TestDataSheet::sizeIndexOfText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::newRow("calculation's 3") << "3" << 3;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("no number") << "abc" << 0;
    QTest::newRow("number at the start") << "2 mm" << 2;
    QTest::newRow("half to even down") << "2.5" << 2;
    QTest::newRow("half to even up") << "1.5" << 2;
    QTest::newRow("half to zero") << "0.5" << 0;
    QTest::newRow("rounds into range") << "4.5" << 4;
    QTest::newRow("beyond the table") << "5" << 0;
    QTest::newRow("rounds out of range") << "4.6" << 0;
    QTest::newRow("negative") << "-1" << 0;
    QTest::newRow("rounds to zero from below") << "-0.4" << 0;
    QTest::newRow("hexadecimal") << "&H3" << 3;
    QTest::newRow("overflow") << "1e999" << 0;
    QTest::newRow("huge") << "1e300" << 0;
}

void TestDataSheet::sizeIndexOfText()
{
    QFETCH(QString, text);
    QTEST(datasheet::sizeIndexOf(text), "index");
}

// A sheet is made ready, hidden, when the program next waits after a calculation; a click
// before that makes a new one. Both open alike.
void TestDataSheet::opensWithTheChosenSize_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("prepared");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<bool>("englishTabs");
    QTest::newRow("English") << int(Language::English) << false << "Size" << true;
    QTest::newRow("Finnish") << int(Language::Finnish) << false << "Koko" << false;
    QTest::newRow("English, prepared") << int(Language::English) << true << "Size" << true;
    QTest::newRow("Finnish, prepared") << int(Language::Finnish) << true << "Koko" << false;
}

void TestDataSheet::opensWithTheChosenSize()
{
    QFETCH(int, language);
    QFETCH(bool, prepared);
    QVERIFY(!c("ImgSHOW")->isVisible());
    QPointer<DataSheet> ready;
    if (prepared) {
        calculate("200", "1"); // M8
        QTRY_VERIFY((ready = hiddenSheet()));
        QVERIFY(!ready->isVisible());
    }
    // The size, title and language may change after the sheet was made ready.
    calculate("200", "6"); // M12
    QCOMPARE(m_w->sizeNo(), 3);
    m_language.set(static_cast<Language>(language));
    DataSheet *sheet = openSheet();
    QVERIFY(sheet);
    if (prepared)
        QCOMPARE(sheet, ready.data());
    QCOMPARE(sheet->control(QStringLiteral("Label1"))->caption(), " Kalvex X-TR M 12");
    QCOMPARE(sheet->control(QStringLiteral("Text1"))->text(), "3");
    QVERIFY(!sheet->control(QStringLiteral("Text1"))->isVisible());
    QTEST(sheet->control(QStringLiteral("Label2"), 7)->caption(), "heading");
    QTEST(sheet->control(QStringLiteral("Image2"))->isVisible(), "englishTabs");
    QCOMPARE(row(sheet, 1), (QStringList{"12/5", "00150", "", "02150", "", "04150", "12", "35",
                                         "80", "70", "85", "5", "54"}));
    QCOMPARE(sheet->size(), QSize(1027, 768));
    // Centred in the screen's free area, its top-left corner kept in it (wider than the
    // offscreen screen: at its left edge).
    QRect centred = sheet->frameGeometry();
    const QRect area = sheet->screen()->availableGeometry();
    centred.moveCenter(area.center());
    QCOMPARE(sheet->pos(),
             QPoint(qMax(centred.left(), area.left()), qMax(centred.top(), area.top())));

    // The label opens it too, and brings the same sheet to the front.
    click("Label14");
    QCOMPARE(m_w->dataSheet(), sheet);
}

void TestDataSheet::spotRows_data()
{
    QTest::addColumn<QString>("text1");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("captions");
    const QStringList empty(13);
    QTest::newRow("M8 row 6 is empty") << "1" << 6 << empty;
    QTest::newRow("M8 row 5, no R-IZU")
        << "1" << 5 << QStringList{"8/85", "00118", "",   "02118", "",   "",  "8",
                                   "92",   "65",    "55", "150",   "85", "18"};
    QTest::newRow("M10 row 3, only the D variants")
        << "2" << 3 << QStringList{"10/25", "",   "00134", "",   "02134", "",  "10",
                                   "37",    "70", "60",    "95", "25",    "30"};
    QTest::newRow("M16 row 1, only X-TR")
        << "4" << 1
        << QStringList{"16x90", "00169", "", "", "", "", "16", "45", "80", "70", "90", "3", "100"};
    QTest::newRow("M16 row 4, D numbers below the plain ones")
        << "4" << 4 << QStringList{"16/45", "00173", "00172", "02173", "02172", "04172", "16",
                                   "76",    "105",   "95",    "150",   "45",    "120"};
}

void TestDataSheet::spotRows()
{
    QFETCH(QString, text1);
    QFETCH(int, row);
    calculate("200", "1");
    DataSheet *sheet = openSheet();
    QVERIFY(sheet);
    sheet->control(QStringLiteral("Text1"))->setText(text1);
    sheet->Form_Activate();
    QTEST(TestDataSheet::row(sheet, row), "captions");
}

void TestDataSheet::emptySheet_data()
{
    QTest::addColumn<QString>("text1");
    QTest::newRow("index 0") << "0";
    QTest::newRow("empty") << "";
    QTest::newRow("above the table") << "7";
    QTest::newRow("negative") << "-2";
    QTest::newRow("not a number") << "M12";
}

void TestDataSheet::emptySheet()
{
    QFETCH(QString, text1);
    calculate("200", "1");
    DataSheet *sheet = openSheet();
    QVERIFY(sheet);
    sheet->control(QStringLiteral("Text1"))->setText(text1);
    sheet->Form_Activate();
    for (int r = 1; r <= product::RowCount; ++r)
        QCOMPARE(row(sheet, r), QStringList(13));
    // The headers stay.
    QCOMPARE(sheet->control(QStringLiteral("Label2"), 1)->caption(), "X-TR");
}

void TestDataSheet::reactivationAfterHelp()
{
    calculate("200", "1"); // M8
    QPointer<DataSheet> sheet = openSheet();
    QVERIFY(sheet);
    QCOMPARE(sheet->control(QStringLiteral("Label2"), 7)->caption(), "Size");
    support::click(*sheet, QStringLiteral("ImgHelp"));
    QVERIFY(m_w->helpWindow());
    QVERIFY(QTest::qWaitForWindowActive(m_w->helpWindow()));
    // Nothing changed meanwhile: coming back shows the same.
    const QStringList before = row(sheet, 1);
    sheet->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(sheet));
    QCOMPARE(row(sheet, 1), before);
    QCOMPARE(sheet->control(QStringLiteral("Label2"), 7)->caption(), "Size");
    // The language changed while the help window was in front: the sheet follows when it comes
    // back.
    m_w->helpWindow()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w->helpWindow()));
    m_language.set(Language::Finnish);
    sheet->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(sheet));
    QCOMPARE(sheet->control(QStringLiteral("Label2"), 7)->caption(), "Koko");
    QVERIFY(!sheet->control(QStringLiteral("Image2"))->isVisible());
}

void TestDataSheet::calculationWhileOpen()
{
    calculate("200", "6"); // M12
    QPointer<DataSheet> sheet = openSheet();
    QVERIFY(sheet);
    QCOMPARE(row(sheet, 1).first(), "12/5");
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    calculate("200", "1"); // M8
    // The title and the size reach the open sheet at once; its table follows when it is next
    // activated.
    QCOMPARE(sheet->control(QStringLiteral("Label1"))->caption(), " Kalvex X-TR M 8");
    QCOMPARE(sheet->control(QStringLiteral("Text1"))->text(), "1");
    sheet->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(sheet));
    QCOMPARE(row(sheet, 1).first(), "8x50");
    // A calculation that chooses nothing leaves the sheet as it is.
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    calculate("20", "1"); // C1 below the minimum: a message, no size
    QCOMPARE(m_platform.messages.size(), 1);
    QCOMPARE(sheet->control(QStringLiteral("Label1"))->caption(), " Kalvex X-TR M 8");
    QCOMPARE(sheet->control(QStringLiteral("Text1"))->text(), "1");
}

void TestDataSheet::exitReturnsAndHidesTheCommands()
{
    calculate("200", "1");
    QPointer<DataSheet> sheet = openSheet();
    QVERIFY(sheet);
    QVERIFY(c("ImgSHOW")->isVisible());
    support::click(*sheet, QStringLiteral("ImgExit"));
    QTRY_VERIFY(!sheet);
    QVERIFY(!m_w->dataSheet());
    QVERIFY(!c("ImgSHOW")->isVisible());
    QVERIFY(!c("Label14")->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    // The next calculation shows the commands again and opens a new sheet.
    calculate("200", "6");
    QVERIFY(c("ImgSHOW")->isVisible());
    sheet = openSheet();
    QVERIFY(sheet);
    QCOMPARE(row(sheet, 1).first(), "12/5");
}

void TestDataSheet::printCommandReachesPrinting()
{
    calculate("200", "1");
    DataSheet *sheet = openSheet();
    QVERIFY(sheet);
    support::click(*sheet, QStringLiteral("ImgPrint"));
    QCOMPARE(m_platform.messages.size(), 1);
    QCOMPARE(m_platform.messages[0].first, "           PRINT?");
    QCOMPARE(m_platform.pages.size(), 1);
    QCOMPARE(m_platform.pages[0].window, "Form2");
}

// Ctrl+P prints, F1 opens the help and Esc goes back, through the sheet's key events; Tab visits
// its commands (the flags are hidden there, and Ctrl+L with them).
void TestDataSheet::keysRunTheCommands()
{
    calculate("200", "1");
    DataSheet *sheet = openSheet();
    QVERIFY(sheet);
    const QString language = m_language.text();
    QTest::keyClick(sheet, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(m_language.text(), language);

    QStringList visited;
    for (int step = 0; step < 3; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    visited.sort();
    QCOMPARE(visited, (QStringList{"ImgExit", "ImgHelp", "ImgPrint"}));

    QTest::keyClick(sheet, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(m_platform.pages.size(), 1);
    QCOMPARE(m_platform.pages[0].window, "Form2");

    QTest::keyClick(sheet, Qt::Key_F1);
    QVERIFY(m_w->helpWindow());
    QVERIFY(QTest::qWaitForWindowActive(m_w->helpWindow()));
    m_w->helpWindow()->close();
    QTRY_VERIFY(!m_w->helpWindow());
    sheet->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(sheet));

    QTest::keyClick(sheet, Qt::Key_Escape);
    QTRY_VERIFY(!m_w->dataSheet());
    QVERIFY(!c("ImgSHOW")->isVisible());
}

// The table reads as a grid: every value sits in the middle of its row, between the rules
// above and below it (within a pixel), each on one line; the headings share one font and each
// shows on one line.
void TestDataSheet::tableIsAligned()
{
    calculate("200", "6");
    DataSheet *sheet = openSheet();
    QVERIFY(sheet);
    sheet->Form_Activate();
    // The rules across the table, from the top of the heading row to the bottom of row 6.
    QList<int> rules;
    for (const forms::Control *rule : sheet->controls()) {
        const QRect line = rule->geometry();
        if (rule->name() == "Line1" && line.height() == 1 && !rules.contains(line.top()))
            rules << line.top();
    }
    std::sort(rules.begin(), rules.end());
    QCOMPARE(rules.size(), 8);
    // The text's line is drawn from the label's top.
    const auto offCentre = [&rules](const forms::Control *label, int row) {
        const double middle = (rules[row] + rules[row + 1]) / 2.0;
        return label->geometry().top() + QFontMetricsF(label->font()).height() / 2 - middle;
    };
    const forms::Control *first =
        sheet->control(QStringLiteral("Label2"), product::Columns[0].header);
    for (const product::Column &column : product::Columns) {
        const forms::Control *heading = sheet->control(QStringLiteral("Label2"), column.header);
        const QString what = QStringLiteral("the heading %1: %2 px from the middle of its row")
                                 .arg(heading->caption())
                                 .arg(offCentre(heading, 0));
        QVERIFY2(heading->font() == first->font(), qPrintable(what));
        QVERIFY2(heading->fits(heading->caption()), qPrintable(what));
        QVERIFY2(std::abs(offCentre(heading, 0)) <= 1, qPrintable(what));
        for (int row = 1; row <= 6; ++row) {
            const forms::Control *value = sheet->control(QLatin1String(column.array), row);
            const QString where = QStringLiteral("%1(%2) %3: %4 px from the middle of its row")
                                      .arg(QLatin1String(column.array))
                                      .arg(row)
                                      .arg(value->caption())
                                      .arg(offCentre(value, row));
            QVERIFY2(value->fits(value->caption()), qPrintable(where));
            QVERIFY2(std::abs(offCentre(value, row)) <= 1, qPrintable(where));
        }
    }
}

void TestDataSheet::grabWindow()
{
    const QString folder = qEnvironmentVariable("KIILA_GRAB_DIR");
    calculate("200", "6");
    for (const auto &[language, file] : {std::pair{Language::English, "form2-eng.png"},
                                         std::pair{Language::Finnish, "form2-fin.png"}}) {
        m_language.set(language);
        DataSheet *sheet = openSheet();
        QVERIFY(sheet);
        sheet->Form_Activate();
        const QPixmap image = sheet->grab();
        QVERIFY(!image.isNull());
        if (!folder.isEmpty())
            QVERIFY(image.save(folder + QLatin1Char('/') + QLatin1String(file)));
        m_w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    }
}

QTEST_MAIN(TestDataSheet)
#include "test_datasheet.moc"
