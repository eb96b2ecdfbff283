#include "ui/app_icons.h"

#include <QPainter>

namespace {

QIcon shipped(AppIcons::Symbol symbol)
{
    switch (symbol) {
    case AppIcons::Symbol::Sliders:
        return QIcon(QStringLiteral(":/bitglance/icons/sliders.png"));
    case AppIcons::Symbol::Refresh:
        return QIcon(QStringLiteral(":/bitglance/icons/arrow-clockwise.png"));
    case AppIcons::Symbol::Film:
        return QIcon(QStringLiteral(":/bitglance/icons/film.png"));
    case AppIcons::Symbol::Help:
        return QIcon(QStringLiteral(":/bitglance/icons/question-circle.png"));
    }
    return {};
}

// The freedesktop naming scheme has no set of sliders and no movie strip (its video icons are a
// file type and a camera); for those the program always uses its own.
QIcon themed(AppIcons::Symbol symbol)
{
    switch (symbol) {
    case AppIcons::Symbol::Refresh:
        return QIcon::fromTheme(QStringLiteral("view-refresh"));
    case AppIcons::Symbol::Help:
        return QIcon::fromTheme(QStringLiteral("help-contents"));
    default:
        return {};
    }
}

} // namespace

namespace AppIcons {

QIcon icon(Symbol symbol)
{
    const QIcon theme = themed(symbol);
    return theme.isNull() ? shipped(symbol) : theme;
}

QPixmap pixmap(Symbol symbol, QSize size, const QColor &colour, qreal devicePixelRatio)
{
    const QIcon theme = themed(symbol);
    if (!theme.isNull())
        return theme.pixmap(size, devicePixelRatio);
    QPixmap pixmap = shipped(symbol).pixmap(size, devicePixelRatio);
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(QPointF(0, 0), pixmap.deviceIndependentSize()), colour);
    return pixmap;
}

QIcon application()
{
    return QIcon::fromTheme(QStringLiteral("bitglance"), QIcon(QStringLiteral(":/bitglance/icons/bitglance.png")));
}

} // namespace AppIcons
