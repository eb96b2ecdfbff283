#pragma once

#include <QDialog>

class QLabel;
class QualityChart;
class ScanModel;
class SceneList;

// The outcome of the window's scene scan and bitrate finder in a small window of its own: the
// scanned scenes ranked worst first, and after a finder run the chart of clip SSIM over bitrate for
// the scenes it searched, the bitrate it found marked. Enter or a double-click on a scene shows
// its comparison in the main window; Esc closes.
class ScanResultsWindow : public QDialog {
    Q_OBJECT
public:
    ScanResultsWindow(ScanModel *scans, QWidget *parent);

    SceneList *list() const { return list_; }
    QualityChart *chart() const { return chart_; }

    // Shows the window with the list focused (the chart's part when there are no scenes).
    void present();

private:
    void showScenes();
    void showFinderResult();

    ScanModel *scans_;
    QLabel *listCaption_ = nullptr;
    SceneList *list_ = nullptr;
    QLabel *chartCaption_ = nullptr;
    QualityChart *chart_ = nullptr;
};
