#include "loadcases/loadcases.h"

#include <QtTest>

using design::LoadCase;

namespace {

// The cases as one line: "name nsd v1d e1 e2 | ...".
QString listed(const std::vector<LoadCase> &cases)
{
    QStringList rows;
    for (const LoadCase &c : cases)
        rows << QStringLiteral("%1 %2 %3 %4 %5")
                    .arg(QString::fromStdString(c.name))
                    .arg(c.loads.NSd)
                    .arg(c.loads.V1d)
                    .arg(c.loads.e1)
                    .arg(c.loads.e2);
    return rows.join(" | ");
}

} // namespace

class TestLoadCases : public QObject
{
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void refuses_data();
    void refuses();
    void tooManyCases();
    void roundTrip();
};

// What a CSV file (csv) or a block of pasted cells (cells) gives.
void TestLoadCases::reads_data()
{
    QTest::addColumn<bool>("csv");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("cases");

    QTest::addRow("csv") << true << QByteArray("name,nsd,v1d,e1,e2\nA,3,2,0,0\nB,1.5,4,20,30\n")
                         << "A 3 2 0 0 | B 1.5 4 20 30";
    QTest::addRow("csv, columns in another order, one left out")
        << true << QByteArray("V1D, NSd ,name,e1\r\n2,3,Uplift,10\r\n") << "Uplift 3 2 10 0";
    QTest::addRow("csv, mark, quotes, comma decimals, blank rows")
        << true
        << QByteArray("\xef\xbb\xbfname,nsd,v1d,e1,e2\r\n\r\n\"Max N, with V\",\"2,5\",1,,\r\n"
                      "\"say \"\"hi\"\"\",-1,0,0,0\r\n\r\n")
        << "Max N, with V 2.5 1 0 0 | say \"hi\" -1 0 0 0";
    QTest::addRow("cells with a header")
        << false << QByteArray("Name\tNSd\tV1d\te1\te2\r\nLC1\t3\t2\t0\t0\r\nLC2\t1\t1\t5\t5\r\n")
        << "LC1 3 2 0 0 | LC2 1 1 5 5";
    QTest::addRow("cells with a header of some columns")
        << false << QByteArray("nsd\tname\n4,25\tA\n") << "A 4.25 0 0 0";
    QTest::addRow("cells without a header, comma decimals")
        << false << QByteArray("LC1\t3,5\t2\t0\t0\nLC2\t0,75\t1,25\t12,5\t0\n")
        << "LC1 3.5 2 0 0 | LC2 0.75 1.25 12.5 0";
    QTest::addRow("cells without a header, short rows and empty cells beyond")
        << false << QByteArray("LC1\t3\nLC2\t1\t2\t\t\t\t\n\n") << "LC1 3 0 0 0 | LC2 1 2 0 0";
    QTest::addRow("cells: a quoted cell")
        << false << QByteArray("\"a \"\"b\"\"\"\t1\t2\t3\t4") << "a \"b\" 1 2 3 4";
}

