// The program's own texts: every text in every language, none empty or left as the English
// one, each language with the placeholders the code fills; and the helpers that compose them
// without Qt.

#include "texts/texts.h"

#include <QRegularExpression>
#include <QTest>

using texts::Language;
using texts::Text;

namespace {

QString textOf(Language language, Text key)
{
    return QString::fromUtf8(texts::text(language, key));
}

const char *nameOf(Language language)
{
    return language == Language::Finnish ? "Finnish" : "English";
}

// Qt's %1 … %9 in any order (QString::arg fills them by number); printf's %s and %d in their
// order, which decides which value each takes.
QStringList qtPlaceholders(const QString &text)
{
    QStringList found;
    for (const QRegularExpressionMatch &m :
         QRegularExpression(QStringLiteral("%[1-9]")).globalMatch(text))
        found << m.captured();
    found.sort();
    return found;
}

QStringList printfPlaceholders(const QString &text)
{
    QStringList found;
    for (const QRegularExpressionMatch &m :
         QRegularExpression(QStringLiteral("%[sd]")).globalMatch(text))
        found << m.captured();
    return found;
}

} // namespace

class TestTexts : public QObject
{
    Q_OBJECT
private slots:
    void everyTextTranslated();
    void fill_data();
    void fill();
    void padded_data();
    void padded();
    void languageOfTheWindows();
};

// Every key has a text in every language: not empty, without blanks at its ends (a column or a
// sentence gets its blanks from the code), not a note left for later, and not the English text
// copied into another language. Each language has the placeholders of the English text.
void TestTexts::everyTextTranslated()
{
    QStringList faults;
    for (std::size_t i = 0; i < texts::TextCount; ++i) {
        const Text key = static_cast<Text>(i);
        const QString english = textOf(Language::English, key);
        for (const Language language : texts::All) {
            const QString text = textOf(language, key);
            const QString where = QStringLiteral("%1 text %2").arg(nameOf(language)).arg(i);
            if (text.trimmed().isEmpty())
                faults << where + " is empty";
            else if (text != text.trimmed())
                faults << where + " has blanks at an end: \"" + text + '"';
            if (text.contains(QRegularExpression(QStringLiteral("TODO|FIXME|XXX|\\?\\?"))))
                faults << where + " is unfinished: " + text;
            if (language != Language::English && text == english)
                faults << where + " is the English text: " + text;
            if (qtPlaceholders(text) != qtPlaceholders(english) ||
                printfPlaceholders(text) != printfPlaceholders(english))
                faults << where + " has other placeholders than the English \"" + english +
                              "\": " + text;
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

void TestTexts::fill_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("filled");

    QTest::addRow("in order") << "stopped at %1 (%2):" << QStringList{"M8", " Ohje "}
                              << "stopped at M8 ( Ohje ):";
    QTest::addRow("other order") << "%2 / %1" << QStringList{"a", "b"} << "b / a";
    QTest::addRow("placeholder in an argument stays")
        << "%1 and %2" << QStringList{"%2", "x"} << "%2 and x";
    QTest::addRow("without an argument") << "%1 of %3" << QStringList{"5"} << "5 of %3";
    QTest::addRow("per cent sign alone")
        << "within 5 % of %1" << QStringList{"1"} << "within 5 % of 1";
    QTest::addRow("at the end") << "100 %" << QStringList{} << "100 %";
}

void TestTexts::fill()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, args);
    QFETCH(QString, filled);
    std::vector<std::string> values;
    for (const QString &a : args)
        values.push_back(a.toStdString());
    std::string result;
    switch (values.size()) {
    case 0:
        result = texts::fill(pattern.toStdString(), {});
        break;
    case 1:
        result = texts::fill(pattern.toStdString(), {values[0]});
        break;
    default:
        result = texts::fill(pattern.toStdString(), {values[0], values[1]});
    }
    QCOMPARE(QString::fromStdString(result), filled);
}

// Columns of words padded by characters: "ä" is one character of two bytes.
void TestTexts::padded_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("padded");

    QTest::addRow("ASCII") << "shear" << 8 << "shear   ";
    QTest::addRow("Finnish letters") << "käyttöaste" << 12 << "käyttöaste  ";
    QTest::addRow("wider than the column") << "epäkeskinen veto" << 10 << "epäkeskinen veto";
    QTest::addRow("symbol of three bytes") << "C1 ≥ 10·hef" << 12 << "C1 ≥ 10·hef ";
}

void TestTexts::padded()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, padded);
    const std::string utf8 = text.toStdString();
    QCOMPARE(texts::length(utf8), std::size_t(text.size()));
    QCOMPARE(QString::fromStdString(texts::padded(utf8, std::size_t(width))), padded);
}

// Finnish windows take the Finnish texts; English and Russian, which has none of its own, the
// English ones.
void TestTexts::languageOfTheWindows()
{
    QCOMPARE(texts::of(lang::Language::Finnish), Language::Finnish);
    QCOMPARE(texts::of(lang::Language::English), Language::English);
    QCOMPARE(texts::of(lang::Language::Russian), Language::English);
}

QTEST_APPLESS_MAIN(TestTexts)
#include "tst_texts.moc"
