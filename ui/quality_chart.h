#pragma once

#include <QList>
#include <QPointF>
#include <QWidget>
#include <optional>
#include <utility>

// A small chart of clip SSIM over bitrate for the scenes the bitrate finder searched, on a
// logarithmic bitrate axis across the slider's range, with the chosen bitrate marked and a legend
// of the scenes' times below, over as many lines as it needs.
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
    void clear();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The SSIM axis up to 1: its bottom, low enough for every point, and the distance between
    // its lines, a round step that gives at most five of them.
    std::pair<double, double> ssimAxis() const;
    // Where each legend entry starts, from the plot's left edge and the legend's first line, in a
    // chart that wide.
    QList<QPointF> legendPlaces(int width) const;
    // The chart's height at that width: more for a legend of more lines.
    int heightFor(int width) const;

    QList<Curve> curves_;
    std::optional<double> chosenMbps_;
};
