#include "forms/artwork/emblem.h"

#include "forms/artwork/painting.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace artwork {
namespace detail {

// An orange-red slanted tile carrying a white wedge and bolt.
void paintEmblem(QPainter &p)
{
    QPainterPath tile;
    tile.moveTo(17, 12);
    tile.lineTo(57, 12);
    tile.lineTo(47, 47);
    tile.lineTo(7, 47);
    tile.closeSubpath();
    QLinearGradient fill(0, 12, 0, 47);
    fill.setColorAt(0, QColor(255, 120, 64));
    fill.setColorAt(1, QColor(196, 48, 20));
    p.setPen(QPen(QColor(120, 24, 8), 1));
    p.setBrush(fill);
    p.drawPath(tile);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPolygonF bolt;
    bolt << QPointF(21, 17) << QPointF(27, 17) << QPointF(19.5, 42) << QPointF(13.5, 42);
    p.drawPolygon(bolt);
    QPolygonF upper;
    upper << QPointF(27, 29) << QPointF(46, 17) << QPointF(38, 29);
    p.drawPolygon(upper);
    QPolygonF lower;
    lower << QPointF(26, 31) << QPointF(37, 31) << QPointF(36, 42);
    p.drawPolygon(lower);
}

} // namespace detail

QImage emblemIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The wide tile fills the width, less a small margin, centred in the height.
    const QRectF &area = detail::EmblemArea;
    const qreal scale = size * 0.9 / area.width();
    p.translate(size / 2.0, size / 2.0);
    p.scale(scale, scale);
    p.translate(-area.center());
    detail::paintEmblem(p);
    return image;
}

} // namespace artwork
