#pragma once

#include <QImage>

// The absolute difference of the two frames' luma per pixel, amplified four times and clamped:
// black where they agree, lighter the more they differ. Luma is taken from the RGB pixels with
// the BT.601 weights. A null image when either frame is null or their sizes differ.
QImage differenceImage(const QImage &original, const QImage &encoded);
