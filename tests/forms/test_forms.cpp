// The window runtime and the definitions: geometry, drawing, clicks through the stacking of
// the controls, events, and checks that catch slips in the transcribed layouts.

#include "forms/artwork/artwork.h"
#include "forms/definitions.h"
#include "forms/form.h"
#include "forms/platform.h"
#include "forms/widgets.h"
#include "forms/zoom.h"
#include "product/sheettable.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPicture>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <map>

using namespace forms;

namespace {

// A small window with one control of each kind that the checks need.
constexpr Rgb Green{10, 200, 30};
constexpr const char *FixtureTabs[] = {"Second", "First", "Button", "Note", "Yes"};
constexpr ControlDef FixtureControls[] = {
    {.name = "Area", .kind = Kind::Image, .rect = {150, 150, 1500, 750}},
    {.name = "Opaque",
     .kind = Kind::Label,
     .rect = {1800, 150, 1500, 300},
     .caption = "",
     .back = White},
    {.name = "Clear", .kind = Kind::Label, .rect = {1800, 600, 1500, 300}, .transparent = true},
    {.name = "First", .kind = Kind::TextBox, .rect = {150, 1500, 900, 300}},
    {.name = "Second", .kind = Kind::TextBox, .rect = {150, 1950, 900, 300}},
    // Listed above the field First, yet a label lies below every widget.
    {.name = "Under", .kind = Kind::Label, .rect = {600, 1350, 900, 300}, .back = Red},
    {.name = "Note", .kind = Kind::TextBox, .rect = {1500, 1500, 1500, 750}, .multiLine = true},
    {.name = "Button",
     .kind = Kind::CommandButton,
     .rect = {3300, 1500, 1500, 450},
     .caption = "OK"},
    {.name = "Box", .kind = Kind::Frame, .rect = {4500, 150, 1500, 1500}, .caption = "Frame1"},
    {.name = "Inside",
     .kind = Kind::Label,
     .rect = {150, 300, 600, 300},
     .caption = "x",
     .container = "Box"},
    {.name = "Rule",
     .index = 0,
     .kind = Kind::Line,
     .rect = {0, 150, 1500, 150},
     .container = "Box"},
    {.name = "Yes",
     .kind = Kind::CommandButton,
     .rect = {3300, 2100, 1440, 420},
     .picture = "yes_button"},
    {.name = "Photo", .kind = Kind::PictureBox, .rect = {4950, 1950, 1440, 420}, .back = White},
};
const FormDef Fixture{.name = "Fixture",
                      .caption = "Fixture",
                      .kind = WindowKind::Fixed,
                      .width = 6300,
                      .height = 3000,
                      .back = Green,
                      .controls = FixtureControls,
                      .tabOrder = FixtureTabs};

QString key(const ControlDef &c)
{
    return c.index == NoIndex ? QString::fromLatin1(c.name)
                              : QStringLiteral("%1(%2)").arg(QLatin1String(c.name)).arg(c.index);
}

const ControlDef &find(const FormDef &form, const char *name, int index = NoIndex)
{
    for (const ControlDef &c : form.controls)
        if (qstrcmp(c.name, name) == 0 && c.index == index)
            return c;
    qFatal("no %s(%d)", name, index);
}

QPoint centre(const ControlDef &c)
{
    return {px(c.rect.left + c.rect.width / 2), px(c.rect.top + c.rect.height / 2)};
}

// What a control covers on its window: a caption's text as drawn; a picture box, a text field
// or an empty label (filled by the logic) its whole rectangle.
QRect inked(const Control *c)
{
    const ControlDef &d = c->definition();
    if (d.kind == Kind::Label && *d.caption)
        return QFontMetrics(toFont(d.font))
            .boundingRect(c->geometry(), textFlags(d.align), QString::fromUtf8(d.caption));
    return c->geometry();
}

// Clicks through the window, so the click reaches whatever control lies topmost there.
void clickAt(Form &form, QPoint at)
{
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, at);
}

} // namespace

class TestForms : public QObject
{
    Q_OBJECT
private slots:
    void definitionsAreWellFormed_data();
    void definitionsAreWellFormed();
    void form1Tags();
    void stateAtCreation_data();
    void stateAtCreation();
    void form1Alignment();
    void form1LongCaptionsWrapInsideTheirLabels();
    void form2Grid();
    void form3Texts_data();
    void form3Texts();
    void tabsLieAboveTheirPictures();
    void reportPageLayout();
    void reportPageInputs();
    void confirmations_data();
    void confirmations();
    void grabDialogs();

    void geometryInPixels();
    void drawing();
    void clicksReachTheTopmostControl();
    void labelsLieBelowWidgets();
    void disabledLabelsAreGreyed();
    void changesRepaintWhereTheControlWasAndIs();
    void textFieldEvents();
    void controlProperties();
    void windowEvents();
    void placedInTheFreeAreaOfTheScreen_data();
    void placedInTheFreeAreaOfTheScreen();
    void findsControlsByNameAndIndex();
    void zoomScalesEveryControl_data();
    void zoomScalesEveryControl();
    void zoomDrawsSharpWhereTheScaledGrabIsBlurred_data();
    void zoomDrawsSharpWhereTheScaledGrabIsBlurred();
    void zoomKeysChangeEveryWindow();
    void opensAtTheLargestStepThatFits_data();
    void opensAtTheLargestStepThatFits();
    void screenSizeWindowOpensOverItsOpener();
    void printingIgnoresTheZoom();

private:
    static void show(Form &form)
    {
        form.showWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }
};

void TestForms::definitionsAreWellFormed_data()
{
    QTest::addColumn<const FormDef *>("form");
    for (const FormDef *form : Windows)
        QTest::newRow(form->name) << form;
}

void TestForms::definitionsAreWellFormed()
{
    QFETCH(const FormDef *, form);
    QCOMPARE(findDefinition(form->name), form);

    QSet<QString> seen;
    std::map<QString, QList<int>> arrays;
    for (const ControlDef &c : form->controls) {
        QVERIFY2(!seen.contains(key(c)), qPrintable(key(c) + " twice"));
        seen.insert(key(c));
        if (c.index != NoIndex)
            arrays[QString::fromLatin1(c.name)].append(c.index);
        if (c.container)
            QVERIFY2(seen.contains(QString::fromLatin1(c.container)), c.name);
        // A control with a picture has about the size of its picture.
        if (c.picture) {
            const QSize picture = artwork::nominalSize(QString::fromLatin1(c.picture));
            QVERIFY2(!picture.isEmpty(), c.picture);
            QVERIFY2(qAbs(px(c.rect.width) - picture.width()) <= 6 &&
                         qAbs(px(c.rect.height) - picture.height()) <= 6,
                     qPrintable(key(c)));
        }
        if (c.kind != Kind::Line) {
            QVERIFY2(c.rect.width > 0 && c.rect.height > 0, qPrintable(key(c)));
            QVERIFY2(c.rect.left + c.rect.width <= form->width + 150, qPrintable(key(c)));
            QVERIFY2(c.rect.top + c.rect.height <= form->height + 150, qPrintable(key(c)));
        }
    }
    // A control array has no gaps in its indices.
    for (auto &[name, indices] : arrays) {
        std::sort(indices.begin(), indices.end());
        for (qsizetype i = 1; i < indices.size(); ++i)
            QVERIFY2(indices[i] == indices[i - 1] + 1, qPrintable(name));
    }
    if (form->picture)
        QVERIFY(!artwork::nominalSize(QString::fromLatin1(form->picture)).isEmpty());
}

