#include "finnishlocale.h"
#include "outputtargets.h"
#include "texts/texts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run kiilaCalc(const QStringList &arguments, const QByteArray &input = {},
              const QString &program = QStringLiteral(KIILA_CALC),
              const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// kiila-calc started by the shell, which first applies the redirections ("<&-", ">/dev/full").
Run kiilaCalcRedirected(const QString &redirections, const QStringList &arguments,
                        const QByteArray &input = {})
{
    return kiilaCalc(QStringList{"-c", "exec \"$0\" \"$@\" " + redirections, KIILA_CALC} +
                         arguments,
                     input, QStringLiteral("/bin/sh"));
}

bool isUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

QByteArray designRows(int count)
{
    QByteArray rows = "arrangement,c1,c2,nsd\n";
    for (int i = 0; i < count; ++i)
        rows += QByteArray::number(1 + i % 7) + ",600,600," + QByteArray::number(i % 10) + "\n";
    return rows;
}

QJsonObject json(const QByteArray &line)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << error.errorString() << line;
    return doc.object();
}

// The standard output of a tool of Poppler's.
QString poppler(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pageCount(const QString &pdf)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                          .match(poppler(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The text of one page, blanks run together.
QString pageText(const QString &pdf, int page)
{
    const QString n = QString::number(page);
    return poppler(QStringLiteral("pdftotext"), {"-f", n, "-l", n, pdf, "-"}).simplified();
}

// A design file of the given arrangement and field texts, written by hand as a user's editor
// or the program would write it.
QString designFile(const QString &path, int arrangement, const QJsonObject &inputs,
                   const QString &project = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(QJsonDocument(QJsonObject{{"format", "kiila-design"},
                                         {"version", 1},
                                         {"arrangement", arrangement},
                                         {"cracked", false},
                                         {"inputs", inputs},
                                         {"project", project}})
                   .toJson());
    return path;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void usageErrors_data();
    void usageErrors();
    void singleJson();
    void summary();
    void detailsJson_data();
    void detailsJson();
    void detailsText_data();
    void detailsText();
    void wordsInTheLanguage_data();
    void wordsInTheLanguage();
    void boundaries_data();
    void boundaries();
    void csvRows();
    void csvJsonRows();
    void languageFile();
    void writeFailures_data();
    void writeFailures();
    void closedPipeEndsQuietly();
    void longRowKeepsMemoryFlat();
    void echoedInputIsUtf8_data();
    void echoedInputIsUtf8();
    void summaryNumbers_data();
    void summaryNumbers();
    void csvByteOrderMarkAndLines();
    void reportPage_data();
    void reportPage();
    void reportCsv();
    void reportDetails_data();
    void reportDetails();
    void boundaryRowNamesOneSize_data();
    void boundaryRowNamesOneSize();
    void reportSaysWhyThereIsNoAnchor_data();
    void reportSaysWhyThereIsNoAnchor();
    void csvReportCalculatesEachRowOnce();
    void reportTargets_data();
    void reportTargets();
    void reportOverRunFiles_data();
    void reportOverRunFiles();
    void reportWithoutFont();
    void designRoundTrip_data();
    void designRoundTrip();
    void echoAsSaved_data();
    void echoAsSaved();
    void designFields_data();
    void designFields();
    void brokenDesign_data();
    void brokenDesign();
    void designProject();
    void fileNameNotUtf8_data();
    void fileNameNotUtf8();
    void saveTargets_data();
    void saveTargets();
    void oneCaseAsBefore_data();
    void oneCaseAsBefore();
    void severalCases();
    void severalCasesReport_data();
    void severalCasesReport();
    void casesSavedAndOpened();
};

// The dates on the report page in a known form.
void TestCli::initTestCase()
{
    qputenv("LC_ALL", "C.UTF-8");
}

// Wrong usage: exit 2, one line on stderr, nothing on stdout.
void TestCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("stdinText");
    QTest::addColumn<QByteArray>("message");

    QTest::newRow("nothing") << QStringList{} << QByteArray() << QByteArray("--arrangement");
    QTest::newRow("cases with a load")
        << QStringList{"--arrangement", "1", "--v1d", "2", "--cases", "-"}
        << QByteArray("name,nsd\nA,1\nB,2\n") << QByteArray("--v1d goes with a design of one");
    QTest::newRow("cases with a CSV file")
        << QStringList{"--csv", "-", "--cases", "/nonexistent/c.csv"}
        << QByteArray("arrangement\n1\n") << QByteArray("--cases goes with a single design");
    QTest::newRow("cases: a broken row")
        << QStringList{"--arrangement", "1", "--cases", "-"}
        << QByteArray("name,nsd\nA,1\nB,2 kN\n")
        << QByteArray("--cases: standard input: row 3: nsd: not a number: '2 kN'");
    QTest::newRow("cases: no file")
        << QStringList{"--arrangement", "1", "--cases", "/nonexistent/c.csv"} << QByteArray()
        << QByteArray("--cases: cannot read '/nonexistent/c.csv'");
    QTest::newRow("unknown option")
        << QStringList{"--arrangement", "1", "--nds", "3"} << QByteArray() << QByteArray("nds");
    QTest::newRow("arrangement 0")
        << QStringList{"--arrangement", "0"} << QByteArray() << QByteArray("--arrangement");
    QTest::newRow("arrangement 8")
        << QStringList{"--arrangement", "8"} << QByteArray() << QByteArray("--arrangement");
    QTest::newRow("arrangement 2.5")
        << QStringList{"--arrangement", "2.5"} << QByteArray() << QByteArray("--arrangement");
    QTest::newRow("a thousand or one")
        << QStringList{"--arrangement", "1", "--c1", "2,500"} << QByteArray() << QByteArray("--c1");
    QTest::newRow("value with a unit")
        << QStringList{"--arrangement", "1", "--nsd", "3kN"} << QByteArray() << QByteArray("--nsd");
    QTest::newRow("empty value") << QStringList{"--arrangement", "1", "--e2="} << QByteArray()
                                 << QByteArray("--e2");
    QTest::newRow("missing value")
        << QStringList{"--arrangement", "1", "--c2"} << QByteArray() << QByteArray("c2");
    QTest::newRow("stray argument")
        << QStringList{"--arrangement", "1", "200"} << QByteArray() << QByteArray("200");
    QTest::newRow("unknown language") << QStringList{"--arrangement", "1", "--lang", "swe"}
                                      << QByteArray() << QByteArray("--lang");
    // The choices are the tags of the languages, matched as written.
    QTest::newRow("language in capitals")
        << QStringList{"--arrangement", "1", "--lang", "ENG"} << QByteArray()
        << QByteArray("kiila-calc: --lang: give eng, fin, rus or none, not 'ENG'\n");
    QTest::newRow("missing file") << QStringList{"--csv", "/nonexistent/designs.csv"}
                                  << QByteArray() << QByteArray("cannot read");
    QTest::newRow("folder as file")
        << QStringList{"--csv", "/"} << QByteArray() << QByteArray("cannot read");
    QTest::newRow("single values with csv") << QStringList{"--csv", "-", "--c1", "100"}
                                            << QByteArray("arrangement\n1\n") << QByteArray("--c1");
    QTest::newRow("empty csv") << QStringList{"--csv", "-"} << QByteArray() << QByteArray("header");
    QTest::newRow("details in CSV output")
        << QStringList{"--csv", "-", "--details"} << QByteArray("arrangement\n1\n")
        << QByteArray("--details");
    QTest::newRow("unknown column")
        << QStringList{"--csv", "-"} << QByteArray("arrangement,c1,nds\n1,100,3\n")
        << QByteArray("nds");
    QTest::newRow("column twice") << QStringList{"--csv", "-"}
                                  << QByteArray("arrangement,c1,C1\n1,100,3\n") << QByteArray("c1");
    QTest::newRow("no arrangement column")
        << QStringList{"--csv", "-"} << QByteArray("c1,c2\n100,100\n") << QByteArray("arrangement");
    // User text with line breaks stays on the one line.
    QTest::newRow("arrangement with a line break")
        << QStringList{"--arrangement", "1\nx"} << QByteArray() << QByteArray("'1\\nx'");
    QTest::newRow("value with a line break") << QStringList{"--arrangement", "1", "--c1", "x\r\ny"}
                                             << QByteArray() << QByteArray("'x\\r\\ny'");
    QTest::newRow("unknown option with a line break")
        << QStringList{"--arrangement", "1", "--a\nb", "3"} << QByteArray() << QByteArray("a\\nb");
    QTest::newRow("stray argument with a line break")
        << QStringList{"--arrangement", "1", "a\nb"} << QByteArray() << QByteArray("'a\\nb'");
    QTest::newRow("language with a line break")
        << QStringList{"--arrangement", "1", "--lang", "e\nng"} << QByteArray()
        << QByteArray("'e\\nng'");
    QTest::newRow("file name with a line break")
        << QStringList{"--csv", "/nonexistent/a\nb.csv"} << QByteArray() << QByteArray("a\\nb.csv");
    QTest::newRow("column with a line break")
        << QStringList{"--csv", "-"} << QByteArray("arrangement,\"c\n1\"\n1,100\n")
        << QByteArray("'c\\n1'");
    QTest::newRow("report without a file")
        << QStringList{"--arrangement", "1", "--report"} << QByteArray() << QByteArray("report");
    QTest::newRow("report with an empty name") << QStringList{"--arrangement", "1", "--report", ""}
                                               << QByteArray() << QByteArray("--report");
    QTest::newRow("project without report") << QStringList{"--arrangement", "1", "--project", "A"}
                                            << QByteArray() << QByteArray("--project");
    QTest::newRow("project too long for its line")
        << QStringList{"--arrangement",      "1",         "--report",
                       "/nonexistent/r.pdf", "--project", QString(300, u'W')}
        << QByteArray() << QByteArray("--project");
    QTest::newRow("design with a value option")
        << QStringList{"--design", "/nonexistent/d.kiila", "--c1", "100"} << QByteArray()
        << QByteArray("--c1 goes with a design given by options, not with --design");
    QTest::newRow("design with an arrangement")
        << QStringList{"--design", "/nonexistent/d.kiila", "--arrangement", "1"} << QByteArray()
        << QByteArray("--arrangement goes with");
    QTest::newRow("design with cracked")
        << QStringList{"--design", "/nonexistent/d.kiila", "--cracked"} << QByteArray()
        << QByteArray("--cracked goes with");
    QTest::newRow("design with csv")
        << QStringList{"--design", "/nonexistent/d.kiila", "--csv", "-"}
        << QByteArray("arrangement\n1\n") << QByteArray("not both");
    QTest::newRow("missing design file")
        << QStringList{"--design", "/nonexistent/d.kiila"} << QByteArray()
        << QByteArray("cannot open the design '/nonexistent/d.kiila': No such file");
    QTest::newRow("design file name with a line break")
        << QStringList{"--design", "/nonexistent/a\nb.kiila"} << QByteArray()
        << QByteArray("a\\nb.kiila");
    QTest::newRow("save with csv") << QStringList{"--csv", "-", "--save", "/nonexistent/d.kiila"}
                                   << QByteArray("arrangement\n1\n") << QByteArray("--save");
    QTest::newRow("save with an empty name")
        << QStringList{"--arrangement", "1", "--save", ""} << QByteArray() << QByteArray("--save");
    QTest::newRow("save a value of two lines")
        << QStringList{"--arrangement", "1", "--c1", "1\n00", "--save", "/nonexistent/d.kiila"}
        << QByteArray() << QByteArray("--save: the input \"c1\"");
    // A text longer than the program's field would not open as it was saved.
    QTest::newRow("save a value longer than a field")
        << QStringList{"--arrangement",       "1", "--c1", "100" + QString(32767, u' '), "--save",
                       "/nonexistent/d.kiila"}
        << QByteArray() << QByteArray("--save: the input \"c1\" is a text of 32770 characters");
    QTest::newRow("save a project of two lines")
        << QStringList{"--arrangement", "1", "--project", "a\nb", "--save", "/nonexistent/d.kiila"}
        << QByteArray() << QByteArray("--save: the \"project\"");
    QTest::newRow("save a project with a line separator")
        << QStringList{"--arrangement", "1",      "--project",
                       "a\u2028b",      "--save", "/nonexistent/d.kiila"}
        << QByteArray() << QByteArray("--save: the \"project\"");
    QTest::newRow("report a project of two lines")
        << QStringList{"--arrangement", "1", "--project", "a\nb", "--report", "/nonexistent/r.pdf"}
        << QByteArray() << QByteArray("--project: the name is more than one line");
    QTest::newRow("report a project with a paragraph separator")
        << QStringList{"--arrangement", "1",        "--project",
                       "a\u2029b",      "--report", "/nonexistent/r.pdf"}
        << QByteArray() << QByteArray("--project: the name is more than one line");
    QTest::newRow("report a project with a next line")
        << QStringList{"--arrangement", "1",        "--project",
                       "a\u0085b",      "--report", "/nonexistent/r.pdf"}
        << QByteArray() << QByteArray("--project: the name is more than one line");
    QTest::newRow("save and report into one file")
        << QStringList{"--arrangement",  "1",        "--save",
                       "/nonexistent/x", "--report", "/nonexistent/../nonexistent/x"}
        << QByteArray() << QByteArray("--save and --report name the same file");
    QTest::newRow("report into a missing folder")
        << QStringList{"--arrangement", "1", "--report", "/nonexistent/r.pdf"} << QByteArray()
        << QByteArray("cannot write");
}

void TestCli::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, stdinText);
    QFETCH(QByteArray, message);
    const Run run = kiilaCalc(arguments, stdinText);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY2(run.err.contains(message), run.err.constData());
}

