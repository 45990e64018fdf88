// The help window opened as a user opens it: the help and information commands of the main
// window and the help command of the data sheet.

#include "help/helpwindow.h"
#include "mainwindow/mainwindow.h"
#include "standinreport.h"
#include "texts/texts.h"
#include "windowdriver.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWheelEvent>

using lang::Language;

class TestHelp : public QObject, protected WindowDriver<mainwindow::MainWindow>
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void selectionOnActivation_data();
    void selectionOnActivation();
    void infoThenHelpKeepsTheDisclaimer();
    void infoBackHelpShowsTheHelp();
    void languageSwitchShowsAtNextActivation();
    void oneWindowForEveryHelpCommand();
    void escapeGoesBack();
    void disclaimerHeadingStandsLower();
    void pageBelowTheHelp_data();
    void pageBelowTheHelp();
    void grabWindow();

private:
    help::HelpWindow *openedBy(const char *command)
    {
        click(QLatin1String(command));
        help::HelpWindow *help = m_w->helpWindow();
        if (help && !QTest::qWaitForWindowActive(help))
            return nullptr;
        return help;
    }
    // Which of Label1, Label2, Label3 and ImgEng are shown, as "1 2 3 E" with - for hidden.
    static QString shown(const help::HelpWindow *help)
    {
        QString s;
        for (const char *name : {"Label1", "Label2", "Label3", "ImgEng"})
            s += help->control(QLatin1String(name))->isVisible() ? QLatin1String(name).back()
                                                                 : QLatin1Char('-');
        return s;
    }
};

void TestHelp::init()
{
    QVERIFY(openWindow(&standin::ReportPage));
}

void TestHelp::cleanup()
{
    m_w.reset();
}

void TestHelp::selectionOnActivation_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("expected"); // Label1 Label2 Label3 ImgEng
    QTest::newRow("eng help") << int(Language::English) << "ImgHelp"
                              << "1--g";
    QTest::newRow("fin help") << int(Language::Finnish) << "ImgHelp"
                              << "-2--";
    // Russian selects nothing: the window stays as its definition has it.
    QTest::newRow("rus help") << int(Language::Russian) << "ImgHelp"
                              << "123g";
    QTest::newRow("eng info") << int(Language::English) << "INFO"
                              << "--3g";
    QTest::newRow("fin info") << int(Language::Finnish) << "INFO"
                              << "--3-";
    QTest::newRow("rus info") << int(Language::Russian) << "INFO"
                              << "--3g";
}

void TestHelp::selectionOnActivation()
{
    QFETCH(int, language);
    QFETCH(QString, command);
    QFETCH(QString, expected);
    m_language.set(static_cast<Language>(language));
    help::HelpWindow *help = openedBy(qPrintable(command));
    QVERIFY(help);
    QCOMPARE(shown(help), expected);
    QCOMPARE(help->size(), QSize(1027, 768));
}

void TestHelp::infoThenHelpKeepsTheDisclaimer()
{
    help::HelpWindow *help = openedBy("INFO");
    QVERIFY(help);
    QCOMPARE(shown(help), "--3g");
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    QCOMPARE(openedBy("ImgHelp"), help);
    QCOMPARE(shown(help), "--3g");
}

void TestHelp::infoBackHelpShowsTheHelp()
{
    QPointer<help::HelpWindow> help = openedBy("INFO");
    QVERIFY(help);
    support::click(*help, QStringLiteral("Image1"));
    QTRY_VERIFY(!help);
    QVERIFY(!m_w->helpWindow());
    m_language.set(Language::Finnish);
    help = openedBy("ImgHelp");
    QVERIFY(help);
    QCOMPARE(help->tag(), "0");
    QCOMPARE(shown(help), "-2--");
}

void TestHelp::languageSwitchShowsAtNextActivation()
{
    help::HelpWindow *help = openedBy("ImgHelp");
    QVERIFY(help);
    QCOMPARE(shown(help), "1--g");
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    click("ImgLanguage", 2); // the Finnish flag
    QCOMPARE(shown(help), "1--g");
    help->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(help));
    QCOMPARE(shown(help), "-2--");
}

void TestHelp::oneWindowForEveryHelpCommand()
{
    // A calculation that chooses a size shows the command to the data sheet.
    for (const auto &[number, value] : {std::pair{1, "200"}, {3, "200"}, {6, "1"}, {7, "1"}})
        text(number)->setText(QString::fromLatin1(value));
    click("ImgCalc");
    click("ImgSHOW");
    QVERIFY(m_w->dataSheet());
    QVERIFY(QTest::qWaitForWindowActive(m_w->dataSheet()));
    help::HelpWindow *help = openedBy("INFO");
    QVERIFY(help);
    support::click(*m_w->dataSheet(), QStringLiteral("ImgHelp"));
    QCOMPARE(m_w->helpWindow(), help);
    QVERIFY(QTest::qWaitForWindowActive(help));
    QCOMPARE(shown(help), "--3g"); // still in the information mode
    // Both stay usable: the sheet is not disabled by the help window.
    QVERIFY(m_w->dataSheet()->isEnabled());
}

