// The main window driven as a user drives it: mouse clicks on the click areas, keys in the
// fields, a recording fake in place of the message box.

#include "mainwindow/mainwindow.h"
#include "standinreport.h"
#include "windowdriver.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

using forms::Control;
using mainwindow::MainWindow;

namespace {

using standin::ReportPage;

const QColor ResetColour(64, 0, 64);
const QString ResultLabels[] = {"veto_leikkaus", "leikkaus", "epak"};

} // namespace

class TestMainWindow : public QObject, protected WindowDriver<mainwindow::MainWindow>
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startUpState();
    void arrangementChoice_data();
    void arrangementChoice();
    void arrangementChoiceStartsOver();
    void concreteChoiceDoesNotRecalculate();

    void fieldParseAndWriteBack_data();
    void fieldParseAndWriteBack();
    void tabVisitsEnabledFieldsAndEnterCalculates();

    void missingInputOpensNotice();
    void noticeInFinnish();
    void questionButtonsFollowTheLanguage();
    void noticeNamesTheEmptyFields_data();
    void noticeNamesTheEmptyFields();
    void fieldsInUseAreChecked_data();
    void fieldsInUseAreChecked();
    void messageStopKeepsEarlierColumns();
    void chosenSizeDisplays();
    void singleAnchorHasNoPlateSize();
    void adviceIsShown();
    void resultsTakeTheResetColour();
    void resultsUseRegionalDecimalSeparator();
    void exitEndsProgram();
    void endingWithAFocusedField_data();
    void endingWithAFocusedField();
    void grabWindow();

    void keysRunTheCommands_data();
    void keysRunTheCommands();
    void keysOnlyWhereAClickWould();
    void tabReachesTheCommands();
    void focusMark_data();
    void focusMark();

private:
    void fill(std::initializer_list<std::pair<int, const char *>> values)
    {
        for (const auto &[number, keys] : values)
            type(number, QString::fromUtf8(keys));
    }
    QString effects() const;
    QStringList row(const QString &name) const
    {
        QStringList values;
        for (int i = 1; i <= 4; ++i)
            values << c(name, i)->caption();
        return values;
    }
    QList<int> visiblePictures() const
    {
        QList<int> shown;
        for (int k = 0; k <= 10; ++k)
            if (c("Picture1", k)->isVisible())
                shown << k;
        return shown;
    }
};

void TestMainWindow::init()
{
    QVERIFY(openWindow(&ReportPage));
}

void TestMainWindow::cleanup()
{
    m_w.reset();
    QLocale::setDefault(QLocale::c());
}

void TestMainWindow::startUpState()
{
    QCOMPARE(m_language.text(), "eng");
    QCOMPARE(c("Label10")->caption(), "VERSION ENGLISH 01_b");
    QCOMPARE(m_w->size(), QSize(1027, 768));
    QCOMPARE(m_w->tapaus(), 1);
    QCOMPARE(m_w->concreteState(), calc::NonCracked);

    for (int i = 0; i < 7; ++i)
        QCOMPARE(c("ShpSit", i)->isVisible(), i == 0);
    QVERIFY(!c("Shape1", 0)->isVisible());
    QVERIFY(c("Shape1", 1)->isVisible());
    QCOMPARE(visiblePictures(), QList<int>{0});

    for (const design::Input &input : design::Inputs) {
        const int number = input.field;
        QCOMPARE(text(number)->isEnabled(),
                 number == 1 || number == 3 || number == 6 || number == 7);
        QVERIFY(text(number)->text().isEmpty());
    }
    for (const char *label : {"Label4", "Label5", "Label8", "Label9"})
        QVERIFY(!c(label)->isEnabled());
    QVERIFY(c("Label6")->isEnabled() && c("Label7")->isEnabled());

    for (const QString &name : ResultLabels)
        QCOMPARE(row(name), QStringList(4));
    for (const char *hidden : {"ImgSHOW", "Label14", "Label2", "Label12", "ImgPodlozh", "Image2"})
        QVERIFY2(!c(hidden)->isVisible(), hidden);
    QVERIFY(!m_w->notice());

    QVERIFY(m_w->reportPage());
    QVERIFY(!m_w->reportPage()->isVisible());
}

