#pragma once

#include <QList>
#include <QPointF>
#include <QWidget>
#include <optional>
#include <utility>

// A small chart of clip SSIM over bitrate for the scenes the bitrate finder measured, on a
// logarithmic bitrate axis across the slider's range, with the chosen bitrate marked.
// Painted here: a small fixed chart does not need the Qt Charts dependency.
class QualityChart : public QWidget {
    Q_OBJECT
public:
    struct Curve {
        double seconds = 0;    // the scene's movie time, for the legend
        QList<QPointF> points; // x: Mbit/s, y: clip SSIM
    };
    static constexpr int maxCurves = 3;

    explicit QualityChart(QWidget *parent = nullptr);

    // The first maxCurves curves are drawn, each in the order of its bitrates.
    void setCurves(const QList<Curve> &curves);
    void setChosenMbps(std::optional<double> mbps);
    void clear();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The SSIM axis up to 1: its bottom, low enough for every point, and the distance between
    // its lines, a round step that gives at most five of them.
    std::pair<double, double> ssimAxis() const;

    QList<Curve> curves_;
    std::optional<double> chosenMbps_;
};