void TestCli::singleJson()
{
    const Run run =
        kiilaCalc({"--arrangement", "2", "--cracked", "--c1", "100", "--c2", " 100 ", "--s1", "150",
                   "--nsd", "3", "--v1d", "2", "--lang", "none", "--json"});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject o = json(run.out);
    QCOMPARE(o["arrangement"].toInt(), 2);
    QCOMPARE(o["cracked"].toBool(), true);
    QCOMPARE(o["input"]["c2"].toDouble(), 100.0);
    QVERIFY(o["input"]["e2"].isNull()); // arrangement 2 does not use it
    QCOMPARE(o["outcome"].toString(), "chosen");
    const QJsonArray sizes = o["sizes"].toArray();
    QCOMPARE(sizes.size(), 3);
    QCOMPARE(sizes[0]["anchorCapacity"].toDouble(), 1.15);
    QCOMPARE(sizes[0]["outcome"].toString(), "tension");
    QVERIFY(sizes[0]["shearCapacity"].isNull());
    QVERIFY(sizes[0]["utilization"]["shear"].isNull());
    QCOMPARE(sizes[1]["outcome"].toString(), "shear");
    QCOMPARE(sizes[1]["utilization"]["shear"].toDouble(), 2 / 1.7);
    QCOMPARE(sizes[2]["outcome"].toString(), "chosen");
    QVERIFY(sizes[2]["eccentricCapacity"].isNull());
    QCOMPARE(o["chosen"]["sizeNo"].toInt(), 3);
    QCOMPARE(o["chosen"]["size"].toString(), "M12");
    QCOMPARE(o["chosen"]["anchorText"].toString(), "2 kpl  Kalvex M 12");
    QCOMPARE(o["chosen"]["plate"].toArray(), (QJsonArray{36, 186}));
    QVERIFY(o["message"].isNull());
    QVERIFY(o["advice"].isNull());
    QCOMPARE(o["headings"].toObject().keys(), (QStringList{"capacity", "shear"}));
    // Unrounded numbers read back exactly.
    QVERIFY(run.out.contains("\"anchorCapacity\": 2.2141460905349795"));

    const QJsonObject stop = json(
        kiilaCalc({"--arrangement", "1", "--c1", "40", "--c2", "200", "--lang", "none", "--json"})
            .out);
    QCOMPARE(stop["outcome"].toString(), "stopped");
    QCOMPARE(stop["message"]["size"].toString(), "M8");
    // The title without the language file's blanks, the lines ended by a line feed alone.
    QCOMPARE(stop["message"]["title"].toString(), "Ohje");
    QCOMPARE(stop["message"]["text"].toString(),
             "Ankkurien M8\n arvo  c1  kasvatettava minimiarvoon 50 mm");
    QVERIFY(stop["chosen"].isNull());
    QCOMPARE(stop["sizes"].toArray().size(), 0);

    const QJsonObject advice = json(kiilaCalc({"--arrangement", "1", "--c1", "200", "--c2", "200",
                                               "--nsd", "&H64", "--lang", "none", "--json"})
                                        .out);
    QCOMPARE(advice["input"]["nsd"].toDouble(), 100.0);
    QCOMPARE(advice["outcome"].toString(), "advice");
    QVERIFY(advice["advice"].toString().startsWith("Valitse järeämpi"));
}

void TestCli::summary()
{
    const Run run =
        kiilaCalc({"--arrangement", "2", "--cracked", "--c1", "100", "--c2", "100", "--s1", "150",
                   "--nsd", "3", "--v1d", "2", "--e1", "20", "--lang", "none"});
    QCOMPARE(run.exitCode, 0);
    const QString out = QString::fromUtf8(run.out);
    for (const char *expected :
         {"anchor capacity kN    1.15      1.70      2.21",
          "eccentric tension kN  -         -         3.53", "utilisation tension   1.304",
          "2 kpl  Kalvex M 12", "Kiinnityslevyn mitat min. 36 mm x 186 mm",
          "eccentric: Ankkuriryhmän  2 epäkeskinen vetokapasiteetti kN"})
        QVERIFY2(out.contains(QString::fromUtf8(expected)), qPrintable(out));
}

// --details --json: the working values of each size under the calculation's names; the size
// that stopped the run has them in its message.
void TestCli::detailsJson_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("path"); // where in the object: "sizes.2.details.Ac"
    QTest::addColumn<QVariant>("expected");

    const QStringList row2{
        "--arrangement", "2",      "--cracked", "--c1",  "100", "--c2", "100", "--s1",
        "150",           "--nsd",  "3",         "--v1d", "2",   "--e1", "20",  "--lang",
        "none",          "--json", "--details"};
    QTest::newRow("capped edge") << (QStringList{"--arrangement", "1", "--c1", "400", "--c2", "90",
                                                 "--json", "--details"})
                                 << "sizes.0.details.C1calc" << QVariant(150.0);
    QTest::newRow("projected area") << row2 << "sizes.2.details.Ac" << QVariant(120400.0);
    QTest::newRow("edge factor") << row2 << "sizes.0.details.psiS" << QVariant(0.9);
    QTest::newRow("load per anchor") << row2 << "sizes.0.details.NSdPerAnchor" << QVariant(1.5);
    QTest::newRow("tension failure has no shear") << row2 << "sizes.0.details.shear" << QVariant();
    QTest::newRow("shear near the edges")
        << row2 << "sizes.1.details.shear.farFromEdges" << QVariant(false);
    QTest::newRow("one anchor takes the shear")
        << row2 << "sizes.1.details.shear.VRes" << QVariant(2.0);
    QTest::newRow("search step") << row2 << "sizes.2.details.eccentric.stepNo" << QVariant(880);
    QTest::newRow("search end") << row2 << "sizes.2.details.eccentric.end" << QVariant("step");
    QTest::newRow("no middle row") << row2 << "sizes.2.details.eccentric.FMiddle" << QVariant(0.0);
    QTest::newRow("outcome") << row2 << "sizes.1.details.outcome" << QVariant("shear");
    QTest::newRow("bisection") << (QStringList{"--arrangement", "7", "--c1", "600", "--c2", "600",
                                               "--s1", "150", "--s2", "150", "--e1", "200",
                                               "--json", "--details"})
                               << "sizes.0.details.eccentric.end" << QVariant("bisection");
    QTest::newRow("corner of a 3x2 group")
        << (QStringList{"--arrangement", "7", "--c1", "600", "--c2", "600", "--s1", "150", "--s2",
                        "150", "--v1d", "1", "--json", "--details"})
        << "sizes.0.details.shear.sumR2" << QVariant(28125.0);
    QTest::newRow("stop names the distance")
        << (QStringList{"--arrangement", "7", "--c1", "499", "--c2", "600", "--s1", "150", "--s2",
                        "150", "--json", "--details"})
        << "message.details.stop.minimum" << QVariant(500.0);
    QTest::newRow("without --details none")
        << (QStringList{"--arrangement", "1", "--c1", "400", "--c2", "90", "--json"})
        << "sizes.0.details" << QVariant();
}

void TestCli::detailsJson()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, path);
    QFETCH(QVariant, expected);
    const Run run = kiilaCalc(arguments);
    QCOMPARE(run.exitCode, 0);
    QJsonValue value = json(run.out);
    for (const QString &key : path.split('.')) {
        bool isIndex = false;
        const int index = key.toInt(&isIndex);
        value = isIndex ? value.toArray().at(index) : value.toObject().value(key);
    }
    if (!expected.isValid())
        QVERIFY2(value.isNull() || value.isUndefined(), run.out.constData());
    else if (expected.typeId() == QMetaType::Double)
        QVERIFY2(qFuzzyCompare(value.toDouble(), expected.toDouble()), run.out.constData());
    else
        QCOMPARE(value.toVariant(), expected);
}

// --details with the summary: each check's formula in words and in numbers, the table of the
// checks and the governing one.
void TestCli::detailsText_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("row of two through every check")
        << QStringList{"--arrangement",
                       "2",
                       "--cracked",
                       "--c1",
                       "100",
                       "--c2",
                       "100",
                       "--s1",
                       "150",
                       "--nsd",
                       "3",
                       "--v1d",
                       "2",
                       "--e1",
                       "20",
                       "--details"}
        << QStringList{
               "Ac = (cCr + C1calc + 2·k1·S1calc)·(cCr + C2calc + 2·k2·S2calc) = (180 + 100 + "
               "150)·(180 + 100 + 0) = 120400 mm²",
               "FAnchor = (Ac/Ac0)·psiS·FRd/nAnchors = (100000/90000)·0.9·2.3/2 = 1.15 kN",
               "tension    NSd/nAnchors 1.5 kN        FAnchor 1.15 kN          1.30435  fails  "
               "governs",
               "shear      VRes 2 kN                  FAnchor 1.7 kN           1.17647  fails  "
               "governs",
               "first step with NGroup/NFromM within 5 % of 1: step 880",
               "xNA = xStart + stepNo·step width = -1680 + 880·1.68 = -201.6 mm",
               "FInner = (1.5·dNom − xNA)/L·FAnchor = (1.5·12 − (-201.6))/369.6·2.21415 = 1.31555 "
               "kN",
               "shear      VRes 2 kN                  FAnchor 2.21415 kN       0.903283  governs",
               "outcome: chosen"};
    QTest::newRow("single anchor at the edge")
        << QStringList{"--arrangement", "1", "--c1", "100", "--c2", "100", "--details"}
        << QStringList{"Ac = (cCr + C1calc + 2·k1·S1calc)·(cCr + C2calc + 2·k2·S2calc) = (150 + "
                       "100 + 0)·(150 + 100 + 0) = 62500 mm²",
                       "VRes = V1dCalc = 0 kN"};
    QTest::newRow("stop") << QStringList{"--arrangement", "1", "--c1", "40", "--details"}
                          << QStringList{"C1calc = 40 mm < cMin = 50 mm: the run stops"};
}

