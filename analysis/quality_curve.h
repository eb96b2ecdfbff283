#pragma once

#include <QList>
#include <QPointF>

// One scene's clip SSIM over the bitrate, as far as it has been measured, and the bitrate at which
// it is expected to reach a target. Quality is read in decibels of SSIM (-10·log10(1 - SSIM)) over
// the logarithm of the bitrate, where x265's curves run close to straight lines over the range a
// search covers. The prediction uses the two points nearest to where the curve crosses the target:
//  - between the highest bitrate that fell short and the lowest above it that reached the target,
//    the line through both (a point that reached the target below a shortfall is x265's spread and
//    is passed over); with a third point, the parabola through the three, which follows the bend of
//    the curve, where it crosses the target once between the two;
//  - beyond the points, the line through the two outermost on that side, or with the slope x265
//    typically shows (priorSlope) when there is one point or the two disagree.
class QualityCurve {
public:
    // Decibels of SSIM per unit of ln(Mbit/s), about 2.8 dB for each doubling of the bitrate:
    // x265 gave 3.0 to 3.7 on an aerial 480p film between 0.5 and 4 Mbit/s and 4.7 to 5.9 on fine
    // moving detail in 1080p between 1 and 8 Mbit/s (between 13 and 24 dB, where targets lie).
    static constexpr double priorSlope = 4.0;

    // -10·log10(1 - ssim), with 1 - ssim no smaller than 1e-10.
    static double decibels(double ssim);

    // points: x Mbit/s, y clip SSIM; at least one, each bitrate once.
    explicit QualityCurve(const QList<QPointF> &points);

    // The bitrate at which the curve is expected to reach targetSsim. Infinity when the points rise no
    // more; below a measured point's bitrate where that point reached it; not rounded or limited.
    double mbpsFor(double targetSsim) const;

private:
    QList<QPointF> points_; // x: ln(Mbit/s), y: dB
};
