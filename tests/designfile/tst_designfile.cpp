// The design file on disk: what is written reads back the same, every kind of broken file is
// refused with its reason, and a write that cannot be completed leaves what was there.

#include "designfile/designfile.h"
#include "outputtargets.h"

#include <QTemporaryDir>
#include <QTest>

using designfile::Contents;

namespace {

Contents sample(int arrangement)
{
    Contents c;
    c.arrangement = arrangement;
    c.cracked = arrangement % 2 == 0;
    c.texts = {QStringLiteral("100"),  QStringLiteral("80,5"), QString(),
               QStringLiteral(" 120"), QStringLiteral("12.5"), QStringLiteral("-3"),
               QStringLiteral("abc"),  QStringLiteral("0")};
    c.project = arrangement == 7 ? QStringLiteral("Hall \"B\" \\ Ääniö 😀") : QString();
    return c;
}

// A design of three load cases: names and texts of every kind a field or the project holds.
Contents withCases()
{
    Contents c = sample(7);
    for (const int i : designfile::LoadInputs)
        c.texts[std::size_t(i)].clear();
    c.cases = {
        {QStringLiteral("ULS 1 max N"), {"12,5", "3", "", "0"}},
        {QStringLiteral("Tuuli \"imu\" \\ 😀"), {" 7", "-1.5e1", "abc", "10"}},
        {QString(), {"", "", "", ""}},
    };
    return c;
}

// A valid file of version 2 with the value of `key` in case `index` replaced by `json`.
QByteArray withCaseValue(int index, const QString &key, const QByteArray &json)
{
    QByteArray bytes = designfile::encode(withCases());
    qsizetype at = bytes.indexOf("\"cases\"");
    for (int i = 0; i <= index; ++i)
        at = bytes.indexOf("{\"name\"", at + 1);
    at = bytes.indexOf("\"" + key.toUtf8() + "\": ", at);
    const qsizetype start = at + key.size() + 4;
    qsizetype end = start;
    while (bytes[end] != ',' && bytes[end] != '}')
        ++end;
    return bytes.replace(start, end - start, json);
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A valid file with one value replaced: `key` (a dotted path for an input) set to `json`.
QByteArray withValue(const QString &key, const QByteArray &json)
{
    QByteArray bytes = designfile::encode(sample(3));
    const QString name = key.section(u'.', -1);
    const qsizetype at = bytes.indexOf("\"" + name.toUtf8() + "\": ");
    const qsizetype start = at + name.size() + 4;
    qsizetype end = start;
    while (end < bytes.size() && bytes[end] != ',' && bytes[end] != '\n')
        ++end;
    return bytes.replace(start, end - start, json);
}

} // namespace

class TestDesignFile : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip()
    {
        QTemporaryDir folder;
        for (int arrangement = 1; arrangement <= 7; ++arrangement) {
            const QString path = folder.filePath(QStringLiteral("d%1.kiila").arg(arrangement));
            QCOMPARE(designfile::write(path, sample(arrangement)), QString());
            QString error;
            const std::optional<Contents> back = designfile::read(path, error);
            QVERIFY2(back, qPrintable(error));
            QCOMPARE(*back, sample(arrangement));
            // The same design gives the same bytes.
            QCOMPARE(readBytes(path), designfile::encode(sample(arrangement)));
        }
    }