void TestCli::detailsText()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, lines);
    const Run run = kiilaCalc(arguments + QStringList{"--lang", "none"});
    QCOMPARE(run.exitCode, 0);
    const QString out = QString::fromUtf8(run.out);
    for (const QString &line : lines)
        QVERIFY2(out.contains(line), qPrintable(line + "\n---\n" + out));
}

// At each kind of boundary a value at it and the next double past it: the summary, the --details
// text and the JSON name the same size, and the text and the JSON the same governing checks.
void TestCli::boundaries_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("size"); // the chosen size, or the one that stopped the run
    QTest::addColumn<bool>("stopped");

    // A single anchor beyond cCr: M8's FAnchor is 2.7 kN.
    const QStringList single{"--arrangement", "1", "--c1", "200", "--c2", "200"};
    QTest::newRow("tension at FAnchor") << single + QStringList{"--nsd", "2.7"} << "M8" << false;
    QTest::newRow("tension past FAnchor")
        << single + QStringList{"--nsd", "2.7000000000000004"} << "M10" << false;
    QTest::newRow("shear at FAnchor") << single + QStringList{"--v1d", "2.7"} << "M8" << false;
    QTest::newRow("shear past FAnchor")
        << single + QStringList{"--v1d", "2.7000000000000004"} << "M10" << false;
    // A row of two: M8's NGroup is 1.4051976346093991 kN, which NSd must stay below.
    const QStringList row{"--arrangement", "2",    "--cracked", "--c1", "100", "--c2",
                          "100",           "--s1", "150",       "--e1", "50"};
    QTest::newRow("eccentric below NGroup")
        << row + QStringList{"--nsd", "1.4051976346093988"} << "M8" << false;
    QTest::newRow("eccentric at NGroup")
        << row + QStringList{"--nsd", "1.4051976346093991"} << "M10" << false;
    QTest::newRow("c1 at cMin") << QStringList{"--arrangement", "1", "--c1", "50", "--c2", "200"}
                                << "M8" << false;
    QTest::newRow("c1 below cMin")
        << QStringList{"--arrangement", "1", "--c1", "49.999999999999993", "--c2", "200"} << "M8"
        << true;
    QTest::newRow("s1 below sMin")
        << QStringList{"--arrangement", "2",   "--c1", "200",
                       "--c2",          "200", "--s1", "69.999999999999986"}
        << "M8" << true;
    QTest::newRow("c1 below 10 hef")
        << QStringList{"--arrangement", "7",    "--c1", "499.99999999999994", "--c2", "600", "--s1",
                       "150",           "--s2", "150"}
        << "M8" << true;
}

void TestCli::boundaries()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, size);
    QFETCH(bool, stopped);
    arguments << "--lang"
              << "none"
              << "--details";
    const Run text = kiilaCalc(arguments);
    QCOMPARE(text.exitCode, 0);
    const QString out = QString::fromUtf8(text.out);

    // The summary's size, then each size's block of the working.
    const QRegularExpressionMatch summary =
        QRegularExpression(stopped ? "stopped at (M\\d+)" : "Kalvex M (\\d+)").match(out);
    QVERIFY2(summary.hasMatch(), qPrintable(out));
    QCOMPARE(stopped ? summary.captured(1) : "M" + summary.captured(1), size);
    const QStringList blocks = out.split(QRegularExpression("\\n(?=M\\d+: dNom)")).mid(1);
    QVERIFY(!blocks.isEmpty());
    const QString last = blocks.last();
    QVERIFY2(last.startsWith(size + ":"), qPrintable(last));
    QVERIFY2(last.contains(stopped ? "the run stops at this size" : "outcome: chosen"),
             qPrintable(last));

    const Run jsonRun = kiilaCalc(arguments << "--json");
    const QJsonObject object = json(jsonRun.out);
    QCOMPARE(object[stopped ? "message" : "chosen"]["size"].toString(), size);
    const QJsonArray sizes = object["sizes"].toArray();
    QCOMPARE(sizes.size(), blocks.size() - (stopped ? 1 : 0));
    if (stopped)
        QVERIFY(object["message"]["details"]["stop"]["kind"].isString());
    else
        QCOMPARE(sizes.last()["details"]["outcome"].toString(), "chosen");
    // Each size's governing check: one in the JSON's checks, the same in the text.
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const QString governs = sizes[i]["governs"].toString();
        QStringList marked;
        for (const QJsonValue check : sizes[i]["details"]["checks"].toArray())
            if (check["governs"].toBool())
                marked << check["kind"].toString();
        QCOMPARE(marked, QStringList{governs});
        const QRegularExpressionMatch line =
            QRegularExpression("\\n  (\\w+) .*  governs\\n").match(blocks[i]);
        QVERIFY2(line.hasMatch(), qPrintable(blocks[i]));
        QCOMPARE(line.captured(1), governs);
    }
}

void TestCli::csvRows()
{
    // Columns in any order, quoted fields, CR LF and LF ends, a blank line, bad rows between
    // good ones.
    const QByteArray input = "E1, Arrangement ,c1,c2,s1,nsd,v1d,cracked\r\n"
                             "20,2,100,100,150,3,2,yes\r\n"
                             "\r\n"
                             "0,9,200,200,0,1,1,0\n"
                             "0,1,\"4,0 mm\",200,0,1,1,no\n"
                             "0,1,200\n"
                             "0,1,200,200,0,1,1,maybe\n"
                             "0,7,600,600,150,1,1,1\n";
    const Run run = kiilaCalc({"--csv", "-", "--lang", "none"}, input);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, QByteArray());
    const QList<QByteArray> lines = run.out.split('\n');
    QVERIFY(lines[0].startsWith("arrangement,cracked,c1,c2,s1,s2,nsd,v1d,e1,e2,outcome,size,plate,"
                                "M8,M8_shear,M8_eccentric,M10,"));
    QVERIFY(lines[0].endsWith(",message,error"));
    const int columns = lines[0].count(',') + 1;
    // s2 and e2 empty: arrangement 2 does not use them.
    QVERIFY(lines[1].startsWith("2,1,100,100,150,,3,2,20,,chosen,M12,36x186,1.15,,,1.7,1.7,,"));
    QVERIFY(lines[1].contains(",3.5296939300411525,"));
    QCOMPARE(lines[1].count(',') + 1, columns);
    QVERIFY(lines[2].endsWith("\"arrangement: give a number from 1 to 7, not '9'\""));
    QVERIFY(lines[2].contains(",error,"));
    QCOMPARE(lines[2].count(',') - 1 + 1, columns); // one comma inside the quoted error
    QVERIFY(lines[3].startsWith("1,no,\"4,0 mm\",200,"));
    QVERIFY(lines[3].endsWith("\"c1: not a number: '4,0 mm'\""));
    QVERIFY(lines[4].endsWith("\"row has 3 fields, the header 8\""));
    QVERIFY(lines[5].contains("cracked"));
    // The stop message keeps its line breaks inside the quoted field.
    QVERIFY(lines[6].startsWith("7,1,600,600,150,0,1,1,0,0,stopped,M8,"));
    QVERIFY(run.out.contains("\"Ankkurien M8\r\n\r\n arvo  s2  kasvatettava minimiarvoon 70 mm\""));

    const Run good = kiilaCalc({"--csv", "-"}, "arrangement\n1\n");
    QCOMPARE(good.exitCode, 0);
}

void TestCli::csvJsonRows()
{
    QByteArray input = "arrangement,c1,c2,nsd\n";
    for (int i = 0; i < 500; ++i)
        input += QByteArray::number(1 + i % 7) + ",600,600," + QByteArray::number(i % 10) + "\n";
    input += "x,600,600,1\n";
    const Run run = kiilaCalc({"--csv", "-", "--json", "--lang", "none"}, input);
    QCOMPARE(run.exitCode, 1);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 501);
    for (int i = 0; i < 500; ++i) {
        const QJsonObject o = json(lines[i]);
        QCOMPARE(o["arrangement"].toInt(), 1 + i % 7);
        QCOMPARE(o["input"]["nsd"].toDouble(), double(i % 10));
    }
    const QJsonObject error = json(lines[500]);
    QCOMPARE(error["row"].toInt(), 501);
    QVERIFY(error["error"].toString().contains("arrangement"));
}

void TestCli::languageFile()
{
    // The program reads the language file beside itself.
    QTemporaryDir dir;
    const QString program = dir.filePath("kiila-calc");
    QVERIFY(QFile::copy(QStringLiteral(KIILA_CALC), program));
    QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);

    QByteArrayList lines(34, QByteArray());
    lines[0] = "English, test file";
    lines[8] = "CASE 7";
    lines[22] = "Choose a stronger fastening";
    lines[23] = "Anchors ";
    lines[24] = " value ";
    lines[26] = " to be increased to ";
    lines[32] = " Guidance ";
    lines[33] = "Fixture plate min. ";
    QFile file(dir.filePath("english.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(lines.join("\r\n") + "\r\n");
    file.close();

    const QJsonObject stop = json(kiilaCalc({"--arrangement", "7", "--c1", "400", "--c2", "600",
                                             "--s1", "150", "--s2", "150", "--json"},
                                            {}, program)
                                      .out);
    QCOMPARE(stop["message"]["text"].toString(), "CASE 7 value  c1  to be increased to 500 mm");
    QCOMPARE(stop["message"]["title"].toString(), "Guidance");

    // Empty lines leave the Finnish defaults.
    const QJsonObject chosen = json(
        kiilaCalc({"--arrangement", "2", "--c1", "600", "--c2", "600", "--s1", "150", "--json"}, {},
                  program)
            .out);
    QCOMPARE(chosen["chosen"]["anchorText"].toString(), "2 kpl  Kalvex M 8");
    QCOMPARE(chosen["chosen"]["plateText"].toString(), "Fixture plate min. 24 mm x 174 mm");

    const QJsonObject advice = json(
        kiilaCalc({"--arrangement", "1", "--c1", "600", "--c2", "600", "--nsd", "100", "--json"},
                  {}, program)
            .out);
    QCOMPARE(advice["advice"].toString(), "Choose a stronger fastening");

    // --lang none, a language without its file and a FIFO under the file's name (not waited
    // on): the Finnish texts.
    QVERIFY(QFile::remove(file.fileName()));
    QCOMPARE(::mkfifo(QFile::encodeName(file.fileName()).constData(), 0600), 0);
    for (const char *lang : {"none", "fin", "eng"}) {
        const QJsonObject finnish =
            json(kiilaCalc({"--arrangement", "7", "--c1", "400", "--c2", "600", "--s1", "150",
                            "--s2", "150", "--json", "--lang", lang},
                           {}, program)
                     .out);
        QCOMPARE(finnish["message"]["text"].toString(),
                 "TAPAUS 7 arvo  c1  kasvatettava minimiarvoon 500 mm");
    }
}

void TestCli::writeFailures_data()
{
    QTest::addColumn<QString>("redirections");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("stdinText");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("message");

    const QStringList design{"--arrangement", "2", "--c1", "600", "--c2", "600", "--s1", "150"};
    const QByteArray noSpace("cannot write the output: No space left on device");
    QTest::newRow("summary, disk full") << ">/dev/full" << design << QByteArray() << 3 << noSpace;
    QTest::newRow("JSON, disk full")
        << ">/dev/full" << design + QStringList{"--json"} << QByteArray() << 3 << noSpace;
    QTest::newRow("CSV batch, disk full")
        << ">/dev/full" << QStringList{"--csv", "-"} << designRows(100) << 3 << noSpace;
    QTest::newRow("version, disk full")
        << ">/dev/full" << QStringList{"--version"} << QByteArray() << 3 << noSpace;
    QTest::newRow("help, disk full")
        << ">/dev/full" << QStringList{"--help"} << QByteArray() << 3 << noSpace;
    QTest::newRow("output closed")
        << ">&-" << design << QByteArray() << 3 << QByteArray("standard output is closed");
    QTest::newRow("output closed, CSV batch")
        << ">&-" << QStringList{"--csv", "-", "--json"} << designRows(3) << 3
        << QByteArray("standard output is closed");
    QTest::newRow("input closed") << "<&-" << QStringList{"--csv", "-"} << QByteArray() << 2
                                  << QByteArray("standard input: it is closed");
}

// A write that fails, or a standard stream that is closed, is reported with one line on stderr
// and an exit status of its own; nothing is reported as done.
void TestCli::writeFailures()
{
    QFETCH(QString, redirections);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, stdinText);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);
    const Run run = kiilaCalcRedirected(redirections, arguments, stdinText);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY2(run.err.contains(message), run.err.constData());
}