void TestMainWindow::arrangementChoice_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("nAnchors");
    QTest::addColumn<int>("nPerRow");
    QTest::addColumn<double>("k1");
    QTest::addColumn<double>("k2");
    QTest::addColumn<QList<int>>("optionalFieldsInUse"); // of S1, S2, e1, e2: 4, 5, 8, 9

    QTest::newRow("1: one anchor") << 0 << 1 << 1 << 0.0 << 0.0 << QList<int>{};
    QTest::newRow("2: two in direction 1") << 1 << 2 << 1 << 0.5 << 0.0 << QList<int>{4, 8};
    QTest::newRow("3: three in direction 1") << 2 << 3 << 1 << 1.0 << 0.0 << QList<int>{4, 8};
    QTest::newRow("4: two in direction 2") << 3 << 2 << 2 << 0.0 << 0.5 << QList<int>{5, 9};
    QTest::newRow("5: three in direction 2") << 4 << 3 << 3 << 0.0 << 1.0 << QList<int>{5, 9};
    QTest::newRow("6: 2 x 2") << 5 << 4 << 2 << 0.5 << 0.5 << QList<int>{4, 5, 8, 9};
    QTest::newRow("7: 3 x 2") << 6 << 6 << 2 << 1.0 << 0.5 << QList<int>{4, 5, 8, 9};
}

void TestMainWindow::arrangementChoice()
{
    QFETCH(int, index);
    // Start from another arrangement so that every flag has to change.
    click("ImgSIT", index == 6 ? 0 : 6);
    click("ImgSIT", index);

    QCOMPARE(m_w->tapaus(), index + 1);
    // The calculation reads the anchor counts of the arrangement it is given.
    const calc::Arrangement &a = calc::ArrangementTable[std::size_t(m_w->tapaus() - 1)];
    QTEST(int(a.nAnchors), "nAnchors");
    QTEST(int(a.nPerRow), "nPerRow");
    QTEST(a.k1, "k1");
    QTEST(a.k2, "k2");

    QFETCH(QList<int>, optionalFieldsInUse);
    for (const design::Input &input : design::Inputs) {
        const int number = input.field;
        const bool always = number == 1 || number == 3 || number == 6 || number == 7;
        const bool inUse = always || optionalFieldsInUse.contains(number);
        QVERIFY2(text(number)->isEnabled() == inUse, qPrintable(QString::number(number)));
        if (number != 1 && number != 3) // Label1 and Label3 are never changed
            QCOMPARE(c(QStringLiteral("Label%1").arg(number))->isEnabled(), inUse);
    }
    for (int i = 0; i < 7; ++i)
        QCOMPARE(c("ShpSit", i)->isVisible(), i == index);
    QCOMPARE(visiblePictures(), QList<int>{index});
    QVERIFY(text(1)->hasFocus());
}

void TestMainWindow::arrangementChoiceStartsOver()
{
    click("ImgSIT", 1);
    fill({{1, "100"}, {3, "100"}, {4, "150"}, {6, "3"}, {7, "2"}, {8, "0"}});
    click("ImgNO", 0);
    click("ImgCalc");
    QVERIFY(c("ImgPodlozh")->isVisible());
    QVERIFY(!c("Label18")->caption().isEmpty());

    click("ImgSIT", 1); // the same arrangement again
    for (const design::Input &input : design::Inputs)
        QVERIFY(text(input.field)->text().isEmpty());
    QCOMPARE(m_w->input().C1, 0.0);
    QCOMPARE(m_w->input().S1, 0.0);
    QCOMPARE(m_w->input().NSd, 0.0);
    QVERIFY(c("Label18")->caption().isEmpty());
    QVERIFY(c("Label17")->caption().isEmpty());
    QVERIFY(c("Label20")->caption().isEmpty());
    for (const QString &name : ResultLabels)
        QCOMPARE(row(name), QStringList(4));
    QCOMPARE(visiblePictures(), QList<int>{1});
    QVERIFY(!c("ImgSHOW")->isVisible() && !c("Label14")->isVisible());
    QVERIFY(!c("Label2")->isVisible());
    QVERIFY(!c("ImgPodlozh")->isVisible());        // the results panel goes with the results
    QCOMPARE(m_w->concreteState(), calc::Cracked); // the concrete choice is kept
}

void TestMainWindow::concreteChoiceDoesNotRecalculate()
{
    fill({{1, "200"}, {3, "200"}, {6, "1"}, {7, "1"}});
    click("ImgCalc");
    QCOMPARE(row("veto_leikkaus"), (QStringList{"2.70", "", "", ""}));

    click("ImgNO", 0);
    QCOMPARE(m_w->concreteState(), calc::Cracked);
    QVERIFY(c("Shape1", 0)->isVisible() && !c("Shape1", 1)->isVisible());
    QCOMPARE(row("veto_leikkaus"), (QStringList{"2.70", "", "", ""}));
    QVERIFY(c("ImgSHOW")->isVisible());

    click("ImgCalc");
    QCOMPARE(row("veto_leikkaus"), (QStringList{"2.30", "", "", ""}));

    click("ImgNO", 1);
    QCOMPARE(m_w->concreteState(), calc::NonCracked);
    QVERIFY(!c("Shape1", 0)->isVisible() && c("Shape1", 1)->isVisible());
}

