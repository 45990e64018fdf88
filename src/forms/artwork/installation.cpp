#include "forms/artwork/painting.h"

#include "calc/calc.h"
#include "product/sheettable.h"

#include <QPainterPath>
#include <QtMath>

// Installation drawings: a longitudinal section through the base material with the drilled
// hole (conical bottom) at the left, the anchor in it (cone, expansion clip, bolt), the fixture
// between the surface and the washer, the hexagon nut and the bolt end at the right. Black
// lines on white, with the dimensions of each picture.

namespace artwork::detail {
namespace {

struct Section
{
    qreal cy;  // axis
    qreal top; // base material from top to bottom
    qreal bottom;
    qreal left;
    qreal hole;       // radius of the hole
    qreal bolt;       // radius of the bolt
    qreal tip;        // point of the hole's conical bottom
    qreal anchorEnd;  // lower end of the anchor (the cone's wide end)
    qreal clipEnd;    // upper end of the expansion clip
    qreal surface;    // surface of the base material
    qreal fixtureEnd; // surface of the fixture, under the washer
    qreal nut;        // length of the nut
    qreal boltEnd;
};

qreal holeStraightEnd(const Section &s)
{
    return s.tip + s.hole * 0.6;
}

QPainterPath holePath(const Section &s)
{
    QPainterPath path;
    path.moveTo(s.surface, s.cy - s.hole);
    path.lineTo(holeStraightEnd(s), s.cy - s.hole);
    path.lineTo(s.tip, s.cy);
    path.lineTo(holeStraightEnd(s), s.cy + s.hole);
    path.lineTo(s.surface, s.cy + s.hole);
    path.closeSubpath();
    return path;
}

void hatch(QPainter &p, const QPainterPath &area, qreal spacing, bool rising)
{
    const QRectF box = area.boundingRect();
    p.save();
    p.setClipPath(area);
    p.setPen(QPen(Qt::black, 0.7));
    const qreal h = box.height();
    for (qreal x = box.left() - h; x < box.right() + h; x += spacing) {
        if (rising)
            p.drawLine(QPointF(x, box.bottom()), QPointF(x + h, box.top()));
        else
            p.drawLine(QPointF(x, box.top()), QPointF(x + h, box.bottom()));
    }
    p.restore();
}

// A wavy break line from (x0, y) to (x1, y).
void wave(QPainterPath &path, qreal x0, qreal x1, qreal y, qreal amplitude)
{
    const int steps = 4;
    const qreal step = (x1 - x0) / steps;
    for (int i = 0; i < steps; ++i) {
        const qreal a = x0 + i * step;
        path.cubicTo(QPointF(a + step / 3, y - amplitude), QPointF(a + 2 * step / 3, y + amplitude),
                     QPointF(a + step, y));
    }
}

void paintSection(QPainter &p, const Section &s)
{
    const QPen line(Qt::black, 1.1);
    p.setRenderHint(QPainter::Antialiasing);

    // Base material, hatched, with the hole cut out of it.
    QPainterPath material;
    material.addRect(QRectF(QPointF(s.left, s.top), QPointF(s.surface, s.bottom)));
    material = material.subtracted(holePath(s));
    hatch(p, material, 6, true);
    p.setPen(line);
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(s.surface, s.top), QPointF(s.surface, s.bottom));
    p.drawLine(QPointF(s.left, s.top), QPointF(s.surface, s.top));
    p.drawLine(QPointF(s.left, s.bottom), QPointF(s.surface, s.bottom));
    p.drawPath(holePath(s));