// A reader that goes away ends kiila-calc by SIGPIPE, quietly, even when the parent ignores the
// signal.
void TestCli::closedPipeEndsQuietly()
{
    QTemporaryDir dir;
    QFile rows(dir.filePath("rows.csv"));
    QVERIFY(rows.open(QIODevice::WriteOnly));
    rows.write(designRows(3000)); // far more output than a pipe holds
    rows.close();
    const Run run = kiilaCalc({"-c",
                               "trap '' PIPE; \"$0\" --csv \"$1\" | head -c 100 >/dev/null; "
                               "echo \"${PIPESTATUS[0]}\"",
                               KIILA_CALC, rows.fileName()},
                              {}, QStringLiteral("/bin/bash"));
    QCOMPARE(run.out, QByteArray("141\n")); // 128 + SIGPIPE
    QCOMPARE(run.err, QByteArray());
}

// Every byte of a row counts towards its 64 KiB, the commas too: a row of 20 million commas is
// refused without holding a field for each of them.
void TestCli::longRowKeepsMemoryFlat()
{
    const QByteArray input = "arrangement,c1\n" + QByteArray(20'000'000, ',') + "\n1,600\n";
    const Run run = kiilaCalc({"--csv", "-", "--json"}, input);
    QCOMPARE(run.exitCode, 1);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(json(lines[0])["error"].toString(), "row longer than 64 KiB");
    QCOMPARE(json(lines[1])["arrangement"].toInt(), 1);

    // The largest of the children so far: every other run of this test stays far below.
    rusage usage{};
    QCOMPARE(getrusage(RUSAGE_CHILDREN, &usage), 0);
    QVERIFY2(usage.ru_maxrss < 300 * 1024, qPrintable(QString("%1 KiB").arg(usage.ru_maxrss)));
}

void TestCli::echoedInputIsUtf8_data()
{
    QTest::addColumn<QByteArray>("cell");
    QTest::addColumn<QString>("echo"); // in the error text

    const QString bad = QString(QChar::ReplacementCharacter);
    QTest::newRow("byte FF") << QByteArray("1\xff") << "'1" + bad + "'";
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << "'" + bad + bad + "'";
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << "'" + bad + bad + bad + "'";
    QTest::newRow("cut short") << QByteArray("x\xe2\x82") << "'x" + bad + bad + "'";
    QTest::newRow("beyond U+10FFFF")
        << QByteArray("\xf4\x90\x80\x80") << "'" + bad + bad + bad + bad + "'";
    QTest::newRow("NUL") << QByteArray("1\0x", 3) << "'1\\x00x'";
    QTest::newRow("line break") << QByteArray("\"1\nx\"") << "'1\\nx'";
    QTest::newRow("valid UTF-8 stays") << QByteArray("\xc3\xa4") << QString::fromUtf8("'ä'");
}

// Text echoed from the input is valid UTF-8, in JSON and CSV alike, so that the output parses.
void TestCli::echoedInputIsUtf8()
{
    QFETCH(QByteArray, cell);
    QFETCH(QString, echo);
    const QByteArray input = "arrangement,c1\n1," + cell + "\n";

    const Run json = kiilaCalc({"--csv", "-", "--json"}, input);
    QCOMPARE(json.exitCode, 1);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json.out, &error);
    QCOMPARE(error.errorString(), QJsonParseError().errorString());
    QCOMPARE(doc["error"].toString(), "c1: not a number: " + echo);

    const Run csv = kiilaCalc({"--csv", "-"}, input);
    QCOMPARE(csv.exitCode, 1);
    QVERIFY(isUtf8(csv.out));
    QVERIFY(!csv.out.contains('\0'));
    QVERIFY(QString::fromUtf8(csv.out).contains(echo));
}

void TestCli::summaryNumbers_data()
{
    QTest::addColumn<QStringList>("loads");
    QTest::addColumn<bool>("finnishLocale");
    QTest::addColumn<QString>("tension"); // the utilisation line
    QTest::addColumn<QString>("shear");

    QTest::newRow("Finnish locale")
        << QStringList{"--nsd", "3", "--v1d", "2"} << true << "1.111     0.732"
        << "-         0.976";
    QTest::newRow("huge load") << QStringList{"--nsd", "1e308"} << false
                               << "3.7037037037037E+307 2.4390243902439E+307 "
                                  "1.67839702723424E+307"
                               << "-         -         -";
    QTest::newRow("tiny negative load")
        << QStringList{"--nsd", "-1e-9", "--v1d", "-1e-9"} << false << "0.000"
        << "0.000";
}

// The utilisations of the summary: three decimals with a point whatever the locale, the general
// form for huge values, no "-0.000".
void TestCli::summaryNumbers()
{
    QFETCH(QStringList, loads);
    QFETCH(bool, finnishLocale);
    QFETCH(QString, tension);
    QFETCH(QString, shear);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QTemporaryDir locales;
    if (finnishLocale) {
        QVERIFY2(support::useFinnishLocale(environment, locales),
                 "localedef (Debian package locales) makes the Finnish locale");
    }
    const Run run = kiilaCalc(QStringList{"--arrangement", "2", "--c1", "100", "--c2", "100",
                                          "--s1", "150", "--lang", "none"} +
                                  loads,
                              {}, QStringLiteral(KIILA_CALC), environment);
    QCOMPARE(run.exitCode, 0);
    const QString out = QString::fromUtf8(run.out);
    QVERIFY2(out.contains("utilisation tension   " + tension + "\n"), qPrintable(out));
    QVERIFY2(out.contains("utilisation shear     " + shear + "\n"), qPrintable(out));
    QVERIFY(!out.contains("-0.0"));
}

// A byte-order mark before the header is skipped; the JSON row counts the lines after the
// header, also where a quoted cell holds a line break or a line is blank.
void TestCli::csvByteOrderMarkAndLines()
{
    const QByteArray input = "\xef\xbb\xbf"
                             "arrangement,c1\r\n"
                             "x,\"1\r\n2\"\r\n" // row 1, over two lines
                             "1,\"3\n\nx\"\n"   // row 3, over three lines
                             "\n"               // row 6, blank
                             "9,600\n";         // row 7
    const Run run = kiilaCalc({"--csv", "-", "--json"}, input);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, QByteArray());
    QList<int> rows;
    for (const QByteArray &line : run.out.trimmed().split('\n'))
        rows << json(line)["row"].toInt();
    QCOMPARE(rows, (QList<int>{1, 3, 7}));

    const Run good = kiilaCalc({"--csv", "-", "--json"}, "\xef\xbb\xbf"
                                                         "arrangement,c1,c2\n1,600,600\n");
    QCOMPARE(good.exitCode, 0);
    QCOMPARE(json(good.out)["outcome"].toString(), "chosen");
}

void TestCli::reportPage_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("caption");
    QTest::newRow("English") << "eng"
                             << "Edge distance C1 (mm)";
    QTest::newRow("Finnish") << "fin"
                             << "Etaisyys reunasta C1 (mm)";
}

// The page holds the project name, the inputs with their captions in the language and the
// results the calculation gave; it is drawn, not a picture of the window.
void TestCli::reportPage()
{
    QFETCH(QString, lang);
    QFETCH(QString, caption);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("design.pdf");
    const QStringList design{
        "--arrangement", "2", "--cracked", "--c1", "100",  "--c2", "100",    "--s1", "150",
        "--nsd",         "3", "--v1d",     "2",    "--e1", "20.5", "--lang", lang,   "--json"};
    const Run run = kiilaCalc(design + QStringList{"--report", pdf, "--project", "Hall 3 / B"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.out, kiilaCalc(design).out); // the output is the same as without --report
    QCOMPARE(pageCount(pdf), 1);

    const QJsonObject o = json(run.out);
    QStringList expected{"Hall 3 / B", caption, "150", "20.5",
                         o["chosen"]["anchorText"].toString().simplified()};
    for (const QJsonValue size : o["sizes"].toArray())
        for (const char *capacity : {"anchorCapacity", "shearCapacity", "eccentricCapacity"})
            if (size[capacity].isDouble())
                expected << QString::number(size[capacity].toDouble(), 'f', 2);
    QCOMPARE(expected.size(), 5 + 6); // three anchor capacities, two shear, one eccentric
    const QString text = pageText(pdf, 1);
    for (const QString &e : expected)
        QVERIFY2(text.contains(e), qPrintable(e + " not in: " + text));
    // Vectors and text: no picture of the window.
    QCOMPARE(poppler("pdfimages", {"-list", pdf}).trimmed().count(u'\n'), 1);
}

// One page per row that is calculated, in row order; a row that fails has none and is
// reported as without --report. No row with a page: no file.
void TestCli::reportCsv()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("rows.pdf");
    const QByteArray input = "arrangement,c1,c2,nsd,v1d\n"
                             "1,211,200,5,2\n"
                             "x,200,200,5,2\n"
                             "1,222,200,5,2\n";
    const Run run = kiilaCalc({"--csv", "-", "--report", pdf}, input);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, kiilaCalc({"--csv", "-"}, input).out);
    QVERIFY(run.out.split('\n')[2].contains("arrangement: give a number"));
    QCOMPARE(pageCount(pdf), 2);
    QVERIFY(pageText(pdf, 1).contains("211"));
    QVERIFY(pageText(pdf, 2).contains("222"));

    const QString none = dir.filePath("none.pdf");
    QCOMPARE(kiilaCalc({"--csv", "-", "--report", none}, "arrangement\nx\n").exitCode, 1);
    QVERIFY(!QFile::exists(none));
}

