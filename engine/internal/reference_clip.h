#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include "engine/movie_info.h"

#include <QString>
#include <QtGlobal>

// A reference clip cut for a movie, scene time and height limit: its size, the compared frame taken
// out of it and what it was cut from. The clip itself ("reference.mkv") exists once in the work
// folder, for the clip cut last; the frame stays in the clip's folder while the cache keeps a
// result of it (EncodeCache), so that a new bitrate for the clip in the folder costs one encode,
// one probe and one frame extraction, and for an earlier clip the cut on top.
struct ReferenceClip {
    QString key;      // keyFor() of what the clip was made from
    qint64 width = 0; // pixel size of the clip as its probe reports it
    qint64 height = 0;
    qint64 frame = 0;    // index of the compared frame inside the clip
    double time = 0;     // movie time of that frame
    double duration = 0; // length of the clip, seconds
    qint64 frames = 0;   // frames of the clip: as the cut counted them, else reckoned from length and rate
    // What it was cut from, so that it can be cut again when another clip took its place.
    MovieInfo movie;
    double seconds = 0;
    qint64 maxHeight = 0;

    // The lossless clip in the work folder, and the compared frame's name in the clip's folder.
    static QString clipFile() { return QStringLiteral("reference.mkv"); }
    static QString frameFile() { return QStringLiteral("original.png"); }

    // "<movie path>|<scene time>|<height limit>"; the bitrate is not part of it.
    static QString keyFor(const QString &moviePath, double seconds, qint64 maxHeight);
};