void TestForms::form1Tags()
{
    QSet<QString> lbl;
    for (const ControlDef &c : Form1.controls)
        if (qstrcmp(c.tag, "lbl") == 0)
            lbl.insert(key(c));
    QSet<QString> expected{"Label1",  "Label2",  "Label3",  "Label4",  "Label5",  "Label6",
                           "Label7",  "Label8",  "Label9",  "Label10", "Label11", "Label12",
                           "Label13", "Label14", "Label15", "Label17", "Label18", "Label20",
                           "label21", "KYLLA",   "EI"};
    for (int i = 0; i < 7; ++i)
        expected.insert(QStringLiteral("LbSit(%1)").arg(i));
    QCOMPARE(lbl, expected);
    QCOMPARE(Form1.tag, "fin");
}

void TestForms::stateAtCreation_data()
{
    QTest::addColumn<const FormDef *>("form");
    QTest::addColumn<QSet<QString>>("hidden");

    QSet<QString> form1{"Image2",  "ImgLanguage(0)", "Label2",     "Label12",
                        "Label14", "ImgSHOW",        "ImgPodlozh", "Shape1(0)"};
    for (int k = 0; k <= 10; ++k)
        form1.insert(QStringLiteral("Picture1(%1)").arg(k));
    for (int i = 1; i < 7; ++i)
        form1.insert(QStringLiteral("ShpSit(%1)").arg(i));
    QTest::newRow("Form1") << &Form1 << form1;
    QTest::newRow("FrmATT") << &FrmATT << QSet<QString>{"Label2"};
    // The data sheet; the help window shows all three texts, its logic picks one.
    QTest::newRow("Form2") << &Form2
                           << QSet<QString>{"Text1",          "Lblver",         "LblData",
                                            "Label2(0)",      "ImgLanguage(0)", "ImgLanguage(1)",
                                            "ImgLanguage(2)", "Image2"};
    QTest::newRow("Form3") << &Form3
                           << QSet<QString>{"ImgLanguage(0)", "ImgLanguage(1)", "ImgLanguage(2)"};

    // The print logic shows one arrangement, one answer, and the drawing of the chosen size or
    // in its place the note why there is none; the line of the load cases for a design of
    // several.
    QSet<QString> report{"KYLLA", "EI", "Pic1", "LblNote", "LblCases"};
    for (int i = 0; i < 7; ++i)
        report.insert(QStringLiteral("Picture1(%1)").arg(i));
    QTest::newRow("FrmPRINT") << &FrmPRINT << report;
    for (const FormDef *form : {&FrmTULOSTA, &FrmPRINTeng, &FrmTULOSTA2})
        QTest::newRow(form->name) << form << QSet<QString>{};
}

// What is hidden when a window is created; every text field starts empty.
void TestForms::stateAtCreation()
{
    QFETCH(const FormDef *, form);
    QFETCH(QSet<QString>, hidden);
    Form window(*form);
    QSet<QString> shown;
    QSet<QString> notShown;
    for (const Control *c : window.controls()) {
        (c->isVisible() ? shown : notShown).insert(key(c->definition()));
        if (c->kind() == Kind::TextBox)
            QVERIFY2(c->text().isEmpty(), qPrintable(key(c->definition())));
    }
    QCOMPARE(notShown, hidden);
    QVERIFY(!shown.isEmpty());
}

// Positions that belong together in the design: slips in the transcribed numbers show here.
void TestForms::form1Alignment()
{
    // The fields share one left edge and width; their captions share one right edge, left of
    // the fields.
    const int fields[] = {1, 3, 4, 5, 6, 7, 8, 9};
    const ControlDef &first = find(Form1, "Text1");
    const ControlDef &firstCaption = find(Form1, "Label1");
    for (int n : fields) {
        const QByteArray text = "Text" + QByteArray::number(n);
        const QByteArray label = "Label" + QByteArray::number(n);
        const ControlDef &f = find(Form1, text.constData());
        const ControlDef &l = find(Form1, label.constData());
        QCOMPARE(f.rect.left, first.rect.left);
        QCOMPARE(f.rect.width, first.rect.width);
        QCOMPARE(l.rect.left + l.rect.width, firstCaption.rect.left + firstCaption.rect.width);
        QVERIFY2(l.rect.left + l.rect.width < f.rect.left, label.constData());
        // On the line of its field; the lines are 32 pixels apart.
        QVERIFY2(qAbs(centre(f).y() - centre(l).y()) <= 8, label.constData());
    }

    // Each red dot lies in the middle of the click area over its drawn box or button.
    const auto near = [](QPoint a, QPoint b) {
        return qAbs(a.x() - b.x()) <= 3 && qAbs(a.y() - b.y()) <= 3;
    };
    for (int i = 0; i < 7; ++i)
        QVERIFY(near(centre(find(Form1, "ShpSit", i)), centre(find(Form1, "ImgSIT", i))));
    for (int i = 0; i < 2; ++i)
        QVERIFY(near(centre(find(Form1, "Shape1", i)), centre(find(Form1, "ImgNO", i))));

    // The result values stand in columns under the headings and in rows beside their caption.
    const char *rows[] = {"veto_leikkaus", "leikkaus", "epak"};
    const char *captions[] = {"Label18", "Label20", "label21"};
    for (int i = 1; i <= 4; ++i)
        for (const char *r : rows)
            QCOMPARE(find(Form1, r, i).rect.left, find(Form1, rows[0], i).rect.left);
    for (int r = 0; r < 3; ++r) {
        for (int i = 2; i <= 4; ++i)
            QCOMPARE(find(Form1, rows[r], i).rect.top, find(Form1, rows[r], 1).rect.top);
        QVERIFY(qAbs(find(Form1, rows[r], 1).rect.top - find(Form1, captions[r]).rect.top) <= 180);
    }
}

void TestForms::form1LongCaptionsWrapInsideTheirLabels()
{
    for (const char *name : {"Label12", "Label13"}) {
        const ControlDef &c = find(Form1, name);
        const QFontMetrics metrics(toFont(c.font));
        const QRect box(0, 0, px(c.rect.width), 1000);
        const QRect used =
            metrics.boundingRect(box, Qt::TextWordWrap, QString::fromUtf8(c.caption));
        QCOMPARE(used.height() / metrics.lineSpacing(), 2);
        QVERIFY(used.height() <= px(c.rect.height));
    }
}

