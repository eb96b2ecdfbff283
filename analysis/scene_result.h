#pragma once

#include "engine/quality_numbers.h"

#include <QMetaType>

// One scene of a scan: a comparison at the scan's bitrate, measured.
struct SceneResult {
    double seconds = 0;       // movie time of the compared frame
    double sampleSeconds = 0; // length of the clip really encoded
    double actualMbps = 0;    // measured bitrate of the encoded clip
    QualityNumbers quality;
    // The scene time the scan asked for: rendering it again at the scan's bitrate and height limit
    // answers from the engine's cache, where `seconds` would cut another clip.
    double sceneSeconds = 0;

    friend bool operator==(const SceneResult &, const SceneResult &) = default;
};

Q_DECLARE_METATYPE(SceneResult)
