#pragma once

#include <QList>
#include <QPointF>
#include <QWidget>
#include <optional>
#include <utility>

// A small chart of clip SSIM over bitrate for the scenes the bitrate finder searched, on a
// logarithmic bitrate axis across the slider's range and an SSIM axis that spans the points and the
// target, with the target as a line, the chosen bitrate marked, a tooltip on each point and a
// legend of the scenes' times below, over as many lines as it needs.
// Painted here: a small fixed chart does not need the Qt Charts dependency.
class QualityChart : public QWidget {
    Q_OBJECT
public:
    struct Curve {
        double seconds = 0;    // the scene's movie time, for the legend
        QList<QPointF> points; // x: Mbit/s, y: clip SSIM
    };

    explicit QualityChart(QWidget *parent = nullptr);

    // Each curve is drawn in the order of its bitrates.
    void setCurves(const QList<Curve> &curves);
    const QList<Curve> &curves() const { return curves_; }
    void setChosenMbps(std::optional<double> mbps);
    void setTargetSsim(std::optional<double> ssim);
    void clear();

    // The SSIM axis: its lowest and highest line and the distance between its lines, a round step
    // that gives at most five steps over the points and the target, with a little room around them.
    struct SsimAxis {
        double bottom = 0;
        double top = 1;
        double step = 0.5;
    };
    SsimAxis ssimAxis() const;
    // The point's place in the chart, in its coordinates.
    QPointF placeOf(const QPointF &point) const;
    // "00:01:10 · 3.4 Mbit/s · SSIM 0.9512": the tooltip of the point nearest to `at` within a few
    // pixels; empty where there is none.
    QString pointText(const QPoint &at) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The plot's rectangle within the chart.
    QRect plotRect() const;
    // Where each legend entry starts, from the plot's left edge and the legend's first line, in a
    // chart that wide.
    QList<QPointF> legendPlaces(int width) const;
    // The chart's height at that width: more for a legend of more lines.
    int heightFor(int width) const;

    QList<Curve> curves_;
    std::optional<double> chosenMbps_;
    std::optional<double> targetSsim_;
};
