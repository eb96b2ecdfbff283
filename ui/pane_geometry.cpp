#include "ui/pane_geometry.h"

#include <algorithm>
#include <cmath>

double PaneGeometry::pointsPerPixel() const
{
    if (area.isEmpty() || frame.isEmpty())
        return 0;
    const double fitted = std::min(area.width() / frame.width(), area.height() / frame.height());
    return zoom * fitted;
}

QRectF PaneGeometry::frameRect() const
{
    const QPointF topLeft = toArea(QPointF(0, 0));
    const double k = pointsPerPixel();
    return QRectF(topLeft, QSizeF(k * frame.width(), k * frame.height()));
}

QPointF PaneGeometry::toArea(QPointF framePoint) const
{
    const double k = pointsPerPixel();
    return QPointF(area.width() / 2 + pan.width() + k * (framePoint.x() - frame.width() / 2),
                   area.height() / 2 + pan.height() + k * (framePoint.y() - frame.height() / 2));
}

PaneGeometry::Blit PaneGeometry::visiblePart() const
{
    const double k = pointsPerPixel();
    if (k <= 0)
        return {};
    const QRectF whole = frameRect();
    const QRectF visible = whole.intersected(QRectF(QPointF(0, 0), area));
    if (visible.isEmpty())
        return {};
    // Back to frame pixels, widened to whole pixels so that every drawn pixel is a full square.
    const double left = std::max(0.0, std::floor((visible.left() - whole.left()) / k));
    const double top = std::max(0.0, std::floor((visible.top() - whole.top()) / k));
    const double right = std::min(frame.width(), std::ceil((visible.right() - whole.left()) / k));
    const double bottom = std::min(frame.height(), std::ceil((visible.bottom() - whole.top()) / k));
    if (right <= left || bottom <= top)
        return {};
    const QRectF source(left, top, right - left, bottom - top);
    const QRectF target(whole.left() + k * left, whole.top() + k * top, k * source.width(), k * source.height());
    return {source, target};
}

std::optional<QSizeF> PaneGeometry::panAfterKey(int key) const
{
    constexpr double share = 0.1;
    const double dx = share * area.width(), dy = share * area.height();
    switch (key) {
    case Qt::Key_Left:
        return pan + QSizeF(dx, 0);
    case Qt::Key_Right:
        return pan - QSizeF(dx, 0);
    case Qt::Key_Up:
        return pan + QSizeF(0, dy);
    case Qt::Key_Down:
        return pan - QSizeF(0, dy);
    default:
        return std::nullopt;
    }
}
