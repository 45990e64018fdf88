// Numbers as engineers type them. The one table of number texts goes through every way into a
// calculation: the main window's field, a design file opened by the window and read by
// kiila-calc --design, kiila-calc's options and CSV cells. Then the walk of an engineer with
// Finnish regional settings who types a decimal comma, to the report page read back with
// Poppler, and the refusal of a text that is not one number, by name, in English and Finnish.

#include "designfile/designfile.h"
#include "finnishlocale.h"
#include "mainwindow/mainwindow.h"
#include "numbertexts.h"
#include "windowdriver.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using mainwindow::MainWindow;
using numbertexts::Read;
Q_DECLARE_METATYPE(numbertexts::Read)

namespace {

constexpr int EnglishFlag = 1;
constexpr int FinnishFlag = 2;
constexpr int V1dField = 7;

// Arrangement 1 with every input but V1d: a calculation that chooses a size for small loads.
const std::array<const char *, design::InputCount> Single = {"200", "200", "", "", "3", "", "", ""};

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run kiilaCalc(const QStringList &arguments, const QByteArray &input = {},
              const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KIILA_CALC), arguments + QStringList{"--lang", "none"});
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// The text of a page of a PDF file, as Poppler reads it.
QString pdfText(const QString &pdf, int page)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext",
                    {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    pdftotext.waitForFinished();
    return QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
}

bool refused(Read read)
{
    return read == Read::NotNumber || read == Read::Ambiguous;
}

} // namespace

class TestNumbers : public QObject, protected WindowDriver<MainWindow>
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void table_data();
    void fieldReads();
    void fieldReads_data() { table_data(); }
    void designFileReads();
    void designFileReads_data() { table_data(); }
    void kiilaCalcReads();
    void kiilaCalcReads_data() { table_data(); }

    void refusalNamesTheField_data();
    void refusalNamesTheField();
    void commaWalk_data();
    void commaWalk();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // The window's language from its flag, with the language files beside the program.
    void language(int flag)
    {
        m_platform.folder = QCoreApplication::applicationDirPath();
        click("ImgLanguage", flag);
    }
    QString designWithV1d(const QString &v1d)
    {
        designfile::Contents contents;
        for (int i = 0; i < design::InputCount; ++i)
            contents.texts[std::size_t(i)] = QString::fromUtf8(Single[std::size_t(i)]);
        contents.texts[5] = v1d;
        const QString file = path("v1d.kiila");
        return designfile::write(file, contents).isEmpty() ? file : QString();
    }
    // What the window shows after its calculate command ran on the row's text in V1d.
    void checkCalculated(Read read, const QString &typed, double value)
    {
        const double stored = m_w->input().V1d;
        if (read == Read::Number)
            QCOMPARE(stored, value);
        else if (refused(read))
            QVERIFY(std::isnan(stored));
        else
            QCOMPARE(stored, 0.0);
        const bool calculated = !c("veto_leikkaus", 1)->caption().isEmpty();
        if (refused(read)) {
            QCOMPARE(m_platform.messages.size(), 1);
            QVERIFY2(m_platform.messages[0].first.contains(u'"' + typed + u'"'),
                     qPrintable(m_platform.messages[0].first));
            QVERIFY(!calculated);
            QVERIFY(text(V1dField)->hasFocus());
            QVERIFY(!m_w->notice());
        } else if (typed.isEmpty()) {
            QVERIFY(m_w->notice()); // an empty field: the notice, as always
            QVERIFY(m_platform.messages.isEmpty());
        } else {
            QVERIFY(m_platform.messages.isEmpty());
            QVERIFY(calculated);
        }
    }

    QTemporaryDir m_dir;
};

void TestNumbers::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
    QCoreApplication::setOrganizationName(QStringLiteral("kiila-test"));
}

void TestNumbers::init()
{
    QVERIFY(openWindow());
}

void TestNumbers::cleanup()
{
    m_w.reset();
    QLocale::setDefault(QLocale::c());
}

void TestNumbers::table_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Read>("read");
    QTest::addColumn<double>("value");
    for (const numbertexts::NumberText &row : numbertexts::Table)
        QTest::addRow("%s", row.name) << QString::fromUtf8(row.text) << row.read << row.value;
}

// Typed into V1d and calculated; leaving the field writes the number back, or keeps a text the
// calculation refuses as it was typed.
void TestNumbers::fieldReads()
{
    QFETCH(QString, typed);
    QFETCH(Read, read);
    QFETCH(double, value);
    type(1, "200");
    type(3, "200");
    type(6, "3");
    type(V1dField, typed);
    click("ImgCalc");
    checkCalculated(read, typed, value);

    text(V1dField)->setFocus();
    QTest::keyClick(text(V1dField)->widget(), Qt::Key_Tab);
    QVERIFY(!text(V1dField)->hasFocus());
    const QString shown = text(V1dField)->text();
    if (refused(read)) {
        QCOMPARE(shown, typed);
    } else {
        const calc::ReadNumber again = calc::readNumber(shown.toStdString());
        QVERIFY(again.reading == calc::Reading::Number);
        QCOMPARE(again.value, value);
    }
}

