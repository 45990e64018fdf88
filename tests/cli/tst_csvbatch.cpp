// kiila-calc --csv over a long file: the output of a fixed, generated file of 10 000 rows stays
// the same byte for byte, however the rows are read, calculated and written.

#include <QCryptographicHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run kiilaCalc(const QStringList &arguments, const QByteArray &input,
              const QString &program = QStringLiteral(KIILA_CALC))
{
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// 10 000 rows from a fixed seed: designs of every arrangement with values that make every
// outcome, and among them what a real file holds at times: blank lines, CR LF, quoted cells
// with commas, quotes and line breaks, numbers in every written form, bad values, rows of the
// wrong length, bytes that are not UTF-8 and one row beyond the length limit.
QByteArray generatedRows()
{
    std::mt19937 random(20261211); // its sequence is the same on every platform
    const auto pick = [&random](unsigned n) { return unsigned(random() % n); };
    const auto decimal = [&](unsigned whole, unsigned tenths) {
        QByteArray text = QByteArray::number(pick(whole));
        if (pick(3) == 0)
            text += "." + QByteArray::number(pick(tenths));
        return text;
    };
    const QByteArray odd[] = {
        "",
        " 12 ",
        "1e2",
        "1E-3",
        "&H20",
        "-5",
        "0.1",
        "3,5",
        "abc",
        "12x",
        "\"7\"",
        "\"1,5\"",
        "\"a\"\"b\"",
        "\"2\n0\"",
        "1\xff",
        "1e400",
        "1e-400",
        "0.30000000000000004",
        "123456789012345678901",
        "   ",
        "\t8\t",
        "1D2",
    };
    // Every column, in an order of its own, blanks and capitals in the names.
    QByteArray rows = "e2, C1 ,arrangement,s1,nsd,cracked,c2,v1d,s2,e1\r\n";
    for (int i = 0; i < 10000; ++i) {
        const unsigned kind = pick(100);
        if (kind == 0) {
            rows += pick(2) ? "\n" : "\r\n"; // blank
            continue;
        }
        if (kind == 1) {
            rows += "1,2,3\n"; // too few fields
            continue;
        }
        if (i == 5000) {
            rows += QByteArray(70 * 1024, '9') + "\n"; // too long
            continue;
        }
        QByteArrayList cells;
        cells << decimal(60, 10);                                           // e2
        cells << decimal(900, 100);                                         // c1
        cells << QByteArray::number(1 + pick(7));                           // arrangement
        cells << decimal(400, 10);                                          // s1
        cells << decimal(30, 100);                                          // nsd
        cells << QByteArrayList{"0", "1", "yes", "no", "", "YES"}[pick(6)]; // cracked
        cells << decimal(900, 10);                                          // c2
        cells << decimal(20, 1000);                                         // v1d
        cells << decimal(400, 10);                                          // s2
        cells << decimal(60, 10);                                           // e1
        if (kind < 12)
            cells[pick(10)] = odd[pick(std::size(odd))];
        if (kind == 12)
            cells[2] = QByteArrayList{"0", "8", "2.5", "", "x"}[pick(5)];
        rows += cells.join(',') + (pick(4) == 0 ? "\r\n" : "\n");
    }
    return rows;
}

// kiila-calc started by bash, which first applies the redirections; the input comes from a
// file, so that a run that ends early does not leave it unread. Prints kiila-calc's exit status.
Run kiilaCalcRedirected(const QString &redirections, const QStringList &arguments,
                        const QByteArray &input)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("rows.csv"));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(input);
    file.close();
    return kiilaCalc(
        QStringList{"-c",
                    "trap '' PIPE; \"$0\" \"$@\" " + redirections + "; echo \"${PIPESTATUS[0]}\"",
                    KIILA_CALC, "--csv", file.fileName()} +
            arguments,
        {}, QStringLiteral("/bin/bash"));
}

QByteArray validRows(int count)
{
    QByteArray rows = "arrangement,c1,c2,s1,nsd\n";
    for (int i = 0; i < count; ++i)
        rows += QByteArray::number(1 + i % 7) + ",600,600," + QByteArray::number(100 + i % 200) +
                "," + QByteArray::number(i % 10) + "\n";
    return rows;
}

} // namespace

