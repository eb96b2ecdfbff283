#pragma once

#include <QMetaType>

// How far a scene scan or a bitrate finder run is.
struct ScanProgress {
    int done = 0;  // scenes finished
    int total = 0; // scenes in all; for a finder run an estimate that follows the search
    // Scenes finished plus the share done of the scenes running, for the estimate of the time left.
    double work = 0;
    double remainingSeconds = -1; // < 0 while unknown

    friend bool operator==(const ScanProgress &, const ScanProgress &) = default;
};

Q_DECLARE_METATYPE(ScanProgress)
