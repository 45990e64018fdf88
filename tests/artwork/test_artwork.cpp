#include "forms/artwork/artwork.h"
#include "forms/definitions.h"

#include <QDir>
#include <QImage>
#include <QMargins>
#include <QPixmap>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <algorithm>
#include <vector>

// Every picture is written to the build folder's artwork/ for review, then checked for its
// size, its sharpness at a higher ratio and, for the arrangement pictures, how they blend into
// the main window background at their place.

class TestArtwork : public QObject
{
    Q_OBJECT

private slots:
    void placedPicturesAreShownByTheirControl();
    void writesEveryPictureAtItsNominalSize();
    void drawsForTheDevicePixelRatio();
    void unknownNameGivesNothing();
    void keepsAPictureOnceDrawn();
    void keptPictureIsTheDrawing_data();
    void keptPictureIsTheDrawing();
    void arrangementBlendsIntoBackground_data();
    void arrangementBlendsIntoBackground();
    void englishTabsLieOverTheDrawnTabs_data();
    void englishTabsLieOverTheDrawnTabs();
    void arrangementShowsBothForceArrows_data();
    void arrangementShowsBothForceArrows();
    void panelIsClean_data();
    void panelIsClean();
    void backgroundFollowsItsControls_data();
    void backgroundFollowsItsControls();
};

namespace {

QImage imageOf(const QString &name, qreal dpr = 1.0)
{
    return artwork::picture(name, dpr).toImage().convertToFormat(QImage::Format_RGB32);
}

// Pixels whose colour is close to `colour` (each channel within `tolerance`).
int countNear(const QImage &image, QColor colour, int tolerance)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) <= tolerance &&
                qAbs(c.green() - colour.green()) <= tolerance &&
                qAbs(c.blue() - colour.blue()) <= tolerance)
                ++count;
        }
    return count;
}

// The top-left corner, in its window's client area, of the control that shows a picture drawn to
// blend with that window's background, as the window's definition places it.
QPoint placeInWindow(const QString &name)
{
    const artwork::Place place = artwork::placeOf(name);
    const forms::FormDef *form = place.window ? forms::findDefinition(place.window) : nullptr;
    const forms::ControlDef *control =
        form ? forms::findControl(*form, place.control, place.index) : nullptr;
    if (!control || control->container)
        return {-1, -1};
    return {forms::px(control->rect.left), forms::px(control->rect.top)};
}

// The background of the window that the definition describes, as a window shows it.
QImage backgroundOf(const forms::FormDef &form)
{
    QImage image(1024, 768, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    if (!artwork::paintBackground(painter, form))
        return {};
    return image;
}

// The largest difference of a colour channel between two images of the same size.
int largestDifference(const QImage &a, const QImage &b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)),
                                qAbs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

} // namespace

void TestArtwork::placedPicturesAreShownByTheirControl()
{
    // Every picture drawn for a place names a control that shows that very picture.
    int placed = 0;
    for (const QString &name : artwork::names()) {
        const artwork::Place place = artwork::placeOf(name);
        if (!place.window)
            continue;
        ++placed;
        const forms::FormDef *form = forms::findDefinition(place.window);
        QVERIFY2(form, place.window);
        const forms::ControlDef *control = forms::findControl(*form, place.control, place.index);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(QString::fromLatin1(control->picture), name);
    }
    QCOMPARE(placed, 12); // 7 arrangements, the panel, the pill, three English tab pictures
}

void TestArtwork::writesEveryPictureAtItsNominalSize()
{
    const QStringList names = artwork::names();
    QCOMPARE(names.size(), 28);
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 28);
    QVERIFY(QDir().mkpath(QStringLiteral(ARTWORK_OUTPUT_DIR)));
    for (const QString &name : names) {
        const QPixmap pixmap = artwork::picture(name);
        QVERIFY2(!pixmap.isNull(), qPrintable(name));
        QCOMPARE(pixmap.size(), artwork::nominalSize(name));
        QCOMPARE(pixmap.devicePixelRatio(), 1.0);
        const QString path = QStringLiteral(ARTWORK_OUTPUT_DIR "/%1.png").arg(name);
        QVERIFY2(pixmap.save(path), qPrintable(path));
    }
    QCOMPARE(artwork::nominalSize(QStringLiteral("form1_background")), QSize(1024, 768));
    QCOMPARE(artwork::nominalSize(QStringLiteral("installation_m12")), QSize(334, 145));
    QCOMPARE(artwork::nominalSize(QStringLiteral("yes_button")), QSize(96, 28));
}