// A design one step of a double past a capacity or minimum of a size: its JSON, its report page
// and its details page, all from one run, name the same size. Fifteen digits of these values
// read back on the other side of the boundary; the page prints the value calculated.
void TestCli::boundaryRowNamesOneSize_data()
{
    QTest::addColumn<QStringList>("design");
    QTest::addColumn<QString>("input"); // the JSON key of the value at the boundary
    QTest::addColumn<QString>("size");

    QTest::newRow("tension") << QStringList{"--arrangement", "1",   "--c1",  "200",
                                            "--c2",          "200", "--nsd", "2.7000000000000004"}
                             << "nsd"
                             << "M10";
    QTest::newRow("shear") << QStringList{"--arrangement", "1",   "--c1",  "200",
                                          "--c2",          "200", "--v1d", "2.7000000000000006"}
                           << "v1d"
                           << "M10";
    QTest::newRow("eccentric") << QStringList{"--arrangement", "2",   "--c1",  "200",
                                              "--c2",          "200", "--s1",  "150",
                                              "--e1",          "70",  "--nsd", "2.0250000000000004"}
                               << "nsd"
                               << "M10";
    QTest::newRow("stop at a minimum")
        << QStringList{"--arrangement", "1",   "--c1",  "54.99999999999999",
                       "--c2",          "200", "--nsd", "2"}
        << "c1"
        << "M10";
}

void TestCli::boundaryRowNamesOneSize()
{
    QFETCH(QStringList, design);
    QFETCH(QString, input);
    QFETCH(QString, size);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("boundary.pdf");
    const Run run =
        kiilaCalc(design + QStringList{"--json", "--lang", "eng", "--details", "--report", pdf});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject o = json(run.out);
    const bool chosen = o["outcome"] == "chosen";
    QCOMPARE((chosen ? o["chosen"] : o["message"])["size"].toString(), size);

    const auto sizeIn = [](const QString &text, const char *pattern) {
        const QRegularExpressionMatch m = QRegularExpression(QLatin1String(pattern)).match(text);
        return m.hasMatch() ? "M" + m.captured(1) : QString();
    };
    const QString report = pageText(pdf, 1);
    const QString details = pageText(pdf, 2);
    if (chosen) {
        QCOMPARE(sizeIn(report, "Kalvex M (\\d+)"), size);
        QCOMPARE(sizeIn(details, "Chosen: \\d+ pcs Kalvex M (\\d+)"), size);
    } else {
        QVERIFY2(!report.contains("Kalvex"), qPrintable(report));
        QCOMPARE(sizeIn(report, "Anchor M(\\d+) edge distance"), size);
        QCOMPARE(sizeIn(details, "The calculation stopped: Anchor M(\\d+)"), size);
    }
    // The field shows the value calculated, as the JSON writes it, and so do the details page's
    // inputs.
    const QRegularExpressionMatch value =
        QRegularExpression("\"" + input + "\": ([^,}]+)").match(QString::fromUtf8(run.out));
    QVERIFY(value.hasMatch());
    QVERIFY2((report + " ").contains(" " + value.captured(1) + " "), qPrintable(report));
    QVERIFY2(details.contains(" = " + value.captured(1) + " "), qPrintable(details));
}

// A page without a chosen anchor says why in the drawing's place, in the page's language, with
// the calculation's own words.
void TestCli::reportSaysWhyThereIsNoAnchor_data()
{
    QTest::addColumn<QStringList>("design");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("key"); // of the JSON whose text the page shows

    const QStringList fails{"--arrangement", "1", "--c1", "200", "--c2", "200", "--nsd", "50"};
    const QStringList stops{"--arrangement", "1", "--c1", "40", "--c2", "200", "--nsd", "2"};
    QTest::newRow("fails every size") << fails << "eng"
                                      << "advice";
    QTest::newRow("fails every size, Finnish") << fails << "fin"
                                               << "advice";
    QTest::newRow("stopped") << stops << "eng"
                             << "message";
    QTest::newRow("stopped, Finnish") << stops << "fin"
                                      << "message";
}

void TestCli::reportSaysWhyThereIsNoAnchor()
{
    QFETCH(QStringList, design);
    QFETCH(QString, lang);
    QFETCH(QString, key);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("why.pdf");
    const Run run = kiilaCalc(design + QStringList{"--json", "--lang", lang, "--report", pdf});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject o = json(run.out);
    const QString why =
        (key == "advice" ? o["advice"] : o["message"]["text"]).toString().simplified();
    QVERIFY(!why.isEmpty());
    const QString page = pageText(pdf, 1);
    QVERIFY2(page.contains(why), qPrintable(why + " not in: " + page));
    QVERIFY(!page.contains("Kalvex"));
}

// Each row is calculated once, for its output, its report page and its details page alike.
void TestCli::csvReportCalculatesEachRowOnce()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("rows.pdf");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KIILA_COUNT_CALCULATIONS", "1");
    const QByteArray input = designRows(5) + "x,200,200,5\n";
    const Run run = kiilaCalc({"--csv", "-", "--report", pdf, "--details"}, input,
                              QStringLiteral(KIILA_CALC), environment);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, QByteArray("kiila-calc: 5 calculations\n"));
    QCOMPARE(pageCount(pdf), 10);
}

Q_DECLARE_METATYPE(Target)

// --report with --details: each report page followed by the details page of its calculation,
// read back for its values, the governing check and the outcome.
void TestCli::reportDetails_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QStringList>("design");
    QTest::addColumn<QStringList>("expected");

    // M8 fails the tension, M10 the shear, M12 the eccentric tension after a bisection; M16
    // stops on s1.
    const QStringList row{
        "--arrangement", "2",     "--cracked", "--c1",  "100", "--c2", "100", "--s1",
        "150",           "--nsd", "3",         "--v1d", "2",   "--e1", "200"};
    QTest::newRow("English") << "eng" << row
                             << QStringList{"Hall 3",
                                            "CASE 2, cracked concrete",
                                            "C1 = 100 mm",
                                            "Ac0 = sCr² [mm²] 300² = 90000",
                                            "247.387/200 = 1.23694",
                                            "bisection of steps 1017 and 1018",
                                            "1.5 / 1.15 = 1.30435 *",
                                            "2 / 1.7 = 1.17647 *",
                                            "3 / 1.23694 = 2.42535 *",
                                            "eccentric tension fails",
                                            "S1calc = 150 mm < sMin = 185 mm: the run stops",
                                            "The calculation stopped: Anchor M16"};
    QTest::newRow("Finnish") << "fin" << row
                             << QStringList{"TAPAUS 2, haljennut betoni", "leikkaus ei riitä",
                                            "askelten 1017 ja 1018 puolitus",
                                            "laskenta pysähtyy tähän kokoon",
                                            "Laskenta pysähtyi: Ankkurien M16"};
    // The largest working: six anchors, four sizes through the shear and the eccentric search,
    // on one page down to the advice.
    QTest::newRow("largest, Finnish")
        << "fin" << QStringList{"--arrangement", "7",   "--c1", "800", "--c2",  "800",
                                "--s1",          "190", "--s2", "190", "--nsd", "5",
                                "--v1d",         "1",   "--e2", "10",  "--e1",  "1000"}
        << QStringList{"3791.16/1000 = 3.79116", "5 / 3.79116 = 1.31886 *", "Valitse järeämpi"};
}

