#pragma once

#include "analysis/scene_result.h"
#include "engine/quality_verdict.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QSlider;

// A strip under the scene slider with one mark per scanned scene, centred where the slider's handle
// centre is for the scene's time, as wide as its slot (up to half way to the marks beside it) and
// coloured by the scene's clip SSIM; greyed while the scenes belong to other settings than the
// comparison's. The scene on screen is outlined. A mark's tooltip gives its numbers; clicking it
// asks for that scene; a screen reader finds each mark as an item of the strip's list. The strip
// keeps its height when empty, so the window does not jump when a scan starts or is cleared.
class SceneStrip : public QWidget {
    Q_OBJECT
public:
    // valuesPerSecond: the slider's scale, slider values per second of movie time.
    SceneStrip(QSlider *slider, double valuesPerSecond, QWidget *parent = nullptr);

    void setScenes(const QList<SceneResult> &scenes);
    void addScene(const SceneResult &scene);
    void clear();
    const QList<SceneResult> &scenes() const { return scenes_; }
    // Greyed: the scenes were rendered at other settings than the comparison's.
    void setGreyed(bool greyed);
    bool greyed() const { return greyed_; }
    // The scene on screen: the one asked for at this scene time (or showing that frame), if any.
    void setCurrentSeconds(double seconds);
    int currentScene() const { return current_; }

    // Each scene's mark, in the strip's coordinates, in the order of scenes().
    QList<QRect> markRects() const;
    // A mark for the screen reader: "00:01:10 · gut · SSIM 0.9612".
    QString markText(int scene) const;

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
    // The scene whose mark holds x (the worst where marks overlap), or -1.
    int sceneAt(int x) const;
    void findCurrent();

    QPointer<QSlider> slider_;
    double valuesPerSecond_;
    QList<SceneResult> scenes_;
    bool greyed_ = false;
    double currentSeconds_ = -1;
    int current_ = -1;
    int pressed_ = -1;
};
