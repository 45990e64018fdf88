// The details page through a real queue of a private scheduler: painted onto the printer's page
// as a report's second page is, its texts come out of the queue as text.

#include "cupsfixture.h"
#include "print/detailspage.h"
#include "spooledpage.h"

#include <QPainter>
#include <QPrinter>
#include <QtTest>

class TestDetailsQueue : public QObject
{
    Q_OBJECT

    CupsFixture m_cups;

private slots:
    void initTestCase() { KIILA_START_CUPS(m_cups); }

    void detailsPage()
    {
        print::DetailsSource source;
        source.project = QStringLiteral("Hall 3");
        source.design = {2, true, {100, 100, 150, 0, 3, 2, 20, 0}, {}};
        source.result = calc::Mitoitus(source.design.input, source.design.arrangement,
                                       source.design.concreteState(), {}, ".", calc::Working::Kept);
        QPrinter printer(QPrinter::HighResolution);
        QCOMPARE(printer.printerName(), QString(CupsFixture::queue));
        QPainter painter;
        QVERIFY(painter.begin(&printer));
        print::paintDetailsPage(painter, source);
        QVERIFY(painter.end());
        QVERIFY2(m_cups.waitForPage(), qPrintable(m_cups.error()));

        const QString pdf = m_cups.outputPath();
        QCOMPARE(spooled::pageCount(pdf), 1);
        const QString text = spooled::text(pdf).simplified();
        for (const char *expected : {"Hall 3", "CASE 2, cracked concrete",
                                     "Ac0 = sCr² [mm²] 300² = 90000", "within 5 % of 1", "step 880",
                                     "2 / 2.21415 = 0.903283 *", "Chosen: 2 kpl Kalvex M 12"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)),
                     qPrintable(QString::fromUtf8(expected) + " not in: " + text));
    }
};

QTEST_MAIN(TestDetailsQueue)
#include "test_detailsqueue.moc"