void TestCli::reportDetails()
{
    QFETCH(QString, lang);
    QFETCH(QStringList, design);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("details.pdf");
    const Run run = kiilaCalc(
        design + QStringList{"--lang", lang, "--report", pdf, "--project", "Hall 3", "--details"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(pageCount(pdf), 2);
    const QString text = pageText(pdf, 2);
    for (const QString &e : expected)
        QVERIFY2(text.contains(e), qPrintable(e + " not in: " + text));
    QVERIFY(!pageText(pdf, 1).contains("FAnchor")); // the report page stays as it is
    // Text, no pictures, and no more than 60 KB for the page.
    QCOMPARE(poppler("pdfimages", {"-list", pdf}).trimmed().count(u'\n'), 1);
    const QString alone = dir.filePath("alone.pdf");
    QCOMPARE(
        kiilaCalc(
            {"--arrangement", "2",      "--cracked", "--c1",     "100",   "--c2",      "100",
             "--s1",          "150",    "--nsd",     "3",        "--v1d", "2",         "--e1",
             "200",           "--lang", lang,        "--report", alone,   "--project", "Hall 3"})
            .exitCode,
        0);
    QVERIFY2(QFileInfo(pdf).size() - QFileInfo(alone).size() < 60 * 1024,
             qPrintable(QString::number(QFileInfo(pdf).size() - QFileInfo(alone).size())));

    // From a CSV file: two pages per design.
    const QString csvPdf = dir.filePath("rows.pdf");
    const Run rows = kiilaCalc({"--csv", "-", "--report", csvPdf, "--details"}, designRows(3));
    QCOMPARE(rows.exitCode, 0);
    QCOMPARE(pageCount(csvPdf), 6);
    QVERIFY(pageText(csvPdf, 4).contains("CASE 2"));
}

// The pieces of a text between its placeholders, of three characters or more: what any output
// that fills it shows as it stands.
QStringList fixedPieces(const char *text)
{
    QStringList pieces;
    for (const QString &piece :
         QString::fromUtf8(text).split(QRegularExpression(QStringLiteral("%[1-9sd]"))))
        if (piece.trimmed().size() >= 3)
            pieces << piece.trimmed();
    return pieces;
}

// What kiila-calc writes in its own words: the summary and the working on standard output, the
// details page read back from the PDF file. Each row's texts are in the output in the row's
// language and none of them in the other language.
void TestCli::wordsInTheLanguage_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<bool>("page"); // the details page rather than standard output
    QTest::addColumn<QList<int>>("keys");

    using T = texts::Text;
    const auto keys = [](std::initializer_list<T> list) {
        QList<int> all;
        for (T key : list)
            all << int(key);
        return all;
    };
    // The design of reportDetails: M8 fails the tension, M10 the shear, M12 the eccentric
    // tension after a bisection; M16 stops on s1.
    const QList<int> out = keys({T::SummaryCase,
                                 T::Cracked,
                                 T::SummaryAnchorCapacity,
                                 T::SummaryGroupShear,
                                 T::SummaryEccentric,
                                 T::SummaryUseTension,
                                 T::SummaryUseShear,
                                 T::SummaryUseEccentric,
                                 T::SummaryFails,
                                 T::SummaryCapacityHeading,
                                 T::SummaryShearHeading,
                                 T::SummaryEccentricHeading,
                                 T::SummaryStopped,
                                 T::CheckTension,
                                 T::CheckShear,
                                 T::CheckEccentric,
                                 T::DetailsColumnCheck,
                                 T::DetailsColumnLoad,
                                 T::DetailsColumnCapacity,
                                 T::DetailsColumnUtilisation,
                                 T::DetailsMarkFails,
                                 T::DetailsMarkGoverns,
                                 T::DetailsOutcome,
                                 T::DetailsFailsCheck,
                                 T::WorkRaised,
                                 T::WorkStepWidth,
                                 T::WorkSearchHeading,
                                 T::WorkSearchBisection,
                                 T::WorkStop,
                                 T::WorkStops,
                                 T::WorkFarFromEdges,
                                 T::WorkNo});
    const QList<int> page =
        keys({T::DetailsTitle, T::DetailsCase, T::Cracked, T::DetailsInputs, T::DetailsChecks,
              T::DetailsLegend, T::DetailsOutcome, T::DetailsStopped, T::FailsTension,
              T::FailsShear, T::FailsEccentric, T::DetailsStoppedSentence});
    for (const char *lang : {"eng", "fin"}) {
        QTest::addRow("%s, standard output", lang) << lang << false << out;
        QTest::addRow("%s, details page", lang) << lang << true << page;
    }
}

void TestCli::wordsInTheLanguage()
{
    QFETCH(QString, lang);
    QFETCH(bool, page);
    QFETCH(QList<int>, keys);
    const QStringList design{
        "--arrangement", "2", "--cracked", "--c1", "100",  "--c2", "100",    "--s1", "150",
        "--nsd",         "3", "--v1d",     "2",    "--e1", "200",  "--lang", lang,   "--details"};
    QTemporaryDir dir;
    const QString pdf = dir.filePath("details.pdf");
    const Run run = kiilaCalc(page ? design + QStringList{"--report", pdf} : design);
    QCOMPARE(run.exitCode, 0);
    const QString text = page ? pageText(pdf, 2) : QString::fromUtf8(run.out);

    const bool finnish = lang == QLatin1String("fin");
    const texts::Language language = finnish ? texts::Language::Finnish : texts::Language::English;
    const texts::Language other = finnish ? texts::Language::English : texts::Language::Finnish;
    QStringList faults;
    for (const int key : keys) {
        const QStringList own = fixedPieces(texts::text(language, texts::Text(key)));
        for (const QString &piece : own)
            if (!text.contains(piece))
                faults << "missing: " + piece;
        for (const QString &piece : fixedPieces(texts::text(other, texts::Text(key))))
            if (!own.contains(piece) && text.contains(QRegularExpression(
                                            "\\b" + QRegularExpression::escape(piece) + "\\b")))
                faults << "in the other language: " + piece;
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n') + "\n" + text));
}

void TestCli::reportTargets_data()
{
    QTest::addColumn<Target>("target");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("message"); // on stderr; none when the report is written

    const QByteArray sameFile("is the same file as the input '");
    QTest::newRow("new file") << Target::NewFile << 0 << QByteArray();
    QTest::newRow("link to a file") << Target::LinkToFile << 0 << QByteArray();
    QTest::newRow("the input") << Target::Input << 2 << sameFile;
    QTest::newRow("the input through a link") << Target::LinkToInput << 2 << sameFile;
    QTest::newRow("the input through a hard link") << Target::HardLinkToInput << 2 << sameFile;
    QTest::newRow("named pipe") << Target::Fifo << 2
                                << QByteArray("is a named pipe, not a regular file");
    QTest::newRow("device") << Target::Device << 2
                            << QByteArray("is a character device, not a regular file");
    QTest::newRow("socket") << Target::Socket << 2 << QByteArray("is a socket, not a regular file");
    QTest::newRow("folder") << Target::Folder << 2 << QByteArray("is a folder, not a regular file");
    QTest::newRow("read-only folder") << Target::ReadOnlyFolder << 2 << QByteArray("cannot write");
    QTest::newRow("file on a read-only file system")
        << Target::ReadOnlyFile << 2 << QByteArray(": Read-only file system\n");
    QTest::newRow("loop of links")
        << Target::LinkLoop << 2 << QByteArray("is a loop of symbolic links");
    QTest::newRow("full file system")
        << Target::FullDisk << 3 << QByteArray(": No space left on device");
}

// --report writes a file only where a regular file, or nothing, is, and never over an input of
// the run: what is refused is refused before anything is written (exit 2, nothing on stdout),
// and a write that cannot be completed (exit 3) leaves neither the file nor a piece of it. A
// link to a file stays a link; the file it names gets the report.
void TestCli::reportTargets()
{
    QFETCH(Target, target);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);
    QTemporaryDir dir;
    const QString csv = dir.filePath("rows.csv");
    QFile rows(csv);
    QVERIFY(rows.open(QIODevice::WriteOnly));
    rows.write(designRows(2));
    rows.close();
    const OutputTarget place(target, dir.path(), csv);
    if (!place.skip().isEmpty())
        QSKIP(qPrintable(place.skip()));
    QVERIFY2(place.error().isEmpty(), qPrintable(place.error()));
    const auto before = folderState(place.folder());

    const Run run = kiilaCalc({"--csv", csv, "--report", place.path()});
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0) {
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(pageCount(place.path()), 2);
        if (target == Target::LinkToFile)
            QCOMPARE(QFile::symLinkTarget(place.path()), dir.filePath("old.pdf"));
        return;
    }
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY2(run.err.contains(message), run.err.constData());
    if (exitCode == 2)
        QCOMPARE(run.out, QByteArray());
    QCOMPARE(folderState(place.folder()), before);
    if (target == Target::Device)
        QVERIFY(!QFileInfo(place.path()).isFile());
}

void TestCli::reportOverRunFiles_data()
{
    QTest::addColumn<QString>("shell"); // the command line; $0 is kiila-calc, $1 the file
    QTest::addColumn<QString>("file");  // beside kiila-calc
    QTest::addColumn<QByteArray>("message");

    QTest::newRow("standard input")
        << "\"$0\" --csv - --report \"$1\" <\"$1\""
        << "rows.csv" << QByteArray("is the same file as standard input");
    QTest::newRow("standard output")
        << "\"$0\" --arrangement 1 --report \"$1\" >>\"$1\""
        << "rows.csv" << QByteArray("is the same file as standard output");
    QTest::newRow("language file")
        << "\"$0\" --arrangement 1 --lang fin --report \"$1\""
        << "english.txt" << QByteArray("is the same file as the language file '");
    QTest::newRow("design saved over standard output")
        << "\"$0\" --arrangement 1 --save \"$1\" >>\"$1\""
        << "rows.csv" << QByteArray("is the same file as standard output");
    QTest::newRow("design saved over the language file")
        << "\"$0\" --arrangement 1 --lang fin --save \"$1\""
        << "english.txt" << QByteArray("is the same file as the language file '");
}

// The files a run reads otherwise than as --csv FILE, and the standard output it writes, are
// not replaced by the report or the saved design either. kiila-calc runs from a folder of the
// test's own, with the language file beside it, so that a fault cannot replace the build's.
void TestCli::reportOverRunFiles()
{
    QFETCH(QString, shell);
    QFETCH(QString, file);
    QFETCH(QByteArray, message);
    QTemporaryDir root;
    const QString program = root.filePath("bin/kiila-calc");
    const QString modules = QFileInfo(QStringLiteral(KIILA_CALC)).absolutePath() + "/../lib";
    QVERIFY(QDir(root.path()).mkdir("bin"));
    QVERIFY(QFile::copy(KIILA_CALC, program));
    QVERIFY(QFile::link(modules, root.filePath("lib")));
    for (const char *name : {"rows.csv", "english.txt"}) {
        QFile rows(root.filePath("bin/") + name);
        QVERIFY(rows.open(QIODevice::WriteOnly));
        rows.write(designRows(2)); // lines enough for a language file
    }
    const auto before = folderState(root.filePath("bin"));

    const Run run = kiilaCalc({"-c", shell, program, root.filePath("bin/" + file)}, {},
                              QStringLiteral("/bin/sh"));
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY2(run.err.contains(message), run.err.constData());
    QCOMPARE(folderState(root.filePath("bin")), before);
}

// Without the font the report is written in, every character would be a box: the report is
// refused, naming the font, and no file is written.
void TestCli::reportWithoutFont()
{
    QTemporaryDir dir;
    QFile config(dir.filePath("fonts.conf"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                 "<fontconfig><cachedir>" +
                 QFile::encodeName(dir.filePath("cache")) + "</cachedir></fontconfig>\n");
    config.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("FONTCONFIG_FILE", config.fileName());
    const QString pdf = dir.filePath("r.pdf");

    const Run run = kiilaCalc({"--arrangement", "1", "--report", pdf}, {},
                              QStringLiteral(KIILA_CALC), environment);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err, QByteArray("kiila-calc: --report: the font 'Liberation Sans', which the "
                                 "report is written in, is not installed\n"));
    QVERIFY(!QFile::exists(pdf));
}

// kiila-calc --save writes the design of the options, and --design reads it back into the same
// design: the same output as the options gave. The file keeps the texts as they were given; an
// omitted input the arrangement uses is saved as "0", one it does not use as an empty field.
void TestCli::designRoundTrip_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QJsonObject>("saved"); // the file's inputs

    const QStringList loads{"--nsd", "3", "--v1d", "2"};
    QTest::newRow("1") << QStringList{"--arrangement", "1", "--c1", "200", "--c2", "150"} + loads
                       << QJsonObject{{"c1", "200"}, {"c2", "150"}, {"s1", ""}, {"s2", ""},
                                      {"nsd", "3"},  {"v1d", "2"},  {"e1", ""}, {"e2", ""}};
    QTest::newRow("2, cracked, texts as given")
        << QStringList{"--arrangement", "2",    "--cracked", "--c1", " 100 ", "--c2",
                       "1e2",           "--s1", "150",       "--e1", "&H14"} +
               loads
        << QJsonObject{{"c1", " 100 "}, {"c2", "1e2"}, {"s1", "150"},  {"s2", ""},
                       {"nsd", "3"},    {"v1d", "2"},  {"e1", "&H14"}, {"e2", ""}};
    QTest::newRow("3, omitted input")
        << QStringList{"--arrangement", "3", "--c1", "300", "--c2", "300", "--s1", "120"} + loads
        << QJsonObject{{"c1", "300"}, {"c2", "300"}, {"s1", "120"}, {"s2", ""},
                       {"nsd", "3"},  {"v1d", "2"},  {"e1", "0"},   {"e2", ""}};
    for (const char *n : {"4", "5"})
        QTest::newRow(n) << QStringList{"--arrangement", n,      "--c1", "400",  "--c2",
                                        "350",           "--s2", "170",  "--e2", "5"} +
                                loads
                         << QJsonObject{{"c1", "400"}, {"c2", "350"}, {"s1", ""}, {"s2", "170"},
                                        {"nsd", "3"},  {"v1d", "2"},  {"e1", ""}, {"e2", "5"}};
    for (const char *n : {"6", "7"})
        QTest::newRow(n) << QStringList{"--arrangement", n,      "--c1", "400",  "--c2",
                                        "350",           "--s1", "160",  "--s2", "170",
                                        "--e1",          "10",   "--e2", "5"} +
                                loads
                         << QJsonObject{{"c1", "400"}, {"c2", "350"}, {"s1", "160"}, {"s2", "170"},
                                        {"nsd", "3"},  {"v1d", "2"},  {"e1", "10"},  {"e2", "5"}};
    QTest::newRow("stopped at the edge")
        << QStringList{"--arrangement", "1", "--c1", "40", "--c2", "200"}
        << QJsonObject{{"c1", "40"}, {"c2", "200"}, {"s1", ""}, {"s2", ""},
                       {"nsd", "0"}, {"v1d", "0"},  {"e1", ""}, {"e2", ""}};
}

