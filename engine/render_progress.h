#pragma once

#include <QtGlobal>

#include <functional>

// How far the running step of a render is: frames done of the clip's frames, with an estimate of
// the time left from the time the step has taken so far.
struct RenderProgress {
    enum class Step { Cut, Encode };

    Step step = Step::Cut;
    qint64 frames = 0;            // frames done
    qint64 totalFrames = 0;       // frames of the clip
    double remainingSeconds = -1; // < 0 while unknown

    friend bool operator==(const RenderProgress &, const RenderProgress &) = default;
};

// Called on the engine's worker thread while the cut or the encode runs.
using ProgressCallback = std::function<void(const RenderProgress &)>;
