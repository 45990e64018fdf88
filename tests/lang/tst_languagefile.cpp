#include "lang/languagefile.h"

#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

#include <future>
#include <sys/stat.h>
#include <thread>

using lang::Language;

Q_DECLARE_METATYPE(lang::Language)

class TestLanguageFile : public QObject
{
    Q_OBJECT

private slots:
    void languageTable_data();
    void languageTable();
    void readLines_data();
    void readLines();
    void missingFile();
    void findFile_data();
    void findFile();
    void notARegularFile_data();
    void notARegularFile();
    void applyToTexts();
    void shippedFiles_data();
    void shippedFiles();
    void finnishFileGivesTheDefaults();

private:
    QString write(const QByteArray &bytes);
    QTemporaryDir m_dir;
};

QString TestLanguageFile::write(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QString::number(qHash(bytes)) + ".txt");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

void TestLanguageFile::languageTable_data()
{
    QTest::addColumn<Language>("language");
    for (const lang::LanguageRow &row : lang::Languages)
        QTest::addRow("%s", row.tag) << row.language;
}

// Each row is found by its tag and by its flag, and by nothing else; its file is its own and
// among those the build puts beside the programs (so it is in lang/ and in its install list),
// and its code page is one Qt knows, where Qt knows any.
void TestLanguageFile::languageTable()
{
    QFETCH(Language, language);
    const lang::LanguageRow &row = lang::row(language);
    QCOMPARE(row.language, language);
    QCOMPARE(lang::rowOfTag(row.tag), &row);
    QCOMPARE(lang::rowOfFlag(lang::flagOf(language)), &row);
    QVERIFY2(std::string_view(row.tag) != "none", "kiila-calc's --lang none is no language");
    for (const lang::LanguageRow &other : lang::Languages)
        if (&other != &row)
            QVERIFY(std::string_view(other.file) != row.file);

    const QString path = lang::filePath(QCoreApplication::applicationDirPath(), language);
    QVERIFY2(!path.isEmpty(), row.file);
    const std::optional<QStringList> lines = lang::readLines(path, language);
    QVERIFY(lines);
    QCOMPARE(lines->size(), lang::LineCount);
    if (QStringDecoder("windows-1252").isValid())
        QVERIFY2(QStringDecoder(row.encoding).isValid(), row.encoding);
}

void TestLanguageFile::readLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF, blanks kept")
        << QByteArray("head\r\n Anchors \r\n\r\nx\r\n") << Language::English
        << QStringList{"head", " Anchors ", "", "x"};
    QTest::newRow("CR alone") << QByteArray("a\rb\r") << Language::English << QStringList{"a", "b"};
    QTest::newRow("LF alone") << QByteArray("a\nb\n\nc") << Language::English
                              << QStringList{"a", "b", "", "c"};
    QTest::newRow("LF CR is two ends")
        << QByteArray("a\n\rb") << Language::English << QStringList{"a", "", "b"};
    QTest::newRow("empty file") << QByteArray() << Language::English << QStringList{};
    QTest::newRow("Windows-1252") << QByteArray("KYLL\xc4\r\n\x80 5\r\n") << Language::Finnish
                                  << QStringList{"KYLLÄ", "€ 5"};
    QTest::newRow("Windows-1251") << QByteArray("\xd2\xc0\xcf\xc0\xc7 7\r\n") << Language::Russian
                                  << QStringList{"ТАПАЗ 7"};
    QTest::newRow("UTF-8 after a byte-order mark")
        << QByteArray("\xef\xbb\xbfKYLL\xc3\x84\r\n\xd0\xa2\r\n") << Language::Russian
        << QStringList{"KYLLÄ", "Т"};

    QByteArray many;
    QStringList first34;
    for (int i = 1; i <= 40; ++i) {
        many += "line " + QByteArray::number(i) + "\r\n";
        if (i <= 34)
            first34 << "line " + QString::number(i);
    }
    QTest::newRow("only 34 lines") << many << Language::English << first34;

    QTest::newRow("a long line is cut at 4 KiB")
        << QByteArray(10000, 'a') + "\r\nnext" << Language::English
        << QStringList{QString(4096, 'a'), "next"};
    QTest::newRow("nothing is read beyond 34 lines of 4 KiB")
        << QByteArray(34 * 4098 + 3, 'a') + "\r\nnext" << Language::English
        << QStringList{QString(4096, 'a')};
}

