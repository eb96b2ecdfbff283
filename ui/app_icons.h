#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QSize>

// The program's icons: the desktop theme's icon where the theme has one, otherwise the small
// icon shipped with the program.
namespace AppIcons {

QIcon sliders();
QIcon refresh();
QIcon film();
QIcon help();
QIcon application();

// The icon at the given size in points, every opaque pixel painted in one colour.
QPixmap tinted(const QIcon &icon, QSize size, const QColor &colour, qreal devicePixelRatio);

} // namespace AppIcons
