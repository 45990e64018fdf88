// Printing as a user prints, through the program's real print path into a real queue: the main
// window, its report page and the data sheet on the desktop platform, a private CUPS scheduler
// (cupsfixture.h) taking the page. Only the message boxes and the save dialog are answered here,
// and the clock is fixed. The spooled page is read back with Poppler's tools: its text with
// pdftotext, its drawings as pixels with pdftoppm.
//
// With KIILA_GRAB_DIR set, the spooled pages are kept there as report.pdf and sheet-*.pdf.

#include "cupsfixture.h"
#include "mainwindow/mainwindow.h"
#include "outputtargets.h"
#include "print/print.h"
#include "product/sheettable.h"
#include "spooledpage.h"
#include "windowdriver.h"

#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>

using forms::Form;
using lang::Language;
using mainwindow::MainWindow;

namespace {

const QString CannotPrint = QString::fromLatin1(print::CannotPrint);
const QDateTime Clock(QDate(2026, 3, 14), QTime(13, 45, 7));
constexpr int CheckDpi = 72; // the resolution the spooled page is rasterised at

// The desktop as it is, but for the two modal dialogs, answered and recorded, and the clock.
class Desktop : public forms::DesktopPlatform
{
public:
    Answer messageBox(QWidget *, const QString &text, const QString &,
                      Buttons buttons = Buttons::Ok) override
    {
        messages << text;
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
    }
    QString savePdfPath(QWidget *, const QString &, const QString &, const QString &) override
    {
        ++pdfQuestions;
        return pdfPath;
    }
    QDateTime now() const override { return Clock; }

    QStringList messages;
    int pdfQuestions = 0;
    QString pdfPath;
};

enum class Fault { NoDefault, Rejecting, FullSpoolFolder };
enum class Path { Report, SheetEnglish, SheetFinnish };

// Window pixels to pixels of the page rasterised at CheckDpi: the window at 96 pixels per inch
// from the top-left of the default printer's printable area, scaled down only to fit.
QTransform windowToPage(const QSize &window)
{
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    const QRectF area = printer.pageLayout().paintRect(QPageLayout::Inch);
    const double fit =
        std::min({1.0, area.width() * 96 / window.width(), area.height() * 96 / window.height()});
    QTransform t;
    t.scale(CheckDpi, CheckDpi);
    t.translate(area.left(), area.top());
    t.scale(fit / 96, fit / 96);
    return t;
}

void keep(const QString &pdf, const QString &name)
{
    const QString folder = qEnvironmentVariable("KIILA_GRAB_DIR");
    if (folder.isEmpty())
        return;
    QFile::remove(folder + u'/' + name);
    QFile::copy(pdf, folder + u'/' + name);
}

} // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Path)

class TestRealPrint : public QObject
{
    Q_OBJECT

    CupsFixture m_cups;
    QTemporaryDir m_work;
    Desktop m_desktop;
    lang::LanguageTag m_language;
    std::unique_ptr<MainWindow> m_w;

    Form *report() const { return m_w->reportPage(); }
    QString mainText(const char *name, int index = forms::NoIndex) const
    {
        return m_w->control(QLatin1String(name), index)->caption().simplified();
    }
    void click(const Form &form, const char *name, int index = forms::NoIndex)
    {
        support::click(form, QLatin1String(name), index);
    }
    // Arrangement 2, cracked concrete, an eccentric tension, typed as a user types: M12 with a
    // plate line, capacities in all three rows.
    void calculate()
    {
        click(*m_w, "ImgSIT", 1);
        for (const auto &[number, keys] :
             {std::pair{1, "100"}, {3, "100"}, {4, "150"}, {6, "3"}, {7, "2"}, {8, "20"}}) {
            QWidget *field = m_w->control(QStringLiteral("Text%1").arg(number))->widget();
            QTest::mouseClick(field, Qt::LeftButton, {}, field->rect().center());
            QTest::keyClicks(field, QLatin1String(keys));
        }
        click(*m_w, "ImgNO", 0);
        click(*m_w, "ImgCalc");
    }
    // The print tab, the project name typed into the confirmation, and Yes or No.
    void printReport(const QString &project, bool yes)
    {
        click(*m_w, "ImgPrint");
        const QPointer<Form> confirmation = m_w->printing()->reportConfirmation();
        QVERIFY(confirmation);
        QTest::keyClicks(confirmation->control(QStringLiteral("Text1"))->widget(), project);
        click(*confirmation, yes ? "Command1" : "Command2");
        QTRY_VERIFY(!confirmation);
    }
    datasheet::DataSheet *openSheet()
    {
        click(*m_w, "ImgSHOW");
        datasheet::DataSheet *sheet = m_w->dataSheet();
        return sheet && QTest::qWaitForWindowExposed(sheet) ? sheet : nullptr;
    }
    // The sheet's print tab, answered Yes: the message box in English, FrmTULOSTA2 in Finnish.
    void printSheet(datasheet::DataSheet &sheet)
    {
        click(sheet, "ImgPrint");
        if (const QPointer<Form> confirmation = m_w->printing()->sheetConfirmation()) {
            click(*confirmation, "Command1");
            QTRY_VERIFY(!confirmation);
        }
    }
    void verifyText(const QString &page, const QStringList &expected)
    {
        for (const QString &text : expected)
            QVERIFY2(page.contains(text.simplified()),
                     qPrintable(QString("\"%1\" not on the page: %2").arg(text, page)));
    }

private slots:
    void initTestCase()
    {
        KIILA_START_CUPS(m_cups);
        QVERIFY(m_work.isValid());
    }
    void init()
    {
        QVERIFY2(m_cups.clearOutput(), "cannot remove the last page");
        m_desktop = Desktop();
        m_language.set(Language::English);
        m_w = std::make_unique<MainWindow>(m_desktop, m_language);
        m_w->showWindow();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
    }
    void cleanup()
    {
        m_w.reset();
        // Back to the queue as the default, accepting jobs.
        QVERIFY2(m_cups.addQueue(), qPrintable(m_cups.error()));
    }