void TestLoadCases::reads()
{
    QFETCH(bool, csv);
    QFETCH(QByteArray, text);
    QFETCH(QString, cases);
    QString error;
    const auto read = csv ? loadcases::fromCsv(text, error)
                          : loadcases::fromCells(QString::fromUtf8(text), error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(listed(*read), cases);
}

// A table that cannot be read is refused whole, with its row.
void TestLoadCases::refuses_data()
{
    QTest::addColumn<bool>("csv");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");

    QTest::addRow("broken row") << true
                                << QByteArray("name,nsd,v1d,e1,e2\nA,3,2,0,0\nB,5 kN,2,0,0\n")
                                << "row 3: nsd: not a number: '5 kN'";
    QTest::addRow("broken row after a blank one")
        << false << QByteArray("A\t1\t2\t3\t4\n\nB\t1\tx\t3\t4\n")
        << "row 3: v1d: not a number: 'x'";
    QTest::addRow("a thousand or one")
        << false << QByteArray("A\t1,000\n")
        << "row 1: nsd: '1,000' can be read as 1000 or as 1: write 1000 if the comma separates "
           "thousands, or 1.000 if it separates decimals";
    QTest::addRow("a load of two lines, quoted on one")
        << true << QByteArray("name,nsd\nA,\"1\n2 kN\"\n")
        << "row 2: nsd: not a number: '1\\n2 kN'";
    QTest::addRow("a long cell, cut") << false << QByteArray("A\t") + QByteArray(50, '7') + "x"
                                      << "row 1: nsd: not a number: '" + QString(40, u'7') + "…'";
    QTest::addRow("more cells than columns")
        << false << QByteArray("name\tnsd\nA\t1\t2\n") << "row 2: 3 cells, the table has 2 columns";
    QTest::addRow("name of two lines") << true << QByteArray("name,nsd\n\"A\nB\",1\n")
                                       << "row 2: the name is not one line of text";
    QTest::addRow("name too long") << false << QByteArray(101, 'x') + "\t1"
                                   << "row 1: the name is longer than 100 characters";
    QTest::addRow("quote not closed")
        << true << QByteArray("name,nsd\n\"A,1\n") << "row 2: a quote is not closed";
    QTest::addRow("no header") << true << QByteArray("\n\n") << "no header row";
    QTest::addRow("unknown column")
        << true << QByteArray("name,nsd,comment\n")
        << "row 1: unknown column 'comment'; the columns are name, nsd, v1d, e1 and e2";
    QTest::addRow("column twice") << true << QByteArray("nsd,NSD\n1,2\n")
                                  << "row 1: column 'nsd' twice";
    QTest::addRow("header only") << true << QByteArray("name,nsd\n") << "no cases";
    QTest::addRow("nothing pasted") << false << QByteArray("\t\n") << "no cases";
    QTest::addRow("not UTF-8") << true << QByteArray("name\n\xff\n") << "not UTF-8 text";
}

void TestLoadCases::refuses()
{
    QFETCH(bool, csv);
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    QString why;
    const auto read =
        csv ? loadcases::fromCsv(text, why) : loadcases::fromCells(QString::fromUtf8(text), why);
    QVERIFY(!read);
    QCOMPARE(why, error);
}

void TestLoadCases::tooManyCases()
{
    QByteArray text = "name,nsd\n";
    for (int i = 1; i <= loadcases::MaxCases; ++i)
        text += "LC" + QByteArray::number(i) + "," + QByteArray::number(i) + "\n";
    QString error;
    QCOMPARE(loadcases::fromCsv(text, error).value().size(), std::size_t(loadcases::MaxCases));
    text += "one more,1\n";
    QVERIFY(!loadcases::fromCsv(text, error));
    QCOMPARE(error, QStringLiteral("row 1002: more than 1000 cases"));
    QVERIFY(!loadcases::fromCsv(QByteArray(loadcases::MaxFileSize + 1, '\n'), error));
    QCOMPARE(error, QStringLiteral("larger than 1024 KiB"));
}

// What is written reads back as it was, exactly.
void TestLoadCases::roundTrip()
{
    const std::vector<LoadCase> cases{
        {"Max N, with V", {0.1 + 0.2, 2.7000000000000006, -3, 1e-300}},
        {"say \"hi\", then go", {1e300, 0, 9, -0.5}},
        {"Yläpuoli ÄÖ", {5, 4, 3, 2}},
        {"", {0, 0, 0, 0}},
    };
    QString error;
    const QByteArray csv = loadcases::toCsv(cases);
    QVERIFY(csv.startsWith("name,nsd,v1d,e1,e2\r\n\"Max N, with V\",0.30000000000000004,"));
    const auto fromCsv = loadcases::fromCsv(csv, error);
    QVERIFY2(fromCsv, qPrintable(error));
    QVERIFY(*fromCsv == cases);
    const auto fromCells = loadcases::fromCells(loadcases::toCells(cases), error);
    QVERIFY2(fromCells, qPrintable(error));
    QVERIFY(*fromCells == cases);
}

QTEST_APPLESS_MAIN(TestLoadCases)
#include "tst_loadcases.moc"