class TestCsvBatch : public QObject
{
    Q_OBJECT

private slots:
    void outputUnchanged_data();
    void outputUnchanged();
    void detailsWithJobs();
    void jobsRefused_data();
    void jobsRefused();
    void failuresAsWithOneJob_data();
    void failuresAsWithOneJob();
    void jobsKeepMemoryFlat_data();
    void jobsKeepMemoryFlat();
};

void TestCsvBatch::outputUnchanged_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("sha256");

    // The hashes of the output kiila-calc wrote when this test was made, and again when a comma
    // came to separate decimals (the cells "3,5" and "1,5" read as numbers, no longer refused)
    // and the JSON named each size's governing check ("governs"; without it the JSON hashes as
    // before), and when the inputs an arrangement does not use came to be echoed as empty
    // cells and null (compared cell by cell and object by object with the output before: the
    // only differences are those inputs of the rows that were calculated, 6609 of them), and
    // when the JSON's message titles came to be trimmed and its texts to break lines with "\n"
    // alone.
    QTest::newRow("CSV") << QStringList{"--csv", "-", "--lang", "none"}
                         << QByteArray(
                                "9e80f3d376817d030f9bee4256a6a5f24b76ca60d9cc90f9e5024a00cae223db");
    QTest::newRow("CSV, 2 jobs")
        << QStringList{"--csv", "-", "--lang", "none", "--jobs", "2"}
        << QByteArray("9e80f3d376817d030f9bee4256a6a5f24b76ca60d9cc90f9e5024a00cae223db");
    QTest::newRow("CSV, 5 jobs")
        << QStringList{"--csv", "-", "--lang", "none", "--jobs", "5"}
        << QByteArray("9e80f3d376817d030f9bee4256a6a5f24b76ca60d9cc90f9e5024a00cae223db");
    QTest::newRow("JSON, 3 jobs")
        << QStringList{"--csv", "-", "--lang", "none", "--json", "--jobs", "3"}
        << QByteArray("8f69c33dc08a4fe867740cdf761b64b2ef4b7d6ff1c93ad0c4d7463d1df47631");
    QTest::newRow("JSON")
        << QStringList{"--csv", "-", "--lang", "none", "--json"}
        << QByteArray("8f69c33dc08a4fe867740cdf761b64b2ef4b7d6ff1c93ad0c4d7463d1df47631");
}

void TestCsvBatch::outputUnchanged()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, sha256);
    const Run run = kiilaCalc(arguments, generatedRows());
    QCOMPARE(run.exitCode, 1); // some rows fail
    QCOMPARE(run.err, QByteArray());
    const QByteArray hash = QCryptographicHash::hash(run.out, QCryptographicHash::Sha256).toHex();
    if (hash != sha256) {
        // Kept for a look at what changed.
        QTemporaryDir dir;
        dir.setAutoRemove(false);
        QFile file(dir.filePath("output"));
        if (file.open(QIODevice::WriteOnly))
            file.write(run.out);
        qWarning() << "the output is in" << file.fileName();
    }
    QCOMPARE(hash, sha256);
}

// The working values come out of every job as out of one.
void TestCsvBatch::detailsWithJobs()
{
    const QStringList arguments{"--csv", "-", "--lang", "none", "--json", "--details"};
    const Run one = kiilaCalc(arguments, generatedRows());
    const Run two = kiilaCalc(arguments + QStringList{"--jobs", "2"}, generatedRows());
    QCOMPARE(one.exitCode, 1);
    QCOMPARE(two.exitCode, 1);
    QVERIFY(one.out.contains("\"details\": {"));
    QVERIFY(one.out == two.out);
}

void TestCsvBatch::jobsRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("none") << QStringList{"--csv", "-", "--jobs", "0"}
                          << QByteArray("--jobs: give a number from 1 to 256, not '0'");
    QTest::newRow("not a number") << QStringList{"--csv", "-", "--jobs", "two"}
                                  << QByteArray("--jobs: give a number from 1 to 256, not 'two'");
    QTest::newRow("too many") << QStringList{"--csv", "-", "--jobs", "257"}
                              << QByteArray("--jobs: give a number from 1 to 256, not '257'");
    QTest::newRow("with --report")
        << QStringList{"--csv", "-", "--jobs", "2", "--report", "out.pdf"}
        << QByteArray("--jobs goes with --csv without --report");
    QTest::newRow("single design")
        << QStringList{"--arrangement", "1", "--jobs", "2"} << QByteArray("--jobs goes with --csv");
}

