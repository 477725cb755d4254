#include "ikona.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace {

QPixmap Ball(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF ball(1, 1, size - 2, size - 2);
    p.setPen(QPen(Qt::black, std::max(1.0, size / 32.0)));
    p.setBrush(Qt::white);
    p.drawEllipse(ball);
    // The black pentagon in the middle and the dark patches around it.
    const QPointF c = ball.center();
    const qreal r = size * 0.17;
    QPolygonF pentagon;
    for (int i = 0; i < 5; ++i) {
        const qreal a = qDegreesToRadians(-90.0 + 72.0 * i);
        pentagon << QPointF(c.x() + r * qCos(a), c.y() + r * qSin(a));
    }
    p.setBrush(Qt::black);
    p.drawPolygon(pentagon);
    QPainterPath clip;
    clip.addEllipse(ball);
    p.setClipPath(clip);
    for (int i = 0; i < 5; ++i) {
        const qreal a = qDegreesToRadians(-90.0 + 72.0 * i);
        const QPointF far(c.x() + size * 0.48 * qCos(a), c.y() + size * 0.48 * qSin(a));
        p.drawLine(pentagon.at(i), far);
        p.drawEllipse(far, size * 0.12, size * 0.12);
    }
    return pixmap;
}

} // namespace

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(Ball(size));
    return icon;
}
