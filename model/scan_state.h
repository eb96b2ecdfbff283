#pragma once

#include "analysis/finder_result.h"
#include "analysis/scene_result.h"

#include <QList>
#include <optional>

// What the scene scan and the bitrate finder found for one film, as plain numbers: the scenes of
// the last scan with the bitrate and height limit they were made at, and the finder's last result
// with the height limit it searched at.
struct ScanState {
    struct Scan {
        double mbps = 0;
        qint64 maxHeight = 0;
        QList<SceneResult> scenes;
        friend bool operator==(const Scan &, const Scan &) = default;
    };
    struct Finder {
        qint64 maxHeight = 0;
        FinderResult result;
        friend bool operator==(const Finder &, const Finder &) = default;
    };

    std::optional<Scan> scan;
    std::optional<Finder> finder;

    bool empty() const { return !scan && !finder; }

    friend bool operator==(const ScanState &, const ScanState &) = default;
};
