#include "analysis/quality_curve.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// Where the line through a and b reaches y.
double lineAt(const QPointF &a, const QPointF &b, double y)
{
    return a.x() + (y - a.y()) * (b.x() - a.x()) / (b.y() - a.y());
}

// Where the parabola through a, b and c reaches y between from and to, if it does so once there.
std::optional<double> parabolaAt(const QPointF &a, const QPointF &b, const QPointF &c, double y, double from, double to)
{
    // y = p·x² + q·x + r from the divided differences.
    const double ab = (b.y() - a.y()) / (b.x() - a.x());
    const double bc = (c.y() - b.y()) / (c.x() - b.x());
    const double p = (bc - ab) / (c.x() - a.x());
    const double q = ab - p * (a.x() + b.x());
    const double r = a.y() - (p * a.x() + q) * a.x();
    if (std::abs(p) < 1e-12)
        return std::nullopt;
    const double discriminant = q * q - 4 * p * (r - y);
    if (discriminant < 0)
        return std::nullopt;
    const double root = std::sqrt(discriminant);
    std::optional<double> found;
    for (const double x : {(-q - root) / (2 * p), (-q + root) / (2 * p)}) {
        if (x >= from && x <= to) {
            if (found)
                return std::nullopt;
            found = x;
        }
    }
    return found;
}

} // namespace

double QualityCurve::decibels(double ssim)
{
    return -10 * std::log10(std::max(1 - ssim, 1e-10));
}

QualityCurve::QualityCurve(const QList<QPointF> &points)
{
    Q_ASSERT(!points.isEmpty());
    for (const QPointF &point : points)
        points_.append({std::log(point.x()), decibels(point.y())});
    std::sort(points_.begin(), points_.end(), [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
}

double QualityCurve::mbpsFor(double targetSsim) const
{
    const double target = decibels(targetSsim);
    // The bracket: the highest bitrate that fell short, and the lowest above it that reached the
    // target. A point that reached it below a shortfall is x265's spread and is passed over.
    const QPointF *shortfall = nullptr;
    for (const QPointF &point : points_) {
        if (point.y() < target)
            shortfall = &point; // ascending bitrate
    }
    const QPointF *reached = nullptr;
    for (const QPointF &point : points_) {
        if (point.y() >= target && (!shortfall || point.x() > shortfall->x()) && !reached)
            reached = &point;
    }
    if (shortfall && reached) {
        const QPointF *third = nullptr;
        for (const QPointF &point : points_) {
            const double distance = std::abs(point.y() - target);
            if (&point != shortfall && &point != reached && (!third || distance < std::abs(third->y() - target)))
                third = &point;
        }
        if (third) {
            if (const std::optional<double> bent =
                    parabolaAt(*shortfall, *reached, *third, target, shortfall->x(), reached->x()))
                return std::exp(*bent);
        }
        return std::exp(lineAt(*shortfall, *reached, target));
    }

    // All on one side: the line through the nearest two, or with the typical slope.
    const QPointF &nearest = shortfall ? *shortfall : *reached;
    const QPointF *second = nullptr;
    const qsizetype at = &nearest - points_.constData();
    if (shortfall && at > 0)
        second = &points_[at - 1];
    else if (!shortfall && at + 1 < points_.size())
        second = &points_[at + 1];
    double slope = priorSlope;
    if (second && (second->y() < target) == bool(shortfall)) {
        const double measured = (nearest.y() - second->y()) / (nearest.x() - second->x());
        if (measured > 0)
            slope = measured;
        else if (shortfall) // more bits did not help
            return std::numeric_limits<double>::infinity();
    }
    return std::exp(nearest.x() + (target - nearest.y()) / slope);
}
