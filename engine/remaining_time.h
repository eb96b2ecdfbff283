#pragma once

#include <QElapsedTimer>

// The time a run of similar steps still needs, estimated from the time its finished share took.
class RemainingTime {
public:
    void start() { clock_.start(); }

    // work: the steps done, counting the share done of running ones; total: all steps. Negative
    // while there is nothing to go by (before start, or before any share of a step is done).
    double estimate(double work, double total) const;

private:
    QElapsedTimer clock_;
};