void TestArtwork::drawsForTheDevicePixelRatio()
{
    for (const QString &name : artwork::names()) {
        const QPixmap sharp = artwork::picture(name, 2.0);
        QCOMPARE(sharp.size(), artwork::nominalSize(name) * 2);
        QCOMPARE(sharp.deviceIndependentSize().toSize(), artwork::nominalSize(name));
        QCOMPARE(sharp.devicePixelRatio(), 2.0);
        // Kept beside the others for reviewing the pictures as a high-density screen shows them.
        const QString path = QStringLiteral(ARTWORK_OUTPUT_DIR "/%1@2x.png").arg(name);
        QVERIFY2(sharp.save(path), qPrintable(path));
    }
    // Drawn anew, not enlarged: the ratio-2 picture averaged down is the ratio-1 picture, yet
    // its 2 x 2 blocks are not copies of one pixel.
    const QImage one = imageOf(QStringLiteral("arrangement6"));
    const QImage two = imageOf(QStringLiteral("arrangement6"), 2.0);
    qint64 difference = 0;
    int detailed = 0;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x) {
            const QRgb block[4] = {two.pixel(2 * x, 2 * y), two.pixel(2 * x + 1, 2 * y),
                                   two.pixel(2 * x, 2 * y + 1), two.pixel(2 * x + 1, 2 * y + 1)};
            int green = 0;
            for (QRgb c : block)
                green += qGreen(c);
            difference += qAbs(green / 4 - qGreen(one.pixel(x, y)));
            if (block[0] != block[1] || block[0] != block[2] || block[0] != block[3])
                ++detailed;
        }
    QVERIFY(difference / (one.width() * one.height()) < 4);
    QVERIFY(detailed > one.width() * one.height() / 50);
}

void TestArtwork::unknownNameGivesNothing()
{
    QVERIFY(artwork::picture(QStringLiteral("logo")).isNull());
    QVERIFY(artwork::nominalSize(QStringLiteral("logo")).isEmpty());
    QVERIFY(artwork::picture(QStringLiteral("blue_pill"), 0).isNull());
}

void TestArtwork::keepsAPictureOnceDrawn()
{
    const QPixmap first = artwork::picture(QStringLiteral("arrangement3"));
    QCOMPARE(artwork::picture(QStringLiteral("arrangement3")).cacheKey(), first.cacheKey());
    QVERIFY(artwork::picture(QStringLiteral("arrangement3"), 2.0).cacheKey() != first.cacheKey());
}

// A picture drawn once is kept on disk, and what a later run reads from there is the drawing
// pixel for pixel; a kept file that is damaged, or was kept for another ratio, is not read: the
// picture is drawn (and kept again). Each row asks for a ratio no row before drew, so that the
// picture is drawn here and not taken from the memory of this run.
void TestArtwork::keptPictureIsTheDrawing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<QByteArray>("damaged"); // what the kept file holds before; empty: none
    QTest::newRow("main window background") << "form1_background" << 1.25 << QByteArray();
    QTest::newRow("arrangement, blended") << "arrangement1" << 1.25 << QByteArray();
    QTest::newRow("English tabs") << "form1_tabs_eng" << 1.25 << QByteArray();
    QTest::newRow("button with a clear face") << "yes_button" << 1.25 << QByteArray();
    QTest::newRow("results panel at 3") << "results_panel" << 3.0 << QByteArray();
    QTest::newRow("cut short") << "blue_pill" << 1.25 << QByteArray("KIILAPIC\x01\x02");
    QTest::newRow("not a picture") << "arrangement2" << 1.25 << QByteArray(400000, 'x');
    // A named pipe is never waited on (opened to read, it would block the start-up).
    QTest::newRow("named pipe") << "arrangement3" << 1.25 << QByteArray("<fifo>");
}

