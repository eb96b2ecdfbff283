#pragma once

#include <QList>
#include <QMap>
#include <QPointF>
#include <optional>

// The bitrate finder's search, without tools: the lowest bitrate between ComparisonLimits::minMbps
// and maxMbps, on the grid of ComparisonLimits::finderStepMbps, at which every scanned scene
// reaches a target clip SSIM. It starts from a scan of all scenes at one bitrate; the caller renders
// what next() asks for, reports each scene's clip SSIM, and asks again until next() gives nothing.
//
// The search follows the ComparisonLimits::finderScenes scenes worst at the scan. Each one's curve
// (QualityCurve) predicts where it reaches the target; the next bitrate is the highest of those, on
// the grid, within the bracket between the highest bitrate known to fall short and the lowest at
// which every searched scene reached the target. A prediction beyond the maximum tries the maximum,
// one below the minimum the minimum. The bracket is halved on a logarithmic scale instead when a
// prediction leaves it, or when three rounds in a row fell on the same side of the target (the
// curves keep missing it). Once the searched scenes reach the target one step above a known
// shortfall (or at the minimum), every other scanned scene is rendered there: one that falls short
// joins the searched scenes and the search goes on.
//
// A round renders its scenes at one bitrate, the scene expected worst first, and ends early when one
// falls short there, so that a bitrate which falls short is shown so by as few renders as possible.
//
// The result r is a bitrate at which every scanned scene was rendered and reached the target, with a
// scene rendered at r - step that fell short (unless r is the minimum). Every bitrate rendered lies
// on the grid, so the result can be chosen as it is. Scenes are given by their index in the scan.
class BitrateSearch {
public:
    struct Try {
        double mbps = 0;
        double worstSsim = 0;
        friend bool operator==(const Try &, const Try &) = default;
    };
    // Scenes to render at one bitrate, and where the round stands: a round renders at one bitrate.
    struct Step {
        double mbps = 0;
        QList<int> scenes; // the scene expected worst first
        int round = 0;     // from 1
        int roundDone = 0; // the round's scenes measured at mbps already
        int roundScenes = 0;
        friend bool operator==(const Step &, const Step &) = default;
    };

    // The scan: every scene's clip SSIM at scanMbps, a bitrate on the grid.
    BitrateSearch(double targetSsim, double scanMbps, const QList<double> &scanSsims);

    // What to render next; nothing once the search is done. Ask again after each scene reported.
    std::optional<Step> next() const;
    // A scene's clip SSIM at mbps (a bitrate next() gave).
    void report(int scene, double mbps, double ssim);

    bool done() const { return !next(); }
    // Once done: the lowest bitrate at which every scene reached the target; nothing while searching
    // and when even the maximum falls short.
    std::optional<double> result() const;
    double targetSsim() const { return target_; }
    // Each bitrate rendered (the scan's first), in the order first rendered, with the lowest clip SSIM
    // measured there.
    QList<Try> tried() const;
    // The searched scenes: the worst at the scan, worst first, then those that joined, in turn.
    const QList<int> &searched() const { return searched_; }
    // The scene's measurements: x Mbit/s, y clip SSIM; ascending bitrate.
    QList<QPointF> points(int scene) const;
    // Scenes measured at mbps.
    int scenesAt(double mbps) const;
    // The rounds so far: runs of renders at one bitrate after the scan.
    int rounds() const { return rounds_; }
    // About how many renders the search still needs.
    int rendersLeft() const;

private:
    struct Plan {
        int steps = 0;       // the bitrate to render at
        bool closed = false; // one step above a known shortfall: every scene is rendered there
    };
    std::optional<Plan> plan() const;
    // The scenes a round at the plan's bitrate renders: the searched, or every scene when closed.
    QList<int> sceneSet(const Plan &plan) const;
    bool complete(const Plan &plan) const;
    int predicted(int below, std::optional<int> reached) const;
    // Whether the last three rounds since the searched scenes changed fell on the same side of the
    // target: predictions that keep missing it on one side have lost the curve.
    bool stalled() const;
    int highestShortfall() const;
    std::optional<int> lowestReached(int below) const;
    bool measured(int scene, int steps) const { return measured_[scene].contains(steps); }

    double target_;
    QList<QMap<int, double>> measured_; // per scene: grid step, clip SSIM
    QList<int> searched_;
    QList<int> order_; // grid steps in the order first rendered
    int lastSteps_;
    int rounds_ = 0;
    QList<int> roundSteps_; // the grid step of each round since the searched scenes changed
};
