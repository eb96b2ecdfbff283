#pragma once

#include <QImage>
#include <QMetaType>
#include <QtGlobal>

// The same frame of a result's two clips, decoded and upright, for showing both panes at once:
// they are only ever handed on together. The difference picture is there when it was asked for.
struct FramePair {
    qint64 index = -1; // in the clip, from 0
    QImage original;
    QImage encoded;
    QImage difference; // differenceImage of the two, or null

    qint64 bytes() const { return original.sizeInBytes() + encoded.sizeInBytes() + difference.sizeInBytes(); }
};

Q_DECLARE_METATYPE(FramePair)
