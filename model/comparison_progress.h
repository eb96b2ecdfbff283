#pragma once

#include "engine/render_progress.h"

// How far a comparison's work is, as one bar: the cut of the reference clip and the encode, each
// with the share of the time it is expected to take (the encode alone when the reference clip is
// reused), and the time left once there is enough to go by.
class ComparisonProgress {
public:
    // A report of the cut or the encode, elapsedSeconds after the comparison's work began.
    void add(const RenderProgress &step, double elapsedSeconds);

    // 0 to 1.
    double share() const { return share_; }
    // < 0 while unknown: before a tenth of the work is done and two seconds have passed.
    double remainingSeconds() const { return remainingSeconds_; }

    friend bool operator==(const ComparisonProgress &, const ComparisonProgress &) = default;

private:
    bool cut_ = false; // the work began with a cut
    double share_ = 0;
    double remainingSeconds_ = -1;
};
