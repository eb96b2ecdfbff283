#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QSize>

// The program's icons: the desktop theme's icon where the theme has one of the same meaning,
// otherwise a small monochrome icon shipped with the program.
namespace AppIcons {

enum class Symbol { Sliders, Refresh, Film, Help };

QIcon icon(Symbol symbol);
// The icon at the given size in points. A shipped icon is painted in the given colour; a theme
// icon keeps its own colours.
QPixmap pixmap(Symbol symbol, QSize size, const QColor &colour, qreal devicePixelRatio);
QIcon application();

} // namespace AppIcons
