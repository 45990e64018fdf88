// The main window in its languages: the start-up step, the flags, the shipped language files
// and files of the test's own making in a folder that stands for the program's.

#include "forms/widgets.h"
#include "lang/languages.h"
#include "mainwindow/mainwindow.h"
#include "standinreport.h"
#include "texts/texts.h"
#include "windowdriver.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>

using forms::Control;
using mainwindow::MainWindow;

namespace {

using standin::ReportPage;

struct Place
{
    const char *name;
    int index = forms::NoIndex;
};

// The caption each of the lines 2 to 23 fills.
const Place CaptionOfLine[] = {
    {"Label11"},  {"LbSit", 0}, {"LbSit", 1}, {"LbSit", 2}, {"LbSit", 3}, {"LbSit", 4},
    {"LbSit", 5}, {"LbSit", 6}, {"Label1"},   {"Label3"},   {"Label4"},   {"Label5"},
    {"Label6"},   {"Label7"},   {"Label8"},   {"Label9"},   {"Label15"},  {"Label14"},
    {"Label13"},  {"KYLLA"},    {"EI"},       {"Label12"},
};

const QString Header = QStringLiteral("HEADER of the test file");

// A file of the given number of lines: the header, then " L2 ", " L3 " ... with their blanks.
QByteArrayList numberedLines(int count)
{
    QByteArrayList lines;
    for (int n = 1; n <= count; ++n)
        lines << (n == 1 ? Header.toLatin1() : " L" + QByteArray::number(n) + " ");
    return lines;
}

QString lineText(int n)
{
    return QStringLiteral(" L%1 ").arg(n);
}

QString finnish(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

class TestLanguages : public QObject, protected WindowDriver<mainwindow::MainWindow>
{
    Q_OBJECT
private slots:
    void cleanup();

    void withoutFiles();
    void linesLandInTheirPlaces_data();
    void linesLandInTheirPlaces();
    void shortFileLeavesEarlierLanguage();
    void switchCalculatesAgain_data();
    void switchCalculatesAgain();
    void resultsFollowTheLanguage();
    void adviceFollowsTheLanguage();
    void finnishFileMissing_data();
    void finnishFileMissing();
    void russianSelector();
    void reportPageMadeLate_data();
    void reportPageMadeLate();
    void captionsFitTheirLabels_data();
    void captionsFitTheirLabels();
    void grabWindows();
    void qtDialogsFollowTheLanguage();
    void ownTextsInTheLanguage_data();
    void ownTextsInTheLanguage();

private:
    // Starts the program with the folder as the program's folder.
    void startIn(const QString &folder);
    QString shippedFolder(const QStringList &files);
    void write(const QString &name, const QByteArray &bytes);

    void fill(std::initializer_list<std::pair<int, const char *>> values)
    {
        for (const auto &[number, value] : values)
            text(number)->setText(QString::fromUtf8(value));
    }
    QStringList captions() const
    {
        QStringList all;
        for (const Control *control : m_w->controls())
            all << control->caption();
        return all;
    }
    // Arrangement 7 with every result row, all four sizes and the widest plate text.
    void calculateSixAnchors()
    {
        click("ImgSIT", 6);
        fill({{1, "2000"},
              {3, "2000"},
              {4, "1000"},
              {5, "1000"},
              {6, "40"},
              {7, "5"},
              {8, "30"},
              {9, "0"}});
        click("ImgCalc");
    }
    // The results of arrangement 2, two anchors of M12, with an eccentric row and a plate.
    void calculateTwoAnchors()
    {
        click("ImgSIT", 1);
        click("ImgNO", 0);
        fill({{1, "100"}, {3, "100"}, {4, "150"}, {6, "3"}, {7, "2"}, {8, "20"}});
        click("ImgCalc");
    }
    QStringList results() const
    {
        QStringList texts;
        for (const char *name : {"Label17", "Label18", "Label20", "label21", "Label2", "Label12"})
            texts << c(QLatin1String(name))->caption();
        return texts;
    }

    QTemporaryDir m_dir;
};

void TestLanguages::startIn(const QString &folder)
{
    m_platform = FakePlatform();
    m_platform.folder = folder;
    m_w = std::make_unique<MainWindow>(m_platform, m_language, &ReportPage);
    m_w->showWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
}

// A fresh folder holding copies of the shipped files named.
QString TestLanguages::shippedFolder(const QStringList &files)
{
    m_dir = QTemporaryDir(); // a new, empty folder per test
    for (const QString &file : files)
        QFile::copy(QStringLiteral(KIILA_LANG_DIR "/") + file, m_dir.filePath(file));
    return m_dir.path();
}

void TestLanguages::write(const QString &name, const QByteArray &bytes)
{
    QFile file(m_dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void TestLanguages::cleanup()
{
    m_w.reset();
}

// The window's own Finnish captions, the English version caption and the Finnish texts of the
// calculation; the flags change the tag but nothing else and do not calculate.
void TestLanguages::withoutFiles()
{
    startIn(shippedFolder({}));
    QCOMPARE(m_language.text(), "eng");
    QCOMPARE(c("Label10")->caption(), "VERSION ENGLISH 01_b");
    QVERIFY(!c("Image2")->isVisible());
    QCOMPARE(c("Label14")->top(), 6600);
    for (const Control *control : m_w->controls()) {
        // Label12, the advice, is emptied by the start-up.
        if (control->name() != QLatin1String("Label10") && control->name() != "Label12")
            QCOMPARE(control->caption(), QString::fromUtf8(control->definition().caption));
        QCOMPARE(control->charset(), control->definition().font.charset);
    }

    // C1 52 stops M10 with a message: every calculation shows one.
    fill({{1, "52"}, {3, "200"}, {6, "100"}, {7, "0"}});
    click("ImgCalc");
    QCOMPARE(m_platform.messages.size(), 1);
    QCOMPARE(m_platform.messages[0].second, " Ohje ");
    QCOMPARE(c("Label18")->caption(), "Ankkurien  veto- ja leikkauskapasiteetti kN ");

    QStringList before = captions();
    for (int index : {1, 0, 2}) {
        m_w->ImgLanguage_Click(index);
        QCOMPARE(m_language.index(), index);
    }
    QCOMPARE(m_platform.messages.size(), 1);
    QCOMPARE(c("Label10")->caption(), "VERSIO SUOMI  01_b"); // the Finnish flag sets it first
    before[m_w->controls().indexOf(c("Label10"))] = c("Label10")->caption();
    QCOMPARE(captions(), before);
    QCOMPARE(c("Label14")->top(), 6600);
}

void TestLanguages::linesLandInTheirPlaces_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lineCount"); // lines the file has

    QTest::newRow("complete, CR LF") << numberedLines(34).join("\r\n") + "\r\n" << 34;
    QTest::newRow("complete, LF") << numberedLines(34).join("\n") + "\n" << 34;
    QTest::newRow("complete, CR") << numberedLines(34).join("\r") << 34;
    QTest::newRow("more than 34 lines") << numberedLines(40).join("\r\n") << 34;
    QTest::newRow("short: 12 lines") << numberedLines(12).join("\r\n") + "\r\n" << 12;
    QTest::newRow("short: 25 lines, no end mark") << numberedLines(25).join("\r\n") << 25;
    QTest::newRow("header only") << Header.toLatin1() << 1;
    QTest::newRow("empty") << QByteArray() << 0;
}

// The English file at start-up: line 1 nowhere, lines 2 to 23 in their captions, 23 to 34 in the
// calculation's texts, blanks kept; lines a file lacks leave the window's own texts.
void TestLanguages::linesLandInTheirPlaces()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lineCount);
    shippedFolder({});
    write(QStringLiteral("english.txt"), bytes);
    startIn(m_dir.path());

    QCOMPARE(m_language.text(), "eng");
    QVERIFY(c("Image2")->isVisible());
    // Line 23 goes into the advice label too, which the start-up empties; the texts below
    // show where it went.
    for (int n = 2; n <= 22; ++n) {
        const Control *control =
            c(QLatin1String(CaptionOfLine[n - 2].name), CaptionOfLine[n - 2].index);
        QCOMPARE(control->caption(),
                 n <= lineCount ? lineText(n) : QString::fromUtf8(control->definition().caption));
    }
    for (const QString &caption : captions())
        QVERIFY(!caption.contains(Header));
    QVERIFY(!m_w->caption().contains(Header));

    const calc::Texts &texts = m_w->texts();
    const std::pair<int, std::string> fragments[] = {
        {23, texts.advice},           {24, texts.fragAnkkurien},    {25, texts.fragArvoC},
        {26, texts.fragArvoS},        {27, texts.fragKasvatettava}, {28, texts.fragAnkkuriryhman},
        {29, texts.fragVetoLeikkaus}, {30, texts.fragLeikkaus},     {31, texts.fragEpakeskinen},
        {32, texts.fragKpl},          {33, texts.fragOhje},         {34, texts.fragKiinnityslevy},
    };
    for (const auto &[n, fragment] : fragments)
        QCOMPARE(QString::fromStdString(fragment), n <= lineCount ? lineText(n) : QString());

    // The composed texts take the lines as they are, and the Finnish defaults where the file
    // has none.
    fill({{1, "52"}, {3, "200"}, {6, "100"}, {7, "0"}});
    click("ImgCalc");
    QCOMPARE(m_platform.messages.size(), 1);
    QCOMPARE(m_platform.messages[0].second, lineCount >= 33 ? lineText(33) : " Ohje ");
    QCOMPARE(c("Label18")->caption(),
             (lineCount >= 24 ? lineText(24) : "Ankkurien ") +
                 (lineCount >= 29 ? lineText(29) : " veto- ja leikkauskapasiteetti kN "));
}

// A file with fewer lines, read after a complete one, leaves the captions it does not reach in
// the earlier language.
void TestLanguages::shortFileLeavesEarlierLanguage()
{
    startIn(shippedFolder({"english.txt"}));
    write(QStringLiteral("fin.txt"), "fi\r\nKiila-ankkurin laskentaohjelma\r\nTAPAUS 1\r\n");
    click("ImgLanguage", 2);
    QCOMPARE(c("Label11")->caption(), "Kiila-ankkurin laskentaohjelma");
    QCOMPARE(c("LbSit", 0)->caption(), "TAPAUS 1");
    QCOMPARE(c("LbSit", 1)->caption(), "CASE 2");
    QCOMPARE(c("Label1")->caption(), "Edge distance C1 (mm)");
    QCOMPARE(QString::fromStdString(m_w->texts().fragKpl), " pcs ");
}

void TestLanguages::switchCalculatesAgain_data()
{
    QTest::addColumn<QString>("text1");
    QTest::addColumn<bool>("othersFilled");
    QTest::addColumn<bool>("calculates");

    QTest::newRow("Text1 empty") << "" << true << false;
    QTest::newRow("250, C2 empty: the notice") << "250" << false << true;
    QTest::newRow("-5") << "-5" << true << false;
    QTest::newRow("0") << "0" << true << false;
    QTest::newRow("05") << "05" << true << true;
    QTest::newRow("leading blank") << " 5" << true << false;
    QTest::newRow("leading point") << ".5" << true << false;
    QTest::newRow("leading plus") << "+5" << true << false;
    QTest::newRow("letters sort after 0") << "x" << true << true;
}

// A switch calculates when Text1 sorts after "0". Every calculation with these inputs ends in a
// message (C1 below the minimum of M8) or the notice, so either shows that one ran.
void TestLanguages::switchCalculatesAgain()
{
    QFETCH(QString, text1);
    QFETCH(bool, othersFilled);
    QFETCH(bool, calculates);
    startIn(shippedFolder({"english.txt", "fin.txt"}));
    if (othersFilled)
        fill({{3, "200"}, {6, "1"}, {7, "1"}});
    text(1)->setText(text1);

    click("ImgLanguage", 2);
    QCOMPARE(m_language.text(), "fin");
    const bool ran = !m_platform.messages.isEmpty() || m_w->notice();
    QCOMPARE(ran, calculates);
    if (m_w->notice()) {
        QVERIFY(QTest::qWaitForWindowActive(m_w->notice()->windowHandle()));
        QCOMPARE(m_w->notice()->caption(), "Huomio!"); // the notice reads the new tag
    }
    // The calculation's message, or the command's refusal of a C1 that is not a number.
    if (!m_platform.messages.isEmpty() && text1 == QLatin1String("x"))
        QVERIFY(m_platform.messages[0].first.contains(QLatin1String("\"x\"")));
    else if (!m_platform.messages.isEmpty())
        QCOMPARE(m_platform.messages[0].second, " Ohje ");
    QCOMPARE(text(1)->text(), text1); // the field is not rewritten
}

// Results computed in one language come back in the other after a switch; the Finnish file
// restores every caption of the window's definition.
void TestLanguages::resultsFollowTheLanguage()
{
    startIn(shippedFolder({"english.txt", "fin.txt", "rus.txt"}));
    QCOMPARE(c("LbSit", 0)->caption(), "CASE 1");
    calculateTwoAnchors();
    const QStringList english = results();
    QCOMPARE(english.at(0), "2 pcs  Kalvex M 12");
    QVERIFY(english.at(1).startsWith("Anchor "));
    QCOMPARE(english.at(2), "Group of 2 anchors, shear capacity kN ");
    QCOMPARE(english.at(3), "Group of 2 anchors, eccentric tension capacity kN");
    QVERIFY(english.at(4).startsWith("Minimum fixture plate size "));

    click("ImgLanguage", 2);
    QCOMPARE(results(),
             (QStringList{"2 kpl  Kalvex M 12", "Ankkurien  veto- ja leikkauskapasiteetti kN ",
                          "Ankkuriryhmän  2 leikkauskapasiteetti kN ",
                          "Ankkuriryhmän  2 epäkeskinen vetokapasiteetti kN",
                          "Kiinnityslevyn mitat min. 36 mm x 186 mm", ""}));
    const QStringList composed{"Label17", "Label18", "Label20", "label21", "Label2", "Label12"};
    for (const Control *control : m_w->controls())
        if (control->tag() == "lbl" && !composed.contains(control->name()))
            QCOMPARE(control->caption(), QString::fromUtf8(control->definition().caption));
    QVERIFY(!c("Image2")->isVisible());

    click("ImgLanguage", 1);
    QCOMPARE(results(), english);
    QCOMPARE(c("Label10")->caption(), "VERSION ENGLISH 01_b");
    QVERIFY(c("Image2")->isVisible());

    // Switching with Text1 empty leaves the results in the language they were made in; only
    // the hidden advice label takes the new line 23.
    text(1)->setText(QString());
    click("ImgLanguage", 2);
    QCOMPARE(results().mid(0, 5), english.mid(0, 5));
    QVERIFY(!c("Label12")->isVisible());
    QVERIFY(!m_w->notice());
}

// The advice is the last file's line 23; without one the Finnish advice.
void TestLanguages::adviceFollowsTheLanguage()
{
    startIn(shippedFolder({"english.txt", "fin.txt", "rus.txt"}));
    fill({{1, "200"}, {3, "200"}, {6, "100"}, {7, "0"}});
    click("ImgCalc");
    QVERIFY(c("Label12")->isVisible());
    QCOMPARE(c("Label12")->caption(), "Choose a stronger fastening arrangement or try larger "
                                      "edge distances and/or anchor spacings");

    click("ImgLanguage", 2);
    QCOMPARE(c("Label12")->caption(), finnish(calc::FinnishAdvice));

    m_w->ImgLanguage_Click(0);
    QVERIFY(c("Label12")->caption().startsWith(QString::fromUtf8("Выберите")));

    // A file with an empty line 23 gives the Finnish advice again.
    QByteArrayList lines = numberedLines(34);
    lines[22].clear();
    write(QStringLiteral("english.txt"), lines.join("\r\n"));
    click("ImgLanguage", 1);
    QCOMPARE(c("Label12")->caption(), finnish(calc::FinnishAdvice));
    QVERIFY(c("Label12")->isVisible());
}

void TestLanguages::finnishFileMissing_data()
{
    QTest::addColumn<QString>("standIn"); // what lies under the name fin.txt

    QTest::newRow("no file") << QString();
    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("a link to /dev/zero") << "/dev/zero";
    QTest::newRow("a folder") << "folder";
}

// Without the Finnish file the flag sets the tag, the version caption and the Finnish tabs,
// and nothing else: the captions stay English and nothing is calculated. Anything but a regular
// file counts as missing and is not waited on.
void TestLanguages::finnishFileMissing()
{
    QFETCH(QString, standIn);
    startIn(shippedFolder({"english.txt", "rus.txt"}));
    const QString fin = m_dir.filePath(QStringLiteral("fin.txt"));
    if (standIn == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(fin).constData(), 0600), 0);
    else if (standIn == "folder")
        QVERIFY(QDir().mkdir(fin));
    else if (!standIn.isEmpty())
        QVERIFY(QFile::link(standIn, fin));
    fill({{1, "52"}, {3, "200"}, {6, "100"}, {7, "0"}});
    click("ImgCalc");
    QCOMPARE(m_platform.messages.size(), 1);
    c("Label14")->setCharset(7); // a mark that setting the character sets would overwrite
    QStringList before = captions();

