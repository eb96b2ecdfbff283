#include "ui/window_fit.h"

#include <algorithm>

QSizeF WindowFit::wantedContent() const
{
    // Everything around the image areas keeps its size.
    const double chromeWidth = std::max(0.0, content.width() - panes * previewSize.width());
    const double chromeHeight = std::max(0.0, content.height() - previewSize.height());
    const double s = scale > 0 ? scale : 1;
    return QSizeF(std::max(panes * movie.width() / s + chromeWidth, minimumContent.width()),
                  std::max(movie.height() / s + chromeHeight, minimumContent.height()));
}

QRectF WindowFit::newFrame() const
{
    const QSizeF wanted = wantedContent();
    const QSizeF frame(wanted.width() + decorations.left() + decorations.right(),
                       wanted.height() + decorations.top() + decorations.bottom());
    const QSizeF size(std::min(visibleArea.width(), frame.width()), std::min(visibleArea.height(), frame.height()));
    const QPointF centre = currentFrame.center();
    const double x =
        std::max(visibleArea.left(),
                 std::min(visibleArea.left() + visibleArea.width() - size.width(), centre.x() - 0.5 * size.width()));
    const double y =
        std::max(visibleArea.top(),
                 std::min(visibleArea.top() + visibleArea.height() - size.height(), centre.y() - 0.5 * size.height()));
    return QRectF(QPointF(x, y), size);
}
