#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include "engine/movie_info.h"

#include <QtGlobal>

// Where the reference clip lies in the movie and which of its frames is compared.
struct ClipPlan {
    double clipLength = 0;   // min(duration, 3)
    double start = 0;        // clip start in the movie, seconds
    double offset = 0;       // scene time relative to the clip start
    qint64 frame = 0;        // index of the compared frame inside the clip
    qint64 outputHeight = 0; // height limit handed to the scale filter
    double frameTime = 0;    // movie time of the compared frame: frame / fps + start

    // seconds must be finite.
    static ClipPlan compute(const MovieInfo &movie, double seconds, qint64 maxHeight);
};