// Every data label lies in the cell of its column and row between the grid lines, under the
// header that the sheet's columns name; the headers carry their words and the data labels
// repeat them until the sheet fills them. Every entry of the product table fits its label.
void TestForms::form2Grid()
{
    // Outside the frame: the frame, Text1, three tabs, three language areas and the English
    // tabs; inside: five controls above the grid, 22 lines, 13 headers and 13 x 6 data labels.
    QCOMPARE(Form2.controls.size(), std::size_t(9 + 5 + 22 + 13 + 13 * 6));
    struct Expected
    {
        const char *array;
        const char *caption;
        bool product; // article numbers lie transparent over the grid
    };
    const Expected expected[] = {
        {"koko", "Koko", false},    {"xtr", "X-TR", true},      {"xtrd", "X-TR D", true},
        {"xtrk", "R-UZI", true},    {"xtrkd", "R-UZI D", true}, {"xtrh", "R-IZU", true},
        {"d0", "d 0", false},       {"f", "f", false},          {"h1", "h1", false},
        {"hnom", "h nom", false},   {"l", "l", false},          {"tfix", "t fix", false},
        {"tinst", "t inst", false},
    };
    Form form(Form2);
    const auto rectOf = [&](const char *name, int index) {
        return form.control(QLatin1String(name), index)->definition().rect;
    };
    QList<int> xs, ys;
    for (int i = 0; i <= 13; ++i)
        xs << rectOf("Line1", i).left;
    for (int i = 14; i <= 21; ++i)
        ys << rectOf("Line1", i).top;
    QVERIFY(std::is_sorted(xs.begin(), xs.end()) && std::is_sorted(ys.begin(), ys.end()));
    // The cell between two lines that holds the middle of [from, from + size).
    const auto cell = [](const QList<int> &lines, int from, int size) {
        const int middle = from + size / 2;
        for (qsizetype k = 0; k + 1 < lines.size(); ++k)
            if (lines[k] < middle && middle < lines[k + 1])
                return int(k);
        return -1;
    };
    constexpr int OnePixel = TwipsPerPixel;

    QSet<int> columnsUsed;
    for (int c = 0; c < product::ColumnCount; ++c) {
        const product::Column &column = product::Columns[c];
        QCOMPARE(column.array, expected[c].array);
        const Control *header = form.control(QStringLiteral("Label2"), column.header);
        const Rect h = header->definition().rect;
        QCOMPARE(header->caption(), QString::fromUtf8(expected[c].caption));
        QCOMPARE(cell(ys, h.top, h.height), 0);
        const int x = cell(xs, h.left, h.width);
        QVERIFY2(x >= 0 && !columnsUsed.contains(x), column.array);
        columnsUsed.insert(x);

        for (int row = 1; row <= product::RowCount; ++row) {
            const QString name = QStringLiteral("%1(%2)").arg(column.array).arg(row);
            const Control *label = form.control(QLatin1String(column.array), row);
            const Rect r = label->definition().rect;
            QCOMPARE(label->caption(), header->caption());
            QCOMPARE(label->definition().transparent, expected[c].product);
            QVERIFY2(cell(xs, r.left, r.width) == x, qPrintable(name));
            QVERIFY2(cell(ys, r.top, r.height) == row, qPrintable(name));
            // The edges reach at most a pixel over the lines; the two larger labels of row 1
            // reach further down only.
            QVERIFY2(r.left >= xs[x] - OnePixel && r.left + r.width <= xs[x + 1] + OnePixel,
                     qPrintable(name));
            QVERIFY2(r.top >= ys[row] && r.top + 315 <= ys[row + 1] + OnePixel, qPrintable(name));
            const bool larger = row == 1 && (c == 1 || c == 2); // xtr(1), xtrd(1)
            QVERIFY2(r.height == (larger ? 375 : 315), qPrintable(name));

            const QFontMetrics metrics(toFont(label->definition().font));
            for (int size = 1; size <= product::SizeCount; ++size) {
                const QString entry = QString::fromUtf8(product::entry(size, row, c));
                QVERIFY2(metrics.horizontalAdvance(entry) <= label->geometry().width(),
                         qPrintable(name + ": " + entry));
            }
        }
    }
}

void TestForms::form3Texts_data()
{
    // The line counts, first and last lines and SHA-1 digests of the three texts as issued,
    // each line ending with CR LF.
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QByteArray>("sha1");
    QTest::newRow("English help")
        << "Label1" << 28
        << "Calculation program for KALVEX X-TR and R-IZU torque controlled expansion anchors "
           "acc. to option 4"
        << "fastening (in direction 2) applies to fastening types 4, 5, 6 and 7."
        << QByteArray("7907c5de00ac7381b6e40b6fbacc0526feae6031");
    QTest::newRow("Finnish help")
        << "Label2" << 31
        << "KALVEX X-TR - ja R-IZU - kiila-ankkurien laskentaohjelma option 4 mukaan"
        << "ankkureiden painopisteen välistä etäisyyttä suunnassa 2."
        << QByteArray("b09bd9b2ef4ff0b05e698601733fd380c278536a");
    QTest::newRow("disclaimer") << "Label3" << 10 << QString(244, u' ') + "DISCLAIMER"
                                << "    contained in this calculation program."
                                << QByteArray("5643543ddedaaf1172ba75dd2e9593d9f778b778");
}

void TestForms::form3Texts()
{
    QFETCH(QString, label);
    QFETCH(int, lines);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QByteArray, sha1);
    Form form(Form3);
    const Control *c = form.control(label);
    const QString text = c->caption();
    QVERIFY(c->isVisible());
    QVERIFY(text.endsWith("\r\n"));
    QStringList split = text.split("\r\n");
    QCOMPARE(split.takeLast(), QString());
    QCOMPARE(split.size(), lines);
    for (const QString &line : split)
        QVERIFY2(!line.contains(u'\r') && !line.contains(u'\n'), qPrintable(line));
    QCOMPARE(split.first(), first);
    QCOMPARE(split.last(), last);
    QCOMPARE(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex(), sha1);
    if (label == "Label3") {
        QCOMPARE(split[2], "    This program is provided \"as is\".");
        for (qsizetype i = 2; i < split.size(); ++i)
            QVERIFY(split[i].startsWith("    ") && split[i][4] != u' ');
    }

    // The text fits its label at its font, drawn as the runtime draws it.
    const QFontMetrics metrics(toFont(c->definition().font));
    const QRect box = c->geometry();
    const QRect used = metrics.boundingRect(QRect(0, 0, box.width(), 100000),
                                            textFlags(c->definition().align), text);
    QVERIFY2(used.height() <= box.height(), qPrintable(QString::number(used.height())));
}

// The click areas of the tabs lie above the pictures laid over the drawn tabs.
void TestForms::tabsLieAboveTheirPictures()
{
    Form sheet(Form2);
    show(sheet);
    sheet.control(QStringLiteral("Image2"))->setVisible(true);
    for (const char *tab : {"ImgExit", "ImgPrint", "ImgHelp"}) {
        QSignalSpy clicked(sheet.control(QLatin1String(tab)), &Control::clicked);
        clickAt(sheet, centre(find(Form2, tab)));
        QCOMPARE(clicked.count(), 1);
    }

    Form help(Form3);
    show(help);
    QSignalSpy back(help.control(QStringLiteral("Image1")), &Control::clicked);
    clickAt(help, centre(find(Form3, "ImgEng")));
    QCOMPARE(back.count(), 1);
    // The English help lies over the disclaimer, the disclaimer over the Finnish help.
    const QList<Control *> &controls = help.controls();
    QVERIFY(controls.indexOf(help.control(QStringLiteral("Label1"))) >
            controls.indexOf(help.control(QStringLiteral("Label3"))));
    QVERIFY(controls.indexOf(help.control(QStringLiteral("Label3"))) >
            controls.indexOf(help.control(QStringLiteral("Label2"))));
}