void TestMainWindow::fieldParseAndWriteBack_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown"); // after leaving the field

    const double none = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("plain") << "250" << 250.0 << "250";
    QTest::newRow("trailing letters: no number, kept") << "12abc" << none << "12abc";
    QTest::newRow("a thousand or one: kept") << "1,000" << none << "1,000";
    QTest::newRow("nothing") << "" << 0.0 << "0";
    QTest::newRow("decimal comma") << "2,5" << 2.5 << "2.5";
    QTest::newRow("zeros of the fraction") << "2.50" << 2.5 << "2.5";
    QTest::newRow("negative") << "-5" << -5.0 << "-5";
    QTest::newRow("blank between digits") << "1 2" << 12.0 << "12";
    QTest::newRow("exponent") << "1e3" << 1000.0 << "1000";
    QTest::newRow("below one") << ".5" << 0.5 << "0.5";
}

void TestMainWindow::fieldParseAndWriteBack()
{
    QFETCH(QString, typed);
    type(6, typed);
    QTEST(m_w->input().NSd, "value");
    QTEST(text(6)->text(), "typed"); // nothing is rewritten while typing

    QTest::keyClick(text(6)->widget(), Qt::Key_Tab);
    QVERIFY(!text(6)->hasFocus());
    QTEST(text(6)->text(), "shown");
    QTEST(m_w->input().NSd, "value");
}

