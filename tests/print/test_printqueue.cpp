// Qt's print support against a real queue of a private scheduler, printing a window the way the
// program does: one page on the default printer, high resolution, no dialog, the window painted
// at the printer's resolution. The spooled page is checked with Poppler's tools, and the
// test pins down what Qt reports when there is no default printer or the queue refuses the job.

#include "cupsfixture.h"
#include "forms/printer.h"
#include "spooledpage.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
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

} // namespace

class TestPrintQueue : public QObject
{
    Q_OBJECT

    CupsFixture m_cups;

private slots:
    void initTestCase() { KIILA_START_CUPS(m_cups); }
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
        QCOMPARE(spooled::pageCount(pdf), 1);
        const QString text = spooled::text(pdf);
        QVERIFY2(text.contains(pageText), qPrintable("page text: " + text));

        const QImage image = spooled::image(pdf, checkDpi);
        QVERIFY(!image.isNull());
        // Window pixels to image pixels: design size from the top-left of the printable area.
        QTransform toImage;
        toImage.scale(checkDpi, checkDpi);
        toImage.translate(outcome.paintRectInch.left(), outcome.paintRectInch.top());
        toImage.scale(1 / screenDpi, 1 / screenDpi);
        const QRect drawing = toImage.mapRect(QRectF(drawingRect)).toRect();
        QVERIFY2(spooled::darkShare(image, drawing.adjusted(2, 2, -2, -2)) > 0.95,
                 "the drawing is missing or misplaced");
        const QRect besideDrawing = toImage.mapRect(QRectF(240, 60, 140, 120)).toRect();
        QCOMPARE(spooled::darkShare(image, besideDrawing), 0.0);
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
        const int jobsBefore = m_cups.jobCount();

        Window window;
        const PrintOutcome outcome = print(window);
        QCOMPARE(outcome.format, QPrinter::NativeFormat);
        QVERIFY(outcome.begun);
        QVERIFY(outcome.ended);
        QCOMPARE(outcome.cupsStatus, IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS);
        QCOMPARE(m_cups.jobCount(), jobsBefore);
        QVERIFY(!QFileInfo::exists(m_cups.outputPath()));
    }
};

QTEST_MAIN(TestPrintQueue)
#include "test_printqueue.moc"
