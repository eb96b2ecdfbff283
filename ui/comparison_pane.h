#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QWidget>
#include <optional>

class GlanceModel;

// One of the two frames of a comparison under its title. Both panes draw with the model's shared
// zoom and pan; dragging in either pane moves both, a double-click returns both to the fitted
// view, and each pane reports the size of its image area as the model's preview size.
class ComparisonPane : public QWidget {
    Q_OBJECT
public:
    enum class Side { Original, Encoded };

    ComparisonPane(const QString &title, GlanceModel *model, Side side, QWidget *parent = nullptr);

    // The part below the title row, in this widget's coordinates.
    QRectF imageArea() const;
    // The pan at the start of the drag in progress; nothing while no drag is in progress.
    std::optional<QSizeF> dragStart() const { return dragStart_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    double titleHeight() const;
    void reportSize();
    void paintPlaceholder(QPainter &painter, const QRectF &area);

    QString title_;
    GlanceModel *model_;
    Side side_;
    std::optional<QPointF> pressPoint_;
    std::optional<QSizeF> dragStart_;
};