// Wrong usage of --jobs: exit 2, one line on stderr, nothing read or written.
void TestCsvBatch::jobsRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    QTemporaryDir dir;
    arguments.replaceInStrings("out.pdf", dir.filePath("out.pdf"));
    const Run run = kiilaCalc(arguments, validRows(3));
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err, "kiila-calc: " + message + "\n");
    QVERIFY(!QFile::exists(dir.filePath("out.pdf")));
}

void TestCsvBatch::failuresAsWithOneJob_data()
{
    QTest::addColumn<QString>("jobs");
    QTest::addColumn<QString>("redirections");
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QByteArray>("message");

    for (const char *jobs : {"1", "2"}) {
        QTest::addRow("disk full, %s jobs", jobs)
            << jobs << ">/dev/full" << QByteArray("3")
            << QByteArray("kiila-calc: cannot write the output: No space left on device\n");
        // 128 + SIGPIPE, quietly.
        QTest::addRow("closed pipe, %s jobs", jobs)
            << jobs << "| head -c 100 >/dev/null" << QByteArray("141") << QByteArray();
        QTest::addRow("a row failed, %s jobs", jobs)
            << jobs << ">/dev/null" << QByteArray("1") << QByteArray();
    }
}

// A write that fails ends the run at once, and a reader that goes away ends it quietly, with
// rows still being calculated in other threads; a row that fails among many is reported by the
// exit status whichever job had it.
void TestCsvBatch::failuresAsWithOneJob()
{
    QFETCH(QString, jobs);
    QFETCH(QString, redirections);
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, message);
    QByteArray rows = validRows(20000);
    rows.insert(rows.indexOf("\n", rows.size() / 2) + 1, "1,x\n");
    const Run run = kiilaCalcRedirected(redirections, {"--jobs", jobs}, rows);
    QCOMPARE(run.out, status + "\n");
    QCOMPARE(run.err, message);
}

void TestCsvBatch::jobsKeepMemoryFlat_data()
{
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("300 000 rows") << validRows(300000) << 0;
    // In each chunk of 512 rows one of 65 000 commas, each time in another place: its fields
    // would stay with every place a chunk has (about 1 GB).
    QByteArray manyFields = validRows(0);
    const QByteArray rows = validRows(512).sliced(manyFields.size());
    for (int chunk = 0; chunk < 512; ++chunk) {
        qsizetype at = 0;
        for (int row = 0; row < chunk; ++row)
            at = rows.indexOf('\n', at) + 1;
        manyFields +=
            rows.left(at) + QByteArray(65000, ',') + '\n' + rows.sliced(rows.indexOf('\n', at) + 1);
    }
    QTest::newRow("a row of 65 000 fields in each chunk") << manyFields << 1;
}

// The reader stays a few chunks ahead of the jobs however long the input, and a record keeps no
// more fields than the header has: the memory of a run of 300 000 rows, or of rows of many
// fields, is far below what holding its rows or its output would take.
void TestCsvBatch::jobsKeepMemoryFlat()
{
#ifdef __SANITIZE_ADDRESS__
    QSKIP("AddressSanitizer keeps freed memory aside: the peak tells nothing of the chunks");
#endif
    QFETCH(QByteArray, rows);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    QFile file(dir.filePath("rows.csv"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(rows);
    file.close();
    // The peak of this run alone, as GNU time measures it: the test's own children's peak would
    // include the runs of the tests before.
    const Run run = kiilaCalc({"-c", "\"$0\" -f %M \"$@\" >/dev/null", "/usr/bin/time", KIILA_CALC,
                               "--csv", file.fileName(), "--jobs", "2"},
                              {}, QStringLiteral("/bin/sh"));
    bool ok = false;
    // (After the line of a non-zero exit status.)
    const int peakKiB = run.err.trimmed().split('\n').constLast().toInt(&ok);
    QVERIFY2(ok, run.err.constData());
    QVERIFY2(peakKiB < 60 * 1024, qPrintable(QString("%1 KiB").arg(peakKiB)));
    // GNU time gives the command's exit status as its own.
    QCOMPARE(run.exitCode, exitCode);
}

QTEST_GUILESS_MAIN(TestCsvBatch)
#include "tst_csvbatch.moc"