void TestCli::designRoundTrip()
{
    QFETCH(QStringList, options);
    QFETCH(QJsonObject, saved);
    QTemporaryDir dir;
    const QString path = dir.filePath("d.kiila");
    const QStringList asJson{"--lang", "none", "--json"};
    const Run direct = kiilaCalc(options + asJson);
    QCOMPARE(direct.exitCode, 0);

    const Run save = kiilaCalc(options + asJson + QStringList{"--save", path});
    QCOMPARE(save.exitCode, 0);
    QCOMPARE(save.err, QByteArray());
    QCOMPARE(save.out, direct.out);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject o = json(file.readAll());
    QCOMPARE(o["format"].toString(), "kiila-design");
    QCOMPARE(o["arrangement"].toInt(), options[1].toInt());
    QCOMPARE(o["cracked"].toBool(), options.contains("--cracked"));
    QCOMPARE(o["inputs"].toObject(), saved);
    QCOMPARE(o["project"].toString(), QString());

    const Run open = kiilaCalc(QStringList{"--design", path} + asJson);
    QCOMPARE(open.exitCode, 0);
    QCOMPARE(open.err, QByteArray());
    QCOMPARE(open.out, direct.out);
    // The summary too.
    QCOMPARE(kiilaCalc({"--design", path, "--lang", "none"}).out,
             kiilaCalc(options + QStringList{"--lang", "none"}).out);
}

void TestCli::echoAsSaved_data()
{
    QTest::addColumn<int>("arrangement");
    for (int n = 1; n <= 7; ++n)
        QTest::addRow("arrangement %d", n) << n;
}

// Every output echoes the inputs as the calculation used them, as --save keeps them: an input
// the arrangement does not use, given or not, is null in JSON (its working value in --details
// too), "-" in the summary and an empty cell in CSV.
void TestCli::echoAsSaved()
{
    QFETCH(int, arrangement);
    QTemporaryDir dir;
    const QString path = dir.filePath("d.kiila");
    const QStringList options{"--arrangement", QString::number(arrangement),
                              "--c1",          "2000",
                              "--c2",          "1800",
                              "--s1",          "160",
                              "--s2",          "170",
                              "--nsd",         "3",
                              "--v1d",         "2",
                              "--e1",          "10",
                              "--e2",          "5",
                              "--lang",        "none"};
    const Run run = kiilaCalc(options + QStringList{"--json", "--details", "--save", path});
    QCOMPARE(run.exitCode, 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject saved = json(file.readAll())["inputs"].toObject();
    const QJsonObject o = json(run.out);
    const QJsonArray sizes = o["sizes"].toArray();
    QVERIFY(!sizes.isEmpty());
    const QByteArray summary = kiilaCalc(options).out;
    const Run csv =
        kiilaCalc({"--csv", "-", "--lang", "none"}, "arrangement,c1,c2,s1,s2,nsd,v1d,e1,e2\n" +
                                                        QByteArray::number(arrangement) +
                                                        ",2000,1800,160,170,3,2,10,5\n");
    const QList<QByteArray> cells = csv.out.split('\n').value(1).split(',');

    const QStringList keys{"c1", "c2", "s1", "s2", "nsd", "v1d", "e1", "e2"};
    const QStringList labels{"C1", "C2", "S1", "S2", "NSd", "V1d", "e1", "e2"};
    const QMap<QString, QString> working{{"c1", "C1calc"}, {"c2", "C2calc"}, {"s1", "S1calc"},
                                         {"s2", "S2calc"}, {"e1", "e1Calc"}, {"e2", "e2Calc"}};
    int unused = 0;
    for (int i = 0; i < keys.size(); ++i) {
        const QString &key = keys[i];
        const QString given = options[options.indexOf("--" + key) + 1];
        const bool used = !saved[key].toString().isEmpty();
        unused += !used;
        QCOMPARE(o["input"][key].isNull(), !used);
        if (used)
            QCOMPARE(o["input"][key].toDouble(), given.toDouble());
        if (working.contains(key))
            for (const QJsonValue size : sizes)
                QCOMPARE(size["details"][working[key]].isNull(), !used);
        const QString echo = labels[i] + (used ? " " + given + " " : QString(" -"));
        QVERIFY2(summary.contains(echo.toUtf8()), summary.constData());
        QCOMPARE(cells.value(2 + i).isEmpty(), !used); // after arrangement and cracked
    }
    // Arrangement 1 uses neither spacing nor eccentricity, 6 and 7 every input.
    constexpr int Unused[] = {4, 2, 2, 2, 2, 0, 0};
    QCOMPARE(unused, Unused[arrangement - 1]);
}

// The fields of a design file are read as the program's fields are read when it calculates:
// the number a text begins with ("12abc" is 12, blanks are skipped, a text without a number
// is 0); the fields the arrangement does not use are left out (null), as the window disables
// them.
void TestCli::designFields_data()
{
    QTest::addColumn<int>("arrangement");
    QTest::addColumn<QJsonObject>("inputs");
    QTest::addColumn<QJsonObject>("read"); // the inputs kiila-calc calculated with

    const QJsonValue unused; // null
    QTest::newRow("numbers as typed")
        << 2 << QJsonObject{{"c1", "120,0"}, {"c2", " 1 5 0 "}, {"s1", "  "},
                            {"nsd", "&H0A"}, {"v1d", "2,5"},    {"e1", "1D2"}}
        << QJsonObject{{"c1", 120}, {"c2", 150},  {"s1", 0},   {"s2", unused},
                       {"nsd", 10}, {"v1d", 2.5}, {"e1", 100}, {"e2", unused}};
    QTest::newRow("unused fields left out")
        << 1 << QJsonObject{{"c1", "200"}, {"c2", "200"}, {"s1", "150"}, {"s2", "150"},
                            {"nsd", "3"},  {"v1d", "2"},  {"e1", "30"},  {"e2", "40"}}
        << QJsonObject{{"c1", 200}, {"c2", 200}, {"s1", unused}, {"s2", unused},
                       {"nsd", 3},  {"v1d", 2},  {"e1", unused}, {"e2", unused}};
    QTest::newRow("unused fields missing")
        << 4 << QJsonObject{{"c1", "200"}, {"c2", "200"}, {"s2", "150"},
                            {"nsd", "3"},  {"v1d", "2"},  {"e2", "0"}}
        << QJsonObject{{"c1", 200}, {"c2", 200}, {"s1", unused}, {"s2", 150},
                       {"nsd", 3},  {"v1d", 2},  {"e1", unused}, {"e2", 0}};
}

void TestCli::designFields()
{
    QFETCH(int, arrangement);
    QFETCH(QJsonObject, inputs);
    QFETCH(QJsonObject, read);
    QTemporaryDir dir;
    const QString path = designFile(dir.filePath("d.kiila"), arrangement, inputs);
    const Run run = kiilaCalc({"--design", path, "--json"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(json(run.out)["input"].toObject(), read);
}

// A design file that cannot be calculated gives one line naming the file and what is wrong,
// as for a bad value: exit 2, nothing on stdout, and no --save file.
void TestCli::brokenDesign_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("message"); // after "'<file>': "

    const QJsonObject full{{"c1", "200"}, {"c2", "200"}, {"nsd", "3"}, {"v1d", "2"}};
    QJsonObject empty = full;
    empty["c2"] = "";
    QJsonObject missing = full;
    missing.remove("v1d");
    const auto file = [](int arrangement, const QJsonObject &inputs) {
        return QJsonDocument(QJsonObject{{"format", "kiila-design"},
                                         {"version", 1},
                                         {"arrangement", arrangement},
                                         {"cracked", true},
                                         {"inputs", inputs}})
            .toJson();
    };
    QTest::newRow("empty field") << file(1, empty)
                                 << QByteArray(
                                        "the input c2 (C2) is empty, and arrangement 1 uses it");
    QTest::newRow("missing field")
        << file(1, missing) << QByteArray("the input v1d (V1d) is empty");
    QTest::newRow("spacing of a row missing")
        << file(2, full) << QByteArray("the input s1 (S1) is empty, and arrangement 2 uses it");
    QTest::newRow("truncated") << file(1, full).left(40) << QByteArray("it is not JSON");
    // The program's field would hold its first 32767 characters, "100" and blanks: 100.
    QJsonObject long1 = full;
    long1["c1"] = "100" + QString(40000, u' ') + "e-2";
    QTest::newRow("field longer than the program's")
        << file(1, long1)
        << QByteArray("the input \"c1\" is a text of 40006 characters, longer than the 32767 a "
                      "field holds");
    QTest::newRow("newer version") << file(1, full).replace("\"version\": 1", "\"version\": 3")
                                   << QByteArray("it is of version 3, written by a newer Kiila");
}

void TestCli::brokenDesign()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, message);
    QTemporaryDir dir;
    const QString path = dir.filePath("broken.kiila");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    const Run run = kiilaCalc({"--design", path, "--save", dir.filePath("copy.kiila")});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY2(run.err.contains("'" + QFile::encodeName(path) + "': " + message),
             run.err.constData());
    QVERIFY(!QFile::exists(dir.filePath("copy.kiila")));
}

// The project name of a design file goes onto its report page and into its copy; --project
// takes its place.
void TestCli::designProject()
{
    QTemporaryDir dir;
    const QJsonObject inputs{{"c1", "200"}, {"c2", "200"}, {"s1", ""}, {"s2", ""},
                             {"nsd", "3"},  {"v1d", "2"},  {"e1", ""}, {"e2", ""}};
    const QString path = designFile(dir.filePath("d.kiila"), 1, inputs, "Hall B");
    const QString copy = dir.filePath("copy.kiila");
    const QString pdf = dir.filePath("d.pdf");
    QCOMPARE(kiilaCalc({"--design", path, "--report", pdf, "--save", copy}).exitCode, 0);
    QVERIFY2(pageText(pdf, 1).contains("Hall B"), qPrintable(pageText(pdf, 1)));
    QFile saved(copy);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QFile original(path);
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(json(saved.readAll()), json(original.readAll()));

    QCOMPARE(kiilaCalc({"--design", path, "--report", pdf, "--project", "Pier 4", "--save", copy})
                 .exitCode,
             0);
    QVERIFY(pageText(pdf, 1).contains("Pier 4"));
    QVERIFY(!pageText(pdf, 1).contains("Hall B"));
    saved.close();
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(json(saved.readAll())["project"].toString(), "Pier 4");

    // A name too long for the report's line is the file's fault, not --project's.
    designFile(path, 1, inputs, QString(300, u'W'));
    const Run tooLong = kiilaCalc({"--design", path, "--report", pdf});
    QCOMPARE(tooLong.exitCode, 2);
    QVERIFY2(tooLong.err.startsWith("kiila-calc: --design: the file's project name does not fit"),
             tooLong.err.constData());
}

void TestCli::fileNameNotUtf8_data()
{
    QTest::addColumn<QString>("option"); // the shell's words, "$1" the folder
    QTest::addColumn<int>("exitCode");
    const QString bad = QStringLiteral("\"$1/$(printf 'bad\\377.out')\"");
    QTest::newRow("--save") << "--save " + bad << 2;
    QTest::newRow("--save=") << "--save=" + bad << 2;
    QTest::newRow("--report") << "--report " + bad << 2;
    QTest::newRow("--design") << "--design " + bad << 2;
    QTest::newRow("--csv") << "--csv " + bad << 2;
    // U+FFFD given as itself (UTF-8) is a name like any other.
    QTest::newRow("a name that holds U+FFFD") << QStringLiteral("--save \"$1/bad\uFFFD.out\"") << 0;
}

