#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <optional>

// Where a comparison frame lands inside a pane's image area. The frame is fitted into the area
// with its aspect ratio kept and centred, magnified by zoom about the area's centre and then
// shifted by pan (view points, not multiplied by zoom). All rectangles are relative to the
// area's top-left corner.
struct PaneGeometry {
    QSizeF area;  // image area, view points
    QSizeF frame; // frame, pixels
    double zoom = 1;
    QSizeF pan;

    // View points per frame pixel at this zoom; 0 when area or frame is empty.
    double pointsPerPixel() const;
    // The whole frame, possibly far larger than the area.
    QRectF frameRect() const;
    // A frame point (pixels from the frame's top-left corner) in area coordinates.
    QPointF toArea(QPointF framePoint) const;

    // The part of the frame to draw: whole frame pixels covering the visible part of the frame,
    // and where they go. Both are empty when nothing of the frame is visible.
    struct Blit {
        QRectF source; // frame pixels, integral edges
        QRectF target; // area coordinates
    };
    Blit visiblePart() const;

    // The pan after an arrow key (Qt::Key_Left …): the view a tenth of the area further that way,
    // the frame moving the other way. Nothing for another key.
    std::optional<QSizeF> panAfterKey(int key) const;
};
