// The data sheet's product table: whole rows against the product data, the rules that hold
// between the columns of every row, and indices outside the table.

#include "product/sheettable.h"

#include <QtTest>

#include <climits>

using product::ColumnCount;
using product::entry;
using product::RowCount;
using product::SizeCount;

namespace {

// One row as the sheet shows it, the entries in the order of Columns joined by "|".
QString row(int sizeIndex, int row)
{
    QStringList entries;
    for (int column = 0; column < ColumnCount; ++column)
        entries << QString::fromUtf8(entry(sizeIndex, row, column));
    return entries.join(u'|');
}

int column(const char *array)
{
    for (int c = 0; c < ColumnCount; ++c)
        if (qstrcmp(product::Columns[c].array, array) == 0)
            return c;
    qFatal("no column %s", array);
}

} // namespace

class TestSheetTable : public QObject
{
    Q_OBJECT

private slots:
    void columnOrder();
    void rows_data();
    void rows();
    void rowsAgreeWithThemselves();
    void wholeTable();
    void outsideTheTable_data();
    void outsideTheTable();
};

void TestSheetTable::columnOrder()
{
    QStringList arrays;
    for (const product::Column &c : product::Columns)
        arrays << QString::fromLatin1(c.array);
    QCOMPARE(arrays.join(u' '), "koko xtr xtrd xtrk xtrkd xtrh d0 f h1 hnom l tfix tinst");
}

void TestSheetTable::rows_data()
{
    // koko|X-TR|X-TR D|R-UZI|R-UZI D|R-IZU|d0|f|h1|hnom|l|tfix|tinst
    QTest::addColumn<int>("sizeIndex");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("entries");
    QTest::newRow("M8 short variant") << 1 << 1 << "8x50|00110||02110||04110|8|25|45|40|50|2|18";
    QTest::newRow("M8 row 5, no R-IZU") << 1 << 5 << "8/85|00118||02118|||8|92|65|55|150|85|18";
    QTest::newRow("M8 row 6 empty") << 1 << 6 << "||||||||||||";
    QTest::newRow("M10 short variant") << 2 << 1 << "10x60|00130||02130||04130|10|28|50|40|60|3|30";
    QTest::newRow("M10 10/25, D variants only")
        << 2 << 3 << "10/25||00134||02134||10|37|70|60|95|25|30";
    QTest::newRow("M10 all five variants")
        << 2 << 5 << "10/55|00137|00138|02137|02138|04138|10|67|70|60|125|55|30";
    QTest::newRow("M12 first row") << 3 << 1 << "12/5|00150||02150||04150|12|35|80|70|85|5|54";
    QTest::newRow("M12 f falls to 46")
        << 3 << 5 << "12/105|00157|00158|02157|02158||12|46|80|70|185|105|54";
    QTest::newRow("M12 last row, D variants only")
        << 3 << 6 << "12/155||00160||02160||12|46|80|70|235|155|54";
    QTest::newRow("M16 short variant, X-TR only")
        << 4 << 1 << "16x90|00169|||||16|45|80|70|90|3|100";
    QTest::newRow("M16 D numbers below the plain ones")
        << 4 << 4 << "16/45|00173|00172|02173|02172|04172|16|76|105|95|150|45|120";
    QTest::newRow("M16 f falls to 55") << 4 << 5 << "16/70|00175||02175|||16|55|105|95|175|70|120";
    QTest::newRow("M16 last row") << 4 << 6
                                  << "16/95|00176|00174|02176|02174||16|55|105|95|200|95|120";
}

void TestSheetTable::rows()
{
    QFETCH(int, sizeIndex);
    QFETCH(int, row);
    QFETCH(QString, entries);
    QCOMPARE(::row(sizeIndex, row), entries);
}

