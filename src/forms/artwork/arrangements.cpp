#include "forms/artwork/painting.h"

#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <map>
#include <vector>

// The seven anchor arrangements in isometric view, in main window client coordinates.
//
// A point of the concrete's top surface is given by (p, q): q is its distance from the block's
// left edge, measured along the axis that rises to the right; p its distance from the right
// edge, along the axis that falls to the right. The front corner of the block is (0, 0). The
// dimension chain runs behind the back row along q (edge distance, spacings), turns at the last
// anchor and runs along p to the right edge.

namespace artwork::detail {
namespace {

constexpr qreal Cos30 = 0.8660254;
constexpr qreal CornerX = 253;
constexpr qreal CornerY = 525;
constexpr qreal EdgeP = 232; // length of the left edge, along p
constexpr qreal EdgeQ = 232; // length of the right edge, along q
constexpr qreal Depth = 48;  // side faces
constexpr qreal Plate = 5;   // plate thickness

const QColor NArrow(226, 74, 36);
const QColor VArrow(0, 150, 150);

QPointF at(qreal p, qreal q, qreal z = 0)
{
    return {CornerX + (q - p) * Cos30, CornerY - (p + q) * 0.5 - z};
}

// A dimension label: main letter and index.
struct Label
{
    QString main;
    QString index;
};

struct Layout
{
    QList<qreal> q;       // anchor columns
    QList<qreal> p;       // anchor rows, front first
    QRectF plate;         // x: q from..to, y: p from..to
    QList<Label> rising;  // edge distance, then spacings
    QList<Label> falling; // spacings between rows, back to front, then edge distance
    QPointF n;            // (p, q) foot of the tension arrow
    QPointF v;            // (p, q) tail of the shear arrow
    QPointF vDirection;   // (dp, dq)
    qreal vLength;
    QList<qreal> eAlongQ; // e measured along q below the plate: from, to (empty: none)
    QString eAlongQIndex;
    QList<qreal> eAlongP; // e measured along p at the lower left of the plate
    QString eAlongPIndex;
};

Layout layoutOf(int n)
{
    const Label c1{"C", "1"}, c2{"C", "2"}, s1{"s", "1"}, s2{"s", "2"};
    switch (n) {
    case 1:
        return {{105},     {90},    QRectF(78, 63, 54, 54),
                {c2},      {c1},    {90, 105},
                {90, 105}, {-1, 0}, 82,
                {},        {},      {},
                {}};
    case 2:
        return {{80, 150},  {90},    QRectF(55, 65, 120, 50),
                {c1, s1},   {c2},    {90, 133},
                {76, 118},  {0, -1}, 100,
                {115, 133}, "1",     {},
                {}};
    case 3:
        return {{60, 115, 170},
                {90},
                QRectF(38, 65, 154, 50),
                {c1, s1, s1},
                {c2},
                {90, 142},
                {76, 130},
                {0, -1},
                110,
                {115, 142},
                "1",
                {},
                {}};
    case 4:
        return {{80, 150},  {90},    QRectF(55, 65, 120, 50),
                {c2, s2},   {c1},    {90, 115},
                {90, 140},  {-1, 0}, 88,
                {115, 140}, "2",     {},
                {}};
    case 5:
        return {{60, 115, 170},
                {90},
                QRectF(38, 65, 154, 50),
                {c2, s2, s2},
                {c1},
                {90, 115},
                {90, 145},
                {-1, 0},
                88,
                {115, 145},
                "2",
                {},
                {}};
    case 6:
        return {{85, 150},    {80, 145}, QRectF(60, 55, 115, 115),
                {c2, s2},     {s1, c1},  {128, 110},
                {112.5, 140}, {-1, 0},   105,
                {117.5, 140}, "2",       {112.5, 128},
                "1"};
    default:
        return {{60, 115, 170},
                {80, 140},
                QRectF(38, 55, 154, 110),
                {c1, s1, s1},
                {s2, c2},
                {110, 145},
                {128, 150},
                {0, -1},
                95,
                {115, 145},
                "1",
                {110, 128},
                "2"};
    }
}

// Deterministic scatter for the concrete's grain.
quint32 nextRandom(quint32 &state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// One grain of the concrete: an ellipse r wide and 0.8 r high, grey `shade` at alpha 150.
struct Grain
{
    QPointF centre;
    qreal r;
    int shade;
};

std::vector<Grain> grains(const QRectF &box, quint32 seed, int count, int darkness)
{
    std::vector<Grain> all;
    quint32 state = seed;
    for (int i = 0; i < count; ++i) {
        const qreal x = box.left() + (nextRandom(state) % 10000) / 10000.0 * box.width();
        const qreal y = box.top() + (nextRandom(state) % 10000) / 10000.0 * box.height();
        const qreal r = 0.5 + (nextRandom(state) % 100) / 100.0;
        const int shade = darkness + int(nextRandom(state) % 40);
        all.push_back({QPointF(x, y), r, shade});
    }
    return all;
}

// On a page the grain is most of what a report page writes and most of its time. There a grain
// that lies wholly outside its face, where the clip hides it, is left out (about half of them:
// they are scattered over the face's bounding box), and grains of one shade that touch no grain
// before them are filled as one path: one colour and one fill instead of one per grain, and the
// same pixels, since nothing painted between them lies under or over them (a pixel to spare for the
// smoothed edges). Each point lies on a whole unit of the page (1/1200 inch on a PDF), where its
// numbers are written without decimals, half as long; no edge moves by more than 1/2400 inch.
struct GrainGroup
{
    int shade;
    QPainterPath path;
};

std::vector<GrainGroup> groupsOnPage(const QPainterPath &face, const std::vector<Grain> &all,
                                     const QTransform &toDevice, const QTransform &fromDevice)
{
    std::vector<GrainGroup> groups;
    std::map<int, std::size_t> groupOfShade;
    std::vector<QRectF> before;
    for (const Grain &g : all) {
        const QRectF bounds(g.centre.x() - g.r - 1, g.centre.y() - g.r * 0.8 - 1, 2 * g.r + 2,
                            1.6 * g.r + 2);
        if (!face.intersects(bounds))
            continue;
        const bool touches = std::any_of(before.begin(), before.end(), [&](const QRectF &other) {
            return other.intersects(bounds);
        });
        before.push_back(bounds);

        QPainterPath grain;
        grain.addEllipse(g.centre, g.r, g.r * 0.8);
        grain = toDevice.map(grain);
        for (int e = 0; e < grain.elementCount(); ++e) {
            // A hair above the whole unit, so that mapping it back does not fall just short.
            const QPointF unit(qRound(grain.elementAt(e).x) + 1e-8,
                               qRound(grain.elementAt(e).y) + 1e-8);
            const QPointF back = fromDevice.map(unit);
            grain.setElementPositionAt(e, back.x(), back.y());
        }
        const auto group = groupOfShade.find(g.shade);
        if (touches || group == groupOfShade.end()) {
            groupOfShade[g.shade] = groups.size();
            groups.push_back({g.shade, grain});
        } else {
            groups[group->second].path.addPath(grain);
        }
    }
    return groups;
}

void speckleOnPage(QPainter &p, const QPainterPath &face, quint32 seed, int count, int darkness)
{
    const QTransform toDevice = p.deviceTransform();
    p.resetTransform();
    const QTransform fromDevice = p.deviceTransform().inverted();
    // A report of many pages paints the same picture at the same place on every page: the grain
    // of a face (each face has a seed of its own) is worked out once for that place.
    struct Kept
    {
        quint32 seed;
        QTransform toDevice;
        QTransform fromDevice;
        std::vector<GrainGroup> groups;
    };
    static std::vector<Kept> kept;
    auto found = std::find_if(kept.begin(), kept.end(), [&](const Kept &k) {
        return k.seed == seed && k.toDevice == toDevice && k.fromDevice == fromDevice;
    });
    if (found == kept.end()) {
        if (kept.size() >= 32)
            kept.clear();
        kept.push_back({seed, toDevice, fromDevice,
                        groupsOnPage(face, grains(face.boundingRect(), seed, count, darkness),
                                     toDevice, fromDevice)});
        found = kept.end() - 1;
    }
    for (const GrainGroup &group : found->groups) {
        p.setBrush(QColor(group.shade, group.shade, group.shade, 150));
        p.drawPath(group.path);
    }
}

void speckle(QPainter &p, const QPainterPath &face, quint32 seed, int count, int darkness)
{
    p.save();
    p.setClipPath(face);
    p.setPen(Qt::NoPen);
    if (p.paintEngine() && p.paintEngine()->type() != QPaintEngine::Raster) {
        speckleOnPage(p, face, seed, count, darkness);
    } else {
        for (const Grain &g : grains(face.boundingRect(), seed, count, darkness)) {
            p.setBrush(QColor(g.shade, g.shade, g.shade, 150));
            p.drawEllipse(g.centre, g.r, g.r * 0.8);
        }
    }
    p.restore();
}

// The back of the top surface: an irregular cloud from the left end to the right end.
QPainterPath topSurface()
{
    const QPointF base[] = {at(EdgeP, 0), at(EdgeP, 60),      at(EdgeP, 125), at(EdgeP - 8, 178),
                            at(196, 214), at(150, EdgeQ - 4), at(80, EdgeQ),  at(0, EdgeQ)};
    const qreal bulge[] = {10, 14, 9, 16, 12, 15, 10};
    QPainterPath path;
    path.moveTo(at(0, 0));
    path.lineTo(base[0]);
    for (int i = 0; i + 1 < 8; ++i) {
        const QPointF a = base[i], b = base[i + 1];
        const QPointF mid = (a + b) / 2;
        QPointF normal(b.y() - a.y(), a.x() - b.x()); // to the outside (up)
        normal /= qSqrt(normal.x() * normal.x() + normal.y() * normal.y());
        // Two bumps per stretch.
        const QPointF q1 = (a + mid) / 2 + normal * bulge[i];
        const QPointF q2 = (mid + b) / 2 + normal * (bulge[(i + 3) % 7] * 0.8);
        path.quadTo(q1, mid);
        path.quadTo(q2, b);
    }
    path.closeSubpath();
    return path;
}

// A side face below an edge, its far end broken off with a wavy line.
QPainterPath sideFace(QPointF nearTop, QPointF farTop)
{
    const QPointF down(0, Depth);
    QPainterPath path;
    path.moveTo(nearTop);
    path.lineTo(farTop);
    const qreal side = farTop.x() < nearTop.x() ? 1 : -1;
    path.cubicTo(farTop + QPointF(side * 7, Depth * 0.3), farTop + QPointF(-side * 5, Depth * 0.6),
                 farTop + down + QPointF(side * 4, 0));
    path.lineTo(nearTop + down);
    path.closeSubpath();
    return path;
}

void paintBlock(QPainter &p)
{
    const QPainterPath left = sideFace(at(0, 0), at(EdgeP, 0));
    const QPainterPath right = sideFace(at(0, 0), at(0, EdgeQ));
    const QPainterPath top = topSurface();
    const QPen edge(QColor(92, 92, 92), 1);

    QLinearGradient leftFill(at(EdgeP, 0), at(0, 0));
    leftFill.setColorAt(0, QColor(196, 196, 196));
    leftFill.setColorAt(1, QColor(170, 170, 170));
    p.setPen(edge);
    p.setBrush(leftFill);
    p.drawPath(left);
    QLinearGradient rightFill(at(0, 0), at(0, EdgeQ));
    rightFill.setColorAt(0, QColor(136, 136, 136));
    rightFill.setColorAt(1, QColor(158, 158, 158));
    p.setBrush(rightFill);
    p.drawPath(right);
    QLinearGradient topFill(at(0, 0), at(EdgeP, EdgeQ));
    topFill.setColorAt(0, QColor(214, 214, 214));
    topFill.setColorAt(1, QColor(232, 232, 232));
    p.setBrush(topFill);
    p.drawPath(top);

    speckle(p, top, 7, 260, 120);
    speckle(p, left, 11, 120, 95);
    speckle(p, right, 13, 120, 75);
    p.setPen(edge);
    p.setBrush(Qt::NoBrush);
    p.drawLine(at(0, 0), at(0, 0) + QPointF(0, Depth));
}

QPolygonF circleOnPlate(qreal p0, qreal q0, qreal radius, qreal z)
{
    QPolygonF polygon;
    for (int i = 0; i < 32; ++i) {
        const qreal a = i * 2 * M_PI / 32;
        polygon << at(p0 + radius * qCos(a), q0 + radius * qSin(a), z);
    }
    return polygon;
}

void paintPlate(QPainter &p, const Layout &l)
{
    const qreal q0 = l.plate.left(), q1 = l.plate.right();
    const qreal p0 = l.plate.top(), p1 = l.plate.bottom();
    const QPen edge(QColor(78, 84, 94), 1);
    p.setPen(edge);
    QPolygonF front;
    front << at(p0, q0, Plate) << at(p1, q0, Plate) << at(p1, q0) << at(p0, q0);
    p.setBrush(QColor(176, 183, 193));
    p.drawPolygon(front);
    QPolygonF side;
    side << at(p0, q0, Plate) << at(p0, q1, Plate) << at(p0, q1) << at(p0, q0);
    p.setBrush(QColor(146, 153, 165));
    p.drawPolygon(side);
    QPolygonF top;
    top << at(p0, q0, Plate) << at(p1, q0, Plate) << at(p1, q1, Plate) << at(p0, q1, Plate);
    QLinearGradient fill(at(p0, q0, Plate), at(p1, q1, Plate));
    fill.setColorAt(0, QColor(206, 211, 219));
    fill.setColorAt(1, QColor(236, 239, 243));
    p.setBrush(fill);
    p.drawPolygon(top);

    // Centre lines through the rows and columns.
    QPen centre(QColor(60, 60, 60), 0.8, Qt::DashDotLine);
    p.setPen(centre);
    for (qreal row : l.p)
        p.drawLine(at(row, q0 - 12, Plate), at(row, q1 + 12, Plate));
    for (qreal column : l.q)
        p.drawLine(at(p0 - 12, column, Plate), at(p1 + 12, column, Plate));

    // The anchors: dark holes in a light washer.
    for (qreal row : l.p)
        for (qreal column : l.q) {
            p.setPen(QPen(QColor(90, 94, 102), 0.8));
            p.setBrush(QColor(196, 200, 206));
            p.drawPolygon(circleOnPlate(row, column, 10, Plate));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(36, 36, 40));
            p.drawPolygon(circleOnPlate(row, column, 6, Plate));
        }
}

// The arrowhead at `tip` of a line coming from `from`.
void lineEnd(QPainter &p, QPointF tip, QPointF from)
{
    QPointF d = tip - from;
    const qreal length = qSqrt(d.x() * d.x() + d.y() * d.y());
    if (length <= 0)
        return;
    arrowHead(p, tip, d / length, 7, 2.3);
}

// A dimension line between a and b with arrowheads at both ends and its label beside it,
// shifted by `labelShift` on the screen.
void dimension(QPainter &p, QPointF a, QPointF b, const Label &label, QPointF labelShift)
{
    p.setPen(QPen(Qt::black, 0.9));
    p.drawLine(a, b);
    lineEnd(p, a, b);
    lineEnd(p, b, a);
    const QPointF centre = (a + b) / 2 + labelShift;
    drawIndexed(p, centre.x(), centre.y() + 5, label.main, label.index, 15);
}

void extension(QPainter &p, QPointF a, QPointF b)
{
    p.setPen(QPen(QColor(30, 30, 30), 0.7));
    p.drawLine(a, b);
}

void paintChain(QPainter &p, const Layout &l)
{
    const qreal pDim = l.plate.bottom() + 30;
    const qreal qDim = l.plate.right() + 30;
    // Label shifts: outwards from the plate, across the line.
    const QPointF behind(-11, -9);
    const QPointF right(11, -9);

    // Rising part along q, behind the back row.
    QList<qreal> stops{0};
    stops << l.q;
    extension(p, at(pDim - 10, 0), at(pDim + 7, 0));
    for (qreal column : l.q)
        extension(p, at(l.plate.bottom() + 4, column), at(pDim + 7, column));
    for (int i = 0; i < l.rising.size(); ++i)
        dimension(p, at(pDim, stops[i]), at(pDim, stops[i + 1]), l.rising[i], behind);

    // Falling part along p, right of the plate, from the back row to the right edge.
    QList<qreal> rows = l.p;
    std::reverse(rows.begin(), rows.end());
    rows << 0;
    for (int i = 0; i + 1 < rows.size(); ++i)
        extension(p, at(rows[i], l.plate.right() + 4), at(rows[i], qDim + 7));
    extension(p, at(0, qDim - 10), at(0, qDim + 7));
    for (int i = 0; i < l.falling.size(); ++i)
        dimension(p, at(rows[i], qDim), at(rows[i + 1], qDim), l.falling[i], right);
}

void paintEccentricities(QPainter &p, const Layout &l)
{
    if (l.eAlongQ.size() == 2) {
        const qreal pDim = l.plate.top() - 16;
        for (qreal q : l.eAlongQ)
            extension(p, at(l.plate.top() - 3, q), at(pDim - 6, q));
        dimension(p, at(pDim, l.eAlongQ[0]), at(pDim, l.eAlongQ[1]), {"e", l.eAlongQIndex},
                  QPointF(12, 11));
    }
    if (l.eAlongP.size() == 2) {
        const qreal qDim = l.plate.left() - 16;
        for (qreal pp : l.eAlongP)
            extension(p, at(pp, l.plate.left() - 3), at(pp, qDim - 6));
        dimension(p, at(l.eAlongP[0], qDim), at(l.eAlongP[1], qDim), {"e", l.eAlongPIndex},
                  QPointF(-13, 11));
    }
}

// The shear arrow, flat on the plate's surface.
void paintShear(QPainter &p, const Layout &l)
{
    const QPointF tail = l.v, dir = l.vDirection, side(-dir.y(), dir.x());
    const qreal shaft = 3.5, head = 9, headLength = 18;
    const auto point = [&](qreal along, qreal across) {
        const QPointF w = tail + dir * along + side * across;
        return at(w.x(), w.y(), Plate);
    };
    QPolygonF arrow;
    arrow << point(0, -shaft) << point(l.vLength - headLength, -shaft)
          << point(l.vLength - headLength, -head) << point(l.vLength, 0)
          << point(l.vLength - headLength, head) << point(l.vLength - headLength, shaft)
          << point(0, shaft);
    p.setPen(QPen(VArrow.darker(160), 1));
    p.setBrush(VArrow);
    p.drawPolygon(arrow);
    const QPointF tip = point(l.vLength, 0);
    // The label beside the head, on the far side from the plate.
    const QPointF shift = dir.x() < 0 ? QPointF(16, 12) : QPointF(-26, 5);
    drawIndexed(p, tip.x() + shift.x(), tip.y() + shift.y(), "V", "1d", 15);
}

// The tension arrow, straight up from the plate.
void paintTension(QPainter &p, const Layout &l)
{
    const QPointF foot = at(l.n.x(), l.n.y(), Plate);
    const qreal length = 82, shaft = 3.5, head = 9, headLength = 18;
    QPolygonF arrow;
    arrow << foot + QPointF(-shaft, 0) << foot + QPointF(-shaft, -(length - headLength))
          << foot + QPointF(-head, -(length - headLength)) << foot + QPointF(0, -length)
          << foot + QPointF(head, -(length - headLength))
          << foot + QPointF(shaft, -(length - headLength)) << foot + QPointF(shaft, 0);
    QLinearGradient fill(foot.x() - head, 0, foot.x() + head, 0);
    fill.setColorAt(0, NArrow.lighter(115));
    fill.setColorAt(0.5, NArrow);
    fill.setColorAt(1, NArrow.darker(125));
    p.setPen(QPen(NArrow.darker(170), 1));
    p.setBrush(fill);
    p.drawPolygon(arrow);
    p.setPen(Qt::NoPen);
    p.setBrush(NArrow.darker(140));
    p.drawPolygon(circleOnPlate(l.n.x(), l.n.y(), 4, Plate));
    drawIndexed(p, foot.x() + 22, foot.y() - length + 14, "N", "sd", 15);
}

} // namespace

void paintArrangement(QPainter &p, int n)
{
    const Layout l = layoutOf(n);
    paintBlock(p);
    paintChain(p, l);
    paintPlate(p, l);
    paintEccentricities(p, l);
    paintShear(p, l);
    paintTension(p, l);
}

} // namespace artwork::detail
