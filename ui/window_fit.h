#pragma once

#include "engine/comparison_limits.h"

#include <QMarginsF>
#include <QRectF>
#include <QSizeF>

// The arithmetic of "fit the window to the source": each of the one or two image areas
// gets as many points as the movie has physical pixels, the content never drops below the
// minimum, and the window stays on the visible part of its screen, centred where it was if
// possible. Qt coordinates: y grows downwards, rectangles by their top-left corner.
struct WindowFit {
    QSizeF movie;          // movie frame, pixels
    QSizeF previewSize;    // one image area, points
    QSizeF content;        // the main view's current size, points
    double scale = 1;      // physical pixels per point
    QMarginsF decorations; // outer frame minus the shown main view on each side (menu bar included)
    QRectF visibleArea;    // the screen's usable area
    QRectF currentFrame;   // the window's outer frame now
    QSizeF minimumContent{ComparisonLimits::minimumViewWidth, ComparisonLimits::minimumViewHeight};
    int panes = 2; // image areas side by side

    // The content size that gives each image area the movie's size.
    QSizeF wantedContent() const;
    // The new outer frame.
    QRectF newFrame() const;
};
