#include "forms/artwork/artwork.h"

#include "forms/artwork/painting.h"

#include <QHash>
#include <QPainter>
#include <QPoint>

// Pictures are painted with QPainter onto an image of size x ratio device pixels, never scaled
// up from a smaller bitmap. Pictures that lie over a window background (the arrangement
// pictures, the results panel, the blue pill) start from the background's own pixels at their
// place, so that they blend into it; the English tabs are the part of the background under
// their control, painted with other words.

namespace artwork {
namespace {

using detail::TabWords;
using detail::Window;

struct Entry
{
    const char *name;
    int width;
    int height;
};

constexpr Entry Entries[] = {
    {"form1_background", 1024, 768},  {"form2_background", 1024, 768},
    {"form3_background", 1024, 768},  {"arrangement1", 426, 331},
    {"arrangement2", 433, 322},       {"arrangement3", 431, 320},
    {"arrangement4", 438, 319},       {"arrangement5", 435, 312},
    {"arrangement6", 435, 325},       {"arrangement7", 426, 326},
    {"arrangement1_print", 398, 300}, {"arrangement2_print", 405, 294},
    {"arrangement3_print", 405, 292}, {"arrangement4_print", 397, 283},
    {"arrangement5_print", 404, 280}, {"arrangement6_print", 397, 295},
    {"arrangement7_print", 399, 300}, {"installation_m8", 331, 132},
    {"installation_m10", 326, 125},   {"installation_m12", 334, 145},
    {"installation_m16", 330, 125},   {"results_panel", 417, 250},
    {"blue_pill", 187, 58},           {"form1_tabs_eng", 537, 54},
    {"form2_drawing", 407, 207},      {"form2_tabs_eng", 423, 49},
    {"form3_back_eng", 90, 23},       {"yes_button", 96, 28},
};

// Client pixel of the top-left corner of the controls that show a picture over a background
// (Left and Top in twips, 15 twips to the pixel, rounded to the nearest pixel).
QPoint twipsToPixels(int left, int top)
{
    return {qRound(left / 15.0), qRound(top / 15.0)};
}

// Form1.Picture1(0..6).
const QPoint ArrangementPlaces[7] = {
    twipsToPixels(700, 4055), twipsToPixels(600, 4100), twipsToPixels(670, 4120),
    twipsToPixels(570, 4160), twipsToPixels(540, 4290), twipsToPixels(600, 4120),
    twipsToPixels(710, 4070),
};
const QPoint ResultsPanelPlace = twipsToPixels(7713, 7260); // Form1.ImgPodlozh
const QPoint BluePillPlace = twipsToPixels(7920, 6330);     // Form1.ImgSHOW
const QPoint Form1TabsPlace = twipsToPixels(7080, 45);      // Form1.Image2
const QPoint Form2TabsPlace = twipsToPixels(8940, 70);      // Form2.Image2
const QPoint BackTabPlace = twipsToPixels(10920, 250);      // Form3.ImgEng

QImage blankImage(QSize size, qreal dpr, const QColor &fill)
{
    QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(fill);
    return image;
}

// The part of a background at `place`, painted on its own (only that part is rasterised).
QImage backgroundPart(Window window, TabWords words, QPoint place, QSize size, qreal dpr)
{
    QImage image = blankImage(size, dpr, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(-place);
    detail::paintBackground(p, window, words);
    return image;
}

// Background images by window, words and ratio, kept once drawn: the cut pictures need them too.
QImage backgroundImage(Window window, TabWords words, qreal dpr)
{
    static QHash<QString, QImage> cache;
    const QString key = QStringLiteral("%1/%2/%3")
                            .arg(static_cast<int>(window))
                            .arg(static_cast<int>(words))
                            .arg(dpr);
    auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    QImage image = blankImage(QSize(1024, 768), dpr, Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        detail::paintBackground(p, window, words);
    }
    cache.insert(key, image);
    return image;
}

// The background's pixels under a picture of `size` placed at `place`.
QImage cut(const QImage &background, QPoint place, QSize size)
{
    const qreal dpr = background.devicePixelRatio();
    const QRect device(qRound(place.x() * dpr), qRound(place.y() * dpr), qRound(size.width() * dpr),
                       qRound(size.height() * dpr));
    QImage image = background.copy(device);
    image.setDevicePixelRatio(dpr);
    return image;
}

// The picture drawn anew (not cached).
QImage draw(const QString &name, QSize size, qreal dpr)
{
    if (name == QLatin1String("form1_background"))
        return backgroundImage(Window::Form1, TabWords::Finnish, dpr);
    if (name == QLatin1String("form2_background"))
        return backgroundImage(Window::Form2, TabWords::Finnish, dpr);
    if (name == QLatin1String("form3_background"))
        return backgroundImage(Window::Form3, TabWords::Finnish, dpr);
    if (name == QLatin1String("form1_tabs_eng"))
        return backgroundPart(Window::Form1, TabWords::English, Form1TabsPlace, size, dpr);
    if (name == QLatin1String("form2_tabs_eng"))
        return backgroundPart(Window::Form2, TabWords::English, Form2TabsPlace, size, dpr);
    if (name == QLatin1String("form3_back_eng"))
        return backgroundPart(Window::Form3, TabWords::English, BackTabPlace, size, dpr);

    QImage image;
    QPoint origin;
    const auto form1 = [dpr] { return backgroundImage(Window::Form1, TabWords::Finnish, dpr); };
    if (name.startsWith(QLatin1String("arrangement")) && !name.endsWith(QLatin1String("_print"))) {
        const int n = name.mid(11).toInt();
        origin = ArrangementPlaces[n - 1];
        image = cut(form1(), origin, size);
    } else if (name == QLatin1String("results_panel")) {
        image = cut(form1(), ResultsPanelPlace, size);
    } else if (name == QLatin1String("blue_pill")) {
        image = cut(form1(), BluePillPlace, size);
    } else {
        image = blankImage(size, dpr, Qt::white);
    }

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (name.startsWith(QLatin1String("arrangement"))) {
        const int n = name.mid(11, 1).toInt();
        if (name.endsWith(QLatin1String("_print"))) {
            // Alone on white, scaled to fit the smaller picture.
            const QRectF area = detail::ArrangementArea;
            const qreal scale =
                qMin((size.width() - 4) / area.width(), (size.height() - 4) / area.height());
            p.translate(size.width() / 2.0, size.height() / 2.0);
            p.scale(scale, scale);
            p.translate(-area.center());
        } else {
            p.translate(-origin);
        }
        detail::paintArrangement(p, n);
    } else if (name.startsWith(QLatin1String("installation_m"))) {
        static const QStringList sizes = {QStringLiteral("8"), QStringLiteral("10"),
                                          QStringLiteral("12"), QStringLiteral("16")};
        detail::paintInstallation(p, int(sizes.indexOf(name.mid(14))) + 1, size);
    } else if (name == QLatin1String("form2_drawing")) {
        detail::paintDimensionedDrawing(p, size);
    } else if (name == QLatin1String("results_panel")) {
        detail::paintResultsPanel(p);
    } else if (name == QLatin1String("blue_pill")) {
        detail::paintBluePill(p);
    } else if (name == QLatin1String("yes_button")) {
        detail::paintYesButton(p);
    }
    return image;
}

} // namespace

QStringList names()
{
    QStringList list;
    for (const Entry &e : Entries)
        list << QString::fromLatin1(e.name);
    return list;
}

QSize nominalSize(const QString &name)
{
    for (const Entry &e : Entries)
        if (name == QLatin1String(e.name))
            return {e.width, e.height};
    return {};
}

QPixmap picture(const QString &name, qreal devicePixelRatio)
{
    const QSize size = nominalSize(name);
    if (size.isEmpty() || devicePixelRatio <= 0)
        return {};
    static QHash<QString, QPixmap> cache;
    const QString key = name + QLatin1Char('@') + QString::number(devicePixelRatio);
    auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    QPixmap pixmap = QPixmap::fromImage(draw(name, size, devicePixelRatio));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    cache.insert(key, pixmap);
    return pixmap;
}

} // namespace artwork
