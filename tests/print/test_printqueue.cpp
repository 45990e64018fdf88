// Qt's print support against a real queue of a private scheduler, printing a window the way the
// program does: one page on the default printer, high resolution, no dialog, the window painted
// at the printer's resolution. The spooled page is checked with Poppler's tools, and the
// test pins down what Qt reports when there is no default printer or the queue refuses the job.

#include "cupsfixture.h"
#include "forms/platform.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <cups/cups.h>

namespace {

constexpr double screenDpi = 96.0;
const QString pageText = "Kiila print check 12.375";
const QRect drawingRect(40, 60, 160, 80); // window pixels
constexpr int checkDpi = 50;              // resolution the spooled page is rasterised at

class Drawing : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), Qt::black); }
};

// A window with a text and a drawing.
struct Window : QWidget
{
    Window()
    {
        resize(400, 200);
        auto *label = new QLabel(pageText, this);
        label->move(10, 10);
        label->adjustSize();
        (new Drawing(this))->setGeometry(drawingRect);
    }
};

struct PrintOutcome
{
    QPrinter::OutputFormat format = QPrinter::NativeFormat;
    QString printerName;
    QRectF paintRectInch; // the printable area on the paper
    bool begun = false;
    bool ended = false;
    ipp_status_t cupsStatus = IPP_STATUS_OK; // libcups' last answer, right after end()
};

// One page on the default printer, painted by the window's own paint code at the printer's
// resolution, from the top-left of the printable area; what Qt and libcups said on the way.
PrintOutcome print(QWidget &window)
{
    PrintOutcome outcome;
    QPrinter printer(QPrinter::HighResolution);
    outcome.format = printer.outputFormat();
    outcome.printerName = printer.printerName();
    outcome.paintRectInch = printer.pageLayout().paintRect(QPageLayout::Inch);
    forms::PageDevice page(printer);
    QPainter painter;
    outcome.begun = painter.begin(&page);
    if (!outcome.begun)
        return outcome;
    const double scale = printer.resolution() / screenDpi;
    painter.scale(scale, scale);
    window.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    outcome.ended = painter.end();
    outcome.cupsStatus = cupsLastError();
    return outcome;
}

std::optional<QString> run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The share of dark pixels in a rectangle of the image.
double darkShare(const QImage &image, const QRect &area)
{
    int dark = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    }
    return inside.isEmpty() ? 0.0 : double(dark) / (inside.width() * inside.height());
}

} // namespace

class TestPrintQueue : public QObject
{
    Q_OBJECT

    CupsFixture m_cups;
    QTemporaryDir m_work;

    // Every job the scheduler knows, finished or not.
    int jobCount()
    {
        const std::optional<QString> jobs = m_cups.cups("lpstat", {"-W", "all", "-o"});
        return jobs ? int(jobs->split('\n', Qt::SkipEmptyParts).size()) : -1;
    }

private slots:
    void initTestCase()
    {
        if (!m_cups.start()) {
            if (m_cups.unavailable())
                QSKIP(qPrintable("no CUPS scheduler can run here: " + m_cups.error()));
            QFAIL(qPrintable(m_cups.error()));
        }
        QVERIFY(m_work.isValid());
    }
    void init() { QVERIFY2(m_cups.clearOutput(), "cannot remove the last page"); }
    // Back to the queue as the default, accepting jobs.
    void cleanup() { QVERIFY2(m_cups.addQueue(), qPrintable(m_cups.error())); }

