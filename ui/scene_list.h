#pragma once

#include "analysis/scene_result.h"

#include <QList>
#include <QTreeWidget>

// The scanned scenes as a list, worst first, with time, clip SSIM, the SSIM of the clip's worst
// frame, clip PSNR and measured bitrate: the keyboard's and the screen reader's way to the scan's
// result. Enter or a double-click on a scene asks for it (on its worst frame).
class SceneList : public QTreeWidget {
    Q_OBJECT
public:
    explicit SceneList(QWidget *parent = nullptr);

    void setScenes(const QList<SceneResult> &scenes);
    // Adds a scene at its place in the ranking.
    void addScene(const SceneResult &scene);
    // The scenes as listed, worst first. clear() empties the list.
    QList<SceneResult> scenes() const;

signals:
    void sceneChosen(double seconds);

private:
    static QTreeWidgetItem *makeItem(const SceneResult &scene);
};