    // The fixture between the surface and the washer, with wavy section ends.
    const qreal fixtureHalf = (s.bottom - s.top) * 0.42;
    QPainterPath fixture;
    fixture.moveTo(s.surface, s.cy - fixtureHalf);
    wave(fixture, s.surface, s.fixtureEnd, s.cy - fixtureHalf, 2.5);
    fixture.lineTo(s.fixtureEnd, s.cy + fixtureHalf);
    QPainterPath lower;
    lower.moveTo(s.surface, s.cy + fixtureHalf);
    wave(lower, s.surface, s.fixtureEnd, s.cy + fixtureHalf, 2.5);
    fixture.connectPath(lower.toReversed());
    fixture.closeSubpath();
    QPainterPath clearance;
    clearance.addRect(QRectF(QPointF(s.surface, s.cy - s.hole * 1.05),
                             QPointF(s.fixtureEnd, s.cy + s.hole * 1.05)));
    const QPainterPath fixtureSection = fixture.subtracted(clearance);
    hatch(p, fixtureSection, 4.5, false);
    p.setPen(line);
    p.drawPath(fixtureSection);

    // The anchor: cone at the lower end, expansion clip, bolt.
    const qreal coneNarrow = s.bolt * 0.55;
    const qreal coneEnd = s.anchorEnd + s.hole * 1.6;
    p.setBrush(Qt::white);
    p.drawRect(QRectF(QPointF(coneEnd - 1, s.cy - s.bolt), QPointF(s.boltEnd, s.cy + s.bolt)));
    QPolygonF cone;
    cone << QPointF(s.anchorEnd, s.cy - s.hole * 0.95) << QPointF(coneEnd, s.cy - coneNarrow)
         << QPointF(coneEnd, s.cy + coneNarrow) << QPointF(s.anchorEnd, s.cy + s.hole * 0.95);
    p.drawPolygon(cone);
    // The clip, pressed against the hole wall by the cone.
    const qreal clipStart = s.anchorEnd + s.hole * 0.7;
    for (int side : {-1, 1}) {
        QPolygonF clip;
        clip << QPointF(clipStart, s.cy + side * s.hole) << QPointF(s.clipEnd, s.cy + side * s.hole)
             << QPointF(s.clipEnd, s.cy + side * s.bolt) << QPointF(coneEnd, s.cy + side * s.bolt)
             << QPointF(clipStart,
                        s.cy + side * (s.hole - (s.hole - coneNarrow) * (clipStart - s.anchorEnd) /
                                                    (coneEnd - s.anchorEnd)));
        p.setBrush(QColor(235, 235, 235));
        p.drawPolygon(clip);
    }
    p.setPen(QPen(Qt::black, 0.7));
    p.drawLine(QPointF((clipStart + s.clipEnd) / 2, s.cy - s.hole),
               QPointF((clipStart + s.clipEnd) / 2, s.cy - s.bolt));
    p.drawLine(QPointF((clipStart + s.clipEnd) / 2, s.cy + s.hole),
               QPointF((clipStart + s.clipEnd) / 2, s.cy + s.bolt));

    // Thread on the upper part of the bolt.
    const qreal threadFrom = s.surface - (s.surface - s.clipEnd) * 0.35;
    const qreal pitch = qMax(2.5, s.bolt * 0.4);
    for (qreal x = threadFrom; x < s.boltEnd - 1; x += pitch) {
        p.drawLine(QPointF(x, s.cy - s.bolt), QPointF(x + pitch * 0.5, s.cy - s.bolt * 0.8));
        p.drawLine(QPointF(x, s.cy + s.bolt), QPointF(x + pitch * 0.5, s.cy + s.bolt * 0.8));
    }
    p.drawLine(QPointF(threadFrom, s.cy - s.bolt * 0.8), QPointF(s.boltEnd, s.cy - s.bolt * 0.8));
    p.drawLine(QPointF(threadFrom, s.cy + s.bolt * 0.8), QPointF(s.boltEnd, s.cy + s.bolt * 0.8));

