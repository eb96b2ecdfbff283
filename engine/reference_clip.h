#pragma once

#include "work_folder.h"

#include <QString>
#include <QtGlobal>

// The reference clip in the work folder and the compared frame taken out of it: what a render
// reuses while film, scene time and height limit stay the same, so that a new bitrate alone costs
// one encode, one probe and one frame extraction.
struct ReferenceClip {
    QString key;      // keyFor() of what the clip was made from
    qint64 width = 0; // pixel size of the clip as its probe reports it
    qint64 height = 0;
    qint64 frame = 0;    // index of the compared frame inside the clip
    double time = 0;     // movie time of that frame
    double duration = 0; // length of the clip, seconds
    qint64 frames = 0;   // frames of the clip: as the cut counted them, else reckoned from length and rate

    // The files in the work folder: the lossless clip and the compared frame.
    static QString clipFile() { return QStringLiteral("reference.mkv"); }
    static QString frameFile() { return QStringLiteral("original.png"); }

    // "<film path>|<scene time>|<height limit>"; the bitrate is not part of it.
    static QString keyFor(const QString &moviePath, double seconds, qint64 maxHeight);

    // Made for this key, and its files are still in the folder (a clip whose files vanished is cut
    // again).
    bool isFor(const QString &otherKey, const WorkFolder &folder) const;
};
