#pragma once

#include "analysis/scene_result.h"
#include "engine/quality_verdict.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QSlider;

// A thin strip under the scene slider with one mark per scanned scene, placed where the slider's
// handle centre is for the scene's time and coloured by the scene's clip SSIM. A mark's tooltip
// gives its numbers; clicking it asks for that scene. The strip keeps its height when empty, so
// the window does not jump when a scan starts or is cleared.
class SceneStrip : public QWidget {
    Q_OBJECT
public:
    // valuesPerSecond: the slider's scale, slider values per second of movie time.
    SceneStrip(QSlider *slider, double valuesPerSecond, QWidget *parent = nullptr);

    void setScenes(const QList<SceneResult> &scenes);
    void addScene(const SceneResult &scene);
    void clear();
    const QList<SceneResult> &scenes() const { return scenes_; }

    // The x, in the strip's coordinates, of the slider handle's centre at movie time `seconds`.
    int markX(double seconds) const;

    // Green at a clip SSIM of 0.98 and above, through yellow to red at 0.90 and below.
    static QColor ssimColour(double ssim);
    static constexpr double greenSsim = qualityGrades[0].lowestSsim; // "sehr gut" and better
    static constexpr double redSsim = qualityGrades[3].lowestSsim;   // "sichtbare Verluste" and worse

signals:
    void sceneClicked(double seconds);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The scene whose mark is nearest to x within reach, or -1.
    int sceneAt(int x) const;
    QRect markRect(int scene) const;

    QPointer<QSlider> slider_;
    double valuesPerSecond_;
    QList<SceneResult> scenes_;
    int pressed_ = -1;
};