// The page as the report prints it: everything on the page, every caption on its label, and
// nothing on the page covers anything else.
void TestForms::reportPageLayout()
{
    Form page(FrmPRINT);
    QCOMPARE(page.size(), QSize(750, 588));
    QCOMPARE(page.minimumSize(), page.maximumSize());
    // As designed, the empty Label17 and Pic1 reach 7 and 3 pixels past the right edge.
    const QMap<QString, int> pastRight{{"Label17", 7}, {"Pic1", 3}};
    for (const Control *c : page.controls()) {
        const QString name = key(c->definition());
        const QRect onPage = page.rect().adjusted(0, 0, pastRight.value(name), 0);
        QVERIFY2(onPage.contains(c->geometry()), qPrintable(name));
        QVERIFY2(c->geometry().contains(inked(c)), qPrintable(name + " does not fit"));
    }

    // The seven arrangement pictures share one place, and so do the two answers: the logic
    // shows one of each. The rectangles of neighbouring captions, and those of the pictures
    // and the captions' empty left ends, overlap by a few pixels; what is drawn does not, but
    // for the box of the widest picture, one pixel into the left end of Label17.
    const QSet<QString> touching{"Picture1(2)", "Label17"};
    const auto place = [](const Control *c) {
        if (c->name() == "Picture1")
            return QStringLiteral("arrangement");
        if (c->name() == "KYLLA" || c->name() == "EI")
            return QStringLiteral("answer");
        return key(c->definition());
    };
    const QSet<QString> drawing{"Label14", "Pic1"};
    const QList<Control *> &all = page.controls();
    for (qsizetype i = 0; i < all.size(); ++i)
        for (qsizetype j = i + 1; j < all.size(); ++j) {
            const QString a = key(all[i]->definition());
            const QString b = key(all[j]->definition());
            const QRect both = inked(all[i]) & inked(all[j]);
            // The note stands in the place of the plate line and the drawing, never with them.
            const bool note =
                (a == "LblNote" && drawing.contains(b)) || (b == "LblNote" && drawing.contains(a));
            if (place(all[i]) == place(all[j]) || both.isEmpty() || note)
                continue;
            QVERIFY2((QSet<QString>{a, b} == touching && both.width() == 1),
                     qPrintable(a + " over " + b));
        }
}

// The input captions stand right-aligned before their fields, on the same line; the captions
// that follow the language are those of the inputs, the concrete state, the results, the
// note of a page without an anchor and the line of the load cases.
void TestForms::reportPageInputs()
{
    const std::pair<const char *, const char *> inputs[] = {
        {"Label12", "Text1"}, {"Label11", "Text3"}, {"Label10", "Text4"}, {"Label5", "Text5"},
        {"Label6", "Text6"},  {"Label7", "Text7"},  {"Label8", "Text8"},  {"Label9", "Text9"}};
    QSet<QString> expected{"Label13", "KYLLA",   "EI",      "Label17", "Label14",
                           "Label18", "Label20", "label21", "LblNote", "LblCases"};
    const ControlDef &firstCaption = find(FrmPRINT, inputs[0].first);
    const ControlDef &firstField = find(FrmPRINT, inputs[0].second);
    for (auto [caption, field] : inputs) {
        const ControlDef &l = find(FrmPRINT, caption);
        const ControlDef &f = find(FrmPRINT, field);
        expected.insert(QLatin1String(caption));
        QCOMPARE(l.rect.left + l.rect.width, firstCaption.rect.left + firstCaption.rect.width);
        QVERIFY2(l.rect.left + l.rect.width < f.rect.left, caption);
        QCOMPARE(l.align, Align::Right);
        QVERIFY(l.transparent);
        QCOMPARE(f.kind, Kind::TextBox);
        QCOMPARE(f.rect.left, firstField.rect.left);
        QCOMPARE(f.rect.width, firstField.rect.width);
        QVERIFY2(qAbs(l.rect.top - f.rect.top) <= 15, caption);
    }
    QSet<QString> lbl;
    for (const ControlDef &c : FrmPRINT.controls)
        if (qstrcmp(c.tag, "lbl") == 0)
            lbl.insert(key(c));
    QCOMPARE(lbl, expected);

    // The report's own captions of the spacings are shorter than the main window's.
    for (const char *s : {"S1", "S2"}) {
        const auto caption = [s](const FormDef &form) {
            for (const ControlDef &c : form.controls)
                if (qstrcmp(c.tag, "lbl") == 0 && QString::fromUtf8(c.caption).contains(s))
                    return QString::fromUtf8(c.caption);
            return QString();
        };
        QVERIFY(caption(FrmPRINT).contains(QString::fromUtf8("keskinväli ") + s));
        QVERIFY(caption(Form1).contains(QString::fromUtf8("keskinäinen etäisyys ") + s));
    }
}

void TestForms::confirmations_data()
{
    QTest::addColumn<const FormDef *>("form");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("sizable");
    QTest::addColumn<QStringList>("focusOrder");
    QTest::addColumn<bool>("yesIsPicture");
    const QStringList withEntry{"Text1", "Command1", "Command2"};
    QTest::newRow("FrmTULOSTA") << &FrmTULOSTA << QSize(352, 172) << false << withEntry << true;
    QTest::newRow("FrmPRINTeng") << &FrmPRINTeng << QSize(351, 182) << false << withEntry << false;
    QTest::newRow("FrmTULOSTA2") << &FrmTULOSTA2 << QSize(312, 79) << true
                                 << QStringList{"Command2", "Command1"} << true;
}