void TestMainWindow::tabVisitsEnabledFieldsAndEnterCalculates()
{
    click("ImgSIT", 3); // arrangement 4: S2 and e2 in use, S1 and e1 not
    QVERIFY(text(1)->hasFocus());
    QStringList visited;
    for (int step = 0; step < 6; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    // After the fields Tab goes on to the commands.
    QCOMPARE(visited, (QStringList{"Text3", "Text5", "Text6", "Text7", "Text9", "ImgSIT(0)"}));

    fill({{1, "200"}, {3, "200"}, {5, "150"}, {6, "1"}, {7, "1"}, {9, "0"}});
    QTest::keyClick(text(9)->widget(), Qt::Key_Return);
    QCOMPARE(row("veto_leikkaus").first(), "2.70");
    QVERIFY(!m_w->notice());
}

void TestMainWindow::missingInputOpensNotice()
{
    fill({{1, "200"}, {3, "200"}, {6, "1"}, {7, "1"}});
    click("ImgCalc");
    const QStringList before = row("veto_leikkaus");
    QCOMPARE(before.first(), "2.70");

    QTest::keyClick(text(7)->widget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(text(7)->widget(), Qt::Key_Backspace);
    QVERIFY(text(7)->text().isEmpty());
    click("ImgCalc");

    QVERIFY(m_w->notice());
    QTRY_COMPARE(m_w->notice()->caption(), "HELP");
    QVERIFY(m_w->notice()->control(QStringLiteral("Label2"))->isVisible());
    // The English text covers the Finnish one entirely: hiding the Finnish text changes no pixel.
    {
        forms::Form *notice = m_w->notice();
        const QImage covered = notice->grab().toImage();
        notice->control(QStringLiteral("Label1"))->setVisible(false);
        QCOMPARE(notice->grab().toImage(), covered);
        notice->control(QStringLiteral("Label1"))->setVisible(true);
    }
    QCOMPARE(row("veto_leikkaus"), before);
    QVERIFY(c("ImgSHOW")->isVisible());
    QVERIFY(m_platform.messages.isEmpty());

    // The notice does not block: with the field filled the command calculates and the
    // notice stays until OK.
    text(7)->setText(QStringLiteral("3")); // more shear than M8 carries
    click("ImgCalc");
    QCOMPARE(row("veto_leikkaus").first(), "2.70");
    QCOMPARE(row("veto_leikkaus").at(1), "4.10");
    QVERIFY(m_w->notice() && m_w->notice()->isVisible());

    QPointer<forms::Form> notice = m_w->notice();
    QTest::mouseClick(notice->control(QStringLiteral("Command1"))->widget(), Qt::LeftButton);
    QTRY_VERIFY(!notice);
    QVERIFY(!m_w->notice());
}

void TestMainWindow::noticeInFinnish()
{
    m_language.set(lang::Language::Finnish);
    click("ImgCalc");
    QVERIFY(m_w->notice());
    QVERIFY(QTest::qWaitForWindowActive(m_w->notice()->windowHandle()));
    QCOMPARE(m_w->notice()->caption(), "Huomio!");
    QVERIFY(!m_w->notice()->control(QStringLiteral("Label2"))->isVisible());
    QVERIFY(m_w->notice()->control(QStringLiteral("Label1"))->isVisible());
    QCOMPARE(m_w->notice()->size(), QSize(542, 166));
}

// The buttons the desktop puts under a question (save before exit) speak the windows'
// language, not English under a Finnish question.
void TestMainWindow::questionButtonsFollowTheLanguage()
{
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_fi.qm"))
        QSKIP("Qt's Finnish texts are not installed (qt6-translations-l10n)");
    const auto discard = [] {
        QMessageBox box(QMessageBox::NoIcon, QString(), QString(),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        return box.button(QMessageBox::Discard)->text();
    };
    QCOMPARE(discard(), "Discard");
    m_w->ImgLanguage_Click(2);
    QVERIFY2(discard() != "Discard", qPrintable(discard()));
    m_w->ImgLanguage_Click(1);
    QCOMPARE(discard(), "Discard");
}

void TestMainWindow::noticeNamesTheEmptyFields_data()
{
    QTest::addColumn<bool>("finnish");
    QTest::addColumn<QList<int>>("filled");
    QTest::addColumn<QString>("named");
    QTest::addColumn<int>("first"); // the first empty field
    QTest::addColumn<int>("key");   // closes the notice; 0: its OK button clicked
    QTest::newRow("two empty, Enter")
        << false << QList<int>{1, 6}
        << "Empty fields: Edge distance C2 (mm), Design shear force V1d (kN)" << 3
        << int(Qt::Key_Return);
    QTest::newRow("one empty, Esc")
        << false << QList<int>{1, 3, 6} << "Empty field: Design shear force V1d (kN)" << 7
        << int(Qt::Key_Escape);
    QTest::newRow("one empty, keypad Enter, Finnish")
        << true << QList<int>{1, 3, 6} << "Tyhjä kenttä: Leikkausvoiman suun. arvo V1d (kN)" << 7
        << int(Qt::Key_Enter);
    QTest::newRow("all empty, OK") << false << QList<int>{}
                                   << "Empty fields: Edge distance C1 (mm), Edge distance C2 (mm), "
                                      "Design tension force NSd (kN), Design shear force V1d (kN)"
                                   << 1 << 0;
}

// The notice names the empty fields in words in the window's language, gives the first of them
// the focus, and closes with Enter and Esc as with OK, back to that field.
void TestMainWindow::noticeNamesTheEmptyFields()
{
    QFETCH(bool, finnish);
    QFETCH(QList<int>, filled);
    QFETCH(int, first);
    QFETCH(int, key);
    // The captions of the language files, as the program's folder holds them.
    m_platform.folder = QStringLiteral(KIILA_LANG_DIR);
    click("ImgLanguage", lang::flagOf(finnish ? lang::Language::Finnish : lang::Language::English));
    for (const int number : filled)
        type(number, QStringLiteral("200"));
    click("ImgCalc");
    QPointer<forms::Form> notice = m_w->notice();
    QVERIFY(notice);
    QVERIFY(QTest::qWaitForWindowActive(notice.data()));
    QTEST(notice->control(QStringLiteral("Label3"))->caption(), "named");
    QVERIFY(notice->control(QStringLiteral("Label3"))->isVisible());
    QCOMPARE(m_w->focusWidget(), text(first)->widget());

    if (key)
        QTest::keyClick(notice->control(QStringLiteral("Command1"))->widget(), Qt::Key(key));
    else
        QTest::mouseClick(notice->control(QStringLiteral("Command1"))->widget(), Qt::LeftButton);
    QTRY_VERIFY(!notice);
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    QCOMPARE(QApplication::focusWidget(), text(first)->widget());
    QVERIFY(text(first)->text().isEmpty());
}

void TestMainWindow::fieldsInUseAreChecked_data()
{
    QTest::addColumn<int>("arrangement");
    QTest::addColumn<QList<int>>("filled");
    QTest::addColumn<bool>("notice");

    QTest::newRow("unused fields may stay empty") << 0 << QList<int>{1, 3, 6, 7} << false;
    QTest::newRow("C2 missing") << 0 << QList<int>{1, 6, 7} << true;
    QTest::newRow("S1 missing in 2") << 1 << QList<int>{1, 3, 6, 7, 8} << true;
    QTest::newRow("e2 missing in 5") << 4 << QList<int>{1, 3, 5, 6, 7} << true;
    QTest::newRow("all of 7") << 6 << QList<int>{1, 3, 4, 5, 6, 7, 8, 9} << false;
}

void TestMainWindow::fieldsInUseAreChecked()
{
    QFETCH(int, arrangement);
    QFETCH(QList<int>, filled);
    click("ImgSIT", arrangement);
    for (int number : filled)
        type(number, QStringLiteral(" ")); // blanks are an input, worth 0
    click("ImgCalc");
    QTEST(m_w->notice() != nullptr, "notice");
}

void TestMainWindow::messageStopKeepsEarlierColumns()
{
    // M8 passes its minimum edge distance 50 and fails the tension; M10 needs 55.
    fill({{1, "52"}, {3, "200"}, {6, "100"}, {7, "0"}});
    click("ImgCalc");

    QCOMPARE(m_platform.messages.size(), 1);
    QCOMPARE(m_platform.messages[0].second, " Ohje ");
    QCOMPARE(m_platform.messages[0].first,
             "Ankkurien M10\r\n arvo  c1  kasvatettava minimiarvoon 55 mm");
    const QStringList capacities = row("veto_leikkaus");
    QVERIFY(!capacities[0].isEmpty());
    QCOMPARE(capacities.mid(1), QStringList(3));
    QCOMPARE(m_w->sizeNo(), 2);
    QVERIFY(!c("ImgSHOW")->isVisible());
    QVERIFY(c("Label17")->caption().isEmpty());
    QCOMPARE(visiblePictures(), QList<int>{0});
}

void TestMainWindow::chosenSizeDisplays()
{
    click("ImgSIT", 1);
    click("ImgNO", 0);
    fill({{1, "100"}, {3, "100"}, {4, "150"}, {6, "3"}, {7, "2"}, {8, "0"}});
    click("ImgCalc");

    QVERIFY(m_platform.messages.isEmpty());
    QCOMPARE(row("veto_leikkaus"), (QStringList{"1.15", "1.70", "2.21", ""}));
    QCOMPARE(c("Label18")->caption(), "Ankkurien  veto- ja leikkauskapasiteetti kN ");
    QVERIFY(!row("leikkaus")[2].isEmpty());
    QCOMPARE(row("leikkaus")[3], "");
    QCOMPARE(c("Label20")->caption(), "Ankkuriryhmän  2 leikkauskapasiteetti kN ");
    QCOMPARE(row("epak"), QStringList(4)); // e1 = 0: no eccentric check

    QCOMPARE(m_w->sizeNo(), 3);
    QCOMPARE(c("Label17")->caption(), "2 kpl  Kalvex M 12");
    QVERIFY(c("Label2")->isVisible());
    QCOMPARE(c("Label2")->caption(), "Kiinnityslevyn mitat min. 36 mm x 186 mm");
    QCOMPARE(visiblePictures(), (QList<int>{1, 9}));
    for (const char *shown : {"ImgSHOW", "Label14", "ImgPodlozh"})
        QVERIFY2(c(shown)->isVisible(), shown);
    QVERIFY(!c("Label12")->isVisible());

    // A new calculation clears the drawing of the size before but keeps the arrangement.
    text(6)->setText(QStringLiteral("30")); // up to M16, whose spacing minimum stops the run
    click("ImgCalc");
    QCOMPARE(m_platform.messages.size(), 1);
    QVERIFY(!c("Picture1", 9)->isVisible());
    QVERIFY(c("Picture1", 1)->isVisible());
}

void TestMainWindow::singleAnchorHasNoPlateSize()
{
    fill({{1, "200"}, {3, "200"}, {6, "2.7"}, {7, "2.7"}});
    click("ImgCalc");
    QCOMPARE(c("Label17")->caption(), "1 kpl  Kalvex M 8");
    QVERIFY(!c("Label2")->isVisible());
    QCOMPARE(visiblePictures(), (QList<int>{0, 7}));
    QCOMPARE(row("leikkaus"), QStringList(4));
}

void TestMainWindow::adviceIsShown()
{
    fill({{1, "200"}, {3, "200"}, {6, "100"}, {7, "0"}});
    click("ImgCalc");

    for (const QString &value : row("veto_leikkaus"))
        QVERIFY(!value.isEmpty());
    QVERIFY(c("Label12")->isVisible());
    QCOMPARE(c("Label12")->caption(),
             QString::fromUtf8(calc::FinnishAdvice.data(), qsizetype(calc::FinnishAdvice.size())));
    QVERIFY(c("Label17")->caption().isEmpty());
    QVERIFY(!c("ImgSHOW")->isVisible() && !c("Label2")->isVisible());
    QCOMPARE(m_w->sizeNo(), 4);
    QCOMPARE(visiblePictures(), QList<int>{0});

    // A run that finds a size takes the advice away again.
    text(6)->setText(QStringLiteral("1"));
    click("ImgCalc");
    QVERIFY(!c("Label12")->isVisible());
    QVERIFY(c("Label12")->caption().isEmpty());
}

void TestMainWindow::resultsTakeTheResetColour()
{
    for (const QString &name : ResultLabels)
        c(name, 2)->setForeColor(Qt::green);
    fill({{1, "200"}, {3, "200"}, {6, "100"}, {7, "0"}});
    click("ImgCalc");
    for (const QString &name : ResultLabels)
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(c(name, i)->foreColor(), ResetColour);
}

void TestMainWindow::resultsUseRegionalDecimalSeparator()
{
    QLocale::setDefault(QLocale(QLocale::Finnish, QLocale::Finland));
    fill({{1, "200"}, {3, "200"}, {6, "2.71"}, {7, "0.5"}});
    QCOMPARE(m_w->input().NSd, 2.71); // fields keep the point
    click("ImgCalc");
    QCOMPARE(row("veto_leikkaus"), (QStringList{"2,70", "4,10", "", ""}));
    QTest::keyClick(text(6)->widget(), Qt::Key_Tab);
    QCOMPARE(text(6)->text(), "2.71");
}

void TestMainWindow::exitEndsProgram()
{
    click("ImgExit");
    QCOMPARE(m_platform.exits, 1);
}

void TestMainWindow::endingWithAFocusedField_data()
{
    QTest::addColumn<bool>("notice");
    QTest::addColumn<bool>("exitTab");
    QTest::newRow("notice, exit tab") << true << true;
    QTest::newRow("notice, window closed") << true << false;
    QTest::newRow("message box, exit tab") << false << true;
    QTest::newRow("message box, window closed") << false << false;
}

// The program ends (the exit tab, or the window closed) with the cursor in a field after a
// notice or a message box. On a display the window's destruction moves the focus out of the
// field while its children go (the offscreen platform has deactivated the window by then, so
// the test sends that focus-out itself, as the first child goes): no handler of the window may
// run on it then. Without the guard the lost-focus handler runs on the half-destroyed window
// (the sanitized suite reports it; the spy sees the event).
void TestMainWindow::endingWithAFocusedField()
{
    QFETCH(bool, notice);
    QFETCH(bool, exitTab);
    if (notice)
        fill({{1, "200"}});
    else
        fill({{1, "10"}, {3, "200"}, {6, "1"}, {7, "1"}});
    QTest::keyClick(text(notice ? 1 : 7)->widget(), Qt::Key_Return);
    const int number = notice ? 3 : 7; // the notice gave the first empty field the focus
    if (notice)
        QTRY_VERIFY(m_w->notice() && m_w->notice()->isVisible());
    else
        QCOMPARE(m_platform.messages.size(), 1);
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    QWidget *field = text(number)->widget();
    QVERIFY(m_w->focusWidget() == field);
    if (exitTab) {
        click("ImgExit");
        QCOMPARE(m_platform.exits, 1);
    } else {
        m_w->close();
    }

    QObject *first = m_w->children().constFirst();
    QVERIFY(first != field && first != text(number));
    connect(first, &QObject::destroyed, field, [field] {
        QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(field, &out);
    });
    QSignalSpy left(text(number), &Control::lostFocus);
    m_w.reset();
    QCOMPARE(left.size(), 0);
}

// Writes the window at start, after a calculation and with the notice to $KIILA_GRAB_DIR, for
// a look by eye.
void TestMainWindow::grabWindow()
{
    const QString folder = qEnvironmentVariable("KIILA_GRAB_DIR");
    const auto save = [&](QWidget *window, const QString &name) {
        const QPixmap image = window->grab();
        QVERIFY(!image.isNull());
        if (!folder.isEmpty())
            QVERIFY(image.save(folder + QLatin1Char('/') + name));
    };
    save(m_w.get(), QStringLiteral("form1-start.png"));
    click("ImgSIT", 1);
    click("ImgNO", 0);
    fill({{1, "100"}, {3, "100"}, {4, "150"}, {6, "3"}, {7, "2"}, {8, "20"}});
    click("ImgCalc");
    QCOMPARE(m_w->grab().deviceIndependentSize().toSize(), QSize(1027, 768));
    save(m_w.get(), QStringLiteral("form1.png"));
    text(3)->setText(QString());
    click("ImgCalc");
    QTRY_COMPARE(m_w->notice()->caption(), "HELP");
    save(m_w->notice(), QStringLiteral("frmatt.png"));
}

// What the commands change, in one line: the arrangement, the concrete state, the language and
// the windows they open.
QString TestMainWindow::effects() const
{
    QStringList shown;
    shown << QStringLiteral("arrangement %1").arg(m_w->tapaus());
    shown << (m_w->concreteState() == calc::Cracked ? "cracked" : "non-cracked");
    shown << m_language.text();
    if (help::HelpWindow *help = m_w->helpWindow(); help && help->isVisible())
        shown << (help->control(QStringLiteral("Label3"))->isVisible() ? "info" : "help");
    if (m_w->printing()->reportConfirmation())
        shown << "print";
    if (m_w->dataSheet() && m_w->dataSheet()->isVisible())
        shown << "sheet";
    if (m_w->loadCasesWindow() && m_w->loadCasesWindow()->isVisible())
        shown << "cases";
    if (m_platform.exits)
        shown << "exit";
    return shown.join(QLatin1Char(' '));
}

void TestMainWindow::keysRunTheCommands_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("after");
    const QString start = "arrangement 1 non-cracked eng";
    QTest::newRow("F1") << QKeySequence(Qt::Key_F1) << start + " help";
    QTest::newRow("Ctrl+I") << QKeySequence(Qt::CTRL | Qt::Key_I) << start + " info";
    QTest::newRow("Ctrl+P") << QKeySequence(Qt::CTRL | Qt::Key_P) << start + " print";
    QTest::newRow("Ctrl+Q") << QKeySequence(Qt::CTRL | Qt::Key_Q) << start + " exit";
    QTest::newRow("Ctrl+L") << QKeySequence(Qt::CTRL | Qt::Key_L)
                            << "arrangement 1 non-cracked fin";
    QTest::newRow("Ctrl+K") << QKeySequence(Qt::CTRL | Qt::Key_K) << start + " cases";
    QTest::newRow("Alt+Y") << QKeySequence(Qt::ALT | Qt::Key_Y) << "arrangement 1 cracked eng";
    QTest::newRow("Alt+K") << QKeySequence(Qt::ALT | Qt::Key_K) << "arrangement 1 cracked eng";
    for (int i = 1; i <= 7; ++i)
        QTest::addRow("Alt+%d", i) << QKeySequence(Qt::ALT | (Qt::Key_0 + i))
                                   << QStringLiteral("arrangement %1 non-cracked eng").arg(i);
    // Without a calculation the technical data is hidden: nothing.
    QTest::newRow("Ctrl+T hidden") << QKeySequence(Qt::CTRL | Qt::Key_T) << start;
}

// A key does what a click on its command does, through the window's own key events.
void TestMainWindow::keysRunTheCommands()
{
    QFETCH(QKeySequence, keys);
    QVERIFY(openWindow()); // with the report page that printing fills
    const QKeyCombination combination = keys[0];
    QTest::keyClick(m_w.get(), combination.key(), combination.keyboardModifiers());
    QTEST(effects(), "after");
}

// Keys that a click could not give: the concrete state back by No, the language back, technical
// data once shown, and nothing while a confirmation disables the window.
void TestMainWindow::keysOnlyWhereAClickWould()
{
    const auto press = [this](QKeyCombination keys) {
        QTest::keyClick(m_w.get(), keys.key(), keys.keyboardModifiers());
    };
    QVERIFY(openWindow()); // with the report page that printing fills
    press(Qt::ALT | Qt::Key_Y);
    press(Qt::ALT | Qt::Key_N);
    QCOMPARE(effects(), "arrangement 1 non-cracked eng");
    press(Qt::ALT | Qt::Key_K);
    press(Qt::ALT | Qt::Key_E);
    QCOMPARE(effects(), "arrangement 1 non-cracked eng");
    press(Qt::CTRL | Qt::Key_L);
    press(Qt::CTRL | Qt::Key_L);
    QCOMPARE(effects(), "arrangement 1 non-cracked eng");

    fill({{1, "200"}, {3, "200"}, {6, "1"}, {7, "1"}});
    click("ImgCalc");
    QVERIFY(c("Label14")->isVisible());
    press(Qt::CTRL | Qt::Key_T);
    QTRY_VERIFY(m_w->dataSheet() && m_w->dataSheet()->isVisible());
    m_w->dataSheet()->close();
    QTRY_VERIFY(!m_w->dataSheet());
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));

    press(Qt::CTRL | Qt::Key_P);
    QVERIFY(m_w->printing()->reportConfirmation());
    QVERIFY(!m_w->isEnabled());
    for (const QKeyCombination keys : {Qt::ALT | Qt::Key_3, Qt::ALT | Qt::Key_Y,
                                       Qt::CTRL | Qt::Key_Q, Qt::Key_F1 | Qt::NoModifier})
        press(keys);
    QCOMPARE(effects(), "arrangement 1 non-cracked eng print");
}