    void reportOnPaper_data();
    void reportOnPaper();
    void detailsOnPaper_data();
    void detailsOnPaper();
    void sheetOnPaper_data();
    void sheetOnPaper();
    void failure_data();
    void failure();
};

void TestRealPrint::reportOnPaper_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<bool>("yes");
    QTest::newRow("English, yes") << Language::English << true;
    QTest::newRow("Finnish, yes") << Language::Finnish << true;
    QTest::newRow("English, no") << Language::English << false;
}

// Yes: one page in the queue with the project name, the inputs with their captions, the results,
// the date, and the arrangement picture and installation drawing where the page has them. No:
// no job at all.
void TestRealPrint::reportOnPaper()
{
    QFETCH(Language, language);
    QFETCH(bool, yes);
    click(*m_w, "ImgLanguage", int(language));
    calculate();
    QVERIFY(m_w->control(QStringLiteral("Label2"))->isVisible());
    const QString project = QStringLiteral("Bridge 7 deck railing");
    const int jobsBefore = m_cups.jobCount();
    printReport(project, yes);
    QVERIFY(m_desktop.messages.isEmpty());
    if (!yes) {
        QCOMPARE(m_cups.jobCount(), jobsBefore);
        QVERIFY(!QFile::exists(m_cups.outputPath()));
        return;
    }
    QVERIFY2(m_cups.waitForPage(), qPrintable(m_cups.error()));
    QCOMPARE(m_cups.jobCount(), jobsBefore + 1);
    const QString pdf = m_cups.outputPath();
    keep(pdf, language == Language::English ? "report.pdf" : "report-fin.pdf");
    QCOMPARE(spooled::pageCount(pdf), 1);

    QStringList expected{project, print::dateTimeText(Clock), mainText("Label17"),
                         mainText("Label2")};
    for (const char *caption : {"Label1", "Label3", "Label4", "Label5", "Label6", "Label7",
                                "Label8", "Label9", "Label13", "KYLLA"})
        expected << mainText(caption);
    // The fields in use (S2 and e2 are not in this arrangement) and every capacity shown.
    for (int number : {1, 3, 4, 6, 7, 8})
        expected << m_w->control(QStringLiteral("Text%1").arg(number))->text();
    int results = 0;
    for (const char *row : {"veto_leikkaus", "leikkaus", "epak"}) {
        for (int i = 1; i <= 4; ++i) {
            if (const QString value = mainText(row, i); !value.isEmpty()) {
                expected << value;
                ++results;
            }
        }
    }
    QVERIFY(results >= 6);
    QVERIFY(!expected.contains(QString()));
    verifyText(spooled::text(pdf), expected);

    const QImage page = spooled::image(pdf, CheckDpi);
    QVERIFY(!page.isNull());
    const QTransform toPage = windowToPage(report()->size());
    const auto onPage = [&](const char *name, int index = forms::NoIndex) {
        return toPage.mapRect(QRectF(report()->control(QLatin1String(name), index)->geometry()))
            .toRect();
    };
    // A line drawing darkens a few percent of its place; an empty place none.
    const QRect arrangement = onPage("Picture1", forms::arrangementPicture(2));
    const QRect drawing = onPage("Pic1");
    QVERIFY2(spooled::darkShare(page, arrangement) > 0.02, "no arrangement picture on the page");
    QVERIFY2(spooled::darkShare(page, drawing) > 0.02, "no installation drawing on the page");
    // Nothing beyond the window: beside it and below it the paper stays white.
    const QRect window = toPage.mapRect(QRectF(report()->rect())).toRect();
    QCOMPARE(spooled::darkShare(page, QRect(window.right() + 2, 0, page.width(), page.height())),
             0.0);
    QCOMPARE(spooled::darkShare(page, QRect(0, window.bottom() + 2, page.width(), page.height())),
             0.0);
}