// Small tool windows; the focus starts in the entry (then Yes before No), or on No, and the tab
// key goes round.
void TestForms::confirmations()
{
    QFETCH(const FormDef *, form);
    QFETCH(QSize, size);
    QFETCH(bool, sizable);
    QFETCH(QStringList, focusOrder);
    QFETCH(bool, yesIsPicture);

    Form window(*form);
    QCOMPARE(window.size(), size);
    QCOMPARE(window.windowType(), Qt::Tool);
    QCOMPARE(window.minimumSize() != window.maximumSize(), sizable);
    QCOMPARE(window.tag(), "0");

    const auto *yes =
        qobject_cast<QPushButton *>(window.control(QStringLiteral("Command1"))->widget());
    QCOMPARE(yes->text().isEmpty(), yesIsPicture);
    QCOMPARE(!yes->icon().isNull(), yesIsPicture);
    if (Control *entry = window.findControl("Text1")) {
        entry->setText(QStringLiteral("Project\nsecond line"));
        QCOMPARE(entry->text(), "Project\nsecond line");
        entry->setText(QString());
    }

    show(window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (qsizetype i = 0; i < focusOrder.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, focusOrder + QStringList{focusOrder.first()});
}

// Writes the print windows to $KIILA_GRAB_DIR for a look by eye: the confirmations as created,
// the report page with an arrangement, an answer, the drawing's place and sample texts.
void TestForms::grabDialogs()
{
    const QString folder = qEnvironmentVariable("KIILA_GRAB_DIR");
    const auto save = [&](Form &window) {
        const QPixmap image = window.grab();
        QCOMPARE(image.deviceIndependentSize().toSize(), window.size());
        if (!folder.isEmpty())
            QVERIFY(image.save(folder + u'/' + window.name().toLower() + ".png"));
    };
    for (const FormDef *form : {&FrmTULOSTA, &FrmPRINTeng, &FrmTULOSTA2}) {
        Form window(*form);
        save(window);
    }

    Form page(FrmPRINT);
    for (const char *shown : {"KYLLA", "Pic1"})
        page.control(QLatin1String(shown))->setVisible(true);
    page.control(QStringLiteral("Picture1"), 2)->setVisible(true); // the widest
    const std::pair<const char *, const char *> texts[] = {
        {"LblKomm",
         "Project: Harbour warehouse, extension\nColumn base B12\nDesigner: A. Engineer"},
        {"Lblver", "Kiila-ankkurin laskentaohjelma  (VERSIO SUOMI  01_b)"},
        {"LblData", "24.12.2024 23:59:59"},
        {"Text1", "1250"},
        {"Text3", "100.5"},
        {"Text4", "150"},
        {"Text5", "200"},
        {"Text6", "12.75"},
        {"Text7", "-7.5"},
        {"Text8", "20"},
        {"Text9", "0"},
        {"Label17", "3 kpl  Kalvex M 16"},
        {"Label14", "Kiinnityslevyn mitat min. 360 x 120 mm"},
        {"Label18", "Ankkurin veto- ja leikkauskestävyys kN"},
        {"Label20", "Ryhmän leikkauskestävyys kN"},
        {"label21", "Ryhmän epäkeskinen vetokestävyys kN"}};
    for (auto [name, text] : texts)
        page.control(QLatin1String(name))->setCaption(QString::fromUtf8(text));
    for (const char *row : {"veto_leikkaus", "leikkaus", "epak"})
        for (int i = 1; i <= 4; ++i)
            page.control(QLatin1String(row), i)->setCaption(QStringLiteral("1%1%1.88").arg(i));
    save(page);
}

void TestForms::geometryInPixels()
{
    Form main(Form1);
    QCOMPARE(main.size(), QSize(1027, 768));
    QVERIFY(main.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(main.caption(), QString::fromUtf8(Form1.caption));
    QCOMPARE(main.control(QStringLiteral("Text4"))->widget()->geometry(), QRect(848, 161, 40, 17));
    QCOMPARE(main.control(QStringLiteral("Text4"))->geometry(), QRect(848, 161, 40, 17));
    QCOMPARE(main.control(QStringLiteral("Picture1"), 7)->widget()->geometry(),
             QRect(556, 536, 329, 129));
    QCOMPARE(main.control(QStringLiteral("ShpSit"), 0)->geometry().size(), QSize(11, 11));

    Form fixture(Fixture);
    QCOMPARE(fixture.size(), QSize(420, 200));
    QCOMPARE(fixture.minimumSize(), fixture.maximumSize()); // a fixed window
    QVERIFY(!fixture.windowFlags().testFlag(Qt::FramelessWindowHint));
    // Controls of a frame are placed in the frame.
    const Control *inside = fixture.control(QStringLiteral("Inside"));
    QCOMPARE(inside->container(), fixture.control(QStringLiteral("Box"))->widget());
    QCOMPARE(inside->container()->mapTo(&fixture, inside->geometry().topLeft()), QPoint(310, 30));
    QCOMPARE(fixture.control(QStringLiteral("Rule"), 0)->geometry(), QRect(0, 10, 101, 1));
}

void TestForms::drawing()
{
    Form form(Fixture);
    form.control(QStringLiteral("Clear"))->setCaption(QString());
    const QImage image = form.grab().toImage();
    const auto at = [&](const char *name) {
        return QColor(image.pixel(form.control(QLatin1String(name))->geometry().center()));
    };
    QCOMPARE(at("Area"), toColor(Green));  // a click area draws nothing
    QCOMPARE(at("Clear"), toColor(Green)); // a transparent label shows what lies below
    QCOMPARE(at("Opaque"), QColor(Qt::white));

    // The main window's background is its picture, unscaled, with the back colour in the
    // strip at the right.
    Form main(Form1);
    const QImage window = main.grab().toImage();
    QCOMPARE(window.size(), QSize(1027, 768));
    QCOMPARE(QColor(window.pixel(1025, 300)), toColor(LightGrey));
    const QImage background = artwork::picture(QStringLiteral("form1_background")).toImage();
    QCOMPARE(window.pixel(2, 760), background.pixel(2, 760));
}

void TestForms::clicksReachTheTopmostControl()
{
    Form main(Form1);
    show(main);
    QMap<QString, int> clicks;
    for (Control *c : main.controls())
        connect(c, &Control::clicked, this, [&clicks, c] { ++clicks[key(c->definition())]; });
    const auto clicksAt = [&](QPoint at) {
        clicks.clear();
        clickAt(main, at);
        return clicks.keys();
    };

    // The calculate button's caption lies below its click area.
    QCOMPARE(clicksAt(centre(find(Form1, "Label15"))), QStringList{"ImgCalc"});
    // A dot takes no clicks: its check box does.
    QCOMPARE(clicksAt(centre(find(Form1, "ShpSit", 0))), QStringList{"ImgSIT(0)"});
    // The data sheet caption takes its own clicks, the pill around it the rest.
    main.control(QStringLiteral("ImgSHOW"))->setVisible(true);
    main.control(QStringLiteral("Label14"))->setVisible(true);
    QCOMPARE(clicksAt(centre(find(Form1, "Label14"))), QStringList{"Label14"});
    QCOMPARE(clicksAt({530, 425}), QStringList{"ImgSHOW"});
    // The English tabs lie below the tab click areas.
    main.control(QStringLiteral("Image2"))->setVisible(true);
    for (const char *tab : {"INFO", "ImgExit", "ImgPrint", "ImgHelp"})
        QCOMPARE(clicksAt(centre(find(Form1, tab))), QStringList{QLatin1String(tab)});
    // A disabled label takes no clicks; a hidden click area neither.
    main.control(QStringLiteral("Label4"))->setEnabled(false);
    QCOMPARE(clicksAt(centre(find(Form1, "Label4"))), QStringList{});
    QCOMPARE(clicksAt(centre(find(Form1, "ImgLanguage", 0)) - QPoint(10, 0)), QStringList{});
    // A press outside and a release inside is no click.
    clicks.clear();
    QTest::mousePress(main.windowHandle(), Qt::LeftButton, {}, {5, 5});
    QTest::mouseRelease(main.windowHandle(), Qt::LeftButton, {},
                        main.control(QStringLiteral("ImgCalc"))->geometry().center());
    QVERIFY(clicks.isEmpty());
}

void TestForms::labelsLieBelowWidgets()
{
    Form form(Fixture);
    show(form);
    const QRect under = form.control(QStringLiteral("Under"))->geometry();
    const QRect field = form.control(QStringLiteral("First"))->geometry();
    const QRect both = under & field;
    QVERIFY(!both.isEmpty());
    const QImage image = form.grab().toImage();
    QCOMPARE(QColor(image.pixel(both.center())), QColor(Qt::white));
    QCOMPARE(QColor(image.pixel(under.bottomRight() - QPoint(2, 2))), toColor(Red));

    // Where the two overlap the field takes the click; the rest of the label is the label's.
    QSignalSpy clicked(form.control(QStringLiteral("Under")), &Control::clicked);
    clickAt(form, both.center());
    QVERIFY(form.control(QStringLiteral("First"))->hasFocus());
    QCOMPARE(clicked.count(), 0);
    clickAt(form, under.bottomRight() - QPoint(2, 2));
    QCOMPARE(clicked.count(), 1);
}

void TestForms::disabledLabelsAreGreyed()
{
    // The label "x", black on the frame's grey; disabled, or in a disabled frame, it is drawn
    // in mid grey: nothing darker than that grey shows.
    Form form(Fixture);
    Control *inside = form.control(QStringLiteral("Inside"));
    const auto darkest = [&] {
        const QImage image = form.grab().toImage();
        const QRect r = inside->geometry().translated(inside->container()->pos());
        int least = 255;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                least = std::min(least, qGray(image.pixel(x, y)));
        return least;
    };
    QVERIFY(darkest() < 64);
    const auto greyed = [](int least) { return least >= 128 && least < 160; };
    inside->setEnabled(false);
    QVERIFY(greyed(darkest()));
    inside->setEnabled(true);
    form.control(QStringLiteral("Box"))->setEnabled(false);
    QVERIFY(greyed(darkest()));
}

// Records the rectangles that a widget repaints.
class PaintRecorder : public QObject
{
public:
    explicit PaintRecorder(QWidget *widget) { widget->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

void TestForms::changesRepaintWhereTheControlWasAndIs()
{
    Form form(Fixture);
    show(form);
    Control *inside = form.control(QStringLiteral("Inside"));
    Control *clear = form.control(QStringLiteral("Clear"));
    PaintRecorder frame(inside->container());
    PaintRecorder window(&form);
    // Applies a change once everything pending is painted, so only its repaint is recorded.
    const auto change = [](PaintRecorder &recorder, auto apply) {
        QCoreApplication::processEvents();
        recorder.painted = QRegion();
        apply();
    };
    QRect was = inside->geometry();
    change(frame, [&] { inside->setTop(900); });
    QTRY_VERIFY(frame.painted.contains(was) && frame.painted.contains(inside->geometry()));
    was = inside->geometry();
    change(frame, [&] {
        inside->setLeft(300);
        inside->setWidth(900);
        inside->setHeight(450);
    });
    QCOMPARE(inside->geometry(), QRect(20, 60, 60, 30));
    QTRY_VERIFY(frame.painted.contains(was) && frame.painted.contains(inside->geometry()));
    Control *area = form.control(QStringLiteral("Area"));
    change(window, [&] { area->setPicture(QStringLiteral("blue_pill")); });
    QCOMPARE(area->picture(), "blue_pill");
    QTRY_VERIFY(window.painted.contains(area->geometry()));
    change(frame, [&] { inside->setCaption("y"); });
    QTRY_VERIFY(frame.painted.contains(inside->geometry()));
    change(frame, [&] { inside->setForeColor(Qt::blue); });
    QTRY_VERIFY(frame.painted.contains(inside->geometry()));
    change(frame, [&] { inside->setEnabled(false); });
    QTRY_VERIFY(frame.painted.contains(inside->geometry()));
    change(window, [&] { clear->setCaption("shown"); });
    QTRY_VERIFY(window.painted.contains(clear->geometry()));
    change(window, [&] { clear->setVisible(false); });
    QTRY_VERIFY(window.painted.contains(clear->geometry()));
}

void TestForms::textFieldEvents()
{
    Form form(Fixture);
    show(form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Control *first = form.control(QStringLiteral("First"));
    Control *second = form.control(QStringLiteral("Second"));
    QSignalSpy changed(first, &Control::changed);
    QSignalSpy left(first, &Control::lostFocus);
    QSignalSpy enter(first, &Control::returnPressed);

    first->setText(QStringLiteral("set")); // set by the program is a change too
    QCOMPARE(changed.count(), 1);
    first->setFocus();
    QTest::keyClicks(first->widget(), QStringLiteral("ab"));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(first->text(), "setab");
    QCOMPARE(qobject_cast<QLineEdit *>(first->widget())->alignment() & Qt::AlignHCenter,
             Qt::AlignHCenter);
    QTest::keyClick(first->widget(), Qt::Key_Return);
    QCOMPARE(enter.count(), 1);
    QCOMPARE(left.count(), 0);

    // The tab order given: Second, First, Button, Note, Yes; the tab key also leaves a
    // multi-line field.
    QTest::keyClick(first->widget(), Qt::Key_Tab);
    QVERIFY(form.control(QStringLiteral("Button"))->hasFocus());
    QCOMPARE(left.count(), 1);
    QStringList visited;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList{"Note", "Yes", "Second"}));
    QVERIFY(second->hasFocus());

    Control *note = form.control(QStringLiteral("Note"));
    QSignalSpy noteChanged(note, &Control::changed);
    note->setText(QStringLiteral("line 1\nline 2"));
    QCOMPARE(note->text(), "line 1\nline 2");
    QCOMPARE(noteChanged.count(), 1);

    QSignalSpy pressed(form.control(QStringLiteral("Button")), &Control::clicked);
    QTest::mouseClick(form.control(QStringLiteral("Button"))->widget(), Qt::LeftButton);
    QCOMPARE(pressed.count(), 1);
}

void TestForms::controlProperties()
{
    Form form(Fixture);
    Control *inside = form.control(QStringLiteral("Inside"));
    inside->setTop(600);
    QCOMPARE(inside->top(), 600);
    QCOMPARE(inside->geometry().y(), 40);
    QCOMPARE(inside->left(), 150);

    QCOMPARE(inside->tag(), "");
    inside->setTag(QStringLiteral("lbl"));
    QCOMPARE(inside->tag(), "lbl");
    QCOMPARE(inside->charset(), Western);
    inside->setCharset(Cyrillic);
    QCOMPARE(inside->charset(), Cyrillic);

    inside->setForeColor(QColor(64, 0, 64));
    QCOMPARE(inside->foreColor(), QColor(64, 0, 64));
    QCOMPARE(form.control(QStringLiteral("Box"))->caption(), "Frame1");
    QCOMPARE(form.control(QStringLiteral("Button"))->caption(), "OK");
    QVERIFY(!qobject_cast<QPushButton *>(form.control(QStringLiteral("Yes"))->widget())
                 ->icon()
                 .isNull());

    // A frame moves and takes its size in twips, as the data sheet's frame does for printing.
    Control *box = form.control(QStringLiteral("Box"));
    box->setLeft(0);
    box->setTop(0);
    box->setHeight(3015);
    box->setWidth(6300);
    QCOMPARE(box->widget()->geometry(), QRect(0, 0, 420, 201));
    QCOMPARE(std::tuple(box->left(), box->top(), box->width(), box->height()),
             std::tuple(0, 0, 6300, 3015));
    // A picture box shows the picture set, as the report's drawing is copied.
    Control *photo = form.control(QStringLiteral("Photo"));
    QVERIFY(photo->picture().isEmpty());
    photo->setPicture(QStringLiteral("form3_back_eng"));
    QCOMPARE(photo->picture(), "form3_back_eng");
    QCOMPARE(photo->widget()->grab().toImage().pixelColor(48, 14),
             artwork::picture(QStringLiteral("form3_back_eng")).toImage().pixelColor(48, 14));

    // The control's own flags, whatever the window does.
    QVERIFY(inside->isVisible()); // the window is not shown
    form.setEnabled(false);
    QVERIFY(inside->isEnabled());
    inside->setEnabled(false);
    form.setEnabled(true);
    QVERIFY(!inside->isEnabled());

    QCOMPARE(form.tag(), "");
    form.setTag(QStringLiteral("eng"));
    QCOMPARE(form.tag(), "eng");
}

void TestForms::windowEvents()
{
    auto *form = new Form(Fixture);
    form->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<Form> guard(form);
    QSignalSpy activated(form, &Form::activated);
    QSignalSpy unloaded(form, &Form::unloaded);
    form->showWindow();
    QTRY_VERIFY(activated.count() >= 1);
    QVERIFY(form->close());
    QCOMPARE(unloaded.count(), 1);
    QTRY_VERIFY(!guard);
}

void TestForms::placedInTheFreeAreaOfTheScreen_data()
{
    QTest::addColumn<const FormDef *>("form");
    // The offscreen screen (800 x 800) is narrower than the screen-size windows.
    QTest::newRow("Form1, wider than the screen") << &Form1;
    QTest::newRow("FrmPRINT") << &FrmPRINT;
    QTest::newRow("FrmATT") << &FrmATT;
}

// Centred in the screen's free area (up to the frame the desktop adds, unknown before the window
// is first shown); along a side where the window is larger than the area, its top-left corner
// stays in it.
void TestForms::placedInTheFreeAreaOfTheScreen()
{
    QFETCH(const FormDef *, form);
    Form window(*form);
    show(window);
    const QRect area = window.screen()->availableGeometry();
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    if (frame.width() <= area.width())
        QVERIFY(qAbs(client.center().x() - area.center().x()) <= frame.width() - client.width());
    else
        QCOMPARE(frame.left(), area.left());
    if (frame.height() <= area.height())
        QVERIFY(qAbs(client.center().y() - area.center().y()) <= frame.height() - client.height());
    else
        QCOMPARE(frame.top(), area.top());
}

void TestForms::findsControlsByNameAndIndex()
{
    Form main(Form1);
    QCOMPARE(main.control(QStringLiteral("Picture1"), 7)->index(), 7);
    QCOMPARE(main.control(QStringLiteral("Picture1"), 7)->name(), "Picture1");
    QCOMPARE(main.control(QStringLiteral("epak"), 4)->kind(), Kind::Label);
    QVERIFY(!main.findControl("Picture1", 11));
    QVERIFY(!main.findControl("epak", 0)); // the size arrays start at 1
    QVERIFY(!main.findControl("Text2"));
    QCOMPARE(main.controls().size(), qsizetype(Form1.controls.size()));
}

namespace {

// Sets the zoom the user chose for the length of a test, and back to 100 % after it.
struct ZoomFor
{
    explicit ZoomFor(int percent, bool fits = false)
    {
        Zoom::instance().setFitsScreen(fits);
        Zoom::instance().setPercent(percent);
    }
    ~ZoomFor()
    {
        Zoom::instance().setFitsScreen(false);
        Zoom::instance().setPercent(NoZoom);
    }
    ZoomFor(const ZoomFor &) = delete;
    ZoomFor &operator=(const ZoomFor &) = delete;
};

// The pixels that differ strongly from their right or lower neighbour: the hard edges of text
// and lines, which a stretched picture blurs.
int hardEdges(const QImage &image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    int count = 0;
    for (int y = 0; y < grey.height() - 1; ++y) {
        const uchar *row = grey.constScanLine(y);
        const uchar *below = grey.constScanLine(y + 1);
        for (int x = 0; x < grey.width() - 1; ++x)
            count += qAbs(row[x] - row[x + 1]) > 80 || qAbs(row[x] - below[x]) > 80;
    }
    return count;
}

// The mean difference of two pictures of one size, per channel (0 to 255).
double meanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            sum +=
                qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

} // namespace

void TestForms::zoomScalesEveryControl_data()
{
    QTest::addColumn<int>("percent");
    for (int percent : {50, 75, 150, 200})
        QTest::addRow("%d %%", percent) << percent;
}

// Every control keeps its place on the picture: its rectangle, its widget, its font and its
// focus stop scale with the window, and a click at the scaled place of a command reaches it.
void TestForms::zoomScalesEveryControl()
{
    QFETCH(int, percent);
    const qreal zoom = percent / 100.0;
    Form plain(Form1);
    const ZoomFor chosen(percent);
    Form main(Form1);
    show(main);
    QCOMPARE(main.zoom(), zoom);
    QCOMPARE(main.size(), QSize(px(Form1.width, zoom), px(Form1.height, zoom)));
    for (const Control *c : main.controls()) {
        const QRect at100 = plain.control(c->name(), c->index())->geometry();
        const QRect zoomed = c->geometry();
        const QString what = key(c->definition()) + QStringLiteral(" at %1 %").arg(percent);
        const auto near = [zoom](int zoomedEdge, int edge) {
            return qAbs(zoomedEdge - edge * zoom) <= 1 + zoom;
        };
        QVERIFY2(near(zoomed.left(), at100.left()) && near(zoomed.top(), at100.top()) &&
                     near(zoomed.right() + 1, at100.right() + 1) &&
                     near(zoomed.bottom() + 1, at100.bottom() + 1),
                 qPrintable(what));
        if (c->widget()) {
            QCOMPARE(c->widget()->geometry(), zoomed);
            if (c->kind() != Kind::PictureBox)
                QVERIFY2(qAbs(c->widget()->font().pixelSize() - c->font().pixelSize() * zoom) <=
                             0.5,
                         qPrintable(what));
        }
    }
    QMap<QString, int> clicks;
    for (Control *c : main.controls())
        connect(c, &Control::clicked, this, [&clicks, c] { ++clicks[key(c->definition())]; });
    for (const char *command : {"ImgCalc", "ImgHelp", "ImgExit"}) {
        clicks.clear();
        clickAt(main, main.control(QLatin1String(command))->geometry().center());
        QCOMPARE(clicks.keys(), QStringList{QLatin1String(command)});
    }
    // A click where a field lies takes the keyboard focus there.
    QWidget *field = main.control(QStringLiteral("Text6"))->widget();
    clickAt(main, field->geometry().center());
    QTRY_VERIFY(field->hasFocus());
}

void TestForms::zoomDrawsSharpWhereTheScaledGrabIsBlurred_data()
{
    QTest::addColumn<int>("percent");
    for (int percent : {75, 150})
        QTest::addRow("%d %%", percent) << percent;
}

// The window drawn at a zoom looks like the 100 % window scaled (nothing moves on the picture),
// but drawn anew: at 150 % it keeps edges a stretched bitmap blurs.
void TestForms::zoomDrawsSharpWhereTheScaledGrabIsBlurred()
{
    QFETCH(int, percent);
    const QString folder = qEnvironmentVariable("KIILA_GRAB_DIR");
    Form plain(Form1);
    const QImage at100 = plain.grab().toImage();
    const ZoomFor chosen(percent);
    Form main(Form1);
    main.setZoom(percent / 100.0);
    const QImage zoomed = main.grab().toImage();
    const QImage scaled =
        at100.scaled(zoomed.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!folder.isEmpty()) {
        QVERIFY(at100.save(folder + QStringLiteral("/form1-100.png")));
        QVERIFY(zoomed.save(folder + QStringLiteral("/form1-%1.png").arg(percent)));
    }
    const double difference = meanDifference(zoomed, scaled);
    QVERIFY2(difference < 12, qPrintable(QString::number(difference)));
    if (percent > 100)
        QVERIFY2(
            hardEdges(zoomed) > 1.3 * hardEdges(scaled),
            qPrintable(
                QStringLiteral("%1 against %2").arg(hardEdges(zoomed)).arg(hardEdges(scaled))));
}

// Ctrl+plus, Ctrl+minus and Ctrl+0 in any window change the zoom of every window shown, a step
// at a time within 50 % and 200 %; a hidden window takes it when it is shown.
void TestForms::zoomKeysChangeEveryWindow()
{
    const ZoomFor chosen(NoZoom);
    Form fixture(Fixture);
    Form notice(FrmATT);
    Form hidden(FrmTULOSTA);
    show(notice);
    show(fixture);
    const auto sizes = [&](int percent) {
        return fixture.size() ==
                   QSize(px(Fixture.width, percent / 100.0), px(Fixture.height, percent / 100.0)) &&
               notice.size() ==
                   QSize(px(FrmATT.width, percent / 100.0), px(FrmATT.height, percent / 100.0));
    };
    QTest::keyClick(&fixture, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(Zoom::instance().percent(), 110);
    QVERIFY(sizes(110));
    QTest::keyClick(&fixture, Qt::Key_Equal, Qt::ControlModifier);
    QCOMPARE(Zoom::instance().percent(), 125);
    QVERIFY(sizes(125));
    QTest::keyClick(&notice, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(Zoom::instance().percent(), 100);
    QVERIFY(sizes(100));
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(&fixture, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(Zoom::instance().percent(), 50);
    QVERIFY(sizes(50));
    for (int i = 0; i < 12; ++i)
        QTest::keyClick(&fixture, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(Zoom::instance().percent(), 200);
    QVERIFY(sizes(200));
    QCOMPARE(hidden.zoom(), 1.0);
    show(hidden);
    QCOMPARE(hidden.zoom(), 2.0);
    QCOMPARE(hidden.size(), QSize(px(FrmTULOSTA.width, 2), px(FrmTULOSTA.height, 2)));
}

void TestForms::opensAtTheLargestStepThatFits_data()
{
    QTest::addColumn<const FormDef *>("form");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("opens");
    // The offscreen screen is 800 pixels wide; a titled window leaves room for its frame.
    QTest::newRow("Form1 at 100 %") << &Form1 << 100 << 75;
    QTest::newRow("Form1 at 200 %") << &Form1 << 200 << 75;
    QTest::newRow("Form1 at 67 %, which fits") << &Form1 << 67 << 67;
    QTest::newRow("FrmPRINT at 100 %, which fits") << &FrmPRINT << 100 << 100;
    QTest::newRow("FrmPRINT at 150 %") << &FrmPRINT << 150 << 100;
    QTest::newRow("FrmATT at 150 %") << &FrmATT << 150 << 125;
}

// A window that would not fit the free area of its screen at the zoom chosen opens at the
// largest step that fits, wholly inside the area; the zoom chosen stays as it was.
void TestForms::opensAtTheLargestStepThatFits()
{
    QFETCH(const FormDef *, form);
    QFETCH(int, chosen);
    QFETCH(int, opens);
    const ZoomFor zoom(chosen, true);
    Form window(*form);
    show(window);
    QCOMPARE(qRound(window.zoom() * 100), opens);
    QCOMPARE(Zoom::instance().percent(), chosen);
    const QRect area = window.screen()->availableGeometry();
    QVERIFY2(area.contains(window.frameGeometry()),
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(window.frameGeometry().x())
                            .arg(window.frameGeometry().y())
                            .arg(window.frameGeometry().width())
                            .arg(window.frameGeometry().height())));
    if (opens != chosen) {
        // The keys go from the zoom the window shows.
        QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(Zoom::instance().percent(), nextZoomStep(opens, -1));
        QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(window.zoom(), 1.0);
    }
}

// The data sheet and the help window open over the window they are opened from, where it stands
// now, not at the centre of the screen.
void TestForms::screenSizeWindowOpensOverItsOpener()
{
    const ZoomFor zoom(NoZoom, true);
    Form main(Form1);
    show(main);
    const QPoint corner = main.screen()->availableGeometry().topLeft();
    Form sheet(Form2, &main);
    for (QPoint moved : {QPoint(5, 20), QPoint(20, 5)}) {
        main.move(corner + moved);
        QTRY_COMPARE(main.pos(), corner + moved);
        show(sheet);
        QCOMPARE(sheet.geometry(), main.geometry());
        sheet.hide();
    }
}

// The page printed from a window is the same whatever the window's zoom on the screen.
void TestForms::printingIgnoresTheZoom()
{
    const auto page = [](Form &window) {
        QPicture picture;
        QPainter painter(&picture);
        paintWindow(window, painter);
        painter.end();
        QImage image(800, 640, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter onImage(&image);
        onImage.drawPicture(0, 0, picture);
        return image;
    };
    for (const FormDef *form : {&FrmPRINT, &Form2}) {
        Form window(*form);
        const QImage at100 = page(window);
        const QSize size = window.size();
        window.setZoom(1.5);
        QCOMPARE(page(window), at100);
        QCOMPARE(window.size(), QSize(px(form->width, 1.5), px(form->height, 1.5)));
        // The controls are back at the window's zoom.
        QCOMPARE(window.controls().constLast()->zoom(), 1.5);
        QVERIFY(window.size() != size);
    }
}

QTEST_MAIN(TestForms)
#include "test_forms.moc"
