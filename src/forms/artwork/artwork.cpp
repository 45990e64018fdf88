#include "forms/artwork/artwork.h"

#include <QHash>
#include <QPainter>

// Placeholders of the nominal sizes until the drawings exist.

namespace artwork {
namespace {

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
    if (size.isEmpty())
        return {};
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(QColor(235, 235, 235));
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1));
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, name);
    return pixmap;
}

} // namespace artwork
