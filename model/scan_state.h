#pragma once

#include "analysis/finder_result.h"
#include "analysis/scene_result.h"
#include "engine/encoder_setting.h"

#include <QList>
#include <QtGlobal>
#include <optional>

// What the scene scan and the bitrate finder found for one movie, whole: each with the bitrate,
// height limit and encoder setting it was made at, so that it can be shown again (and kept or restored) without running
// anything.
struct ScanState {
    // The last scan's scenes, in the order they finished, and the settings they were rendered at.
    QList<SceneResult> scenes;
    double scenesMbps = 0;
    qint64 scenesMaxHeight = 0;
    EncoderSetting scenesEncoder;
    // The last finder run that came to a result (with its tries), and the height limit and encoder
    // setting it searched at.
    std::optional<FinderResult> finderResult;
    qint64 finderMaxHeight = 0;
    EncoderSetting finderEncoder;

    friend bool operator==(const ScanState &, const ScanState &) = default;
};
