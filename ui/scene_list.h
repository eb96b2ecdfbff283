#pragma once

#include "analysis/scene_result.h"
#include "model/scan_state.h"

#include <QList>
#include <QTreeWidget>

// The scanned scenes as a list, with time, target bitrate, clip SSIM, the SSIM of the clip's worst
// frame, clip PSNR and measured bitrate, each row coloured as the strip colours its mark: the
// keyboard's and the screen reader's way to what the scan and the bitrate finder found. The
// finder's tries follow the scan's scenes, each as the scene worst at its bitrate. Worst first
// until a column's header sorts by that column. Enter or a double-click on a row asks for its scene
// (on its worst frame).
class SceneList : public QTreeWidget {
    Q_OBJECT
public:
    explicit SceneList(QWidget *parent = nullptr);

    // The scan's scenes at their bitrate, then the finder's tries.
    void setResults(const ScanState &state);
    // Adds a scene rendered at mbps, a try of the finder's when `tried`.
    void addScene(const SceneResult &scene, double mbps, bool tried = false);
    // The scenes as listed, from the top. clear() empties the list.
    QList<SceneResult> scenes() const;

signals:
    void sceneChosen(double seconds);

private:
    void showTimes();
};
