#pragma once

#include "engine/frame_quality.h"

#include <QAbstractSlider>
#include <QList>
#include <optional>

// A bar as wide as the comparison panes with one column per frame of the clip: the frame's SSIM
// as a small graph, coloured as the scene strip (green at 0.98 and above, red at 0.90 and below),
// a marker on the frame shown, and marks under the scene's own frame and the worst frame. Its
// value is the frame asked for: a click or a drag, Home and End (first and last frame), the
// arrow keys and the wheel set it.
class ClipBar : public QAbstractSlider {
    Q_OBJECT
public:
    explicit ClipBar(QWidget *parent = nullptr);

    // The clip's frames, with their quality where measured (an empty list: not yet).
    void setFrames(qint64 count, const QList<FrameQuality> &frames);
    // The frame on screen, without asking for it; -1: none.
    void setShownFrame(qint64 frame);
    void setMarks(std::optional<qint64> sceneFrame, std::optional<qint64> worstFrame);

    qint64 shownFrame() const { return shown_; }
    // The frame whose column lies under x, within the clip.
    qint64 frameAt(double x) const;
    // The columns of frame n, in this widget's coordinates.
    QRectF column(qint64 n) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    qint64 count_ = 0;
    QList<FrameQuality> frames_;
    qint64 shown_ = -1;
    std::optional<qint64> scene_;
    std::optional<qint64> worst_;
};