void TestArtwork::keptPictureIsTheDrawing()
{
    QFETCH(QString, name);
    QFETCH(qreal, dpr);
    QFETCH(QByteArray, damaged);
    QTemporaryDir dir;
    artwork::keepPicturesIn(dir.path());
    const auto restore = qScopeGuard([] { artwork::keepPicturesIn({}); });
    QVERIFY(artwork::keptPicture(name, dpr).isNull());
    if (!damaged.isEmpty()) {
        // Under every name a file could be kept by, for this ratio and the nominal one.
        for (const qreal ratio : {dpr, 1.0}) {
            const QSize pixels = artwork::nominalSize(name) * ratio;
            const QString path = dir.filePath(QStringLiteral("%1-%2x%3-%4.pixels")
                                                  .arg(name)
                                                  .arg(pixels.width())
                                                  .arg(pixels.height())
                                                  .arg(ratio));
            if (damaged == "<fifo>") {
                QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
                continue;
            }
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(damaged);
        }
        QVERIFY(artwork::keptPicture(name, dpr).isNull());
    }
    const QImage drawn = artwork::picture(name, dpr).toImage();
    QCOMPARE(drawn.size(), artwork::nominalSize(name) * dpr);
    const QImage kept = artwork::keptPicture(name, dpr);
    QVERIFY(!kept.isNull());
    QCOMPARE(kept.devicePixelRatio(), dpr);
    QCOMPARE(kept.convertToFormat(drawn.format()), drawn);
    // Another ratio is not the kept one.
    QVERIFY(artwork::keptPicture(name, dpr * 2).isNull());
}

void TestArtwork::arrangementBlendsIntoBackground_data()
{
    // Form1.Picture1(0..6), where the main window's definition places them.
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<qreal>("dpr");
    for (qreal dpr : {1.0, 2.0})
        for (int i = 0; i < 7; ++i) {
            const QString name = QStringLiteral("arrangement%1").arg(i + 1);
            const QPoint place = placeInWindow(name);
            QTest::addRow("%s@%g", qPrintable(name), dpr) << name << place.x() << place.y() << dpr;
        }
}

void TestArtwork::arrangementBlendsIntoBackground()
{
    QFETCH(QString, name);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(qreal, dpr);
    const QImage picture = imageOf(name, dpr);
    const QImage background = imageOf(QStringLiteral("form1_background"), dpr);
    const int d = qRound(dpr);
    const int strip = 12 * d; // right strip
    // The lower edge: from just above the results box (client y 581) down.
    const int lowerEdge = picture.height() - (581 - 3 - top) * d;
    QVERIFY(lowerEdge >= 12 * d);
    int mismatches = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            if (x < picture.width() - strip && y < picture.height() - lowerEdge)
                continue;
            if (picture.pixel(x, y) != background.pixel(left * d + x, top * d + y))
                ++mismatches;
        }
    QCOMPARE(mismatches, 0);
    // The results box's navy outline crosses the lower edge.
    bool navy = false;
    for (int y = picture.height() - lowerEdge; y < picture.height(); ++y) {
        const QColor c = picture.pixelColor(picture.width() / 2, y);
        navy = navy || (c.blue() > c.red() + 30 && c.red() < 90);
    }
    QVERIFY(navy);
}

void TestArtwork::englishTabsLieOverTheDrawnTabs_data()
{
    // Picture, its window's background, and how many of its top rows lie above the words.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("background");
    QTest::addColumn<int>("plainRows");
    QTest::newRow("Form1.Image2") << "form1_tabs_eng"
                                  << "form1_background" << 12;
    QTest::newRow("Form2.Image2") << "form2_tabs_eng"
                                  << "form2_background" << 10;
    QTest::newRow("Form3.ImgEng") << "form3_back_eng"
                                  << "form3_background" << 3;
}

void TestArtwork::englishTabsLieOverTheDrawnTabs()
{
    QFETCH(QString, name);
    QFETCH(QString, background);
    QFETCH(int, plainRows);
    const QImage picture = imageOf(name);
    const QImage window = imageOf(background);
    const QPoint place = placeInWindow(name);
    // Above the words the picture is the background itself (the tabs' upper edges line up) ...
    int mismatches = 0;
    for (int y = 0; y < plainRows; ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != window.pixel(place.x() + x, place.y() + y))
                ++mismatches;
    QCOMPARE(mismatches, 0);
    // ... and the words differ from the Finnish ones.
    QVERIFY(picture.copy(0, plainRows, picture.width(), picture.height() - plainRows) !=
            window.copy(place.x(), place.y() + plainRows, picture.width(),
                        picture.height() - plainRows));
}

void TestArtwork::arrangementShowsBothForceArrows_data()
{
    QTest::addColumn<QString>("name");
    for (int n = 1; n <= 7; ++n) {
        QTest::addRow("screen %d", n) << QStringLiteral("arrangement%1").arg(n);
        QTest::addRow("print %d", n) << QStringLiteral("arrangement%1_print").arg(n);
    }
}

