#pragma once

#include "engine/encoder_setting.h"
#include "engine/quality_numbers.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <optional>

// One finished comparison.
struct PreviewResult {
    QByteArray original; // PNG file: the compared frame of the reference clip
    QByteArray encoded;  // PNG file: the same frame of the encoded clip
    qint64 width = 0;    // pixel size of the reference clip (after the height limit)
    qint64 height = 0;
    double actualMbps = 0;    // measured bitrate of the encoded clip, 0 when none was measured
    double seconds = 0;       // movie time of the compared frame
    double sampleSeconds = 0; // length of the reference clip (at most 3)
    double targetMbps = 0;    // the bitrate it was rendered at
    EncoderSetting encoder;   // and the encoder setting
    qint64 frame = 0;         // index of the compared frame inside the clip, from 0
    qint64 frameCount = 0;    // frames of the clip (as the cut counted them)
    qint64 sceneFrame = 0;    // index of the scene's own frame, the one a render compares
    double frameRate = 0;     // frames per second at which the clip's frame times are reckoned
    int rotation = 0;         // the movie's MovieInfo::rotation, for showing the frames upright
    // Its entry in the engine's cache of results (EncodeCache::entryKey). measure() and the
    // save operations find the result's clips by it.
    QString cacheKey;
    std::optional<QualityNumbers> quality; // present when the cache has measured them already

    // The movie time of another frame of the clip, reckoned from the compared frame's.
    double secondsOf(qint64 clipFrame) const { return seconds + double(clipFrame - frame) / frameRate; }

    friend bool operator==(const PreviewResult &, const PreviewResult &) = default;
};

Q_DECLARE_METATYPE(PreviewResult)
