#pragma once

#include <QByteArray>
#include <QMetaType>

// One finished comparison.
struct PreviewResult {
    QByteArray original; // PNG file: the compared frame of the reference clip
    QByteArray encoded;  // PNG file: the same frame of the encoded clip
    qint64 width = 0;    // pixel size of the reference clip (after the height limit)
    qint64 height = 0;
    double actualMbps = 0;    // measured bitrate of the encoded clip, 0 when none was measured
    double seconds = 0;       // movie time of the compared frame
    double sampleSeconds = 0; // length of the reference clip (at most 3)

    friend bool operator==(const PreviewResult &, const PreviewResult &) = default;
};

Q_DECLARE_METATYPE(PreviewResult)
