#include "forms/artwork/painting.h"

namespace artwork::detail {

void paintInstallation(QPainter &p, int sizeNo, const QSize &size)
{
    p.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, QString::number(sizeNo));
}

void paintDimensionedDrawing(QPainter &p, const QSize &size)
{
    p.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, QStringLiteral("drawing"));
}

} // namespace artwork::detail
