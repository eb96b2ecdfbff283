#pragma once

#include <QWidget>

class GlanceModel;
class QButtonGroup;
class QLabel;

// The zoom row under the panes: the slider and its value, "Einpassen" (Ctrl+0), "100 %"
// (Ctrl+1), the four comparison views (keys 1 to 4) and the hint on dragging; "+" and "-" zoom
// by the square root of two about the panes' centre. It stays usable without a movie.
class ZoomBar : public QWidget {
    Q_OBJECT
public:
    explicit ZoomBar(GlanceModel *model, QWidget *parent = nullptr);

private:
    void addViewButtons(QLayout *row);
    void showZoom();
    void showView();

    GlanceModel *model_;
    QLabel *zoomLabel_;
    QButtonGroup *views_ = nullptr;
};
