// kiila-calc's CSV output read back with its own reader: the header, the row of each kind of
// result and the row of a design that failed agree cell for cell.

#include "calc/calc.h"
#include "cli/csv.h"
#include "cli/writer.h"

#include <QtTest>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

using Record = std::vector<std::string>;

// The CSV writer's lines, read back: the header's cells by name, and the one row after it.
struct Written
{
    std::map<std::string, std::size_t> column;
    Record header;
    Record row;

    const std::string &cell(const std::string &name) const { return row.at(column.at(name)); }
};

template <typename Write> Written writtenCsv(Write write)
{
    std::string text;
    const std::unique_ptr<cli::Writer> writer =
        cli::chooseWriter([](std::string_view) { return false; }, cli::Source::CsvFile,
                          [&text](std::string_view line) { text += std::string(line) + "\n"; });
    writer->begin();
    write(*writer);

    Written written;
    std::FILE *file = ::fmemopen(text.data(), text.size(), "rb");
    cli::CsvReader reader(file);
    bool tooLong = false;
    Record extra;
    if (!reader.next(written.header, tooLong) || !reader.next(written.row, tooLong) ||
        reader.next(extra, tooLong))
        qWarning("not a header and one row: %s", text.c_str());
    std::fclose(file);
    for (std::size_t i = 0; i < written.header.size(); ++i)
        written.column[written.header[i]] = i;
    return written;
}

// The number of a cell, exactly; NaN when the cell is not wholly one.
double readBack(const std::string &cell)
{
    char *end = nullptr;
    const double value = std::strtod(cell.c_str(), &end);
    return *end == '\0' && !cell.empty() ? value : std::nan("");
}

} // namespace

class TestWriters : public QObject
{
    Q_OBJECT

private slots:
    void csvDesignRow_data();
    void csvDesignRow();
    void csvFailedRow_data();
    void csvFailedRow();
};

void TestWriters::csvDesignRow_data()
{
    QTest::addColumn<int>("arrangement");
    QTest::addColumn<bool>("cracked");
    QTest::addColumn<QList<double>>("values"); // C1 C2 S1 S2 NSd V1d e1 e2
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("size");

    QTest::newRow("chosen with a plate")
        << 2 << true << QList<double>{100, 100, 150, 0, 3, 2, 20, 0} << "chosen"
        << "M12";
    QTest::newRow("stopped, message with line breaks")
        << 1 << false << QList<double>{40, 200, 0, 0, 0, 0, 0, 0} << "stopped"
        << "M8";
    QTest::newRow("advice") << 1 << false << QList<double>{200, 200, 0, 0, 100, 0, 0, 0} << "advice"
                            << "";
    QTest::newRow("extreme and fractional numbers")
        << 5 << false << QList<double>{1e300, 600, 0, 0.1, 1e-300, 1, 0, -0.5} << "stopped"
        << "M8";
}

void TestWriters::csvDesignRow()
{
    QFETCH(int, arrangement);
    QFETCH(bool, cracked);
    QFETCH(QList<double>, values);
    const calc::DesignInput input{values[0], values[1], values[2], values[3],
                                  values[4], values[5], values[6], values[7]};
    const cli::Design design{arrangement, cracked, input, {}};
    const calc::Result result =
        calc::Mitoitus(input, arrangement, design.concreteState(), calc::Texts());
    const Written w = writtenCsv([&](cli::Writer &writer) { writer.design(design, result); });

    QCOMPARE(w.row.size(), w.header.size());
    QCOMPARE(w.cell("arrangement"), std::to_string(arrangement));
    QCOMPARE(w.cell("cracked"), cracked ? "1" : "0");
    // An input the arrangement does not use is an empty cell, as a design file keeps it.
    for (const design::Input &i : design::Inputs)
        QVERIFY2(design::uses(arrangement, i)
                     ? readBack(w.cell(std::string(i.key))) == input.*i.value
                     : w.cell(std::string(i.key)).empty(),
                 i.key.data());
    QTEST(QString::fromStdString(w.cell("outcome")), "outcome");
    QTEST(QString::fromStdString(w.cell("size")), "size");
    for (const calc::SizeRow &row : result.sizes) {
        const std::string size = "M" + std::to_string(int(calc::SizeTable[row.sizeNo - 1].dNom));
        QVERIFY(readBack(w.cell(size)) == row.FAnchor);
        QVERIFY(row.shearCapacity ? readBack(w.cell(size + "_shear")) == *row.shearCapacity
                                  : w.cell(size + "_shear").empty());
        QVERIFY(row.eccentricCapacity
                    ? readBack(w.cell(size + "_eccentric")) == *row.eccentricCapacity
                    : w.cell(size + "_eccentric").empty());
    }
    if (result.chosen && result.chosen->plate)
        QCOMPARE(w.cell("plate"), "36x186");
    QCOMPARE(w.cell("message"), result.message                            ? result.message->text
                                : result.outcome == calc::Outcome::Advice ? result.advice
                                                                          : std::string());
    QCOMPARE(w.cell("error"), std::string());
}

void TestWriters::csvFailedRow_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("error");

    QTest::newRow("arrangement out of range")
        << QStringList{"9", "0", "200", "200"} << "arrangement: give a number from 1 to 7, not '9'";
    QTest::newRow("comma, quote and line breaks")
        << QStringList{"1", "no", "4,0", "a\"b", "x\r\ny", "", "", "", "", ""}
        << "c1: not a number: '4,0'";
    QTest::newRow("nothing read") << QStringList{} << "row longer than 64 KiB";
}

void TestWriters::csvFailedRow()
{
    QFETCH(QStringList, cells);
    QFETCH(QString, error);
    std::vector<std::string> read;
    for (const QString &cell : cells)
        read.push_back(cell.toStdString());
    const std::string why = error.toStdString();
    const Written w = writtenCsv([&](cli::Writer &writer) { writer.error({7, read, why}); });

    QCOMPARE(w.row.size(), w.header.size());
    for (std::size_t i = 0; i < w.header.size(); ++i) {
        const std::string &name = w.header[i];
        std::string expected;
        if (int(i) < cli::DesignColumnCount) {
            QCOMPARE(name, cli::designColumnName(int(i)));
            expected = i < read.size() ? read[i] : std::string();
        } else if (name == "outcome") {
            expected = "error";
        } else if (name == "error") {
            expected = why;
        }
        QVERIFY2(w.row[i] == expected, name.c_str());
    }
}

QTEST_APPLESS_MAIN(TestWriters)
#include "tst_writers.moc"