    // Washer and hexagon nut.
    p.setPen(line);
    const qreal washer = qMax(3.0, s.hole * 0.35);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(QPointF(s.fixtureEnd, s.cy - s.hole * 2.1),
                      QPointF(s.fixtureEnd + washer, s.cy + s.hole * 2.1)));
    const qreal nutFrom = s.fixtureEnd + washer;
    const QRectF nut(QPointF(nutFrom, s.cy - s.hole * 1.75),
                     QPointF(nutFrom + s.nut, s.cy + s.hole * 1.75));
    p.drawRect(nut);
    p.drawLine(QPointF(nut.left(), s.cy - s.hole * 0.95),
               QPointF(nut.right(), s.cy - s.hole * 0.95));
    p.drawLine(QPointF(nut.left(), s.cy + s.hole * 0.95),
               QPointF(nut.right(), s.cy + s.hole * 0.95));
    p.setPen(QPen(Qt::black, 0.8));
    for (qreal y : {s.cy - s.hole * 1.35, s.cy, s.cy + s.hole * 1.35}) {
        const qreal half = s.hole * 0.4;
        p.drawArc(QRectF(nut.right() - 3.5, y - half, 3, 2 * half), 90 * 16, -180 * 16);
    }
    // Axis.
    p.setPen(QPen(Qt::black, 0.6, Qt::DashDotLine));
    p.drawLine(QPointF(s.tip - 8, s.cy), QPointF(s.boltEnd + 8, s.cy));
}

void arrowTip(QPainter &p, QPointF tip, QPointF direction)
{
    arrowHead(p, tip, direction, 6, 2);
}

// A horizontal dimension at height y from x0 to x1 with extension lines down from `from`.
void horizontalDimension(QPainter &p, qreal x0, qreal x1, qreal y, qreal from0, qreal from1)
{
    p.setPen(QPen(Qt::black, 0.7));
    p.drawLine(QPointF(x0, from0), QPointF(x0, y + (y > from0 ? 3 : -3)));
    p.drawLine(QPointF(x1, from1), QPointF(x1, y + (y > from1 ? 3 : -3)));
    p.setPen(QPen(Qt::black, 0.9));
    p.drawLine(QPointF(x0, y), QPointF(x1, y));
    arrowTip(p, QPointF(x0, y), QPointF(-1, 0));
    arrowTip(p, QPointF(x1, y), QPointF(1, 0));
}

// The vertical dimension of the hole's diameter, arrows pointing in from outside.
void diameterDimension(QPainter &p, const Section &s, qreal x)
{
    p.setPen(QPen(Qt::black, 0.7));
    const qreal from = holeStraightEnd(s) + 4;
    p.drawLine(QPointF(from, s.cy - s.hole), QPointF(x - 3, s.cy - s.hole));
    p.drawLine(QPointF(from, s.cy + s.hole), QPointF(x - 3, s.cy + s.hole));
    p.setPen(QPen(Qt::black, 0.9));
    p.drawLine(QPointF(x, s.cy - s.hole - 11), QPointF(x, s.cy + s.hole + 11));
    arrowTip(p, QPointF(x, s.cy - s.hole), QPointF(0, 1));
    arrowTip(p, QPointF(x, s.cy + s.hole), QPointF(0, -1));
}

void centredText(QPainter &p, qreal centreX, qreal baseline, const QString &text, qreal size)
{
    const QFont font = sansFont(size);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPointF(centreX - QFontMetricsF(font).horizontalAdvance(text) / 2, baseline), text);
}

} // namespace

void paintInstallation(QPainter &p, int sizeNo, const QSize &size)
{
    // Designed for 330 x 132 and scaled to the picture, centred.
    const qreal scale = qMin(size.width() / 330.0, size.height() / 132.0);
    p.translate((size.width() - 330 * scale) / 2, (size.height() - 132 * scale) / 2);
    p.scale(scale, scale);

    const int index = qBound(1, sizeNo, calc::SizeCount) - 1;
    Section s;
    s.cy = 38;
    s.top = 4;
    s.bottom = 72;
    s.left = 58;
    s.hole = 8.5 + index * 1.3;
    s.bolt = s.hole * 0.78;
    s.surface = 222;
    s.anchorEnd = 104;
    s.tip = s.anchorEnd - 24;
    s.clipEnd = s.anchorEnd + 38;
    s.fixtureEnd = s.surface + 32;
    s.nut = 18 + index * 2;
    s.boltEnd = s.fixtureEnd + 4 + s.nut + 18;
    paintSection(p, s);

    diameterDimension(p, s, 48);
    const QString diameter =
        QStringLiteral("\u00d8 %1").arg(calc::SizeTable[static_cast<std::size_t>(index)].dNom);
    const QFont font = sansFont(13);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPointF(44 - QFontMetricsF(font).horizontalAdvance(diameter), s.cy + 5), diameter);

    horizontalDimension(p, s.anchorEnd, s.surface, 92, s.cy + s.hole + 2, s.bottom + 2);
    centredText(p, (s.anchorEnd + s.surface) / 2, 88,
                QStringLiteral("hnom=min %1 mm").arg(product::standardEmbedment(index + 1)), 12);
    horizontalDimension(p, s.tip, s.surface, 117, s.cy + 3, 95);
    centredText(p, (s.tip + s.surface) / 2, 113, QStringLiteral("h1=hnom+10 mm"), 12);
}

