#pragma once

#include "model/glance_model.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QWidget>
#include <optional>

// A comparison frame under its title, drawn with the model's shared zoom and pan: dragging
// moves the picture of every pane, a double-click returns to the fitted view, the mouse wheel
// zooms towards the pointer, the arrow keys move the pictures of a focused pane (which shows a
// focus frame), and the pane reports the size of its image area as the model's
// preview size. Side by side, the original pane shows the reference frame and the encoded pane
// the encoded one; the encoded frame of an older comparison than the settings ask for is dimmed
// and its title names its bitrate. In the other views the encoded pane is hidden and the original
// pane, as wide as the row, shows both frames in turn (flip), split by a movable divider, or their
// difference.
class ComparisonPane : public QWidget {
    Q_OBJECT
public:
    enum class Side { Original, Encoded };

    ComparisonPane(const QString &title, GlanceModel *model, Side side, QWidget *parent = nullptr);

    // The part below the title row, in this widget's coordinates.
    QRectF imageArea() const;
    // The pan at the start of the drag in progress; nothing while no drag is in progress.
    std::optional<QSizeF> dragStart() const { return dragStart_; }

    // The title as drawn: the view's name and hint, or the frame's title side by side.
    QString title() const;
    // In the flip view: whether the encoded frame is shown rather than the original.
    bool showsEncoded() const { return showsEncoded_; }
    // Shows the other frame of the flip view.
    void flip();
    // The divider of the split view, as a fraction of the image area's width from its left edge.
    double divider() const { return divider_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    // The arrow keys move the pictures of every pane, as a drag does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The view this pane draws: side by side always for the encoded pane.
    GlanceModel::ComparisonView view() const;
    void showView();
    void paintContent(QPainter &painter);
    double titleHeight() const;
    void reportSize();
    double dividerX() const;
    bool onDivider(QPointF point) const;
    void paintFrame(QPainter &painter, const QImage &image, const QRectF &area, const QRectF &clip,
                    bool dim = false) const;
    void paintLabel(QPainter &painter, const QString &text, const QRectF &area, Qt::Alignment corner) const;
    void paintDivider(QPainter &painter, const QRectF &area) const;
    void paintPlaceholder(QPainter &painter, const QRectF &area);

    QString sideBySideTitle_;
    GlanceModel *model_;
    Side side_;
    std::optional<QPointF> pressPoint_;
    std::optional<QSizeF> dragStart_;
    bool showsEncoded_ = false;
    double divider_ = 0.5;
    bool movingDivider_ = false;
};
