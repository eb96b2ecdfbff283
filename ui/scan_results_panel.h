#pragma once

#include "analysis/finder_result.h"
#include "model/scan_state.h"

#include <QFrame>

class QLabel;
class QTabWidget;
class QualityChart;
class ScanModel;
class SceneList;

// What the window's scene scan and bitrate finder found, in a panel beside the pictures that can
// be shown and hidden: a tab with the list of scenes (the scan's at its bitrate and the finder's
// tries), sortable by each column, and a tab with the finder's outcome and its chart of clip SSIM
// over bitrate for the scenes it searched. Enter or a double-click on a scene shows its
// comparison; Esc in the panel hides it.
class ScanResultsPanel : public QFrame {
    Q_OBJECT
public:
    ScanResultsPanel(ScanModel *scans, QWidget *parent);

    SceneList *list() const { return list_; }
    QualityChart *chart() const { return chart_; }
    QTabWidget *tabs() const { return tabs_; }

    // Shows the panel with the list focused.
    void present();
    // The finder's outcome: "Gefunden: 3.4 Mbit/s für SSIM 0.9600 · schlechteste Szene bei
    // 00:01:10: SSIM 0.9612", "Schon 0.3 Mbit/s erreichen SSIM 0.96." or that it found none.
    static QString finderText(const FinderResult &found);
    // "Gilt für HEVC / x265 slow · 10 bit, max. 720p.": the settings the finder's outcome holds for.
    static QString holdsText(const ScanState &state);

signals:
    void shownChanged(bool shown);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *makeListTab();
    QWidget *makeChartTab();
    void showScenes();
    void showFinderResult();

    ScanModel *scans_;
    QTabWidget *tabs_ = nullptr;
    SceneList *list_ = nullptr;
    QLabel *finderLabel_ = nullptr;
    QLabel *chartCaption_ = nullptr;
    QualityChart *chart_ = nullptr;
};