// Esc goes back from the help and from the disclaimer, as the back word does; Tab reaches it.
void TestHelp::escapeGoesBack()
{
    for (const char *command : {"ImgHelp", "INFO"}) {
        QPointer<help::HelpWindow> help = openedBy(command);
        QVERIFY(help);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), "Image1");
        QTest::keyClick(help, Qt::Key_Escape);
        QTRY_VERIFY(!help);
    }
}

// The disclaimer begins with more blanks than its first line holds: they fill whole lines, so
// the heading stands below them, not on the second line.
void TestHelp::disclaimerHeadingStandsLower()
{
    m_language.set(Language::English);
    QPointer<help::HelpWindow> help = openedBy("INFO");
    QVERIFY(help);
    const forms::Control *disclaimer = help->control(QStringLiteral("Label3"));
    QVERIFY(disclaimer->isVisible());
    const QImage image = help->grab().toImage();
    const QRect area = disclaimer->geometry();
    int top = -1;
    for (int y = area.top(); y <= area.bottom() && top < 0; ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                top = y - area.top();
                break;
            }
    const int lines = QFontMetrics(disclaimer->font()).lineSpacing();
    const int blank = QFontMetrics(disclaimer->font()).horizontalAdvance(QLatin1Char(' '));
    const int blankLines = 244 / (area.width() / blank);
    QVERIFY2(blankLines >= 2, "the blanks fill at least two lines");
    QVERIFY2(top >= blankLines * lines && top < (blankLines + 1) * lines,
             qPrintable(QStringLiteral("heading at %1, lines of %2").arg(top).arg(lines)));
}

void TestHelp::pageBelowTheHelp_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("label"); // the help shown in the language
    QTest::addRow("English") << Language::English << "Label1";
    QTest::addRow("Finnish") << Language::Finnish << "Label2";
}

// Below the help of the window's definition, which stays as it is, a line points to the page
// about what the program does beyond it; Page Down and the wheel turn to that page, Page Up and
// the wheel back. The page names the menu's commands as the menu does.
void TestHelp::pageBelowTheHelp()
{
    QFETCH(Language, language);
    QFETCH(QString, label);
    m_language.set(language);
    QPointer<help::HelpWindow> help = openedBy("ImgHelp");
    QVERIFY(help);
    const texts::Language words = texts::of(language);
    const auto own = [words](texts::Text key) {
        return QString::fromUtf8(texts::text(words, key));
    };
    const forms::Control *text = help->control(label);
    QVERIFY(text->isVisible());
    const QString first = text->caption();
    QVERIFY(first.startsWith(QString::fromUtf8(text->definition().caption)));
    QVERIFY(first.endsWith(own(texts::Text::HelpMore)));

    QTest::keyClick(help, Qt::Key_PageDown);
    const QString below = text->caption();
    QCOMPARE(below, own(texts::Text::HelpAdded));
    for (const texts::Text entry :
         {texts::Text::MenuOpen, texts::Text::MenuSaveAs, texts::Text::MenuPrintDetails})
        QVERIFY2(below.contains(own(entry)), qPrintable(own(entry)));
    QTest::keyClick(help, Qt::Key_PageUp);
    QCOMPARE(text->caption(), first);

    for (const auto &[turn, shown] : {std::pair{-120, below}, {120, first}}) {
        const QPointF at(help->width() / 2.0, help->height() / 2.0);
        QWheelEvent wheel(at, help->mapToGlobal(at), {}, QPoint(0, turn), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(help, &wheel);
        QCOMPARE(text->caption(), shown);
    }
}

void TestHelp::grabWindow()
{
    const QString folder = qEnvironmentVariable("KIILA_GRAB_DIR");
    for (const auto &[language, command, file] :
         {std::tuple{Language::English, "ImgHelp", "form3-eng.png"},
          {Language::Finnish, "ImgHelp", "form3-fin.png"},
          {Language::English, "INFO", "form3-info.png"}}) {
        m_language.set(language);
        QPointer<help::HelpWindow> help = openedBy(command);
        QVERIFY(help);
        const QPixmap image = help->grab();
        QVERIFY(!image.isNull());
        if (!folder.isEmpty())
            QVERIFY(image.save(folder + QLatin1Char('/') + QLatin1String(file)));
        help->showPage(1);
        if (!folder.isEmpty() && QLatin1String(command) == "ImgHelp")
            QVERIFY(help->grab().save(folder + QLatin1Char('/') + QLatin1String(file).chopped(4) +
                                      QLatin1String("-below.png")));
        support::click(*help, QStringLiteral("Image1"));
        QTRY_VERIFY(!help);
    }
}

QTEST_MAIN(TestHelp)
#include "test_help.moc"
