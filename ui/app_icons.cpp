#include "app_icons.h"

#include <QPainter>

namespace {

QIcon themed(const char *themeName, const char *shipped)
{
    const QIcon fallback(QStringLiteral(":/bitglance/icons/%1.png").arg(QLatin1String(shipped)));
    if (!themeName)
        return fallback;
    return QIcon::fromTheme(QLatin1String(themeName), fallback);
}

} // namespace

namespace AppIcons {

// The freedesktop naming scheme has no icon for a set of sliders; the header shows our own.
QIcon sliders() { return themed(nullptr, "sliders"); }
QIcon refresh() { return themed("view-refresh", "arrow-clockwise"); }
QIcon film() { return themed("video-x-generic", "film"); }
QIcon help() { return themed("help-contents", "question-circle"); }
QIcon application() { return QIcon::fromTheme(QStringLiteral("bitglance"), QIcon(QStringLiteral(":/bitglance/icons/bitglance.png"))); }

QPixmap tinted(const QIcon &icon, QSize size, const QColor &colour, qreal devicePixelRatio)
{
    QPixmap pixmap = icon.pixmap(size, devicePixelRatio);
    if (pixmap.isNull())
        return pixmap;
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(QPointF(0, 0), pixmap.deviceIndependentSize()), colour);
    return pixmap;
}

} // namespace AppIcons