void TestLanguageFile::readLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Language, language);
    QFETCH(QStringList, lines);
    const std::optional<QStringList> read = lang::readLines(write(bytes), language);
    QVERIFY(read);
    QCOMPARE(*read, lines);
}

void TestLanguageFile::missingFile()
{
    QCOMPARE(lang::filePath(m_dir.path(), Language::English), QString());
    QVERIFY(!lang::readLines(m_dir.filePath("none.txt"), Language::English));
    QFile file(m_dir.filePath("rus.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QCOMPARE(lang::filePath(m_dir.path(), Language::Russian), m_dir.filePath("rus.txt"));
    QVERIFY(!lang::readLines(m_dir.path(), Language::English)); // a folder is no file
}

// An installation: the programs in <prefix>/bin, the language files in <prefix>/share/kiila.
void TestLanguageFile::findFile_data()
{
    QTest::addColumn<bool>("beside");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("found");

    QTest::newRow("beside the program") << true << false << "bin/fin.txt";
    QTest::newRow("installed data folder") << false << true << "share/kiila/fin.txt";
    QTest::newRow("beside the program comes first") << true << true << "bin/fin.txt";
    QTest::newRow("neither") << false << false << "";
}

void TestLanguageFile::findFile()
{
    QFETCH(bool, beside);
    QFETCH(bool, installed);
    QFETCH(QString, found);
    QTemporaryDir prefix;
    const QDir root(prefix.path());
    const auto touch = [&root](const QString &name) {
        QFile file(root.filePath(name));
        return file.open(QIODevice::WriteOnly);
    };
    QVERIFY(root.mkpath("bin") && root.mkpath("share/kiila"));
    QVERIFY(!beside || touch("bin/fin.txt"));
    QVERIFY(!installed || touch("share/kiila/fin.txt"));
    QVERIFY(touch("share/kiila/english.txt")); // another language's file does not count

    QCOMPARE(lang::findFile(root.filePath("bin"), Language::Finnish),
             found.isEmpty() ? QString() : root.filePath(found));
}

void TestLanguageFile::notARegularFile_data()
{
    QTest::addColumn<QString>("target"); // what the file name stands for

    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("a link to /dev/zero") << "/dev/zero";
    QTest::newRow("a link to /dev/null") << "/dev/null";
    QTest::newRow("a link to a folder") << "/";
}

// Anything but a regular file counts as missing: it is neither waited on (a FIFO without a
// writer) nor read without end (/dev/zero). The read runs on a thread of its own so that a hang
// fails the test instead of stopping it.
void TestLanguageFile::notARegularFile()
{
    QFETCH(QString, target);
    const QString path = m_dir.filePath(QStringLiteral("english.txt"));
    QFile::remove(path);
    if (target == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(QFile::link(target, path));
    QCOMPARE(lang::filePath(m_dir.path(), Language::English), QString());

    auto read = std::make_shared<std::promise<bool>>();
    std::future<bool> found = read->get_future();
    std::thread([read, path] {
        read->set_value(lang::readLines(path, Language::English).has_value());
    }).detach();
    QVERIFY2(found.wait_for(std::chrono::seconds(10)) == std::future_status::ready,
             "the read does not return");
    QVERIFY(!found.get());

    // A link to a regular file is read.
    QFile::remove(path);
    QVERIFY(QFile::link(write("head\r\nline 2\r\n"), path));
    QCOMPARE(lang::filePath(m_dir.path(), Language::English), path);
    QCOMPARE(lang::readLines(path, Language::English), (QStringList{"head", "line 2"}));
}

void TestLanguageFile::applyToTexts()
{
    QStringList lines;
    for (int i = 1; i <= 34; ++i)
        lines << QString("line %1").arg(i);
    calc::Texts texts;
    lang::applyToTexts(lines, texts);
    QCOMPARE(texts.tapaus7Caption, std::string("line 9"));
    QCOMPARE(texts.advice, std::string("line 23"));
    QCOMPARE(texts.fragAnkkurien, std::string("line 24"));
    QCOMPARE(texts.fragEpakeskinen, std::string("line 31"));
    QCOMPARE(texts.fragOhje, std::string("line 33"));
    QCOMPARE(texts.fragKiinnityslevy, std::string("line 34"));

    // A short file leaves the texts it does not reach as they were.
    calc::Texts partial;
    partial.fragOhje = " Help ";
    lang::applyToTexts(lines.mid(0, 25), partial);
    QCOMPARE(partial.fragArvoC, std::string("line 25"));
    QCOMPARE(partial.fragArvoS, std::string());
    QCOMPARE(partial.fragOhje, std::string(" Help "));
}

void TestLanguageFile::shippedFiles_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("yes"); // line 21

    QTest::newRow("english.txt") << Language::English << "YES";
    QTest::newRow("fin.txt") << Language::Finnish << "KYLLÄ";
    QTest::newRow("rus.txt") << Language::Russian << "ДА";
}

// 34 lines, each ended by CR LF, in the code page of the language.
void TestLanguageFile::shippedFiles()
{
    QFETCH(Language, language);
    const QString path = lang::filePath(QStringLiteral(KIILA_LANG_DIR), language);
    QVERIFY(!path.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.endsWith("\r\n"));
    const QList<QByteArray> raw = bytes.chopped(1).split('\n');
    QCOMPARE(raw.size(), lang::LineCount);
    for (const QByteArray &line : raw)
        QVERIFY(line.endsWith('\r') && line.count('\r') == 1);

    const std::optional<QStringList> lines = lang::readLines(path, language);
    QVERIFY(lines);
    QCOMPARE(lines->size(), lang::LineCount);
    QTEST(lines->at(20), "yes");
    for (const QString &line : *lines)
        QVERIFY2(!line.trimmed().isEmpty(), "every line has a text");
}

// The Finnish file holds the very texts the calculation falls back on, so that switching to
// Finnish composes every result and message as the window's own texts do.
void TestLanguageFile::finnishFileGivesTheDefaults()
{
    const std::optional<QStringList> lines = lang::readLines(
        lang::filePath(QStringLiteral(KIILA_LANG_DIR), Language::Finnish), Language::Finnish);
    QVERIFY(lines);
    calc::Texts finnish;
    lang::applyToTexts(*lines, finnish);

    const auto composed = [](const calc::Result &r) {
        QStringList texts;
        for (const std::optional<std::string> &text :
             {r.capacityHeading, r.shearHeading, r.eccentricHeading})
            texts << QString::fromStdString(text.value_or("-"));
        if (r.message)
            texts << QString::fromStdString(r.message->text + "|" + r.message->title);
        if (r.chosen)
            texts << QString::fromStdString(r.chosen->anchorText + "|" + r.chosen->plateText);
        texts << QString::fromStdString(r.advice);
        return texts;
    };
    const std::pair<int, calc::DesignInput> designs[] = {
        {1, {.C1 = 52, .C2 = 200, .NSd = 100}},                       // edge distance
        {6, {.C1 = 300, .C2 = 300, .S1 = 100, .S2 = 100, .NSd = 10}}, // spacing
        {7, {.C1 = 400, .C2 = 600, .S1 = 150, .S2 = 150}},            // arrangement 7
        {7, {2000, 2000, 1000, 1000, 40, 5, 30, 0}},                  // every row
        {1, {.C1 = 200, .C2 = 200, .NSd = 100}},                      // the advice
    };
    for (const auto &[tapaus, input] : designs)
        QCOMPARE(composed(calc::Mitoitus(input, tapaus, calc::NonCracked, finnish)),
                 composed(calc::Mitoitus(input, tapaus, calc::NonCracked, calc::Texts{})));
}

QTEST_GUILESS_MAIN(TestLanguageFile)
#include "tst_languagefile.moc"