// A design file shows the texts as saved; the refusal comes when the window calculates, and
// kiila-calc reads the file as the window does.
void TestNumbers::designFileReads()
{
    QFETCH(QString, typed);
    QFETCH(Read, read);
    QFETCH(double, value);
    const QString file = designWithV1d(typed);
    QVERIFY(!file.isEmpty());
    QVERIFY(m_w->openDesign(file));
    QCOMPARE(text(V1dField)->text(), typed);
    checkCalculated(read, typed, value);

    const Run run = kiilaCalc({"--design", file, "--json"});
    if (refused(read) || typed.isEmpty()) {
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(run.err.contains("the input v1d (V1d)"), run.err.constData());
        QVERIFY2(typed.isEmpty() || run.err.contains("'" + typed.toUtf8() + "'"),
                 run.err.constData());
    } else {
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(run.out)["input"]["v1d"].toDouble(), value);
    }
}

// kiila-calc's option and a CSV cell. An option given without a number is refused, as it
// always was; an empty CSV cell is 0. A refused cell fails its row (exit 1), naming the column.
void TestNumbers::kiilaCalcReads()
{
    QFETCH(QString, typed);
    QFETCH(Read, read);
    QFETCH(double, value);

    const Run option =
        kiilaCalc({"--arrangement", "1", "--c1", "200", "--c2", "200", "--v1d", typed, "--json"});
    if (read == Read::Number) {
        QCOMPARE(option.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(option.out)["input"]["v1d"].toDouble(), value);
    } else {
        QCOMPARE(option.exitCode, 2);
        QVERIFY2(option.err.startsWith("kiila-calc: --v1d: "), option.err.constData());
        QVERIFY2(option.err.contains("'" + typed.toUtf8() + "'"), option.err.constData());
    }

    const Run csv = kiilaCalc({"--csv", "-", "--json"},
                              "arrangement,c1,c2,v1d\n1,200,200,\"" + typed.toUtf8() + "\"\n");
    const QJsonObject row = QJsonDocument::fromJson(csv.out).object();
    if (refused(read)) {
        QCOMPARE(csv.exitCode, 1);
        QVERIFY2(row["error"].toString().startsWith("v1d: "), csv.out.constData());
        QVERIFY2(row["error"].toString().contains("'" + typed + "'"), csv.out.constData());
    } else {
        QCOMPARE(csv.exitCode, 0);
        QCOMPARE(row["input"]["v1d"].toDouble(), value);
    }
}

void TestNumbers::refusalNamesTheField_data()
{
    QTest::addColumn<int>("flag");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");

    QTest::newRow("English, a unit")
        << EnglishFlag << "5 kN"
        << "Design shear force V1d (kN): \"5 kN\" is not a number.\nType the number alone, "
           "without a unit or a thousands separator; a point or a comma separates the decimals "
           "(2.5 or 2,5).";
    QTest::newRow("English, a thousand or one")
        << EnglishFlag << "1,000"
        << "Design shear force V1d (kN): \"1,000\" can be read as 1000 or as 1.\nWrite 1000 if "
           "the comma separates thousands, or 1.000 or 1,0 if it separates decimals.";
    QTest::newRow("Finnish, a unit")
        << FinnishFlag << "5 kN"
        << "Leikkausvoiman suun. arvo V1d (kN): \"5 kN\" ei ole luku.\nKirjoita pelkkä luku ilman "
           "yksikköä ja tuhaterottimia; desimaalit erotetaan pisteellä tai pilkulla (2.5 tai "
           "2,5).";
    QTest::newRow("Finnish, twelve and a half thousand or twelve and a half")
        << FinnishFlag << "12,500"
        << "Leikkausvoiman suun. arvo V1d (kN): \"12,500\" voidaan lukea lukuna 12500 tai lukuna "
           "12.5.\nKirjoita 12500, jos pilkku erottaa tuhannet, tai 12.500 tai 12,5, jos se "
           "erottaa desimaalit.";
}