    click("ImgLanguage", 2);
    QCOMPARE(m_language.text(), "fin");
    QCOMPARE(c("Label10")->caption(), "VERSIO SUOMI  01_b");
    QVERIFY(!c("Image2")->isVisible());
    before[m_w->controls().indexOf(c("Label10"))] = c("Label10")->caption();
    QCOMPARE(captions(), before);
    QCOMPARE(c("Label14")->charset(), 7);
    QCOMPARE(m_platform.messages.size(), 1);
}

// The Russian flag is hidden in the window; shown, it reads the Windows-1251 file and sets the
// Russian character set on the "lbl" controls of both windows.
void TestLanguages::russianSelector()
{
    startIn(shippedFolder({"english.txt", "fin.txt", "rus.txt"}));
    QVERIFY(!c("ImgLanguage", 0)->isVisible());
    QCOMPARE(c("Label14")->charset(), 0); // Cyrillic in the window, Western after start-up
    QCOMPARE(c("epak", 1)->charset(), forms::Cyrillic);

    c("ImgLanguage", 0)->setVisible(true);
    click("ImgLanguage", 0);
    QCOMPARE(m_language.text(), "rus");
    QCOMPARE(c("LbSit", 0)->caption(), QString::fromUtf8("ВАРИАНТ 1"));
    QCOMPARE(c("Label15")->caption(), QString::fromUtf8("РАСЧЁТ"));
    QCOMPARE(c("Label14")->top(), 6495);
    QCOMPARE(c("Label14")->geometry().y(), 433);
    QCOMPARE(c("Label10")->caption(), "VERSION ENGLISH 01_b");

    // The "lbl" controls take the language's set, the others keep their own (the report page
    // takes the same when printed: reportPageMadeLate).
    const auto charsets = [this](int lbl) {
        for (const Control *control : m_w->controls())
            QCOMPARE(control->charset(),
                     control->tag() == "lbl" ? lbl : control->definition().font.charset);
    };
    charsets(1);

    click("ImgLanguage", 1); // English keeps the character set
    QCOMPARE(c("Label14")->top(), 6600);
    charsets(1);
    click("ImgLanguage", 2);
    charsets(0);

    fill({{1, "200"}, {3, "200"}, {6, "1"}, {7, "1"}});
    m_w->ImgLanguage_Click(0); // results come out in Russian
    QCOMPARE(c("Label17")->caption(), QString::fromUtf8("1 шт.  Kalvex M 8"));
}

