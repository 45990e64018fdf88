// The details page's content: every value's formula in symbols and in numbers, the words around
// them and the outcome in a sentence in the page's language, the governing check marked, and a
// page for inputs without a result.

#include "print/detailspage.h"
#include "working/working.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QtTest>

// Whether the page's calculation belongs to its inputs, they changed after it, or none was made.
enum State { Current, Changed, Uncalculated };
Q_DECLARE_METATYPE(State)
Q_DECLARE_METATYPE(design::Design)

class TestDetailsPage : public QObject
{
    Q_OBJECT

private slots:
    void content_data();
    void content();
    void checksBelowTheWorking_data();
    void checksBelowTheWorking();
};

void TestDetailsPage::content_data()
{
    QTest::addColumn<bool>("finnish");
    QTest::addColumn<State>("state");
    QTest::addColumn<int>("arrangement");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("absent");

    // C1, C2, S1, NSd, V1d: M8 fails the tension, M10 the shear, M12 is chosen (shear governs).
    QTest::newRow("chosen, English") << false << Current << 2
                                     << QStringList{"CASE 2, cracked concrete",
                                                    "Chosen: 2 pcs Kalvex M 12",
                                                    "<b>2 / 2.21415 = 0.903283 *</b>",
                                                    "<b>1.5 / 1.15 = 1.30435 *</b>",
                                                    "shear fails",
                                                    "FAnchor = (Ac/Ac0)·psiS·FRd/nAnchors",
                                                    "(100000/90000)·0.9·2.3/2 = 1.15",
                                                    "first step with NGroup/NFromM within 5 % of 1",
                                                    "step 880",
                                                    "FInner = (1.5·dNom − xNA)/L·FAnchor [kN]"}
                                     << "no result belongs";
    QTest::newRow("chosen, Finnish") << true << Current << 2
                                     << QStringList{"TAPAUS 2, haljennut betoni",
                                                    "Valittu: 2 kpl Kalvex M 12",
                                                    "Kiinnityslevyn mitat min. 36 mm x 186 mm",
                                                    "leikkaus ei riitä",
                                                    "askel 880",
                                                    "xNA = xStart + stepNo·askelväli",
                                                    "kaukana reunoista (C1 ja C2 ≥ 10·hef)",
                                                    "ei (10·hef = 500 mm)"}
                                     << "Chosen";
    QTest::newRow("inputs changed")
        << false << Changed << 2
        << QStringList{"CASE 2", "C1 = 100 mm", "no result belongs to them"} << "FAnchor";
    QTest::newRow("inputs changed, Finnish")
        << true << Changed << 2 << QStringList{"niille ei ole tulosta"} << "FAnchor";
    QTest::newRow("no calculation yet")
        << false << Uncalculated << 2
        << QStringList{"C1 = 100 mm", "No calculation has been made yet"} << "have changed";
    QTest::newRow("no calculation yet, Finnish")
        << true << Uncalculated << 2 << QStringList{"Laskentaa ei ole vielä tehty"} << "muutettu";
    QTest::newRow("advice") << false << Current << 1 << QStringList{"Valitse järeämpi"} << "Chosen";
}

void TestDetailsPage::content()
{
    QFETCH(bool, finnish);
    QFETCH(State, state);
    QFETCH(int, arrangement);
    QFETCH(QStringList, expected);
    QFETCH(QString, absent);
    print::DetailsSource source;
    source.language = finnish ? texts::Language::Finnish : texts::Language::English;
    source.design = arrangement == 1 ? design::Design{1, false, {200, 200, 0, 0, 100, 0, 0, 0}, {}}
                                     : design::Design{2, true, {100, 100, 150, 0, 3, 2, 20, 0}, {}};
    calc::Texts texts;
    if (!finnish)
        texts.fragKpl = " pcs ";
    source.calculated = state != Uncalculated;
    if (state == Current)
        source.result =
            calc::Mitoitus(source.design.input, source.design.arrangement,
                           source.design.concreteState(), texts, ".", calc::Working::Kept);
    // Without the page's break opportunities after the multiplication dots.
    const QString html = print::detailsPageHtml(source).remove(QChar(0x200B));
    for (const QString &e : expected)
        QVERIFY2(html.contains(e), qPrintable(e + "\n" + html));
    // Every value of the working with the numbers it is made of, so that it can be redone.
    if (source.result)
        for (const calc::SizeDetails &d : source.result->details)
            for (const working::Line &line :
                 working::sizeLines(source.design, d, source.language)) {
                const QString shown = QString::fromStdString(
                    line.value ? line.numbers + (line.numbers.empty() ? "" : " = ") +
                                     working::number(*line.value)
                               : line.sentence);
                QVERIFY2(html.contains(shown.toHtmlEscaped()), qPrintable(shown));
            }
    QVERIFY(!html.contains(absent));
}

void TestDetailsPage::checksBelowTheWorking_data()
{
    QTest::addColumn<design::Design>("design");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<bool>("checks"); // whether any check was made: the legend of its mark
    // C1 = 55 mm: M8 fails the tension, M10 the shear, M12 stops below its cMin.
    const design::Design stoppedAtM12{2, false, {55, 100, 150, 0, 3, 2, 20, 0}, {}};
    // C1 = 20 mm: M8 stops at once, before any check.
    const design::Design stoppedAtM8{2, false, {20, 100, 150, 0, 3, 2, 20, 0}, {}};
    const design::Design chosen{2, true, {100, 100, 150, 0, 3, 2, 20, 0}, {}};
    for (const int resolution : {96, 300, 1200}) {
        QTest::addRow("stopped at M12, %d dpi", resolution) << stoppedAtM12 << resolution << true;
        QTest::addRow("stopped at M8, %d dpi", resolution) << stoppedAtM8 << resolution << false;
        QTest::addRow("chosen, %d dpi", resolution) << chosen << resolution << true;
    }
}

// The page laid out for a PDF file or a printer: the checks' heading stands below the working's
// table with half a line's space at least, never on it; without any check, no legend of the
// governing check's mark.
void TestDetailsPage::checksBelowTheWorking()
{
    QFETCH(design::Design, design);
    QFETCH(int, resolution);
    QFETCH(bool, checks);
    print::DetailsSource source;
    source.design = design;
    calc::Texts texts;
    texts.fragKpl = " pcs ";
    source.result = calc::Mitoitus(design.input, design.arrangement, design.concreteState(), texts,
                                   ".", calc::Working::Kept);
    QBuffer file;
    QVERIFY(file.open(QIODevice::WriteOnly));
    QPdfWriter writer(&file);
    writer.setResolution(resolution);
    QTextDocument document;
    print::layOutDetailsPage(document, &writer, source);
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    const QList<QTextFrame *> tables = document.rootFrame()->childFrames();
    QVERIFY(!tables.isEmpty());
    const QRectF working = layout->frameBoundingRect(tables.first());
    QTextBlock heading;
    QTextBlock legend;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        if (b.text().startsWith(QStringLiteral("Checks:")))
            heading = b;
        if (b.text().startsWith(QStringLiteral("* governs")))
            legend = b;
    }
    QVERIFY(heading.isValid());
    QCOMPARE(legend.isValid(), checks);
    const QRectF head = layout->blockBoundingRect(heading);
    const double line = QFontMetricsF(document.defaultFont(), &writer).height();
    QVERIFY2(head.top() >= working.bottom() + line / 2,
             qPrintable(QStringLiteral("heading at %1, the table ends at %2")
                            .arg(head.top())
                            .arg(working.bottom())));
}

QTEST_MAIN(TestDetailsPage)
#include "test_detailspage.moc"
