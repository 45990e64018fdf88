#include "calc/numbers.h"
#include "numbertexts.h"

#include <QtTest>
#include <cmath>

#include <limits>

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void reading_data();
    void reading();
    void ambiguousReadings_data();
    void ambiguousReadings();
    void writtenForm_data();
    void writtenForm();
    void exactForm_data();
    void exactForm();
    void fixed_data();
    void fixed();
    void generalWithComma();
};

void TestNumbers::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("whole");

    const double max = std::numeric_limits<double>::max();
    QTest::newRow("empty") << QByteArray("") << 0.0 << false;
    QTest::newRow("blanks only") << QByteArray("   ") << 0.0 << false;
    QTest::newRow("integer") << QByteArray("250") << 250.0 << true;
    QTest::newRow("blanks around") << QByteArray("  12 \t") << 12.0 << true;
    QTest::newRow("blank between digits") << QByteArray("1 2") << 12.0 << true;
    QTest::newRow("line feed between digits") << QByteArray("1\n2.5") << 12.5 << true;
    QTest::newRow("trailing letters") << QByteArray("12abc") << 12.0 << false;
    QTest::newRow("a comma stops the prefix") << QByteArray("2,5") << 2.0 << false;
    QTest::newRow("negative") << QByteArray("-5") << -5.0 << true;
    QTest::newRow("sign after blank") << QByteArray(" - 5") << -5.0 << true;
    QTest::newRow("plus") << QByteArray("+7.25") << 7.25 << true;
    QTest::newRow("leading point") << QByteArray(".5") << 0.5 << true;
    QTest::newRow("trailing point") << QByteArray("5.") << 5.0 << true;
    QTest::newRow("point alone") << QByteArray(".") << 0.0 << false;
    QTest::newRow("sign alone") << QByteArray("-") << 0.0 << false;
    QTest::newRow("minus zero") << QByteArray("-0") << 0.0 << true;
    QTest::newRow("exponent") << QByteArray("1e3") << 1000.0 << true;
    QTest::newRow("exponent upper, signed") << QByteArray("2.5E-2") << 0.025 << true;
    QTest::newRow("D exponent") << QByteArray("3d2") << 300.0 << true;
    QTest::newRow("D exponent upper") << QByteArray("3D+1") << 30.0 << true;
    QTest::newRow("exponent without digits") << QByteArray("1e") << 1.0 << false;
    QTest::newRow("exponent sign without digits") << QByteArray("1e+x") << 1.0 << false;
    QTest::newRow("hexadecimal") << QByteArray("&H1F") << 31.0 << true;
    QTest::newRow("hexadecimal lower") << QByteArray("&hff") << 255.0 << true;
    QTest::newRow("octal") << QByteArray("&O17") << 15.0 << true;
    QTest::newRow("octal stops at 8") << QByteArray("&O78") << 7.0 << false;
    QTest::newRow("hex without digits") << QByteArray("&H") << 0.0 << false;
    QTest::newRow("letters first") << QByteArray("abc12") << 0.0 << false;
    QTest::newRow("too large") << QByteArray("1e400") << max << true;
    QTest::newRow("too large negative") << QByteArray("-9e999999999999") << -max << true;
    QTest::newRow("many digits too large") << QByteArray(QByteArray(400, '9')) << max << true;
    QTest::newRow("too small") << QByteArray("1e-400") << 0.0 << true;
    QTest::newRow("tiny fraction")
        << QByteArray("0.000" + QByteArray(400, '0') + "1") << 0.0 << true;
    QTest::newRow("huge hexadecimal") << QByteArray("&H" + QByteArray(300, 'F')) << max << true;
    QTest::newRow("non-ASCII stops") << QByteArray("5\xc3\xa4") << 5.0 << false;
    // Any number of digits and any exponent: the value is that of the whole text.
    QTest::newRow("100 000 digits times 1e-1000000")
        << QByteArray("1" + QByteArray(99999, '0') + "e-1000000") << 0.0 << true;
    QTest::newRow("a million leading zeros times 1e1000004")
        << QByteArray("0." + QByteArray(1000000, '0') + "1e1000004") << 1000.0 << true;
    QTest::newRow("400 digits times 1e-398")
        << QByteArray("1" + QByteArray(400, '0') + "e-398") << 100.0 << true;
    QTest::newRow("exponent of 30 digits") << QByteArray("1e" + QByteArray(30, '9')) << max << true;
    QTest::newRow("negative exponent of 30 digits")
        << QByteArray("1e-" + QByteArray(30, '9')) << 0.0 << true;
    QTest::newRow("exponent with 30 leading zeros")
        << QByteArray("25e-" + QByteArray(30, '0') + "1") << 2.5 << true;
    QTest::newRow("largest double") << QByteArray("1.7976931348623157e308") << max << true;
    QTest::newRow("just beyond the largest") << QByteArray("1.8e308") << max << true;
    QTest::newRow("smallest subnormal")
        << QByteArray("4.9e-324") << std::numeric_limits<double>::denorm_min() << true;
    QTest::newRow("below half the smallest subnormal") << QByteArray("2e-324") << 0.0 << true;
}