void TestRealPrint::detailsOnPaper_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<bool>("changed"); // a field typed into after the calculation
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("English") << Language::English << false
                             << QStringList{"Calculation in full: CASE 2, cracked concrete",
                                            "Ac0 = sCr² [mm²] 300² = 90000",
                                            "Chosen: 2 pcs Kalvex M 12"};
    QTest::newRow("Finnish") << Language::Finnish << false
                             << QStringList{"Laskelma kokonaisuudessaan: TAPAUS 2, haljennut",
                                            "Valittu: 2 kpl Kalvex M 12"};
    QTest::newRow("inputs changed")
        << Language::English << true
        << QStringList{"The inputs have changed since the last calculation"};
}

// Ctrl+Shift+P: after the same confirmation, one job of two pages, the report page and the
// working values of its calculation under the project name typed.
void TestRealPrint::detailsOnPaper()
{
    QFETCH(Language, language);
    QFETCH(bool, changed);
    QFETCH(QStringList, expected);
    click(*m_w, "ImgLanguage", int(language));
    calculate();
    if (changed)
        QTest::keyClicks(m_w->control(QStringLiteral("Text8"))->widget(), "5");
    const int jobsBefore = m_cups.jobCount();
    QTest::keyClick(m_w.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    const QPointer<Form> confirmation = m_w->printing()->reportConfirmation();
    QVERIFY(confirmation);
    QTest::keyClicks(confirmation->control(QStringLiteral("Text1"))->widget(), "Hall 3");
    click(*confirmation, "Command1");
    QTRY_VERIFY(!confirmation);
    QVERIFY(m_desktop.messages.isEmpty());

    QVERIFY2(m_cups.waitForPage(), qPrintable(m_cups.error()));
    QCOMPARE(m_cups.jobCount(), jobsBefore + 1);
    const QString pdf = m_cups.outputPath();
    if (!changed)
        keep(pdf, language == Language::English ? "report-details.pdf" : "report-details-fin.pdf");
    QCOMPARE(spooled::pageCount(pdf), 2);
    verifyText(spooled::text(pdf, 1), {"Hall 3", mainText("Label1")});
    verifyText(spooled::text(pdf, 2),
               QStringList{"Hall 3", print::dateTimeText(Clock), mainText("Label10")} + expected);
}

void TestRealPrint::sheetOnPaper_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("English, message box")
        << Language::English << "Size" << QStringList{QStringLiteral("           PRINT?")};
    QTest::newRow("Finnish, FrmTULOSTA2") << Language::Finnish << "Koko" << QStringList();
}

// One page with the sheet's title, its column heading, the date and values of the table of the
// size the calculation chose.
void TestRealPrint::sheetOnPaper()
{
    QFETCH(Language, language);
    click(*m_w, "ImgLanguage", int(language));
    calculate();
    datasheet::DataSheet *sheet = openSheet();
    QVERIFY(sheet);
    printSheet(*sheet);
    QTEST(m_desktop.messages, "messages");
    QVERIFY2(m_cups.waitForPage(), qPrintable(m_cups.error()));
    const QString pdf = m_cups.outputPath();
    keep(pdf, language == Language::English ? "sheet-eng.pdf" : "sheet-fin.pdf");
    QCOMPARE(spooled::pageCount(pdf), 1);

    QFETCH(QString, heading);
    QStringList expected{heading, sheet->control(QStringLiteral("Label1"))->caption(),
                         print::dateTimeText(Clock)};
    QVERIFY(expected[1].contains(QLatin1String("12")));
    // The length variants, the first and last article number and length of the table.
    const int size = m_w->sizeNo();
    for (const auto &[row, column] : {std::pair{1, 0}, {6, 0}, {1, 1}, {6, 2}, {6, 10}})
        expected << QString::fromUtf8(product::entry(size, row, column));
    QVERIFY(!expected.contains(QString()));
    verifyText(spooled::text(pdf), expected);
}