// The report page is made after the window's first paint or when first needed; printing fills it
// wholly (the captions and their character set, the arrangement's picture): a page made late
// prints as one made at once.
void TestLanguages::reportPageMadeLate_data()
{
    QTest::addColumn<QList<int>>("languages"); // the flags clicked, in turn
    QTest::addColumn<int>("arrangement");      // the arrangement clicked after them, else -1
    QTest::newRow("as started") << QList<int>{} << -1;
    QTest::newRow("Russian") << QList<int>{0} << -1;
    QTest::newRow("arrangement 4") << QList<int>{} << 3;
    QTest::newRow("Russian, Finnish, arrangement 7") << QList<int>{0, 2} << 6;
    QTest::newRow("Finnish, Russian, arrangement 2") << QList<int>{2, 0} << 1;
}

void TestLanguages::reportPageMadeLate()
{
    QFETCH(QList<int>, languages);
    QFETCH(int, arrangement);
    m_platform = FakePlatform();
    m_platform.folder = shippedFolder({"english.txt", "fin.txt", "rus.txt"});
    const forms::FormDef *page = forms::findDefinition("FrmPRINT");
    lang::LanguageTag earlyLanguage;
    MainWindow early(m_platform, earlyLanguage, page);
    QVERIFY(early.reportPage());
    lang::LanguageTag lateLanguage;
    MainWindow late(m_platform, lateLanguage, page); // never shown: nothing makes its page
    for (MainWindow *window : {&early, &late}) {
        for (int language : languages)
            window->ImgLanguage_Click(language);
        if (arrangement >= 0)
            window->ImgSIT_Click(arrangement);
        window->ImgPrint_Click();
    }
    forms::Form *made = late.reportPage();
    QVERIFY(made);
    QCOMPARE(made->controls().size(), early.reportPage()->controls().size());
    for (qsizetype i = 0; i < made->controls().size(); ++i) {
        const Control *a = early.reportPage()->controls().at(i);
        const Control *b = made->controls().at(i);
        QCOMPARE(b->caption(), a->caption());
        QCOMPARE(b->isVisible(), a->isVisible());
        QCOMPARE(b->charset(), a->charset());
        QCOMPARE(b->geometry(), a->geometry());
        // The captions in the main window's character set.
        if (a->tag() == QLatin1String("lbl"))
            QCOMPARE(a->charset(), early.control(QStringLiteral("Label11"))->charset());
    }
    QCOMPARE(made->grab().toImage(), early.reportPage()->grab().toImage());
}