// A file name that is not UTF-8 would reach the program with U+FFFD in place of its bytes: the
// file asked for would not be written, and one under the substituted name replaced. Such a name
// is refused before anything is read or written (exit 2, one line).
void TestCli::fileNameNotUtf8()
{
    QFETCH(QString, option);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    const QString substituted = dir.filePath(QStringLiteral("bad\uFFFD.out"));
    if (exitCode != 0) {
        QFile old(substituted);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    }
    const auto before = folderState(dir.path());
    const QString design = QStringLiteral("--arrangement 1 --c1 200 --c2 200 --nsd 3 ");
    const Run run =
        kiilaCalc({"-c", "\"$0\" " + (option.startsWith("--design") ? QString() : design) + option,
                   KIILA_CALC, dir.path()},
                  {}, QStringLiteral("/bin/sh"));
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0) {
        QVERIFY(QFileInfo(substituted).size() > 0);
        return;
    }
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY2(run.err.contains(": the file name is not valid UTF-8"), run.err.constData());
    QCOMPARE(folderState(dir.path()), before);
}

void TestCli::saveTargets_data()
{
    QTest::addColumn<Target>("target");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("message"); // on stderr; none when the design is saved

    const QByteArray sameFile("is the same file as the design '");
    QTest::newRow("new file") << Target::NewFile << 0 << QByteArray();
    QTest::newRow("link to a file") << Target::LinkToFile << 0 << QByteArray();
    QTest::newRow("the design read") << Target::Input << 2 << sameFile;
    QTest::newRow("the design through a link") << Target::LinkToInput << 2 << sameFile;
    QTest::newRow("the design through a hard link") << Target::HardLinkToInput << 2 << sameFile;
    QTest::newRow("named pipe") << Target::Fifo << 2
                                << QByteArray("is a named pipe, not a regular file");
    QTest::newRow("device") << Target::Device << 2
                            << QByteArray("is a character device, not a regular file");
    QTest::newRow("socket") << Target::Socket << 2 << QByteArray("is a socket, not a regular file");
    QTest::newRow("folder") << Target::Folder << 2 << QByteArray("is a folder, not a regular file");
    QTest::newRow("read-only folder") << Target::ReadOnlyFolder << 3 << QByteArray("cannot write");
    QTest::newRow("file on a read-only file system")
        << Target::ReadOnlyFile << 3 << QByteArray(": Read-only file system\n");
    QTest::newRow("loop of links")
        << Target::LinkLoop << 2 << QByteArray("is a loop of symbolic links");
    QTest::newRow("full file system")
        << Target::FullDisk << 3 << QByteArray(": No space left on device");
}

// --save writes only where a regular file, or nothing, is, and never over a file the run
// reads: what is refused is refused before anything is written (exit 2), a write that cannot
// be completed (exit 3) leaves neither the file nor a piece of it, and in both nothing is
// calculated. A saved design opens again.
void TestCli::saveTargets()
{
    QFETCH(Target, target);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);
    QTemporaryDir dir;
    const QString input = designFile(dir.filePath("in.kiila"), 1,
                                     {{"c1", "200"}, {"c2", "200"}, {"nsd", "3"}, {"v1d", "2"}});
    const OutputTarget place(target, dir.path(), input);
    if (!place.skip().isEmpty())
        QSKIP(qPrintable(place.skip()));
    QVERIFY2(place.error().isEmpty(), qPrintable(place.error()));
    const auto before = folderState(place.folder());

    // A name larger than the full file system takes.
    const QStringList design{"--design", input, "--project", QString(40 * 1024, u'x'), "--json"};
    const Run run = kiilaCalc(design + QStringList{"--save", place.path()});
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0) {
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.out, kiilaCalc({"--design", input, "--json"}).out);
        QCOMPARE(kiilaCalc({"--design", place.path(), "--json"}).out, run.out);
        if (target == Target::LinkToFile)
            QCOMPARE(QFile::symLinkTarget(place.path()), dir.filePath("old.pdf"));
        return;
    }
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY2(run.err.contains(message), run.err.constData());
    QCOMPARE(folderState(place.folder()), before);
}

// A table of one load case gives what the loads given by options give, in every output.
void TestCli::oneCaseAsBefore_data()
{
    QTest::addColumn<QStringList>("format");
    QTest::newRow("summary") << QStringList{};
    QTest::newRow("json") << QStringList{"--json"};
    QTest::newRow("details") << QStringList{"--details"};
    QTest::newRow("json details") << QStringList{"--json", "--details"};
}

void TestCli::oneCaseAsBefore()
{
    QFETCH(QStringList, format);
    const QStringList geometry{"--arrangement", "6",   "--c1", "300", "--c2",   "300",
                               "--s1",          "200", "--s2", "200", "--lang", "none"};
    const Run options = kiilaCalc(
        geometry + format + QStringList{"--nsd", "5", "--v1d", "3", "--e1", "30", "--e2", "20"});
    const Run cases = kiilaCalc(geometry + format + QStringList{"--cases", "-"},
                                "e2,name,nsd,v1d,e1\n20,Only,5,3,30\n");
    QCOMPARE(options.exitCode, 0);
    QCOMPARE(cases.exitCode, 0);
    QCOMPARE(cases.out, options.out);
    QCOMPARE(cases.err, QByteArray());
}

// Three cases on a row of two (cracked, C1 = C2 = 100, S1 = 150): the tension case fails M8,
// the shear case fails M8 and M10 and governs; M12 carries all three.
const QByteArray ThreeCases = "name,nsd,v1d,e1,e2\nMax N,3,0,0,0\nMax V,1,2,0,0\nUplift,-2,1,0,0\n";
const QStringList RowOfTwo{"--arrangement", "2",   "--cracked", "--c1", "100",
                           "--c2",          "100", "--s1",      "150"};

void TestCli::severalCases()
{
    const Run text =
        kiilaCalc(RowOfTwo + QStringList{"--lang", "none", "--cases", "-"}, ThreeCases);
    QCOMPARE(text.exitCode, 0);
    QVERIFY2(text.out.contains("1 Max N               3         0         0         1.304 tension  "
                               "0.882          0.677\n"
                               "2 Max V               1         2         0         1.739 shear *  "
                               "1.176 shear *  0.903 *\n"),
             text.out);
    QVERIFY(text.out.contains("governing case        2         2         2\n"));
    QVERIFY(text.out.contains("2 kpl  Kalvex M 12\n"));
    QVERIFY(text.out.endsWith("governing case: 2 Max V (2 of 3)\n\n"));

    const Run run = kiilaCalc(RowOfTwo + QStringList{"--json", "--cases", "-"}, ThreeCases);
    const QJsonObject o = json(run.out);
    QCOMPARE(o["chosen"]["size"].toString(), "M12");
    QCOMPARE(o["governingCase"].toInt(), 2);
    QVERIFY(o["input"]["nsd"].isNull());
    const QJsonArray cases = o["cases"].toArray();
    QCOMPARE(cases.size(), 3);
    QCOMPARE(cases[0]["name"].toString(), "Max N");
    QCOMPARE(cases[0]["sizes"][0]["outcome"].toString(), "tension");
    QCOMPARE(cases[2]["nsd"].toDouble(), -2.0);
    QCOMPARE(cases[2]["e2"], QJsonValue()); // a row of two has no e2
    for (int size = 0; size < 3; ++size) {
        QCOMPARE(o["sizes"][size]["governingCase"].toInt(), 2);
        // Each size shows the governing case's own row.
        QCOMPARE(o["sizes"][size]["utilization"], cases[1]["sizes"][size]["utilization"]);
    }
    // No size suffices: the case that failed M16 governs.
    const Run advice =
        kiilaCalc({"--arrangement", "1", "--c1", "200", "--c2", "200", "--json", "--cases", "-"},
                  "name,nsd\nsmall,1\nlarge,50\n");
    QCOMPARE(json(advice.out)["outcome"].toString(), "advice");
    QCOMPARE(json(advice.out)["governingCase"].toInt(), 2);
}

void TestCli::severalCasesReport_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("casesTitle");
    QTest::newRow("English") << "eng"
                             << "Governing case: Max V (2 of 3)"
                             << "Load cases 1 to 3 of 3: utilisation per size";
    QTest::newRow("Finnish") << "fin"
                             << "Mitoittava kuormitustapaus: Max V (2/3)"
                             << "Kuormitustapaukset 1–3 / 3: käyttöaste koon mukaan";
}

// The report page shows the governing case and its loads; the details page the working of the
// case each size shows, and a page of the cases follows it.
void TestCli::severalCasesReport()
{
    QFETCH(QString, lang);
    QFETCH(QString, line);
    QFETCH(QString, casesTitle);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("cases.pdf");
    const QStringList design = RowOfTwo + QStringList{"--lang", lang, "--cases", "-"};
    const Run run = kiilaCalc(design + QStringList{"--report", pdf, "--details"}, ThreeCases);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(pageCount(pdf), 3);
    const QString report = pageText(pdf, 1);
    QVERIFY2(report.contains(line), qPrintable(report));
    // NSd 1 and V1d 2 of the governing case beside their captions; e1 0.
    QVERIFY2(QRegularExpression("\\(kN\\) 1 .*\\(kN\\) 2 .*\\(mm\\) 0").match(report).hasMatch(),
             qPrintable(report));
    QVERIFY(report.contains("2 kpl Kalvex M 12") || report.contains("2 pcs Kalvex M 12"));
    const QString details = pageText(pdf, 2);
    QVERIFY2(details.contains(line), qPrintable(details));
    // The working of the governing case: V1d 2 on one anchor at every size.
    QVERIFY2(details.contains("2 / 1.15 = 1.73913 *"), qPrintable(details));
    const QString cases = pageText(pdf, 3);
    QVERIFY2(cases.contains(casesTitle), qPrintable(cases));
    // The cells in the order of the rows: a line of text may hold a row or be split in columns.
    for (const char *cell :
         {"1 Max N", "2 Max V", "3 Uplift", "1.304", "1.739", "0.870", "0.882", "0.588", "0.452"})
        QVERIFY2(cases.contains(QLatin1String(cell)), qPrintable(cases));
    QVERIFY(cases.contains("0.903 *"));
}

// --save keeps the cases in the design file, and --design of it gives the same results; a case
// whose load the arrangement uses and that is not a number is refused, naming the case.
void TestCli::casesSavedAndOpened()
{
    QTemporaryDir dir;
    const QString saved = dir.filePath("cases.kiila");
    const Run run =
        kiilaCalc(RowOfTwo + QStringList{"--json", "--cases", "-", "--save", saved}, ThreeCases);
    QCOMPARE(run.exitCode, 0);
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject contents = json(file.readAll());
    QCOMPARE(contents["version"].toInt(), 2);
    QCOMPARE(contents["cases"].toArray().size(), 3);
    QCOMPARE(contents["cases"][2]["nsd"].toString(), "-2");
    const Run reopened = kiilaCalc({"--design", saved, "--json"});
    QCOMPARE(reopened.exitCode, 0);
    QCOMPARE(reopened.out, run.out);

    QJsonObject broken = contents;
    QJsonArray cases = broken["cases"].toArray();
    QJsonObject second = cases[1].toObject();
    second["v1d"] = "2 kN";
    cases[1] = second;
    broken["cases"] = cases;
    const QString brokenPath = dir.filePath("broken.kiila");
    QFile out(brokenPath);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(QJsonDocument(broken).toJson());
    out.close();
    const Run refused = kiilaCalc({"--design", brokenPath});
    QCOMPARE(refused.exitCode, 2);
    QVERIFY2(refused.err.contains("the load case 2 'Max V': v1d (V1d): not a number: '2 kN'"),
             refused.err);
    // Cases given on the command line take the place of the file's.
    QCOMPARE(kiilaCalc({"--design", brokenPath, "--json", "--cases", "-"}, ThreeCases).out,
             run.out);
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
