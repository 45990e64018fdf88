// A file that fills the disk is reported with the system's reason, wherever in the file's writes
// the disk becomes full: within one large write, in the buffer a small write leaves for later,
// or in the last flush.

#include "outfile/outfile.h"
#include "outputtargets.h"

#include <QtTest>

class TestOutFile : public QObject
{
    Q_OBJECT

private slots:
    void fullDiskGivesItsReason_data();
    void fullDiskGivesItsReason();
};

void TestOutFile::fullDiskGivesItsReason_data()
{
    // The sizes of the writes, in turn, onto a file system of 32 KiB.
    QTest::addColumn<QList<int>>("writes");
    QTest::newRow("one large write") << QList<int>{100000};
    QTest::newRow("buffered, then a large one") << QList<int>{6000, 21000, 13000, 8000};
    QTest::newRow("small writes") << QList<int>(200, 1000);
    QTest::newRow("the rest in the last flush") << QList<int>{30000, 5000};
}

void TestOutFile::fullDiskGivesItsReason()
{
    QFETCH(QList<int>, writes);
    const TestMount disk("32k", false);
    if (!disk.mounted())
        QSKIP(qPrintable(disk.error()));
    const QString path = disk.path() + QStringLiteral("/out.pdf");
    outfile::OutputFile file(path);
    QVERIFY(file.start());
    for (int size : writes)
        file.device()->write(QByteArray(size, 'x'));
    QVERIFY(!file.finish());
    QCOMPARE(file.failure(), QString::fromLocal8Bit(std::strerror(ENOSPC)));
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestOutFile)
#include "tst_outfile.moc"