void TestRealPrint::failure_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<Path>("path");
    const std::pair<Fault, const char *> faults[] = {
        {Fault::NoDefault, "no default printer"},
        {Fault::Rejecting, "queue rejects jobs"},
        {Fault::FullSpoolFolder, "temporary folder full"}};
    const std::pair<Path, const char *> paths[] = {{Path::Report, "report"},
                                                   {Path::SheetEnglish, "sheet, English"},
                                                   {Path::SheetFinnish, "sheet, Finnish"}};
    for (const auto &[fault, faultName] : faults)
        for (const auto &[path, pathName] : paths)
            QTest::addRow("%s, %s", faultName, pathName) << fault << path;
}

// The failure message once, no job, every window enabled again, the confirmation closed and the
// project line empty. Without a default printer the same page can be saved as a PDF file. A job
// whose spool file could not be written completely (the temporary folder a file system of
// 32 KiB) is not sent, and leaves nothing behind.
void TestRealPrint::failure()
{
    QFETCH(Fault, fault);
    QFETCH(Path, path);
    std::optional<TestMount> spool;
    if (fault == Fault::FullSpoolFolder) {
        spool.emplace("32k", false);
        if (!spool->mounted())
            QSKIP(qPrintable(spool->error()));
    }
    click(*m_w, "ImgLanguage",
          int(path == Path::SheetFinnish ? Language::Finnish : Language::English));
    calculate();
    datasheet::DataSheet *sheet = path == Path::Report ? nullptr : openSheet();
    QVERIFY(path == Path::Report || sheet);
    if (fault != Fault::FullSpoolFolder)
        QVERIFY2(fault == Fault::NoDefault ? m_cups.clearDefault() : m_cups.rejectJobs(true),
                 qPrintable(m_cups.error()));
    m_desktop.pdfPath = m_work.filePath(QStringLiteral("offer.pdf"));
    QFile::remove(m_desktop.pdfPath);
    const int jobsBefore = m_cups.jobCount();

    const QByteArray temporary = qgetenv("TMPDIR");
    if (spool)
        qputenv("TMPDIR", QFile::encodeName(spool->path()));
    if (sheet)
        printSheet(*sheet);
    else
        printReport(QStringLiteral("Bridge 7"), true);
    if (spool) {
        temporary.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", temporary);
        QVERIFY(QDir(spool->path()).isEmpty());
    }

    // The message once, and why on the line under it.
    QCOMPARE(std::count_if(m_desktop.messages.cbegin(), m_desktop.messages.cend(),
                           [](const QString &m) { return m.startsWith(CannotPrint); }),
             1);
    const QStringList lines = m_desktop.messages.constLast().split(u'\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], CannotPrint);
    const bool finnish = path == Path::SheetFinnish;
    if (fault == Fault::NoDefault)
        QCOMPARE(lines[1], finnish ? "Tulostinta ei ole asetettu." : "No printer is set up.");
    else if (fault == Fault::Rejecting)
        QVERIFY2(lines[1].startsWith(finnish ? "Tulostin ei ottanut sivua vastaan. '"
                                             : "The printer refused the page. '"),
                 qPrintable(lines[1]));
    else
        QVERIFY2(lines[1].startsWith(finnish
                                         ? "Sivua ei saatu valmiiksi tulostimelle. "
                                         : "The page could not be prepared for the printer. ") &&
                     lines[1].contains(QStringLiteral("No space left on device")),
                 qPrintable(lines[1]));
    QCOMPARE(m_cups.jobCount(), jobsBefore);
    QVERIFY(!QFile::exists(m_cups.outputPath()));
    QVERIFY(m_w->isEnabled());
    QVERIFY(report()->isEnabled());
    QVERIFY(!sheet || sheet->isEnabled());
    QVERIFY(!m_w->printing()->reportConfirmation());
    QVERIFY(!m_w->printing()->sheetConfirmation());
    QVERIFY(report()->control(QStringLiteral("LblKomm"))->caption().isEmpty());

    const bool offered = fault == Fault::NoDefault;
    QCOMPARE(m_desktop.pdfQuestions, int(offered));
    QCOMPARE(QFile::exists(m_desktop.pdfPath), offered);
    if (offered) {
        QCOMPARE(spooled::pageCount(m_desktop.pdfPath), 1);
        if (!sheet)
            verifyText(spooled::text(m_desktop.pdfPath), {QStringLiteral("Bridge 7")});
    }
}

QTEST_MAIN(TestRealPrint)
#include "test_realprint.moc"