// The calculate command refuses the field by name, in the window's language, with the focus on
// it and nothing of the calculation before left on screen.
void TestNumbers::refusalNamesTheField()
{
    QFETCH(int, flag);
    QFETCH(QString, typed);
    language(flag);
    type(1, "200");
    type(3, "200");
    type(6, "3");
    type(V1dField, "1");
    click("ImgCalc");
    QVERIFY(c("ImgSHOW")->isVisible());
    QVERIFY(!c("Label17")->caption().isEmpty());
    const QString title = m_w->caption().mid(1); // without the mark of the unsaved design

    text(V1dField)->setText(QString());
    type(V1dField, typed);
    type(1, QString()); // the focus elsewhere when the command runs
    click("ImgCalc");
    QCOMPARE(m_platform.messages.size(), 1);
    QTEST(m_platform.messages[0].first, "message");
    QCOMPARE(m_platform.messages[0].second, title);
    QVERIFY(text(V1dField)->hasFocus());
    QCOMPARE(text(V1dField)->text(), typed);
    QVERIFY(c("Label17")->caption().isEmpty());
    for (int i = 1; i <= calc::SizeCount; ++i)
        QVERIFY(c("veto_leikkaus", i)->caption().isEmpty());
    QVERIFY(!c("ImgSHOW")->isVisible());
    QVERIFY(!c("Picture1", forms::installationPicture(1))->isVisible());
    for (int size = 1; size <= calc::SizeCount; ++size)
        QVERIFY(!c("Picture1", forms::installationPicture(size))->isVisible());
    QVERIFY(c("Picture1", forms::arrangementPicture(1))->isVisible());

    // The report prints the text as typed and no result; its details page no number for it.
    m_platform.pdfPath = path("refused.pdf");
    m_platform.writePdf = true;
    m_w->saveReportAsPdf();
    const QString page = pdfText(m_platform.pdfPath, 1);
    QVERIFY2(page.contains(" " + typed + " ") || page.endsWith(" " + typed), qPrintable(page));
    QVERIFY2(!page.contains("Kalvex"), qPrintable(page));
    QVERIFY2(pdfText(m_platform.pdfPath, 2).contains("V1d = ? kN"),
             qPrintable(pdfText(m_platform.pdfPath, 2)));
}

void TestNumbers::commaWalk_data()
{
    QTest::addColumn<int>("flag");
    QTest::addColumn<bool>("finnishLocale");
    QTest::addColumn<bool>("fromFile");
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<QString>("field");   // V1d's text after the calculation
    QTest::addColumn<QString>("pageV1d"); // and on the report page

    QTest::newRow("English, typed") << EnglishFlag << false << false << "2 pcs Kalvex M 16"
                                    << "5.3"
                                    << "5.3";
    QTest::newRow("Finnish, typed") << FinnishFlag << true << false << "2 kpl Kalvex M 16"
                                    << "5.3"
                                    << "5.3";
    QTest::newRow("English, design file") << EnglishFlag << false << true << "2 pcs Kalvex M 16"
                                          << "5,3"
                                          << "5,3";
    QTest::newRow("Finnish, design file") << FinnishFlag << true << true << "2 kpl Kalvex M 16"
                                          << "5,3"
                                          << "5,3";
}

// Arrangement 2, C1 150, C2 200, S1 200, NSd 6, V1d 5,3, e1 0, non-cracked, Enter: M12 carries
// 5.17 kN of shear, so 5.3 kN needs M16. Typed, V1d is written back as 5.3 when e1 is typed; a
// design file shows 5,3 as saved. The report page prints the field beside the size calculated
// from it. kiila-calc chooses the same size from the file, in a Finnish locale too.
void TestNumbers::commaWalk()
{
    QFETCH(int, flag);
    QFETCH(bool, finnishLocale);
    QFETCH(bool, fromFile);
    QFETCH(QString, anchor);
    QFETCH(QString, pageV1d);
    if (finnishLocale)
        QLocale::setDefault(QLocale(QLocale::Finnish, QLocale::Finland));
    language(flag);

    const char *texts[design::InputCount] = {"150", "200", "200", "", "6", "5,3", "0", ""};
    designfile::Contents contents;
    contents.arrangement = 2;
    for (int i = 0; i < design::InputCount; ++i)
        contents.texts[std::size_t(i)] = QString::fromUtf8(texts[i]);
    const QString file = path("walk.kiila");
    QCOMPARE(designfile::write(file, contents), QString());
    if (fromFile) {
        QVERIFY(m_w->openDesign(file));
    } else {
        click("ImgSIT", 1);
        click("ImgNO", 1);
        for (int i = 0; i < design::InputCount; ++i)
            if (*texts[i])
                type(design::Inputs[i].field, QString::fromUtf8(texts[i]));
        QVERIFY(text(8)->hasFocus()); // e1, typed last
        QTest::keyClick(text(8)->widget(), Qt::Key_Return);
    }
    QVERIFY(m_platform.messages.isEmpty());
    QCOMPARE(m_w->input().V1d, 5.3);
    QCOMPARE(c("Label17")->caption().simplified(), anchor);
    QTEST(text(V1dField)->text(), "field");
    QCOMPARE(c("leikkaus", 3)->caption(), finnishLocale ? "5,17" : "5.17");

    m_platform.pdfPath = path("walk.pdf");
    m_platform.writePdf = true;
    m_w->saveReportAsPdf();
    const QString page = pdfText(m_platform.pdfPath, 1);
    QVERIFY2(page.contains(anchor), qPrintable(page));
    QVERIFY2(page.contains(" " + pageV1d + " "), qPrintable(page));
    QVERIFY2(!page.contains("M 12"), qPrintable(page));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QTemporaryDir locales;
    if (finnishLocale) {
        QVERIFY2(support::useFinnishLocale(environment, locales),
                 "localedef (Debian package locales) makes the Finnish locale");
    }
    const Run run = kiilaCalc({"--design", file, "--json"}, {}, environment);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(run.out)["chosen"]["size"].toString(), "M16");
}

QTEST_MAIN(TestNumbers)
#include "test_numbers.moc"
