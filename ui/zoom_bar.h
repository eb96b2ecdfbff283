#pragma once

#include <QWidget>

class GlanceModel;
class QLabel;

// The zoom row under the panes: the slider and its value, "Einpassen", "100 %" and the hint on
// dragging. It stays usable without a film.
class ZoomBar : public QWidget {
    Q_OBJECT
public:
    explicit ZoomBar(GlanceModel *model, QWidget *parent = nullptr);

private:
    void showZoom();

    GlanceModel *model_;
    QLabel *zoomLabel_;
};