void paintDimensionedDrawing(QPainter &p, const QSize &size)
{
    const qreal scale = qMin(size.width() / 407.0, size.height() / 207.0);
    p.scale(scale, scale);

    Section s;
    s.cy = 104;
    s.top = 62;
    s.bottom = 146;
    s.left = 62;
    s.hole = 11;
    s.bolt = s.hole * 0.8;
    s.surface = 225;
    s.anchorEnd = 112;
    s.tip = s.anchorEnd - 24;
    s.clipEnd = s.anchorEnd + 46;
    s.fixtureEnd = s.surface + 40;
    s.nut = 24;
    s.boltEnd = s.fixtureEnd + 5 + s.nut + 26;
    paintSection(p, s);

    // Above: h1 and, below it, h nom; t fix over the fixture.
    horizontalDimension(p, s.tip, s.surface, 22, s.cy - 3, s.top - 2);
    drawIndexed(p, (s.tip + s.surface) / 2, 18, QStringLiteral("h"), QStringLiteral("1"), 15);
    horizontalDimension(p, s.anchorEnd, s.surface, 46, s.cy - s.hole - 2, s.top - 2);
    drawIndexed(p, (s.anchorEnd + s.surface) / 2, 42, QStringLiteral("h"), QStringLiteral("nom"),
                15);
    const qreal washerOuter = s.cy - s.hole * 2.1 - 2;
    horizontalDimension(p, s.surface, s.fixtureEnd, 46, s.top - 2, washerOuter);
    drawIndexed(p, (s.surface + s.fixtureEnd) / 2, 42, QStringLiteral("t"), QStringLiteral("fix"),
                15);

    // Left: the hole's diameter, written upwards.
    diameterDimension(p, s, 44);
    p.save();
    p.translate(36, s.cy);
    p.rotate(-90);
    drawIndexed(p, 0, 0, QStringLiteral("d"), QStringLiteral("0"), 15);
    p.restore();

    // Right: the installation torque, a curved arrow around the bolt end.
    const QPointF centre(s.boltEnd - 6, s.cy);
    const QRectF ring(centre.x() - 9, centre.y() - 26, 18, 52);
    p.setPen(QPen(Qt::black, 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, 120 * 16, -280 * 16);
    const qreal end = qDegreesToRadians(-160.0);
    const QPointF tip(ring.center().x() + 9 * qCos(end), ring.center().y() - 26 * qSin(end));
    arrowTip(p, tip, QPointF(-0.55, -0.83));
    drawIndexed(p, s.boltEnd + 26, s.cy - 30, QStringLiteral("T"), QStringLiteral("inst"), 15);

    // Below: f from the clip's upper end, and l from the anchor's lower end, to the bolt end.
    horizontalDimension(p, s.clipEnd, s.boltEnd, 168, s.cy + s.hole + 2, s.cy + s.bolt + 2);
    drawIndexed(p, (s.clipEnd + s.boltEnd) / 2, 164, QStringLiteral("f"), QString(), 15);
    horizontalDimension(p, s.anchorEnd, s.boltEnd, 194, s.cy + s.hole + 2, 171);
    drawIndexed(p, (s.anchorEnd + s.boltEnd) / 2, 190, QStringLiteral("l"), QString(), 15);
}

} // namespace artwork::detail