// After the fields Tab visits the commands that can be clicked, in the order of the window;
// Space and Enter click the one that has the focus.
void TestMainWindow::tabReachesTheCommands()
{
    QWidget *last = text(7)->widget();
    last->setFocus();
    QStringList visited;
    for (int step = 0; step < 17; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    // The technical data is hidden before a calculation and passed over.
    QCOMPARE(visited, (QStringList{"ImgSIT(0)", "ImgSIT(1)", "ImgSIT(2)", "ImgSIT(3)", "ImgSIT(4)",
                                   "ImgSIT(5)", "ImgSIT(6)", "ImgNO(0)", "ImgNO(1)", "ImgCalc",
                                   "ImgPrint", "ImgHelp", "INFO", "ImgLanguage(1)",
                                   "ImgLanguage(2)", "ImgExit", "Text1"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), "ImgExit");

    const auto focusOn = [this](const QString &name) {
        for (QWidget *w : m_w->findChildren<QWidget *>(name))
            w->setFocus(Qt::TabFocusReason);
        return QApplication::focusWidget();
    };
    QTest::keyClick(focusOn("ImgSIT(2)"), Qt::Key_Space);
    QCOMPARE(m_w->tapaus(), 3);
    QTest::keyClick(focusOn("ImgNO(0)"), Qt::Key_Return);
    QCOMPARE(m_w->concreteState(), calc::Cracked);
    QTest::keyClick(focusOn("ImgCalc"), Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(m_w->notice()); // the fields are empty
}

void TestMainWindow::focusMark_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("index");
    QTest::newRow("LASKE, a dark pill on the light panel") << "ImgCalc" << forms::NoIndex;
    QTest::newRow("a case box") << "ImgSIT" << 3;
    // The tab bar and the flags lie on the dark blue strip at the top.
    QTest::newRow("info") << "INFO" << forms::NoIndex;
    QTest::newRow("exit") << "ImgExit" << forms::NoIndex;
    QTest::newRow("print") << "ImgPrint" << forms::NoIndex;
    QTest::newRow("help") << "ImgHelp" << forms::NoIndex;
    QTest::newRow("the Finnish flag") << "ImgLanguage" << 2;
}

namespace {

// The contrast ratio of two colours, as the accessibility guidelines reckon it (1 to 21).
double contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb rgb) {
        const auto channel = [](int value) {
            const double c = value / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
               0.0722 * channel(qBlue(rgb));
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

// The command with the keyboard focus has a dotted mark around it that stands out from what
// lies under it, on the dark tab bar as on the light panels; without the focus on a command the
// window is drawn as before.
void TestMainWindow::focusMark()
{
    QFETCH(QString, command);
    QFETCH(int, index);
    const QImage before = m_w->grab().toImage();
    const QString name =
        index == forms::NoIndex ? command : QStringLiteral("%1(%2)").arg(command).arg(index);
    QWidget *stop = m_w->findChild<QWidget *>(name);
    QVERIFY(stop);
    stop->setFocus(Qt::TabFocusReason);
    const QImage marked = m_w->grab().toImage();
    const QString folder = qEnvironmentVariable("KIILA_GRAB_DIR");
    if (!folder.isEmpty())
        QVERIFY(marked.save(folder + "/form1-focus-" + name + ".png"));
    const QRect area = c(command, index)->geometry();
    // Most of the mark's dots contrast with the window under them at least 3 to 1.
    int standingOut = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (contrast(before.pixel(x, y), marked.pixel(x, y)) >= 3)
                ++standingOut;
    QVERIFY2(standingOut > (area.width() + area.height()) * 3 / 5,
             qPrintable(QStringLiteral("%1 dots of the mark stand out").arg(standingOut)));
    const auto differing = [&](const QRect &in) {
        int count = 0;
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                if (before.pixel(x, y) != marked.pixel(x, y) && in.contains(x, y))
                    ++count;
        return count;
    };
    // Only the edge of the command changes, in dots: about half of its pixels.
    const int edge = 2 * (area.width() + area.height());
    QVERIFY(differing(area) > edge / 4);
    QCOMPARE(differing(area.adjusted(1, 1, -1, -1)), 0);
    // Elsewhere only the field that gave up the focus changes.
    const QRect field = text(1)->widget()->geometry();
    QCOMPARE(differing(before.rect()), differing(area) + differing(field));
    // Back in a field, the mark is gone.
    text(1)->setFocus();
    QCOMPARE(m_w->grab().toImage().copy(area), before.copy(area));
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