void TestLanguages::captionsFitTheirLabels_data()
{
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 1;
    QTest::newRow("Finnish") << 2;
    QTest::newRow("Russian") << 0;
}

// Every caption tagged "lbl", the composed results and the advice included, fits its rectangle
// in the font it is drawn with: no word wider than the label, no line below its bottom.
void TestLanguages::captionsFitTheirLabels()
{
    QFETCH(int, language);
    startIn(shippedFolder({"english.txt", "fin.txt", "rus.txt"}));
    m_w->ImgLanguage_Click(language);

    // Every caption that does not fit, with the room it needs and the room it has.
    QStringList overflows;
    const auto check = [this, &overflows] {
        for (const Control *control : m_w->controls()) {
            const forms::ControlDef &def = control->definition();
            if (control->tag() != "lbl" || control->caption().isEmpty())
                continue;
            // The last line's full descent may reach one pixel below the label: no glyph of
            // these fonts draws that low.
            const QRect box = QRect(QPoint(), control->geometry().size()).adjusted(0, 0, 0, 1);
            const QRect used =
                QFontMetrics(forms::toFont(def.font))
                    .boundingRect(box, forms::textFlags(def.align), control->caption());
            if (!box.contains(used))
                overflows << QStringLiteral("%1 \"%2\" needs %3 x %4, has %5 x %6")
                                 .arg(control->name(), control->caption())
                                 .arg(used.width())
                                 .arg(used.height())
                                 .arg(box.width())
                                 .arg(box.height());
        }
    };

    // Arrangement 7 with every result row, four sizes and the widest plate text; then the
    // advice.
    calculateSixAnchors();
    QVERIFY(!c("label21")->caption().isEmpty());
    QVERIFY(c("Label2")->isVisible());
    check();
    click("ImgSIT", 0);
    fill({{1, "200"}, {3, "200"}, {6, "100"}, {7, "0"}});
    click("ImgCalc");
    QVERIFY(c("Label12")->isVisible());
    check();
    overflows.removeDuplicates();
    QVERIFY2(overflows.isEmpty(), qPrintable(overflows.join(QLatin1Char('\n'))));
}

