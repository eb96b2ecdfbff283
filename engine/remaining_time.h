#pragma once

#include <QElapsedTimer>

// The time a run of similar steps still needs, estimated from the time its finished share took.
class RemainingTime {
public:
    void start() { restart(0); }
    // Counts from now, as if `work` steps had been done before: their time says nothing about the
    // steps to come (they were answered from a cache).
    void restart(double work)
    {
        clock_.start();
        base_ = work;
    }

    // work: the steps done, counting the share done of running ones; total: all steps. Negative
    // while there is nothing to go by (before start, or before any share of a step is done).
    double estimate(double work, double total) const;

private:
    QElapsedTimer clock_;
    double base_ = 0;
};