    // A design of one case is written as it always was: a reader of version 1 opens it.
    void oneCaseIsVersionOne()
    {
        const QByteArray expected = R"({
    "format": "kiila-design",
    "version": 1,
    "arrangement": 4,
    "cracked": true,
    "inputs": {
        "c1": "100",
        "c2": "80,5",
        "s1": "",
        "s2": " 120",
        "nsd": "12.5",
        "v1d": "-3",
        "e1": "abc",
        "e2": "0"
    },
    "project": ""
}
)";
        QCOMPARE(designfile::encode(sample(4)), expected);
        QString error;
        const std::optional<Contents> back = designfile::decode(expected, error);
        QVERIFY2(back, qPrintable(error));
        QVERIFY(back->cases.isEmpty());
    }

    // Several cases are written as version 2, the geometry as inputs and each case's texts as
    // typed, and read back the same; the load inputs of the fields are not kept beside them.
    void casesRoundTrip()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("cases.kiila"));
        QCOMPARE(designfile::write(path, withCases()), QString());
        const QByteArray bytes = readBytes(path);
        QVERIFY(bytes.contains("\"version\": 2,"));
        QVERIFY(bytes.contains(R"({"name": "ULS 1 max N", "nsd": "12,5", "v1d": "3", "e1": "", )"
                               R"("e2": "0"},)"));
        QVERIFY(!bytes.contains("\n        \"nsd\"")); // not among the inputs
        QString error;
        QCOMPARE(designfile::read(path, error), std::optional<Contents>(withCases()));

        Contents typed = withCases();
        typed.texts[std::size_t(designfile::LoadInputs[0])] = QStringLiteral("99");
        QCOMPARE(designfile::write(path, typed), QString());
        QCOMPARE(readBytes(path), bytes);

        // The most cases a design holds read back; one more is refused before anything is
        // written.
        Contents many = withCases();
        many.cases.clear();
        for (int i = 0; i < designfile::MaxCases; ++i)
            many.cases.append({QStringLiteral("%1").arg(i + 1), {"12.5", "3", "40", "0"}});
        QCOMPARE(designfile::decode(designfile::encode(many), error), std::optional(many));
        const QByteArray before = readBytes(path);
        many.cases.append(many.cases.last());
        QCOMPARE(designfile::write(path, many),
                 QStringLiteral("cannot write '%1': the design has %2 load cases, more than the "
                                "%3 a design file keeps")
                     .arg(path)
                     .arg(designfile::MaxCases + 1)
                     .arg(designfile::MaxCases));
        Contents broken = withCases();
        broken.cases[1].name += QStringLiteral("\nsecond line");
        QCOMPARE(designfile::write(path, broken),
                 QStringLiteral("cannot write '%1': case 2 holds a line break or a character a "
                                "design file cannot keep")
                     .arg(path));
        QCOMPARE(readBytes(path), before);
    }

    // A design is written only when it reads back: one byte beyond the reader's limit is
    // refused before anything is written, the limit itself is kept.
    void sizeLimit()
    {
        QTemporaryDir folder;
        Contents design = sample(1);
        const qsizetype room = designfile::MaxSize - designfile::encode(design).size();
        design.project = QString(room, u'x');
        const QString path = folder.filePath(QStringLiteral("d.kiila"));
        QCOMPARE(designfile::write(path, design), QString());
        QString error;
        QCOMPARE(designfile::read(path, error), std::optional<Contents>(design));

        const QByteArray before = readBytes(path);
        design.project += u'x';
        QCOMPARE(designfile::write(path, design),
                 QStringLiteral("cannot write '%1': the design would be larger than 64 KiB, "
                                "which no reader opens")
                     .arg(path));
        QCOMPARE(readBytes(path), before);
    }

    // An input holds as much as the program's field, and no more: the longest text is written
    // and read back whole, one character more is neither written nor read.
    void fieldLength()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("d.kiila"));
        Contents design = sample(1);
        design.texts[1] = QStringLiteral("100") + QString(32767 - 6, u' ') + QStringLiteral("e-2");
        QCOMPARE(design.texts[1].size(), 32767);
        QCOMPARE(designfile::write(path, design), QString());
        QString error;
        QCOMPARE(designfile::read(path, error), std::optional<Contents>(design));

        const QByteArray before = readBytes(path);
        design.texts[1].insert(3, u' ');
        const QString refused = designfile::write(path, design);
        QVERIFY2(refused.startsWith(QStringLiteral("cannot write '%1': the input \"c2\" is a text "
                                                   "of 32768 characters, longer than the 32767")
                                        .arg(path)),
                 qPrintable(refused));
        QCOMPARE(readBytes(path), before);
    }

    // What a reader of another version may meet and must accept.
    void tolerated_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("c1");
        QTest::addColumn<QString>("project");
        const QByteArray head = R"({"format": "kiila-design", "version": 1, "arrangement": 2,
                                    "cracked": true, )";
        QTest::newRow("unknown keys") << head + R"("inputs": {"c1": "5", "c9": 1}, "x": [1],
                                                    "project": "P"})"
                                      << "5"
                                      << "P";
        QTest::newRow("missing inputs and project") << head + R"("inputs": {}})"
                                                    << ""
                                                    << "";
        QTest::newRow("byte order mark") << "\xef\xbb\xbf" + head + R"("inputs": {"c1": "7"}})"
                                         << "7"
                                         << "";
        QTest::newRow("version 1.0")
            << QByteArray(head).replace("1,", "1.0,") + R"("inputs": {"c1": "7"}})"
            << "7"
            << "";
    }
    void tolerated()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, c1);
        QFETCH(QString, project);
        QString error;
        const std::optional<Contents> c = designfile::decode(bytes, error);
        QVERIFY2(c, qPrintable(error));
        QCOMPARE(c->arrangement, 2);
        QVERIFY(c->cracked);
        QCOMPARE(c->texts[0], c1);
        QCOMPARE(c->project, project);
    }

    // Each broken file gives one line naming the file and what is wrong.
    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // the file's contents; empty: see `make`
        QTest::addColumn<QString>("make");     // how else the path is made
        QTest::addColumn<QString>("reason");
        const QByteArray good = designfile::encode(sample(3));
        QTest::newRow("missing file") << QByteArray() << "none"
                                      << "No such file";
        QTest::newRow("folder") << QByteArray() << "folder"
                                << "not a regular file";
        QTest::newRow("named pipe") << QByteArray() << "fifo"
                                    << "not a regular file";
        QTest::newRow("link to /dev/zero") << QByteArray() << "zero"
                                           << "not a regular file";
        QTest::newRow("too large") << good + QByteArray(64 * 1024, ' ') << ""
                                   << "larger than 64 KiB";
        QTest::newRow("empty") << QByteArray() << "empty"
                               << "not JSON";
        QTest::newRow("truncated") << good.left(good.size() / 2) << ""
                                   << "not JSON";
        QTest::newRow("not UTF-8") << withValue("inputs.c1", "\"1\xe4\"") << ""
                                   << "not UTF-8";
        QTest::newRow("Latin-1 in a text") << withValue("project", "\"\xc4\xe4\xff\"") << ""
                                           << "not UTF-8";
        QTest::newRow("NUL byte") << QByteArray(good).insert(2, '\0') << ""
                                  << "not JSON";
        QTest::newRow("a list") << QByteArray("[1, 2]") << ""
                                << "not a JSON object";
        QTest::newRow("another format") << QByteArray(good).replace("kiila-design", "kiila-x") << ""
                                        << "not a Kiila design";
        QTest::newRow("newer version") << withValue("version", "3") << ""
                                       << "it is of version 3, written by a newer Kiila; this "
                                          "one reads version 2";
        QTest::newRow("version 2 without cases") << withValue("version", "2") << ""
                                                 << "\"cases\" is missing, not a list of 1 to 1000";
        const QByteArray cases = designfile::encode(withCases());
        QTest::newRow("cases as object") << QByteArray(cases)
                                                .replace("\"cases\": [", "\"cases\": {\"a\": [")
                                                .replace("],", "]},")
                                         << ""
                                         << "\"cases\" is an object, not a list";
        QTest::newRow("no cases") << QByteArray(cases).replace(cases.indexOf("[\n        {") + 1,
                                                               cases.indexOf("    ],") -
                                                                   cases.indexOf("[\n        {") -
                                                                   1,
                                                               "")
                                  << ""
                                  << "\"cases\" is a list of 0, not a list of 1 to 1000 cases";
        QByteArray tooMany = cases;
        tooMany.replace("{\"name\": \"\",",
                        QByteArray("{},").repeated(designfile::MaxCases - 2) + "{\"name\": \"\",");
        QTest::newRow("1001 cases") << tooMany << ""
                                    << "\"cases\" is a list of 1001, not a list of 1 to 1000 cases";
        QTest::newRow("case as number")
            << QByteArray(cases).replace("{\"name\": \"\",", "7, {\"name\": \"\",") << ""
            << "case 3 of \"cases\": it is 7, not an object";
        QTest::newRow("case name of two lines")
            << withCaseValue(1, QStringLiteral("name"), "\"a\\nb\"") << ""
            << "case 2 of \"cases\": the \"name\" is a text of more than one line";
        QTest::newRow("case name as number") << withCaseValue(0, QStringLiteral("name"), "1") << ""
                                             << "case 1 of \"cases\": the \"name\" is 1, not a "
                                                "one-line text";
        QTest::newRow("case load as number")
            << withCaseValue(2, QStringLiteral("v1d"), "3.5") << ""
            << "case 3 of \"cases\": the \"v1d\" is 3.5, not the one-line text of a field";
        QTest::newRow("case load longer than a field")
            << withCaseValue(0, QStringLiteral("e2"), '"' + QByteArray(32768, '1') + '"') << ""
            << "case 1 of \"cases\": the \"e2\" is a text of 32768 characters";
        QTest::newRow("version as text") << withValue("version", "\"1\"") << ""
                                         << "\"version\"";
        QTest::newRow("version 0") << withValue("version", "0") << ""
                                   << "\"version\" is 0";
        QTest::newRow("arrangement 0") << withValue("arrangement", "0") << ""
                                       << "not 1 to 7";
        QTest::newRow("arrangement 8") << withValue("arrangement", "8") << ""
                                       << "not 1 to 7";
        QTest::newRow("arrangement 2.5") << withValue("arrangement", "2.5") << ""
                                         << "not 1 to 7";
        QTest::newRow("arrangement as text") << withValue("arrangement", "\"3\"") << ""
                                             << "\"arrangement\" is a text";
        QTest::newRow("cracked as text") << withValue("cracked", "\"yes\"") << ""
                                         << "\"cracked\" is a text, not true or false";
        QTest::newRow("input as number") << withValue("inputs.c1", "100") << ""
                                         << "input \"c1\" is 100";
        QTest::newRow("input of two lines") << withValue("inputs.s2", "\"1\\n2\"") << ""
                                            << "input \"s2\" is a text of more than one line";
        QTest::newRow("project with a line separator")
            << withValue("project", "\"a\\u2028b\"") << ""
            << "\"project\" is a text of more than one line";
        QTest::newRow("project with a paragraph separator")
            << withValue("project", "\"a\\u2029b\"") << ""
            << "\"project\" is a text of more than one line";
        QTest::newRow("input with a next line") << withValue("inputs.c1", "\"1\\u00850\"") << ""
                                                << "input \"c1\" is a text of more than one line";
        QTest::newRow("input longer than a field")
            << withValue("inputs.e1", '"' + QByteArray(32768, '1') + '"') << ""
            << "input \"e1\" is a text of 32768 characters, longer than the 32767 a field holds";
        QTest::newRow("input with U+FEFF") << withValue("inputs.c1", "\"\\ufeff1\"") << ""
                                           << "input \"c1\" is a text of more than one line or";
        QTest::newRow("half a surrogate pair") << withValue("project", "\"\\ud800\"") << ""
                                               << "\"project\" is a text of more than one line";
        QTest::newRow("inputs as list") << QByteArray(good)
                                               .replace("\"inputs\": {", "\"inputs\": [{")
                                               .replace("    },", "    }],")
                                        << ""
                                        << "\"inputs\" is a list";
        QTest::newRow("project as null") << withValue("project", "null") << ""
                                         << "\"project\" is null";
    }
    void refused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, make);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("design.kiila"));
        if (make == u"folder")
            QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("design.kiila")));
        else if (make == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        else if (make == u"zero")
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        else if (make != u"none")
            QVERIFY(writeBytes(path, bytes));

        QString error;
        QVERIFY(!designfile::read(path, error));
        QVERIFY2(error.startsWith(QStringLiteral("cannot open the design '%1': ").arg(path)),
                 qPrintable(error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY2(!error.contains(u'\n'), qPrintable(error));
    }

    // A text that would not read back as it stands is not written: the design would be lost.
    void unkeepableTextNotWritten()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("d.kiila"));
        Contents c = sample(2);
        c.texts[0] = QChar(0xfeff) + QStringLiteral("100");
        const QString error = designfile::write(path, c);
        QVERIFY2(error.contains(QStringLiteral("input \"c1\"")), qPrintable(error));
        QVERIFY(!QFileInfo::exists(path));
    }

    // A save that cannot be completed says so and leaves the design that was there.
    void failedWriteKeepsTheOldFile_data()
    {
        QTest::addColumn<Target>("target");
        QTest::newRow("folder") << Target::Folder;
        QTest::newRow("named pipe") << Target::Fifo;
        QTest::newRow("the file being read") << Target::Input;
        QTest::newRow("read-only folder") << Target::ReadOnlyFolder;
        QTest::newRow("file on a read-only file system") << Target::ReadOnlyFile;
        QTest::newRow("loop of links") << Target::LinkLoop;
        QTest::newRow("full file system") << Target::FullDisk;
    }
    void failedWriteKeepsTheOldFile()
    {
        QFETCH(Target, target);
        QTemporaryDir folder;
        const QString input = folder.filePath(QStringLiteral("in.kiila"));
        QCOMPARE(designfile::write(input, sample(1)), QString());
        const OutputTarget out(target, folder.path(), input);
        if (!out.skip().isEmpty())
            QSKIP(qPrintable(out.skip()));
        QVERIFY2(out.error().isEmpty(), qPrintable(out.error()));
        const auto before = folderState(out.folder());

        Contents big = sample(7);
        big.project = QString(40 * 1024, u'x'); // more than the full file system takes
        const QList<outfile::Input> inputs = {*outfile::input(input, QStringLiteral("the input"))};
        const QString error = designfile::write(out.path(), big, inputs);
        QVERIFY(error.startsWith(QStringLiteral("cannot write '%1': ").arg(out.path())));
        QCOMPARE(folderState(out.folder()), before);
        QString readError;
        QCOMPARE(designfile::read(input, readError), std::optional<Contents>(sample(1)));
    }
};

QTEST_GUILESS_MAIN(TestDesignFile)
#include "tst_designfile.moc"