void TestNumbers::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    QFETCH(bool, whole);
    const calc::ParsedNumber parsed = calc::parseNumber(text.toStdString());
    QCOMPARE(parsed.value, value);
    QVERIFY(!std::signbit(parsed.value) || parsed.value != 0);
    QCOMPARE(parsed.whole, whole);
}

void TestNumbers::reading_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("read");
    QTest::addColumn<double>("value");
    for (const numbertexts::NumberText &row : numbertexts::Table)
        QTest::addRow("%s", row.name) << QByteArray(row.text) << int(row.read) << row.value;
}

// A typed number reads whole or not at all: the table is the one the windows and kiila-calc
// are tested with.
void TestNumbers::reading()
{
    QFETCH(QByteArray, text);
    QFETCH(int, read);
    QFETCH(double, value);
    using numbertexts::Read;
    const calc::ReadNumber number = calc::readNumber(text.toStdString());
    const calc::Reading expected[] = {calc::Reading::Number, calc::Reading::Blank,
                                      calc::Reading::NotNumber, calc::Reading::Ambiguous};
    QCOMPARE(int(number.reading), int(expected[read]));
    QCOMPARE(number.value, value);
    // What leaving a field writes reads back to the same value.
    if (number.reading == calc::Reading::Number) {
        const calc::ReadNumber again = calc::readNumber(calc::writtenForm(number.value));
        QCOMPARE(int(again.reading), int(calc::Reading::Number));
        QCOMPARE(again.value, number.value);
    }
}

void TestNumbers::ambiguousReadings_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("thousands");
    QTest::addColumn<double>("decimals");
    QTest::addColumn<QByteArray>("thousandsText");
    QTest::addColumn<QByteArray>("pointText");
    QTest::addColumn<QByteArray>("commaText");

    QTest::newRow("a thousand or one") << QByteArray("1,000") << 1000.0 << 1.0 << QByteArray("1000")
                                       << QByteArray("1.000") << QByteArray("1,0");
    QTest::newRow("ending zero dropped")
        << QByteArray(" 12,500") << 12500.0 << 12.5 << QByteArray("12500") << QByteArray("12.500")
        << QByteArray("12,5");
    QTest::newRow("no ending zero: one added")
        << QByteArray("-1,234") << -1234.0 << -1.234 << QByteArray("-1234") << QByteArray("-1.234")
        << QByteArray("-1,2340");
    QTest::newRow("exponent kept") << QByteArray("1,000e3") << 1e6 << 1e3 << QByteArray("1000e3")
                                   << QByteArray("1.000e3") << QByteArray("1,0e3");
}

// The spellings a refusal suggests read back, each as the one number it means.
void TestNumbers::ambiguousReadings()
{
    QFETCH(QByteArray, text);
    QVERIFY(calc::readNumber(text.toStdString()).reading == calc::Reading::Ambiguous);
    const calc::AmbiguousReadings r = calc::ambiguousReadings(text.toStdString());
    QTEST(r.thousands, "thousands");
    QTEST(r.decimals, "decimals");
    QTEST(QByteArray::fromStdString(r.thousandsText), "thousandsText");
    QTEST(QByteArray::fromStdString(r.pointText), "pointText");
    QTEST(QByteArray::fromStdString(r.commaText), "commaText");
    QCOMPARE(calc::readNumber(r.thousandsText).value, r.thousands);
    QCOMPARE(calc::readNumber(r.pointText).value, r.decimals);
    QCOMPARE(calc::readNumber(r.commaText).value, r.decimals);
}

