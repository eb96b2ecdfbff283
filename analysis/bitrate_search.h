#pragma once

#include <QList>
#include <optional>

// The bitrate finder's search, without tools: the lowest bitrate between ComparisonLimits::minMbps
// and maxMbps, on the grid of ComparisonLimits::finderStepMbps, at which the worst of the chosen
// scenes reaches a target clip SSIM. The caller renders the scenes at next(), reports their worst
// clip SSIM, and asks again until next() gives nothing.
//
// The maximum is tried first: when even that falls short there is no result. Then the bracket
// between the highest bitrate known to fall short (at first a step below the minimum) and the
// lowest known to reach the target is halved on a logarithmic scale, since quality grows with
// the logarithm of the bitrate rather than with the bitrate itself. Every bitrate tried lies on
// the grid, so the result is a bitrate that was rendered and can be chosen as it is.
class BitrateSearch {
public:
    struct Try {
        double mbps = 0;
        double worstSsim = 0;
        friend bool operator==(const Try &, const Try &) = default;
    };

    explicit BitrateSearch(double targetSsim);

    // The bitrate to render next; nothing once the search is done.
    std::optional<double> next() const;
    // The worst clip SSIM of the scenes rendered at mbps (normally the last next()).
    void report(double mbps, double worstSsim);

    bool done() const { return !next(); }
    // The lowest bitrate found to reach the target, once done; nothing while searching and when
    // even the maximum falls short.
    std::optional<double> result() const;
    double targetSsim() const { return target_; }
    // Every report, in order.
    const QList<Try> &tried() const { return tried_; }

private:
    double target_;
    // Grid steps: the highest known to fall short, the lowest known to reach the target.
    int below_;
    std::optional<int> reached_;
    QList<Try> tried_;
};