// Rules that hold in every filled row of the product data; a value typed into the wrong
// column or row breaks one of them.
void TestSheetTable::rowsAgreeWithThemselves()
{
    const int koko = column("koko"), xtr = column("xtr"), xtrd = column("xtrd"),
              xtrk = column("xtrk"), xtrkd = column("xtrkd"), xtrh = column("xtrh"),
              d0 = column("d0"), l = column("l"), tfix = column("tfix");
    int filled = 0;
    for (int size = 1; size <= SizeCount; ++size) {
        for (int r = 1; r <= RowCount; ++r) {
            const auto at = [&](int c) { return QString::fromUtf8(entry(size, r, c)); };
            const QString name = QStringLiteral("size %1 row %2").arg(size).arg(r);
            if (at(koko).isEmpty()) {
                QCOMPARE(row(size, r), QString(ColumnCount - 1, u'|'));
                continue;
            }
            ++filled;
            // "8/10": diameter and fixture thickness; "8x50": diameter and anchor length.
            const bool shortVariant = at(koko).contains(u'x');
            const QStringList parts = at(koko).split(shortVariant ? u'x' : u'/');
            QCOMPARE(parts.size(), 2);
            QVERIFY2(parts[0] == at(d0), qPrintable(name));
            QVERIFY2(parts[1] == at(shortVariant ? l : tfix), qPrintable(name));
            // Article numbers: X-TR and X-TR D are 00nnn, R-UZI and R-UZI D the same nnn as
            // 02nnn, R-IZU 04nnn of the D variant where there is one.
            QVERIFY2(!at(xtr).isEmpty() || !at(xtrd).isEmpty(), qPrintable(name));
            for (auto [plain, uzi] : {std::pair{xtr, xtrk}, std::pair{xtrd, xtrkd}}) {
                if (!at(plain).isEmpty())
                    QVERIFY2(QRegularExpression("^00\\d{3}$").match(at(plain)).hasMatch(),
                             qPrintable(name));
                if (!at(uzi).isEmpty())
                    QVERIFY2(at(uzi) == "02" + at(plain).mid(2), qPrintable(name));
            }
            if (!at(xtrh).isEmpty()) {
                const QString base = at(xtrd).isEmpty() ? at(xtr) : at(xtrd);
                QVERIFY2(at(xtrh) == "04" + base.mid(2), qPrintable(name));
            }
            // The values are whole numbers.
            for (int c = d0; c < ColumnCount; ++c) {
                bool number = false;
                at(c).toInt(&number);
                QVERIFY2(number, qPrintable(name));
            }
        }
    }
    QCOMPARE(filled, 23); // M8 has five variants, the other sizes six
}

// Every entry at once: the digest of the 24 rows as above, each ending with a line feed, taken
// from the product data independently of this table.
void TestSheetTable::wholeTable()
{
    QString all;
    for (int size = 1; size <= SizeCount; ++size)
        for (int r = 1; r <= RowCount; ++r)
            all += row(size, r) + u'\n';
    QCOMPARE(QCryptographicHash::hash(all.toUtf8(), QCryptographicHash::Sha1).toHex(),
             "03cfc99d5620b0106869fde0a058b2f2be364c55");
}

void TestSheetTable::outsideTheTable_data()
{
    QTest::addColumn<int>("sizeIndex");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("size index 0") << 0 << 1 << 0;
    QTest::newRow("row 0") << 1 << 0 << 0;
    QTest::newRow("negative size index") << -1 << 1 << 0;
    QTest::newRow("size index 5") << 5 << 1 << 0;
    QTest::newRow("huge size index") << INT_MAX << 1 << 0;
    QTest::newRow("negative row") << 2 << -3 << 1;
    QTest::newRow("row 7") << 2 << 7 << 1;
    QTest::newRow("negative column") << 2 << 2 << -1;
    QTest::newRow("column 13") << 2 << 2 << 13;
    QTest::newRow("lowest column") << 4 << 6 << INT_MIN;
}

void TestSheetTable::outsideTheTable()
{
    QFETCH(int, sizeIndex);
    QFETCH(int, row);
    QFETCH(int, column);
    QCOMPARE(entry(sizeIndex, row, column), "");
}

QTEST_MAIN(TestSheetTable)
#include "tst_sheettable.moc"