// Writes the window in each language with results, and with the advice, to $KIILA_GRAB_DIR for
// a look by eye.
void TestLanguages::grabWindows()
{
    const QString folder = qEnvironmentVariable("KIILA_GRAB_DIR");
    startIn(shippedFolder({"english.txt", "fin.txt", "rus.txt"}));
    calculateSixAnchors();
    for (const auto &[index, name] : {std::pair{1, "eng"}, {2, "fin"}, {0, "rus"}}) {
        m_w->ImgLanguage_Click(index);
        const QPixmap image = m_w->grab();
        QVERIFY(!image.isNull());
        if (!folder.isEmpty())
            QVERIFY(image.save(QStringLiteral("%1/form1-%2.png").arg(folder, name)));
    }
    click("ImgSIT", 1);
    fill({{1, "600"}, {3, "600"}, {4, "300"}, {6, "100"}, {7, "2"}, {8, "0"}});
    for (const auto &[index, name] : {std::pair{1, "eng"}, {2, "fin"}, {0, "rus"}}) {
        m_w->ImgLanguage_Click(index); // calculates: the advice in the language
        QVERIFY(c("Label12")->isVisible());
        if (!folder.isEmpty())
            QVERIFY(m_w->grab().save(QStringLiteral("%1/form1-advice-%2.png").arg(folder, name)));
    }
}