void TestArtwork::arrangementShowsBothForceArrows()
{
    QFETCH(QString, name);
    const QImage image = imageOf(name);
    // N sd orange-red, V 1d teal; each a filled arrow of some size.
    QVERIFY(countNear(image, QColor(226, 74, 36), 40) > 150);
    QVERIFY(countNear(image, QColor(0, 150, 150), 40) > 150);
}

void TestArtwork::panelIsClean_data()
{
    QTest::addColumn<QString>("background");
    QTest::newRow("data sheet") << "form2_background";
    QTest::newRow("help") << "form3_background";
}

// The white panel of the data sheet and the help window is plain white inside its frame.
void TestArtwork::panelIsClean()
{
    QFETCH(QString, background);
    const QImage window = imageOf(background);
    // Inside the rounded frame, clear of its corners.
    const QRect inside(90 + 20, 108 + 20, 843 - 40, 527 - 40);
    int marked = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (window.pixel(x, y) != qRgb(255, 255, 255))
                ++marked;
    QCOMPARE(marked, 0);
}

void TestArtwork::backgroundFollowsItsControls_data()
{
    // A control of the main window moved in a copy of its definition, and what the background
    // draws for it: the part of the drawing that must move along, around (or, negative, inside)
    // the control's pixel rectangle. Each lands on a plain part of its panel.
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("index");
    QTest::addColumn<QPoint>("move"); // twips
    QTest::addColumn<QMargins>("drawing");
    QTest::newRow("input box of Text3")
        << "Text3" << forms::NoIndex << QPoint(-1500, 0) << QMargins(6, 5, 6, 5);
    QTest::newRow("input box of Text9")
        << "Text9" << forms::NoIndex << QPoint(-1200, -450) << QMargins(6, 5, 6, 5);
    QTest::newRow("check box of ShpSit(2)")
        << "ShpSit" << 2 << QPoint(1200, 0) << QMargins(9, 9, 8, 8);
    QTest::newRow("option button of Shape1(0)")
        << "Shape1" << 0 << QPoint(0, -900) << QMargins(4, 4, 4, 4);
    QTest::newRow("pill of ImgCalc")
        << "ImgCalc" << forms::NoIndex << QPoint(-1500, 1500) << QMargins(-30, -8, -30, -8);
}

void TestArtwork::backgroundFollowsItsControls()
{
    QFETCH(QString, control);
    QFETCH(int, index);
    QFETCH(QPoint, move);
    QFETCH(QMargins, drawing);

    const QImage original = backgroundOf(forms::Form1);
    QCOMPARE(original, imageOf(QStringLiteral("form1_background")));

    std::vector<forms::ControlDef> controls(forms::Form1.controls.begin(),
                                            forms::Form1.controls.end());
    const auto moving = std::find_if(controls.begin(), controls.end(), [&](const auto &c) {
        return control == QLatin1String(c.name) && c.index == index;
    });
    QVERIFY(moving != controls.end());
    const QRect before(forms::px(moving->rect.left), forms::px(moving->rect.top),
                       forms::px(moving->rect.width), forms::px(moving->rect.height));
    moving->rect.left += move.x();
    moving->rect.top += move.y();
    forms::FormDef copy = forms::Form1;
    copy.controls = controls;
    const QImage moved = backgroundOf(copy);

    const QRect oldPlace = before.marginsAdded(drawing);
    const QRect newPlace = oldPlace.translated(move / forms::TwipsPerPixel);
    // The drawing stands whole at the new place (a gradient may round a step apart there) and
    // is gone from the old one ...
    QVERIFY(largestDifference(moved.copy(newPlace), original.copy(oldPlace)) <= 1);
    QVERIFY(largestDifference(moved.copy(oldPlace), original.copy(oldPlace)) > 1);
    // ... and nothing else changed: every changed pixel is near one of the two places (an
    // option button's shadow reaches past its face).
    const QRect near = (oldPlace | newPlace).adjusted(-32, -32, 32, 32);
    int elsewhere = 0;
    for (int y = 0; y < original.height(); ++y)
        for (int x = 0; x < original.width(); ++x)
            if (original.pixel(x, y) != moved.pixel(x, y) && !near.contains(x, y))
                ++elsewhere;
    QCOMPARE(elsewhere, 0);
}

QTEST_MAIN(TestArtwork)
#include "test_artwork.moc"