    void printsOnePageWithTextAndDrawing()
    {
        Window window;
        const PrintOutcome outcome = print(window);
        QCOMPARE(outcome.format, QPrinter::NativeFormat);
        QCOMPARE(outcome.printerName, QString(CupsFixture::queue));
        QVERIFY(outcome.begun);
        QVERIFY(outcome.ended);
        QVERIFY2(outcome.cupsStatus <= IPP_STATUS_OK_EVENTS_COMPLETE, cupsLastErrorString());
        QVERIFY2(m_cups.waitForPage(), qPrintable(m_cups.error()));

        const QString pdf = m_cups.outputPath();
        const std::optional<QString> info = run("pdfinfo", {pdf});
        QVERIFY(info);
        QVERIFY2(QRegularExpression("^Pages: +1$", QRegularExpression::MultilineOption)
                     .match(*info)
                     .hasMatch(),
                 qPrintable(*info));
        const std::optional<QString> text = run("pdftotext", {pdf, "-"});
        QVERIFY(text);
        QVERIFY2(text->contains(pageText), qPrintable("page text: " + *text));

        QVERIFY(run("pdftoppm", {"-r", QString::number(checkDpi), "-png", "-singlefile", pdf,
                                 m_work.filePath("page")}));
        const QImage image(m_work.filePath("page.png"));
        QVERIFY(!image.isNull());
        // Window pixels to image pixels: design size from the top-left of the printable area.
        QTransform toImage;
        toImage.scale(checkDpi, checkDpi);
        toImage.translate(outcome.paintRectInch.left(), outcome.paintRectInch.top());
        toImage.scale(1 / screenDpi, 1 / screenDpi);
        const QRect drawing = toImage.mapRect(QRectF(drawingRect)).toRect();
        QVERIFY2(darkShare(image, drawing.adjusted(2, 2, -2, -2)) > 0.95,
                 "the drawing is missing or misplaced");
        const QRect besideDrawing = toImage.mapRect(QRectF(240, 60, 140, 120)).toRect();
        QCOMPARE(darkShare(image, besideDrawing), 0.0);
    }

    // QPrinterInfo knows when no printer is the default, but QPrinter does not fail then: it
    // takes the first printer there is, or with none at all falls back to a PDF file without a
    // name, which cannot begin. The program must ask QPrinterInfo before it builds a QPrinter.
    void noDefaultPrinter_data()
    {
        QTest::addColumn<bool>("queueStays");
        QTest::addColumn<QPrinter::OutputFormat>("format");
        QTest::addColumn<QString>("printerTaken");
        QTest::newRow("no printer") << false << QPrinter::PdfFormat << QString();
        QTest::newRow("a printer, none default")
            << true << QPrinter::NativeFormat << QString(CupsFixture::queue);
    }
    void noDefaultPrinter()
    {
        QFETCH(bool, queueStays);
        QFETCH(QPrinter::OutputFormat, format);
        QFETCH(QString, printerTaken);
        QVERIFY2(queueStays ? m_cups.clearDefault() : m_cups.removeQueue(),
                 qPrintable(m_cups.error()));

        QVERIFY(QPrinterInfo::defaultPrinter().isNull());
        QCOMPARE(QPrinterInfo::availablePrinterNames().contains(CupsFixture::queue), queueStays);
        Window window;
        if (!queueStays)
            QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        const PrintOutcome outcome = print(window);
        QCOMPARE(outcome.format, format);
        QCOMPARE(outcome.printerName, printerTaken);
        QCOMPARE(outcome.begun, queueStays);
        if (queueStays)
            QVERIFY2(m_cups.waitForPage(), qPrintable(m_cups.error()));
    }

    // A queue that refuses jobs: Qt begins and ends the page as if it had printed, and no job
    // exists. Only libcups' last error, read right after QPainter::end(), tells the refusal.
    void rejectingQueue()
    {
        QVERIFY2(m_cups.rejectJobs(true), qPrintable(m_cups.error()));
        QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), QString(CupsFixture::queue));
        const int jobsBefore = jobCount();

        Window window;
        const PrintOutcome outcome = print(window);
        QCOMPARE(outcome.format, QPrinter::NativeFormat);
        QVERIFY(outcome.begun);
        QVERIFY(outcome.ended);
        QCOMPARE(outcome.cupsStatus, IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS);
        QCOMPARE(jobCount(), jobsBefore);
        QVERIFY(!QFileInfo::exists(m_cups.outputPath()));
    }
};

QTEST_MAIN(TestPrintQueue)
#include "test_printqueue.moc"