// Qt's own buttons and dialogs speak the language of the flags, from Qt's translations: a
// question's Save button and the file dialog's name field after each flag, back and forth.
void TestLanguages::qtDialogsFollowTheLanguage()
{
    const lang::QtTranslations qtTexts(m_language);
    startIn(shippedFolder({"english.txt", "fin.txt"}));
    for (const auto &[index, save, finnish] :
         {std::tuple{2, "Tallenna", true}, {1, "Save", false}, {2, "Tallenna", true}}) {
        m_w->ImgLanguage_Click(index);
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Save)->text(), save);

        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        const auto *name = dialog.findChild<QLabel *>(QStringLiteral("fileNameLabel"));
        QVERIFY(name);
        QCOMPARE(name->text() != QLatin1String("File &name:"), finnish);
    }
}

void TestLanguages::ownTextsInTheLanguage_data()
{
    QTest::addColumn<int>("flag");
    QTest::addRow("English") << 1;
    QTest::addRow("Finnish") << 2;
}

// The program's own texts after a flag, read back from the windows as a user and a screen
// reader meet them: the window titles, the context menu, the notice, the refusal of a design
// file, the open dialog's filter, the names of the painted tabs and the question before changes
// are lost; each is the language's text.
void TestLanguages::ownTextsInTheLanguage()
{
    QFETCH(int, flag);
    const texts::Language language =
        flag == 2 ? texts::Language::Finnish : texts::Language::English;
    const auto own = [language](texts::Text key) {
        return QString::fromUtf8(texts::text(language, key));
    };
    using T = texts::Text;
    startIn(shippedFolder({"english.txt", "fin.txt"}));
    m_w->ImgLanguage_Click(flag);
    QCOMPARE(m_w->caption(), own(T::TitleMain));

    for (const auto &[tab, key] :
         {std::pair{"ImgExit", T::TabExit}, {"ImgPrint", T::TabPrint}, {"ImgHelp", T::TabHelp}}) {
        forms::Control *control = c(QLatin1String(tab));
        QObject *object = control->widget() ? static_cast<QObject *>(control->widget()) : control;
        QCOMPARE(QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name), own(key));
    }

    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                m_w->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(m_w.get(), &menuEvent);
    QVERIFY(m_w->contextMenu());
    QStringList entries;
    for (const QAction *action : m_w->contextMenu()->actions())
        if (!action->isSeparator())
            entries << action->text().section(u'\t', 0, 0);
    QCOMPARE(entries, (QStringList{own(T::MenuUndo), own(T::MenuOpen), own(T::MenuSave),
                                   own(T::MenuSaveAs), own(T::MenuRecent), own(T::MenuLoadCases),
                                   own(T::MenuSavePdf), own(T::MenuPrint), own(T::MenuPrintDetails),
                                   own(T::MenuHelp), own(T::MenuZoomIn), own(T::MenuZoomOut),
                                   own(T::MenuZoomReset), own(T::MenuExit)}));
    m_w->contextMenu()->close();

    click("ImgCalc"); // every field empty
    QVERIFY(m_w->notice());
    QVERIFY2(m_w->notice()
                 ->control(QStringLiteral("Label3"))
                 ->caption()
                 .startsWith(own(T::EmptyFields).section(QStringLiteral("%1"), 0, 0)),
             qPrintable(m_w->notice()->control(QStringLiteral("Label3"))->caption()));
    m_w->notice()->close();

    write(QStringLiteral("broken.kiila"), "\xff");
    const QString broken = m_dir.filePath(QStringLiteral("broken.kiila"));
    QVERIFY(!m_w->openDesign(broken));
    QCOMPARE(m_platform.messages.constLast(),
             std::pair(own(T::FileCannotOpen).arg(broken, own(T::FileNotUtf8)), own(T::TitleMain)));
    m_w->openDesignAsked(); // the dialog is cancelled
    QCOMPARE(m_platform.designFilters, QStringList{own(T::DesignFilter)});

    calculateTwoAnchors();
    click("Label14");
    QTRY_VERIFY(m_w->dataSheet() && m_w->dataSheet()->isVisible());
    QCOMPARE(m_w->dataSheet()->caption(), own(T::TitleDataSheet));
    m_w->dataSheet()->close();
    click("ImgHelp");
    QTRY_VERIFY(m_w->helpWindow() && m_w->helpWindow()->isVisible());
    QCOMPARE(m_w->helpWindow()->caption(), own(T::TitleHelp));
    m_w->helpWindow()->close();

    // The typed design is not saved: the question before the window closes.
    m_w->activateWindow();
    QVERIFY(m_w->close());
    QCOMPARE(m_platform.messages.constLast(), std::pair(own(T::DesignUnsaved), own(T::TitleMain)));
}

QTEST_MAIN(TestLanguages)
#include "test_languages.moc"
