#pragma once

#include "analysis/finder_result.h"
#include "analysis/scene_result.h"
#include "engine/encoder_setting.h"

#include <QList>
#include <optional>

// What is remembered of one film's scan and finder runs, as plain numbers: the scenes of
// the last scan with the bitrate, height limit and encoder setting they were made at, and the
// finder's last result with the height limit and encoder setting it searched at.
struct FilmScanRecord {
    struct Scan {
        double mbps = 0;
        qint64 maxHeight = 0;
        EncoderSetting encoder;
        QList<SceneResult> scenes;
        friend bool operator==(const Scan &, const Scan &) = default;
    };
    struct Finder {
        qint64 maxHeight = 0;
        EncoderSetting encoder;
        FinderResult result;
        friend bool operator==(const Finder &, const Finder &) = default;
    };

    std::optional<Scan> scan;
    std::optional<Finder> finder;

    bool empty() const { return !scan && !finder; }

    friend bool operator==(const FilmScanRecord &, const FilmScanRecord &) = default;
};
