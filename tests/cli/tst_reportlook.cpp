// The report pages kiila-calc writes keep their look: the text of each page and its picture at
// 100 dpi (Poppler's pdftotext and pdftoppm) against those of the pages in reportlook/, written
// by the same designs. The date line, the only thing that changes from run to run, is left out.
//
// A picture may differ from the stored one by at most 12 levels in any colour of any pixel:
// the concrete's grain on a page is placed on whole units of the page, which moves its smoothed
// edges by up to 10 levels at this resolution; a grain, a line or a letter missing or moved
// differs by 40 levels or more. KIILA_WRITE_REPORT_LOOK=folder writes the pages there instead.

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A design with its drawing (chosen), one stopped by its spacing, one by its edge distance.
const QByteArray Designs = "arrangement,cracked,c1,c2,s1,s2,nsd,v1d,e1,e2\n"
                           "2,1,100,100,150,,3,2,20,\n"
                           "6,0,200,250,120,130,8.5,3,10,5\n"
                           "1,1,60,,,,40,30,,\n";
constexpr int Pages = 3;

// The date line's place at 100 dpi, with room for the longest month name.
const QRect DateLine(0, 100, 400, 26);

bool run(const QString &program, const QStringList &arguments, const QByteArray &input = {},
         QByteArray *out = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return false;
    if (out)
        *out = process.readAllStandardOutput();
    return true;
}

QString withoutDate(const QByteArray &text)
{
    static const QRegularExpression date(QStringLiteral("\\d+ \\S+ \\d{4} \\d\\d:\\d\\d:\\d\\d"));
    return QString::fromUtf8(text).replace(date, QStringLiteral("<date>"));
}

// The largest difference of one colour of one pixel outside the date line; -1: other sizes.
int largestDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return -1;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (DateLine.contains(x, y))
                continue;
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

} // namespace

class TestReportLook : public QObject
{
    Q_OBJECT

private slots:
    void pagesKeepTheirLook();
};

void TestReportLook::pagesKeepTheirLook()
{
    qputenv("LC_ALL", "C.UTF-8");
    QTemporaryDir dir;
    const QString pdf = dir.filePath("report.pdf");
    QVERIFY(run(QStringLiteral(KIILA_CALC),
                {"--csv", "-", "--report", pdf, "--project", "Hall 3", "--lang", "eng"}, Designs));
    QVERIFY(run(QStringLiteral("pdftoppm"), {"-r", "100", "-png", pdf, dir.filePath("page")}));

    const QString stored = QStringLiteral(KIILA_REPORT_LOOK);
    const QString writeTo = qEnvironmentVariable("KIILA_WRITE_REPORT_LOOK");
    for (int page = 1; page <= Pages; ++page) {
        const QString n = QString::number(page);
        QByteArray text;
        QVERIFY(run(QStringLiteral("pdftotext"), {"-f", n, "-l", n, pdf, "-"}, {}, &text));
        const QImage picture(dir.filePath("page-" + n + ".png"));
        QVERIFY2(!picture.isNull(), qPrintable("page " + n + " was not rendered"));
        if (!writeTo.isEmpty()) {
            QFile file(writeTo + "/page-" + n + ".txt");
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(withoutDate(text).toUtf8());
            QVERIFY(
                QFile::copy(dir.filePath("page-" + n + ".png"), writeTo + "/page-" + n + ".png"));
            continue;
        }
        QFile storedText(stored + "/page-" + n + ".txt");
        QVERIFY(storedText.open(QIODevice::ReadOnly));
        QCOMPARE(withoutDate(text), QString::fromUtf8(storedText.readAll()));
        const int difference = largestDifference(picture, QImage(stored + "/page-" + n + ".png"));
        QVERIFY2(difference >= 0 && difference <= 12,
                 qPrintable(QStringLiteral("page %1 differs by %2 levels").arg(n).arg(difference)));
    }
}

QTEST_GUILESS_MAIN(TestReportLook)
#include "tst_reportlook.moc"