void TestNumbers::writtenForm_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("zero") << 0.0 << QByteArray("0");
    QTest::newRow("negative zero") << -0.0 << QByteArray("0");
    QTest::newRow("integer") << 250.0 << QByteArray("250");
    QTest::newRow("fraction without trailing zeros") << 2.5 << QByteArray("2.5");
    QTest::newRow("below one") << 0.25 << QByteArray("0.25");
    QTest::newRow("negative") << -5.0 << QByteArray("-5");
    QTest::newRow("fifteen digits") << 1.0 / 3 << QByteArray("0.333333333333333");
    QTest::newRow("rounding hides binary noise") << 0.1 + 0.2 << QByteArray("0.3");
    QTest::newRow("large integer") << 123456789012345.0 << QByteArray("123456789012345");
    QTest::newRow("very large") << 1e16 << QByteArray("1E+16");
    QTest::newRow("very small") << 1e-5 << QByteArray("1E-05");
    QTest::newRow("largest") << std::numeric_limits<double>::max()
                             << QByteArray("1.79769313486232E+308");
    QTest::newRow("infinity becomes largest")
        << std::numeric_limits<double>::infinity() << QByteArray("1.79769313486232E+308");
}

void TestNumbers::writtenForm()
{
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    const std::string written = calc::writtenForm(value);
    QCOMPARE(QByteArray::fromStdString(written), text);
    // Writing the text back into the field parses it again; it must read back as a number.
    QVERIFY(calc::readNumber(written).reading == calc::Reading::Number);
}

// What a page prints for a value it was not typed as: the written form where it reads back as the
// value, else every digit needed; always read back to the value itself.
void TestNumbers::exactForm_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::addRow("15 digits suffice") << 2.7 << QByteArray("2.7");
    QTest::addRow("one step past 2.7")
        << std::nextafter(2.7, 3.0) << QByteArray("2.7000000000000006");
    QTest::addRow("0.1 + 0.2") << 0.1 + 0.2 << QByteArray("0.30000000000000004");
    QTest::addRow("large") << 1.0000000000000002e16 << QByteArray("10000000000000002");
    QTest::addRow("exponent") << 1.0000000000000002e-20 << QByteArray("1.0000000000000002E-20");
    QTest::addRow("negative") << -std::nextafter(150.0, 0.0) << QByteArray("-149.99999999999997");
    QTest::addRow("zero") << 0.0 << QByteArray("0");
}

void TestNumbers::exactForm()
{
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    const std::string exact = calc::exactForm(value);
    QCOMPARE(QByteArray::fromStdString(exact), text);
    const calc::ReadNumber read = calc::readNumber(exact);
    QCOMPARE(read.reading, calc::Reading::Number);
    QCOMPARE(read.value, value);
}

void TestNumbers::fixed_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("rounded") << 1.15333 << 2 << QByteArray("1.15");
    QTest::newRow("half up") << 2.2141 << 2 << QByteArray("2.21");
    QTest::newRow("padded") << 0.5 << 2 << QByteArray("0.50");
    QTest::newRow("integer") << 12.0 << 2 << QByteArray("12.00");
    QTest::newRow("zero") << 0.0 << 2 << QByteArray("0.00");
    QTest::newRow("negative") << -1.5 << 2 << QByteArray("-1.50");
    QTest::newRow("negative rounding to zero") << -0.001 << 2 << QByteArray("0.00");
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 2
                                  << QByteArray("0.00");
    QTest::newRow("three decimals") << 0.24691 << 3 << QByteArray("0.247");
    QTest::newRow("tiny negative, three decimals") << -1e-9 << 3 << QByteArray("0.000");
    QTest::newRow("negative zero, three decimals") << -0.0 << 3 << QByteArray("0.000");
    QTest::newRow("no decimals") << 2.5 << 0 << QByteArray("2");
}

void TestNumbers::fixed()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(calc::formatFixed(value, decimals)), text);
}

void TestNumbers::generalWithComma()
{
    QCOMPARE(calc::formatGeneral(174.5, ","), std::string("174,5"));
    QCOMPARE(calc::formatGeneral(324, ","), std::string("324"));
    QCOMPARE(calc::formatFixed2(2.2141, ","), std::string("2,21"));
}

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
