#pragma once

#include <QMetaType>

// How far a scene scan or a bitrate finder run is.
struct ScanProgress {
    int done = 0;  // scenes finished
    int total = 0; // scenes in all; for a finder run an estimate that follows the search
    // Scenes finished plus the share done of the scenes running, for the estimate of the time left.
    double work = 0;
    double remainingSeconds = -1; // < 0 while unknown
    // A finder run: its round (from 1; 0 during its scan) and that round's scenes, done and in all.
    // No scenes for a scan of its own.
    int round = 0;
    int roundDone = 0;
    int roundScenes = 0;

    friend bool operator==(const ScanProgress &, const ScanProgress &) = default;
};

Q_DECLARE_METATYPE(ScanProgress)
